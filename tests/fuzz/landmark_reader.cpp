// The landmark reader on any bytes: it must never crash, never take a head
// without a fitted circle or an absurd width, and what it read must survive
// the writer: its texts and head points come back unchanged, and from then on
// writing and reading again gives the same bytes and an equal model.
#include "../support/Cases.h"
#include "../support/RecordingMessages.h"
#include "FuzzSeeds.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int16_t W = 860;
constexpr int16_t H = 1000;

bool read(std::string_view bytes, CZor& zor)
{
    RecordingMessages silent;
    return BinFile::ReadLandmarkData(bytes, "fuzz.bit", W, H, zor, silent);
}

// Whether any 8-byte window of the file is a NaN: a cheap over-estimate.
bool hasNaN(const std::string& bytes)
{
    for (size_t i = 0; i + 8 <= bytes.size(); ++i) {
        double v = 0;
        std::memcpy(&v, bytes.data() + i, 8);
        if (std::isnan(v))
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> zorFuzzSeeds()
{
    CZor z;
    Cases::upright(z);
    std::vector<std::string> seeds;
    seeds.push_back(*BinFile::LandmarkBytes(z));
    z.CMarkerValid = false;
    z.head.removeAll();
    z.head.Valid = false;
    z.initScale(W, H, 175.0);
    seeds.push_back(*BinFile::LandmarkBytes(z));
    seeds.push_back(*BinFile::LandmarkBytes(CZor()));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CZor a;
    if (!read(std::string_view(reinterpret_cast<const char*>(data), size), a))
        return 0;
    if (a.head.Valid && (a.head.points.size() < 3 || !(a.head.R > 0.0)))
        zorFuzzFail("a head without a fitted circle is valid");
    // WPixel / (WPixel / W) may miss W by a rounding step.
    double width = a.WorldWidth();
    if (!(width >= CZor::kMinWorldWidth * (1 - 1e-12) &&
          width <= CZor::kMaxWorldWidth * (1 + 1e-12)))
        zorFuzzFail("a width outside 1 mm to 100 m was taken");

    // More head points than a record counts cannot be written; that is said.
    std::string error;
    std::optional<std::string> first = BinFile::LandmarkBytes(a, &error);
    if (!first) {
        if (error.empty())
            zorFuzzFail("a case was not written and no reason given");
        return 0;
    }
    CZor b;
    if (!read(*first, b))
        zorFuzzFail("the writer's own file cannot be read");
    CPatient p = a.Patient;
    CPatient q = b.Patient;
    if (std::isnan(p.HeadTR) && std::isnan(q.HeadTR))
        p.HeadTR = q.HeadTR = 0;
    if (!(p == q) || a.Datum != b.Datum)
        zorFuzzFail("the patient's data changed on the way through the file");
    if (b.head.points.size() != a.head.points.size())
        zorFuzzFail("head points were lost or added");

    // The reader does not trust stored flags (the derived lines count as set
    // whenever their record is there), so the first pass may change them;
    // from then on a case is a fixed point of writing and reading.
    std::optional<std::string> second = BinFile::LandmarkBytes(b);
    if (!second)
        zorFuzzFail("the model read from the writer's file cannot be written");
    CZor c;
    if (!read(*second, c))
        zorFuzzFail("the writer's own file cannot be read the second time");
    std::optional<std::string> third = BinFile::LandmarkBytes(c);
    // NaN never equals itself, and arithmetic keeps a NaN a NaN but not its
    // sign or payload: a case with one need only be read and written again.
    const bool nan = hasNaN(*second);
    if (!third || (!nan && *third != *second))
        zorFuzzFail("written, read and written again, the bytes differ");
    if (!nan && !(c == b))
        zorFuzzFail("written and read again, the model differs");
    return 0;
}
