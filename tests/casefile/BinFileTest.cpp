#include "casefile/BinFile.h"

#include "../support/Cases.h"
#include "../support/RecordingMessages.h"
#include "../support/TempDir.h"
#include "casefile/Cp1252.h"
#include "model/CZor.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int16_t W = 860; // 430 mm wide: 2 pixels per mm
constexpr int16_t H = 1000;

std::string int16(int16_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

std::string text(const std::string& bytes)
{
    return int16(static_cast<int16_t>(bytes.size())) + bytes;
}

std::string reals(std::vector<double> values)
{
    ByteWriter w;
    w.putInt16(static_cast<int16_t>(values.size()));
    for (double v : values)
        w.putReal(v);
    return w.bytes();
}

const std::string endMarker("\0\0", 2);
const std::string name = text("Name (CHAR)") + text("Keep");

TEST(BinFile, AFullCaseIsStoredByteForByteAndComesBackAsItWas)
{
    TempDir dir;
    CZor a;
    Cases::upright(a);
    Cases::setLine(a.TipLine1, 300, 700, 500, 700);
    Cases::setLine(a.TipLine2, 300, 600, 500, 600);
    Cases::setLine(a.TipLine3, 300, 500, 500, 500);
    a.AxisLine1.init(380, 900, 382, 100); // drawn but, as after any read, not set
    a.CMarkerValid = false;
    std::string path = dir.file("case1.bit");
    ASSERT_TRUE(BinFile::WriteLandmarkFile(path, a));
    std::string bytes = TempDir::read(path);

    // Key length, key, count 1, then 430.0 as a little-endian double.
    EXPECT_EQ(bytes.substr(0, 24), std::string("\x0C\x00"
                                               "Calib (REAL)\x01\x00"
                                               "\x00\x00\x00\x00\x00\xE0\x7A\x40",
                                               24));
    EXPECT_TRUE(bytes.ends_with(text("PointsValid (INTEGER)") + int16(1) + int16(0) +
                                text("CalibSource (CHAR)") + text("not calibrated") + endMarker));
    size_t at = 0;
    for (const char* k :
         {"Name (CHAR)", "Vorname (CHAR)", "Date (CHAR)", "Code (CHAR)", "DatFile (CHAR)",
          "HeadTR (REAL)", "Lines (REAL)", "LinesValid (INTEGER)", "HeadPoints (REAL)",
          "HeadValid (INTEGER)", "Shoulder (REAL)", "ShoulderValid (INTEGER)", "Points (REAL)"}) {
        at = bytes.find(text(k), at);
        ASSERT_NE(at, std::string::npos) << k << " missing or out of order";
    }
    EXPECT_NE(bytes.find(text("Name (CHAR)") + text("M\xFCller")), std::string::npos);
    EXPECT_NE(bytes.find(text("HeadTR (REAL)") + reals({28})), std::string::npos) << "diameter";
    // World millimetres: the shoulder at (410, 300) px is (205, 350) mm.
    EXPECT_NE(bytes.find(text("Shoulder (REAL)") + reals({205.0, 350.0})), std::string::npos);
    // The lines in their file slots, slot 5 holding GTLine again.
    std::vector<double> mm;
    for (const CLine* l :
         {&a.AxisLine, &a.AxisLine1, &a.AxisLine2, &a.GTLine, &a.GTLine, &a.LTLine1, &a.LTLine2,
          &a.TipLine, &a.TipLine1, &a.TipLine2, &a.TipLine3})
        mm.insert(mm.end(), {l->P0.x / 2, (H - l->P0.y) / 2, l->P1.x / 2, (H - l->P1.y) / 2});
    EXPECT_NE(bytes.find(text("Lines (REAL)") + reals(mm)), std::string::npos);
    // Flags are 0 for set lines, -1 for the contour lines and for slot 5, which
    // repeats GTLine.
    std::string flags = int16(11);
    for (int s = 0; s < 11; ++s)
        flags += int16(s == 1 || s == 2 || s == 4 ? -1 : 0);
    EXPECT_NE(bytes.find(text("LinesValid (INTEGER)") + flags), std::string::npos);

    // Read back, the case is as written but for the head, fitted again to its
    // rim points, and the unset marker, which is not kept.
    auto readBack = [&](const std::string& data) {
        CZor b;
        RecordingMessages messages;
        EXPECT_TRUE(BinFile::ReadLandmarkData(data, path, W, H, b, messages));
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_NEAR(b.head.M.y, a.head.M.y, 1e-9);
        EXPECT_NEAR(b.head.R, a.head.R, 1e-9);
        b.head.M = a.head.M;
        b.head.R = a.head.R;
        b.CMarker = a.CMarker;
        return b;
    };
    CZor b = readBack(bytes);
    EXPECT_TRUE(b == a);
    // An older file: something else in slot 5, which only repeats GTLine and
    // is not read, and no scale source, the last record, added later.
    std::string older = bytes.substr(0, bytes.find(text("CalibSource (CHAR)"))) + endMarker;
    older.replace(bytes.find(text("Lines (REAL)")) + 16 + 4 * 32, 32, 32, '\0');
    CZor c = readBack(older);
    EXPECT_EQ(c.CalibSource, "landmark file");
    c.CalibSource = a.CalibSource;
    EXPECT_TRUE(c == a);

    a.Patient.Vorname = "\xC5\x81ukasz"; // no Windows-1252 character holds the first letter
    std::string error;
    EXPECT_FALSE(BinFile::WriteLandmarkFile(path, a, &error));
    EXPECT_NE(error.find("First Name"), std::string::npos) << error;
    EXPECT_EQ(TempDir::read(path), bytes);
}

TEST(Cp1252, ConvertsBothWaysAndRefusesWhatItCannotHold)
{
    // The bytes with no character become C1 codes; the way back is the round trip.
    EXPECT_EQ(Cp1252::toUtf8("\x80\x81\x9D"), "\xE2\x82\xAC\xC2\x81\xC2\x9D");
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(Cp1252::fromUtf8(Cp1252::toUtf8(all)), std::optional<std::string>(all));
    for (const char* refused :
         {"\xC5\x81ukasz", "A\xF0\x9F\x98\x80", "\xD0\x96", "bad \xFF utf-8", "cut \xC3"})
        EXPECT_EQ(Cp1252::fromUtf8(refused), std::nullopt) << refused;
}

// A file that stops cleanly between records is read; a damaged one stops with
// one message naming the last key read well, and what was read before stays.
// A missing file is quiet, an unreadable one is reported.
TEST(BinFileRead, FilesThatReadAndFilesThatStop)
{
    const char* const N = "Name (CHAR)"; // the name was read
    const std::string mm175 = text("Calib (CHAR)") + text("mm175");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        std::string bytes;
        const char* previousKey; // in the message; none for a file that reads
        std::function<void(const CZor&)> check = nullptr;
    } rows[] = {{"negative count", name + text("Lines (REAL)") + int16(-1), N},
                {"negative text length", name + text("Code (CHAR)") + int16(-3), N},
                {"short Lines", name + text("Lines (REAL)") + reals(std::vector(43, 1.0)), N},
                {"unknown key with a bad suffix", name + text("Extra (BLOB)") + int16(0), N},
                {"a blank inside the key name", name + text("Head TR (REAL)") + reals({28}), N},
                {"cut inside a value", name + text("Calib (REAL)") + int16(1) + "1234", N},
                {"cut inside a key", name + int16(12) + "Cal", N},
                {"cut inside a text", text("Name (CHAR)") + int16(10) + "Kee", ""},
                {"skipped record beyond the end", name + text("X (REAL)") + int16(3) + "1234", N},
                {"an empty file", "", ""},
                {"only the end marker", endMarker, ""},
                {"skips unknown records of the three types and ends without the end marker",
                 text("Note (CHAR)") + text("x") + text("Extra (INTEGER)") + int16(2) + int16(1) +
                     int16(2) + text("More (REAL)") + reals({1, 2}) + name,
                 nullptr, [](const CZor& z) { EXPECT_EQ(z.Patient.Famname, "Keep"); }},
                {"the last value of a width after a preset, up to 100 m",
                 mm175 + text("Calib (REAL)") + reals({100, 1e5}), nullptr,
                 [](const CZor& z) { EXPECT_EQ(z.WorldWidth(), 1e5); }},
                {"no width, or one outside 1 mm to 100 m, keeps the scale",
                 mm175 + text("Calib (REAL)") + reals({}) + text("Calib (REAL)") + reals({nan}) +
                     text("Calib (REAL)") + reals({0.99}) + text("Calib (REAL)") +
                     reals({100000.5}),
                 nullptr, [](const CZor& z) { EXPECT_EQ(z.WorldWidth(), 175.0); }},
                {"a head flag without a fitted circle leaves the head unset",
                 text("HeadValid (INTEGER)") + int16(1) + int16(0) + text("HeadPoints (REAL)") +
                     reals({1, 2, 3, 4}) + text("HeadValid (INTEGER)") + int16(1) + int16(0),
                 nullptr, [](const CZor& z) { EXPECT_FALSE(z.head.Valid); }},
                {"stored flags are not trusted",
                 text("LinesValid (INTEGER)") + int16(11) + std::string(22, '\xFF') +
                     text("ShoulderValid (INTEGER)") + int16(1) + int16(-1) +
                     text("PointsValid (INTEGER)") + int16(1) + int16(5) +
                     text("CMarkerValid (INTEGER)") + int16(0),
                 nullptr, [](const CZor& z) {
                     EXPECT_FALSE(z.AxisLine1.Valid || z.AxisLine2.Valid);
                     EXPECT_TRUE(z.AxisLine.Valid && z.GTLine.Valid && z.TipLine3.Valid);
                     EXPECT_TRUE(z.ShoulderValid && z.PointsValid && z.CMarkerValid);
                 }}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CZor z;
        z.Patient.Famname = "before";
        z.AxisLine1.Valid = true;
        RecordingMessages messages;
        const bool reads = row.previousKey == nullptr;
        EXPECT_EQ(BinFile::ReadLandmarkData(row.bytes, "/cases/c1.bit", W, H, z, messages), reads);
        EXPECT_EQ(z.LinesVisible, reads);
        if (reads) {
            EXPECT_TRUE(messages.messages.empty());
            row.check(z);
            continue;
        }
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].caption, "Zor");
        EXPECT_EQ(messages.messages[0].text,
                  std::string("Error in File: /cases/c1.bit after Key:") + row.previousKey);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(z.Patient.Famname, *row.previousKey ? "Keep" : "before");
    }

    TempDir dir;
    std::filesystem::create_directory(dir.file("folder.bit"));
    CZor z;
    RecordingMessages messages;
    EXPECT_FALSE(BinFile::ReadLandmarkFile(dir.file("none.bit"), W, H, z, messages));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(BinFile::ReadLandmarkFile(dir.file("folder.bit"), W, H, z, messages));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Error in File: " + dir.file("folder.bit") + " after Key:");
}

TEST(BinFile, TheLandmarkPathReplacesTheExtensionOrAddsOne)
{
    EXPECT_EQ(BinFile::LandmarkPath("case1.old.jpg"), "case1.old.bit");
    EXPECT_EQ(BinFile::LandmarkPath("/data/v1.2/case1"), "/data/v1.2/case1.bit");
}

} // namespace
