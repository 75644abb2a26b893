#include "casefile/BinFile.h"

#include "casefile/Cp1252.h"
#include "casefile/FileIO.h"
#include "model/CZor.h"

#include <array>
#include <limits>
#include <span>

namespace BinFile {

namespace {

constexpr size_t kMaxCount = std::numeric_limits<int16_t>::max();

// The line slots of "Lines (REAL)" / "LinesValid (INTEGER)", in file order;
// slot 5 (index 4) is reserved and holds GTLine again.
constexpr size_t kSlots = 11;
constexpr size_t kReservedSlot = 4;

std::array<CLine*, kSlots> slots(CZor& z)
{
    return {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.GTLine,   &z.GTLine,  &z.LTLine1,
            &z.LTLine2,  &z.TipLine,   &z.TipLine1,  &z.TipLine2, &z.TipLine3};
}

std::array<const CLine*, kSlots> slots(const CZor& z)
{
    return {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.GTLine,   &z.GTLine,  &z.LTLine1,
            &z.LTLine2,  &z.TipLine,   &z.TipLine1,  &z.TipLine2, &z.TipLine3};
}

void writeKey(ByteWriter& out, const char* key)
{
    WriteText(out, key);
}

void writeReals(ByteWriter& out, std::span<const double> values)
{
    out.putInt16(static_cast<int16_t>(values.size()));
    for (double v : values)
        out.putReal(v);
}

void writeFlagRecord(ByteWriter& out, const char* key, bool b)
{
    writeKey(out, key);
    out.putInt16(1);
    WriteFlag(out, b);
}

// Reads a counted-reals value without conversion; none for a bad count.
std::optional<std::vector<double>> readRawReals(ByteReader& in)
{
    int16_t n = 0;
    if (!in.getInt16(n) || n < 0 || static_cast<size_t>(n) > in.remaining() / 8)
        return std::nullopt;
    std::vector<double> v(static_cast<size_t>(n));
    for (double& x : v)
        in.getReal(x);
    return v;
}

// Skips a counted value of items of the given size; false for a bad count.
bool skipCounted(ByteReader& in, size_t itemSize)
{
    int16_t n = 0;
    if (!in.getInt16(n) || n < 0)
        return false;
    return in.skip(static_cast<size_t>(n) * itemSize);
}

// What a key asks of the reader; false when the file is damaged.
bool readRecord(const std::string& key, ByteReader& in, int16_t WPix, int16_t HPix, CZor& zor,
                bool& headFitted)
{
    auto text = [&](std::string& field) {
        std::optional<std::string> s = ReadText(in);
        if (!s)
            return false;
        field = *s;
        return true;
    };
    auto point = [&](CPoint& p) {
        std::vector<double> v;
        if (ReadReals(in, v, zor) < 2)
            return false;
        p.x = v[0];
        p.y = v[1];
        return true;
    };
    auto setFlag = [&](bool& field) {
        if (!skipCounted(in, 2))
            return false;
        field = true;
        return true;
    };

    if (key == "Calib (CHAR)") {
        std::optional<std::string> name = ReadText(in);
        if (!name)
            return false;
        zor.applyPreset(*name, WPix, HPix);
        return true;
    }
    if (key == "CalibSource (CHAR)")
        return text(zor.CalibSource);
    if (key == "Name (CHAR)" || key == "Famname (CHAR)")
        return text(zor.Patient.Famname);
    if (key == "Vorname (CHAR)")
        return text(zor.Patient.Vorname);
    if (key == "Code (CHAR)")
        return text(zor.Patient.Code);
    if (key == "DatFile (CHAR)")
        return text(zor.Patient.DatFile);
    if (key == "Date (CHAR)")
        return text(zor.Datum);
    if (key == "Calib (REAL)") {
        std::optional<std::vector<double>> v = readRawReals(in);
        if (!v)
            return false;
        // A width outside 1 mm to 100 m leaves the scale as it was.
        if (!v->empty())
            zor.initScale(WPix, HPix, v->back());
        return true;
    }
    if (key == "HeadTR (REAL)") {
        std::optional<std::vector<double>> v = readRawReals(in);
        if (!v)
            return false;
        zor.Patient.HeadTR = (v->empty() ? 0.0 : v->back()) / 2.0;
        return true;
    }
    if (key == "Lines (REAL)") {
        std::vector<double> v;
        if (ReadReals(in, v, zor) < static_cast<int>(4 * kSlots))
            return false;
        auto lines = slots(zor);
        for (size_t s = 0; s < kSlots; ++s)
            if (s != kReservedSlot)
                lines[s]->init(v[4 * s], v[4 * s + 1], v[4 * s + 2], v[4 * s + 3]);
        return true;
    }
    if (key == "LinesValid (INTEGER)") {
        if (!skipCounted(in, 2))
            return false;
        // The stored flags are not trusted: the derived lines count as set,
        // the contour lines must be drawn again to change the axis.
        for (CLine* l : {&zor.AxisLine, &zor.GTLine, &zor.LTLine1, &zor.LTLine2, &zor.TipLine,
                         &zor.TipLine1, &zor.TipLine2, &zor.TipLine3})
            l->Valid = true;
        zor.AxisLine1.Valid = false;
        zor.AxisLine2.Valid = false;
        return true;
    }
    if (key == "HeadPoints (REAL)") {
        std::vector<double> v;
        int n = ReadReals(in, v, zor);
        if (n < 0 || n % 2 != 0)
            return false;
        zor.head.removeAll();
        headFitted = false;
        if (n > 0) {
            for (size_t i = 0; i + 1 < v.size(); i += 2)
                zor.head.addPoint(v[i], v[i + 1]);
            headFitted = zor.head.fit();
        }
        zor.head.Valid = headFitted;
        return true;
    }
    // The flag is not trusted either, but it never makes a head valid that
    // no circle was fitted to: the analysis would measure from (0, 0).
    if (key == "HeadValid (INTEGER)") {
        if (!skipCounted(in, 2))
            return false;
        zor.head.Valid = headFitted;
        return true;
    }
    if (key == "Shoulder (REAL)")
        return point(zor.Shoulder);
    if (key == "ShoulderValid (INTEGER)")
        return setFlag(zor.ShoulderValid);
    if (key == "CMarker (REAL)")
        return point(zor.CMarker);
    if (key == "CMarkerValid (INTEGER)")
        return setFlag(zor.CMarkerValid);
    if (key == "PointsValid (INTEGER)")
        return setFlag(zor.PointsValid);
    if (key == "Points (REAL)") {
        std::vector<double> v;
        if (ReadReals(in, v, zor) < 16)
            return false;
        for (int16_t ix = 0; ix < 8; ++ix) {
            zor.points(ix).x = v[2 * static_cast<size_t>(ix)];
            zor.points(ix).y = v[2 * static_cast<size_t>(ix) + 1];
        }
        return true;
    }

    // Unknown keys are skipped by their type, the part after the first blank.
    size_t blank = key.find(' ');
    std::string type = blank == std::string::npos ? key : key.substr(blank + 1);
    if (type == "(CHAR)")
        return ReadText(in).has_value();
    if (type == "(INTEGER)")
        return skipCounted(in, 2);
    if (type == "(REAL)")
        return skipCounted(in, 8);
    return false;
}

} // namespace

std::optional<std::string> LandmarkPath(const std::string& imagePath)
{
    size_t slash = imagePath.find_last_of('/');
    size_t dot = imagePath.find_last_of('.');
    if (imagePath.empty())
        return std::nullopt;
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return imagePath + ".bit";
    return imagePath.substr(0, dot) + ".bit";
}

bool WriteText(ByteWriter& out, const std::string& utf8)
{
    std::optional<std::string> bytes = Cp1252::fromUtf8(utf8);
    if (!bytes || bytes->size() > kMaxCount)
        return false;
    out.putInt16(static_cast<int16_t>(bytes->size()));
    out.putBytes(*bytes);
    return true;
}

std::optional<std::string> ReadText(ByteReader& in)
{
    int16_t n = 0;
    std::string bytes;
    if (!in.getInt16(n) || n < 0 || !in.getBytes(static_cast<size_t>(n), bytes))
        return std::nullopt;
    return Cp1252::toUtf8(bytes);
}

void WriteFlag(ByteWriter& out, bool b)
{
    out.putInt16(b ? 0 : -1);
}

void WritePoint(ByteWriter& out, const CPoint& p, const CZor& zor)
{
    out.putReal(zor.WorldX(p.x));
    out.putReal(zor.WorldY(p.y));
}

void WriteLine(ByteWriter& out, const CLine& l, const CZor& zor)
{
    WritePoint(out, l.P0, zor);
    WritePoint(out, l.P1, zor);
}

int ReadReals(ByteReader& in, std::vector<double>& v, const CZor& zor)
{
    std::optional<std::vector<double>> raw = readRawReals(in);
    if (!raw)
        return -1;
    v = std::move(*raw);
    // Pairs are x, y; an odd last value can only be an x.
    size_t even = v.size() - v.size() % 2;
    zor.Pixel(std::span<double>(v.data(), even));
    if (even < v.size())
        v.back() = zor.PixelX(v.back());
    return static_cast<int>(v.size());
}

std::optional<std::string> LandmarkBytes(const CZor& zor, std::string* error)
{
    ByteWriter out;
    bool ok = true;
    auto text = [&](const char* key, const std::string& value, const char* field) {
        writeKey(out, key);
        if (!ok || WriteText(out, value))
            return;
        ok = false;
        if (error) {
            *error = std::string("the ") + field + " \"" + value +
                     "\" cannot be stored in a case file: it is too long or holds a "
                     "character outside Windows-1252";
        }
    };

    writeKey(out, "Calib (REAL)");
    writeReals(out, std::array<double, 1>{zor.WorldWidth()});
    text("Name (CHAR)", zor.Patient.Famname, "Name");
    text("Vorname (CHAR)", zor.Patient.Vorname, "First Name");
    text("Date (CHAR)", zor.Datum, "X-Ray Date");
    text("Code (CHAR)", zor.Patient.Code, "Study - ID");
    text("DatFile (CHAR)", zor.Patient.DatFile, "Data File");
    if (!ok)
        return std::nullopt;

    writeKey(out, "HeadTR (REAL)");
    writeReals(out, std::array<double, 1>{2.0 * zor.Patient.HeadTR});

    auto lines = slots(zor);
    writeKey(out, "Lines (REAL)");
    out.putInt16(static_cast<int16_t>(4 * kSlots));
    for (const CLine* l : lines)
        WriteLine(out, *l, zor);
    writeKey(out, "LinesValid (INTEGER)");
    out.putInt16(static_cast<int16_t>(kSlots));
    for (size_t s = 0; s < kSlots; ++s)
        WriteFlag(out, s != kReservedSlot && lines[s]->Valid);

    // A head may hold more points than a record can count; those cannot be
    // stored faithfully.
    if (!zor.head.points.empty()) {
        if (2 * zor.head.points.size() > kMaxCount) {
            if (error)
                *error = "the head circle has more points than a case file can hold";
            return std::nullopt;
        }
        writeKey(out, "HeadPoints (REAL)");
        out.putInt16(static_cast<int16_t>(2 * zor.head.points.size()));
        for (const CPoint& p : zor.head.points)
            WritePoint(out, p, zor);
    }
    writeFlagRecord(out, "HeadValid (INTEGER)", zor.head.Valid);

    writeKey(out, "Shoulder (REAL)");
    out.putInt16(2);
    WritePoint(out, zor.Shoulder, zor);
    writeFlagRecord(out, "ShoulderValid (INTEGER)", zor.ShoulderValid);

    if (zor.CMarkerValid) {
        writeKey(out, "CMarker (REAL)");
        out.putInt16(2);
        WritePoint(out, zor.CMarker, zor);
        writeFlagRecord(out, "CMarkerValid (INTEGER)", true);
    }

    writeKey(out, "Points (REAL)");
    out.putInt16(16);
    for (int16_t ix = 0; ix < 8; ++ix)
        WritePoint(out, zor.points(ix), zor);
    // Stored as set whatever PointsValid holds: readers have always done so.
    writeFlagRecord(out, "PointsValid (INTEGER)", true);
    // Added later than the records above; readers that do not know it skip it.
    text("CalibSource (CHAR)", zor.CalibSource, "scale source");
    if (!ok)
        return std::nullopt;

    out.putInt16(0);
    return out.bytes();
}

bool WriteLandmarkFile(const std::string& path, const CZor& zor, std::string* error)
{
    std::optional<std::string> bytes = LandmarkBytes(zor, error);
    if (!bytes)
        return false;
    return FileIO::replaceWhole(path, *bytes, error);
}

bool ReadLandmarkFile(const std::string& path, int16_t WPix, int16_t HPix, CZor& zor,
                      UserMessages& messages)
{
    std::string bytes;
    switch (FileIO::readWhole(path, bytes)) {
    case FileIO::ReadStatus::Missing:
        return false;
    case FileIO::ReadStatus::Failed:
        messages.showMessage("Zor",
                             "Error in File: " + path + " after Key:", MessageIcon::Critical);
        return false;
    case FileIO::ReadStatus::Ok:
        break;
    }
    return ReadLandmarkData(bytes, path, WPix, HPix, zor, messages);
}

bool ReadLandmarkData(std::string_view bytes, const std::string& path, int16_t WPix, int16_t HPix,
                      CZor& zor, UserMessages& messages)
{
    ByteReader in(bytes);
    zor.initScale(WPix, HPix, 430.0);
    std::string previous;
    bool anyRecord = false;
    bool sourceRead = false;
    bool headFitted = false; // a circle was fitted to this file's head points
    for (;;) {
        // A file that stops cleanly between records is complete; one that
        // holds no record at all is not a case.
        if (in.atEnd() && anyRecord)
            break;
        std::optional<std::string> key = ReadText(in);
        if (key && key->empty() && anyRecord)
            break;
        if (!key || key->empty() || !readRecord(*key, in, WPix, HPix, zor, headFitted)) {
            messages.showMessage("Zor", "Error in File: " + path + " after Key:" + previous,
                                 MessageIcon::Critical);
            return false;
        }
        previous = *key;
        anyRecord = true;
        sourceRead = sourceRead || *key == "CalibSource (CHAR)";
    }
    if (!sourceRead)
        zor.CalibSource = "landmark file";
    zor.LinesVisible = true;
    return true;
}

} // namespace BinFile
