// The report record from any texts and values: a record is made only from
// texts it can hold, and then has exactly its ten CR LF lines, balanced
// quotes and one heading; every number reads back to its value.
//
// Input: five texts (file name, name, first name, study ID, date), each
// ended by a 0 byte, a side byte, a cement flag byte, then the result's
// nineteen doubles (missing ones are 0).
#include "../support/SampleResult.h"
#include "FuzzSeeds.h"
#include "analysis/ReportFormat.h"
#include "casefile/Cp1252.h"
#include "casefile/RecordText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <span>

namespace {

const std::string heading = "\"-------> OLTA-ZOR 2002  File: ";

std::vector<double*> values(AnalysisResult& r)
{
    std::vector<double*> v{&r.factorHead, &r.factorStem, &r.valgusVarus, &r.cementSubsidence,
                           &r.compX};
    for (std::span<double> a : {std::span<double>(r.medial), std::span<double>(r.lateral),
                                std::span<double>(r.subsidence), std::span<double>(r.compY)})
        for (double& d : a)
            v.push_back(&d);
    return v;
}

std::string encode(const ReportFormat::RecordTexts& t, AnalysisResult r)
{
    std::string s = zeroEnded({t.fileName, t.famname, t.vorname, t.code, t.datum});
    s.push_back(r.side == "R" ? 'R' : 'L');
    s.push_back(r.cementValid ? 1 : 0);
    for (double* d : values(r))
        s.append(reinterpret_cast<const char*>(d), sizeof(double));
    return s;
}

void checkNumber(double v)
{
    std::string s = ReportFormat::number(v);
    double back = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), back);
    bool same = std::isnan(v)   ? s == "NaN"
                : std::isinf(v) ? s == (v < 0 ? "-Infinity" : "Infinity")
                                : back == v;
    if (!same || (std::isfinite(v) && res.ptr != s.data() + s.size()))
        zorFuzzFail("a number does not read back to its value");
}

bool holds(const std::string& utf8)
{
    return RecordText::fits(utf8) && Cp1252::fromUtf8(utf8).has_value();
}

} // namespace

std::vector<std::string> zorFuzzSeeds()
{
    AnalysisResult r = sampleResult();
    std::vector<std::string> seeds;
    seeds.push_back(encode({"study1.zor", "M\xC3\xBCller", "Jos\xC3\xA9", "S-01", "20030212"}, r));
    r.cementValid = true;
    r.side = "R";
    r.factorHead = 1e-5;
    seeds.push_back(encode({"/data/hips.zor", "O'Neil", "", "", ""}, r));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> texts = takeZeroEnded(in, 5);
    texts.resize(5);
    const ReportFormat::RecordTexts t{texts[0], texts[1], texts[2], texts[3], texts[4]};
    AnalysisResult r;
    r.side = in.starts_with('R') ? "R" : "L";
    r.cementValid = in.size() > 1 && in[1] != 0;
    const std::vector<double*> v = values(r);
    for (size_t k = 0; k < v.size() && 2 + sizeof(double) * (k + 1) <= in.size(); ++k)
        std::memcpy(v[k], in.data() + 2 + sizeof(double) * k, sizeof(double));

    std::string problem;
    std::optional<std::string> record = ReportFormat::record(t, {2026, 12, 7}, r, &problem);
    bool allHeld = holds(heading.substr(1) + t.fileName) && holds(t.famname) && holds(t.vorname) &&
                   holds(t.code) && holds(t.datum);
    if (!record) {
        if (allHeld || problem.empty())
            zorFuzzFail("a record was refused without naming a cause");
        return 0;
    }
    if (!allHeld)
        zorFuzzFail("a record was made from a text it cannot hold");
    // Ten lines, each ended by CR LF, with no other CR or LF and its quotes paired.
    size_t lines = 0;
    for (size_t start = 0; start < record->size(); ++lines) {
        const size_t end = record->find("\r\n", start);
        const std::string line = record->substr(start, end - start);
        if (end == std::string::npos || line.find_first_of("\r\n") != std::string::npos ||
            std::ranges::count(line, '"') % 2 != 0)
            zorFuzzFail("a line is not ended by CR LF alone or ends inside a quoted item", line);
        start = end + 2;
    }
    if (lines != 10)
        zorFuzzFail("the record does not have its ten lines");
    if (!record->starts_with(heading) || record->find(heading, 1) != std::string::npos)
        zorFuzzFail("the record has not exactly one heading, at its start");
    for (double* d : v)
        checkNumber(*d);
    return 0;
}
