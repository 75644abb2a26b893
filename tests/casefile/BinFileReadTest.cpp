#include "../support/RecordingMessages.h"
#include "TempDir.h"
#include "casefile/BinFile.h"
#include "model/CZor.h"

#include <cctype>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int16_t W = 860; // 2 pixels per mm at 430 mm
constexpr int16_t H = 1000;

std::string text(const std::string& s)
{
    ByteWriter w;
    BinFile::WriteText(w, s);
    return w.bytes();
}

std::string int16(int16_t v)
{
    ByteWriter w;
    w.putInt16(v);
    return w.bytes();
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

// --- Damaged files ---

struct Damaged {
    const char* what;
    std::string bytes;
    const char* previousKey; // in the message
    bool nameKept;           // the record read before the fault stays
};

class BinFileDamaged : public testing::TestWithParam<Damaged> {};

TEST_P(BinFileDamaged, StopsWithTheMessageAndKeepsWhatWasRead)
{
    const Damaged& d = GetParam();
    CZor z;
    z.Patient.Famname = "before";
    RecordingMessages messages;
    EXPECT_FALSE(BinFile::ReadLandmarkData(d.bytes, "/cases/c1.bit", W, H, z, messages));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Zor");
    EXPECT_EQ(messages.messages[0].text,
              std::string("Error in File: /cases/c1.bit after Key:") + d.previousKey);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(z.Patient.Famname, d.nameKept ? "Keep" : "before");
    EXPECT_FALSE(z.LinesVisible);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BinFileDamaged,
    testing::Values(
        Damaged{"negative count", name + text("Lines (REAL)") + int16(-1), "Name (CHAR)", true},
        Damaged{"negative text length", name + text("Code (CHAR)") + int16(-3), "Name (CHAR)",
                true},
        Damaged{"short Lines",
                name + text("Lines (REAL)") + reals(std::vector<double>(43, 1.0)) + endMarker,
                "Name (CHAR)", true},
        Damaged{"unknown key with a bad suffix", name + text("Extra (BLOB)") + int16(0) + endMarker,
                "Name (CHAR)", true},
        Damaged{"unknown key without a blank", name + text("Extra") + endMarker, "Name (CHAR)",
                true},
        Damaged{"a blank inside the key's name",
                name + text("Head TR (REAL)") + reals({28.0}) + endMarker, "Name (CHAR)", true},
        Damaged{"truncated inside a value",
                name + text("Calib (REAL)") + int16(1) + std::string(4, '\0'), "Name (CHAR)", true},
        Damaged{"truncated inside a key",
                name + std::string("\x0C\x00"
                                   "Cal",
                                   5),
                "Name (CHAR)", true},
        Damaged{"truncated inside a text", text("Name (CHAR)") + int16(10) + "Kee", "", false},
        Damaged{"count beyond the end of the file",
                text("Points (REAL)") + int16(30000) + std::string(16, '\0'), "", false},
        Damaged{"unknown REAL record beyond the end",
                name + text("Other (REAL)") + int16(3) + std::string(8, '\0'), "Name (CHAR)", true},
        Damaged{"one byte", std::string(1, '\x05'), "", false},
        Damaged{"an empty file", "", "", false},
        Damaged{"odd number of head point values",
                name + text("HeadPoints (REAL)") + reals({1, 2, 3}) + endMarker, "Name (CHAR)",
                true},
        Damaged{"shoulder with one value", name + text("Shoulder (REAL)") + reals({1}) + endMarker,
                "Name (CHAR)", true}),
    [](const testing::TestParamInfo<Damaged>& info) {
        std::string s;
        for (const char* p = info.param.what; *p; ++p)
            s += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return s;
    });

TEST(BinFileRead, AMissingFileIsNoErrorMessage)
{
    TempDir dir;
    CZor z;
    RecordingMessages messages;
    EXPECT_FALSE(BinFile::ReadLandmarkFile(dir.file("none.bit"), W, H, z, messages));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(BinFileRead, AnUnreadableFileIsReported)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("folder.bit"));
    CZor z;
    RecordingMessages messages;
    EXPECT_FALSE(BinFile::ReadLandmarkFile(dir.file("folder.bit"), W, H, z, messages));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Error in File: " + dir.file("folder.bit") + " after Key:");
}

// --- Files that are read ---

struct Readable {
    const char* what;
    std::string bytes;
    std::function<void(const CZor&)> check;
};

class BinFileReadable : public testing::TestWithParam<Readable> {};

TEST_P(BinFileReadable, IsReadWithoutAMessage)
{
    const Readable& r = GetParam();
    CZor z;
    z.CMarker.change(7, 8);
    z.head.addPoint(1, 2);
    RecordingMessages messages;
    EXPECT_TRUE(BinFile::ReadLandmarkData(r.bytes, "c1.bit", W, H, z, messages));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(z.LinesVisible);
    r.check(z);
}

double width(const CZor& z)
{
    return z.WorldWidth();
}

INSTANTIATE_TEST_SUITE_P(
    Files, BinFileReadable,
    testing::Values(
        Readable{"ends between records without its end marker", name,
                 [](const CZor& z) { EXPECT_EQ(z.Patient.Famname, "Keep"); }},
        Readable{"ignores what follows the end marker", name + endMarker + "garbage",
                 [](const CZor& z) { EXPECT_EQ(z.Patient.Famname, "Keep"); }},
        Readable{"only the end marker", endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 430.0); }},
        Readable{"skips unknown records of the three types",
                 text("Note (CHAR)") + text("x") + text("Extra (INTEGER)") + int16(2) + int16(1) +
                     int16(2) + text("More (REAL)") + reals({1, 2}) + name + endMarker,
                 [](const CZor& z) { EXPECT_EQ(z.Patient.Famname, "Keep"); }},
        Readable{"Famname is the name", text("Famname (CHAR)") + text("Old") + endMarker,
                 [](const CZor& z) { EXPECT_EQ(z.Patient.Famname, "Old"); }},
        Readable{"a preset by name", text("Calib (CHAR)") + text("mm175") + endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 175.0); }},
        Readable{"a preset name in other case is not one",
                 text("Calib (CHAR)") + text("Mm175") + endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 430.0); }},
        Readable{"the later Calib decides",
                 text("Calib (REAL)") + reals({250.0}) + text("Calib (CHAR)") + text("pacs") +
                     endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 500.0); }},
        Readable{"the last value of Calib (REAL)",
                 text("Calib (REAL)") + reals({100.0, 250.0}) + endMarker,
                 [](const CZor& z) { EXPECT_EQ(z.ScaleFactor, 860.0 / 250.0); }},
        Readable{"a Calib (REAL) of 0 keeps the scale",
                 text("Calib (CHAR)") + text("mm175") + text("Calib (REAL)") + reals({0.0}) +
                     endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 175.0); }},
        Readable{"an empty Calib (REAL) keeps the scale",
                 text("Calib (CHAR)") + text("mm175") + text("Calib (REAL)") + reals({}) +
                     endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 175.0); }},
        Readable{"a negative or non-finite Calib (REAL) keeps the scale",
                 text("Calib (CHAR)") + text("mm175") + text("Calib (REAL)") + reals({-5.0}) +
                     text("Calib (REAL)") + reals({std::numeric_limits<double>::quiet_NaN()}) +
                     text("Calib (REAL)") + reals({std::numeric_limits<double>::infinity()}) +
                     endMarker,
                 [](const CZor& z) { EXPECT_EQ(width(z), 175.0); }},
        Readable{"the head value is the diameter",
                 text("HeadTR (REAL)") + reals({28.0}) + endMarker,
                 [](const CZor& z) { EXPECT_EQ(z.Patient.HeadTR, 14.0); }},
        Readable{"stored line flags are not trusted",
                 text("LinesValid (INTEGER)") + int16(11) + int16(0) + int16(0) + int16(0) +
                     int16(-1) + int16(-1) + int16(-1) + int16(-1) + int16(-1) + int16(-1) +
                     int16(-1) + int16(-1) + endMarker,
                 [](const CZor& z) {
                     EXPECT_FALSE(z.AxisLine1.Valid);
                     EXPECT_FALSE(z.AxisLine2.Valid);
                     for (const CLine* l : {&z.AxisLine, &z.GTLine, &z.LTLine1, &z.LTLine2,
                                            &z.TipLine, &z.TipLine1, &z.TipLine2, &z.TipLine3})
                         EXPECT_TRUE(l->Valid);
                 }},
        Readable{"HeadValid without head points keeps the points",
                 text("HeadValid (INTEGER)") + int16(1) + int16(-1) + endMarker,
                 [](const CZor& z) {
                     EXPECT_TRUE(z.head.Valid);
                     ASSERT_EQ(z.head.points.size(), 1u);
                     EXPECT_EQ(z.head.points[0].x, 1.0);
                 }},
        Readable{"flags are set whatever was stored",
                 text("ShoulderValid (INTEGER)") + int16(1) + int16(-1) +
                     text("PointsValid (INTEGER)") + int16(1) + int16(5) +
                     text("CMarkerValid (INTEGER)") + int16(0) + endMarker,
                 [](const CZor& z) {
                     EXPECT_TRUE(z.ShoulderValid);
                     EXPECT_TRUE(z.PointsValid);
                     EXPECT_TRUE(z.CMarkerValid);
                 }},
        Readable{"without CMarker the cement marker stays",
                 text("Shoulder (REAL)") + reals({205.0, 350.0}) + endMarker,
                 [](const CZor& z) {
                     EXPECT_EQ(z.CMarker.x, 7.0);
                     EXPECT_EQ(z.Shoulder.x, 410.0);
                     EXPECT_EQ(z.Shoulder.y, 300.0);
                 }},
        Readable{"head points replace the old ones and are fitted",
                 text("HeadPoints (REAL)") + reals({165, 400, 150, 385, 135, 400}) + endMarker,
                 [](const CZor& z) {
                     ASSERT_EQ(z.head.points.size(), 3u);
                     EXPECT_TRUE(z.head.Valid);
                     EXPECT_NEAR(z.head.R, 30.0, 1e-9);
                 }},
        Readable{"texts come back as UTF-8",
                 text("Name (CHAR)") + int16(6) + "M\xFCller" + endMarker,
                 [](const CZor& z) { EXPECT_EQ(z.Patient.Famname, "M\xC3\xBCller"); }}),
    [](const testing::TestParamInfo<Readable>& info) {
        std::string s;
        for (const char* p = info.param.what; *p; ++p)
            s += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return s;
    });

TEST(BinFileRead, LinesFillTheirSlotsAndSkipTheReservedOne)
{
    std::vector<double> v;
    for (int i = 0; i < 44; ++i)
        v.push_back(i % 2 == 0 ? i : 500 - i); // world y, so image y = 1000 - 2 (500 - i) = 2 i
    CZor z;
    z.GTLine.P0.change(-1, -1);
    RecordingMessages messages;
    ASSERT_TRUE(BinFile::ReadLandmarkData(text("Lines (REAL)") + reals(v) + endMarker, "c", W, H, z,
                                          messages));
    // Every value i becomes 2 i pixels.
    const CLine* lines[] = {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.GTLine,
                            nullptr,     &z.LTLine1,   &z.LTLine2,   &z.TipLine,
                            &z.TipLine1, &z.TipLine2,  &z.TipLine3};
    for (int s = 0; s < 11; ++s) {
        if (!lines[s])
            continue;
        SCOPED_TRACE(s);
        EXPECT_EQ(lines[s]->P0.x, 2.0 * (4 * s));
        EXPECT_EQ(lines[s]->P0.y, 2.0 * (4 * s + 1));
        EXPECT_EQ(lines[s]->P1.x, 2.0 * (4 * s + 2));
        EXPECT_EQ(lines[s]->P1.y, 2.0 * (4 * s + 3));
        EXPECT_FALSE(lines[s]->Valid);
    }
}

} // namespace
