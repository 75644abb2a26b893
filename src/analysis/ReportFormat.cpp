#include "analysis/ReportFormat.h"

#include "casefile/Cp1252.h"
#include "casefile/RecordText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ReportFormat {

namespace {

const char* const crlf = "\r\n";

} // namespace

std::string number(double v)
{
    if (v == 0.0)
        return "0";
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Infinity" : "Infinity";

    // The shortest round-trip digits come from to_chars; only the layout is ours.
    char buffer[64];
    auto res = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific);
    std::string sci(buffer, res.ptr);
    std::string out(v < 0 ? "-" : "");
    size_t pos = v < 0 ? 1 : 0;
    size_t e = sci.find('e');
    std::string digits;
    for (size_t i = pos; i < e; ++i)
        if (sci[i] != '.')
            digits.push_back(sci[i]);
    int exponent = std::stoi(sci.substr(e + 1));
    const auto n = static_cast<int>(digits.size());

    double magnitude = std::fabs(v);
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        if (exponent >= 0) {
            auto whole = static_cast<size_t>(exponent + 1);
            if (digits.size() <= whole) {
                out.append(digits).append(whole - digits.size(), '0');
            } else {
                out.append(digits, 0, whole).append(".").append(digits, whole);
            }
        } else {
            out.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
        }
        return out;
    }
    out.append(digits, 0, 1);
    if (n > 1)
        out.append(".").append(digits, 1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out.append(exp);
    return out;
}

std::string date(CalendarDate d)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "#%04d-%02d-%02d#", d.year, d.month, d.day);
    return buffer;
}

std::optional<std::string> record(const RecordTexts& texts, CalendarDate today,
                                  const AnalysisResult& r, std::string* problem)
{
    // Items are appended one by one: chains of string operator+ trip a false
    // -Wrestrict of GCC 12 at -O3.
    std::string out;
    bool ok = true;
    bool first = true;
    auto next = [&] {
        if (!first)
            out.push_back(',');
        first = false;
    };
    auto quoted = [&](std::string_view bytes) {
        next();
        out.push_back('"');
        out.append(bytes);
        out.push_back('"');
    };
    auto text = [&](const std::string& utf8, const char* field) {
        std::optional<std::string> bytes;
        if (RecordText::fits(utf8))
            bytes = Cp1252::fromUtf8(utf8);
        if (!bytes && ok && problem) {
            *problem = RecordText::fits(utf8) ? std::string("the ").append(field).append(
                                                    " holds a character outside Windows-1252")
                                              : RecordText::problem(field);
        }
        ok = ok && bytes.has_value();
        quoted(bytes ? *bytes : std::string());
    };
    auto num = [&](double v) {
        next();
        out.append(number(v));
    };
    auto nums = [&](const auto& values) {
        for (double v : values)
            num(v);
    };
    auto endLine = [&] {
        out.append(crlf);
        first = true;
    };

    std::string heading = "-------> OLTA-ZOR 2002  File: ";
    heading.append(texts.fileName);
    text(heading, "Data File");
    next();
    out.append(date(today));
    endLine();
    text(texts.famname, "Name");
    text(texts.vorname, "First Name");
    text(texts.code, "Study - ID");
    endLine();
    quoted("date of radiogram");
    text(texts.datum, "X-Ray Date");
    endLine();
    quoted("side of replacement");
    text(r.side, "side");
    quoted("factor-head");
    num(r.factorHead);
    quoted("factor-stem");
    num(r.factorStem);
    endLine();
    quoted("ZOR-parameters (x-distances)");
    endLine();
    quoted("medial");
    nums(r.medial);
    endLine();
    quoted("lateral");
    nums(r.lateral);
    endLine();
    quoted("valgus-varus (degrees)");
    num(r.valgusVarus);
    quoted("subsidence");
    nums(r.subsidence);
    endLine();
    if (r.cementValid) {
        quoted("subsidence stem/cement interface");
        num(r.cementSubsidence);
    } else {
        quoted("comparability parameters");
    }
    endLine();
    quoted("comp-y");
    nums(r.compY);
    quoted("comp-x");
    num(r.compX);
    endLine();
    if (!ok)
        return std::nullopt;
    return out;
}

} // namespace ReportFormat
