#include "casefile/BinFile.h"

#include "../support/RecordingMessages.h"
#include "TempDir.h"
#include "model/CZor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr int16_t W = 860; // 430 mm wide: 2 pixels per mm
constexpr int16_t H = 1000;

// A case with every landmark set and values that survive the mm round trip
// exactly (multiples of 1/2 at 2 pixels per mm).
void fillCase(CZor& z)
{
    z.initScale(W, H, 430.0);
    z.Patient.Famname = "M\xC3\xBCller";
    z.Patient.Vorname = "Jos\xC3\xA9";
    z.Patient.Code = "S-01";
    z.Patient.DatFile = "study1";
    z.Patient.HeadTR = 14.0;
    z.Datum = "20030212";
    z.AxisLine.init(400, 1000, 400, 0);
    z.AxisLine1.init(380, 900, 382, 100);
    z.AxisLine2.init(420, 900, 418, 100);
    z.GTLine.init(380, 250, 460, 250);
    z.LTLine1.init(340, 380, 380, 420);
    z.LTLine2.init(340, 420, 380, 380);
    z.TipLine.init(350, 800, 450, 800);
    z.TipLine1.init(300, 700, 500, 700);
    z.TipLine2.init(300, 600, 500, 600);
    z.TipLine3.init(300, 500, 500, 500);
    for (CLine* l : {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.GTLine, &z.LTLine1, &z.LTLine2,
                     &z.TipLine, &z.TipLine1, &z.TipLine2, &z.TipLine3})
        l->Valid = true;
    z.head.addPoint(330, 200);
    z.head.addPoint(300, 230);
    z.head.addPoint(270, 200);
    z.head.Valid = z.head.fit();
    z.Shoulder.change(410, 300);
    z.ShoulderValid = true;
    z.CMarker.change(400, 900);
    z.CMarkerValid = true;
    for (int16_t i = 0; i < 8; ++i)
        z.points(i).change(340 + 10 * i, 500 + 40 * i);
    z.PointsValid = true;
}

std::string key(const std::string& k)
{
    ByteWriter w;
    BinFile::WriteText(w, k);
    return w.bytes();
}

std::string int16(int16_t v)
{
    ByteWriter w;
    w.putInt16(v);
    return w.bytes();
}

std::string reals(std::initializer_list<double> values)
{
    ByteWriter w;
    w.putInt16(static_cast<int16_t>(values.size()));
    for (double v : values)
        w.putReal(v);
    return w.bytes();
}

const std::string endMarker("\0\0", 2);

TEST(BinFileWrite, FirstRecordIsTheWorldWidth)
{
    CZor z;
    fillCase(z);
    std::string bytes = *BinFile::LandmarkBytes(z);
    std::string expected = std::string("\x0C\x00", 2) + "Calib (REAL)" + std::string("\x01\x00", 2);
    expected += std::string("\x00\x00\x00\x00\x00\xE0\x7A\x40", 8); // 430.0
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), endMarker);
}

TEST(BinFileWrite, RecordsComeInTheirOrderWithFlagsStoredInverted)
{
    CZor z;
    fillCase(z);
    z.ShoulderValid = false;
    z.PointsValid = false;
    std::string bytes = *BinFile::LandmarkBytes(z);

    EXPECT_NE(bytes.find(key("Name (CHAR)") + int16(6) + "M\xFCller"), std::string::npos)
        << "the name is stored in Windows-1252";
    std::vector<std::string> order = {"Calib (REAL)",
                                      "Name (CHAR)",
                                      "Vorname (CHAR)",
                                      "Date (CHAR)",
                                      "Code (CHAR)",
                                      "DatFile (CHAR)",
                                      "HeadTR (REAL)",
                                      "Lines (REAL)",
                                      "LinesValid (INTEGER)",
                                      "HeadPoints (REAL)",
                                      "HeadValid (INTEGER)",
                                      "Shoulder (REAL)",
                                      "ShoulderValid (INTEGER)",
                                      "CMarker (REAL)",
                                      "CMarkerValid (INTEGER)",
                                      "Points (REAL)",
                                      "PointsValid (INTEGER)"};
    size_t at = 0;
    for (const std::string& k : order) {
        size_t found = bytes.find(key(k), at);
        ASSERT_NE(found, std::string::npos) << k << " missing or out of order";
        at = found + 1;
    }
    EXPECT_NE(bytes.find(key("HeadTR (REAL)") + reals({28.0})), std::string::npos);
    // Slot 5 repeats GTLine and is stored not valid; all others valid here.
    std::string flags = int16(11);
    for (int s = 0; s < 11; ++s)
        flags += int16(s == 4 ? -1 : 0);
    EXPECT_NE(bytes.find(key("LinesValid (INTEGER)") + flags), std::string::npos);
    EXPECT_NE(bytes.find(key("ShoulderValid (INTEGER)") + int16(1) + int16(-1)), std::string::npos);
    EXPECT_NE(bytes.find(key("PointsValid (INTEGER)") + int16(1) + int16(0) + endMarker),
              std::string::npos)
        << "PointsValid is always stored as set, right before the end marker";
    // World millimetres: the shoulder at (410, 300) px is (205, 350) mm.
    EXPECT_NE(bytes.find(key("Shoulder (REAL)") + reals({205.0, 350.0})), std::string::npos);
}

TEST(BinFileWrite, OptionalRecordsAreLeftOut)
{
    CZor z;
    fillCase(z);
    z.head.removeAll();
    z.CMarkerValid = false;
    std::string bytes = *BinFile::LandmarkBytes(z);
    EXPECT_EQ(bytes.find(key("HeadPoints (REAL)")), std::string::npos);
    EXPECT_NE(bytes.find(key("HeadValid (INTEGER)")), std::string::npos);
    EXPECT_EQ(bytes.find(key("CMarker (REAL)")), std::string::npos);
    EXPECT_EQ(bytes.find(key("CMarkerValid (INTEGER)")), std::string::npos);
}

TEST(BinFileRoundTrip, AFullCaseComesBackAsItWas)
{
    TempDir dir;
    CZor a;
    fillCase(a);
    a.AxisLine2.Valid = false; // as after a read, so that a rewrite gives the same bytes
    a.AxisLine1.Valid = false;
    std::string path = dir.file("case1.bit");
    ASSERT_TRUE(BinFile::WriteLandmarkFile(path, a));

    CZor b;
    RecordingMessages messages;
    ASSERT_TRUE(BinFile::ReadLandmarkFile(path, W, H, b, messages));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(b.ScaleFactor, 2.0);
    EXPECT_EQ(b.Patient.Famname, a.Patient.Famname);
    EXPECT_EQ(b.Patient.Vorname, a.Patient.Vorname);
    EXPECT_EQ(b.Patient.Code, "S-01");
    EXPECT_EQ(b.Patient.DatFile, "study1");
    EXPECT_EQ(b.Patient.HeadTR, 14.0);
    EXPECT_EQ(b.Datum, "20030212");
    for (auto [la, lb] : {std::pair{&a.AxisLine, &b.AxisLine},
                          {&a.GTLine, &b.GTLine},
                          {&a.LTLine1, &b.LTLine1},
                          {&a.LTLine2, &b.LTLine2},
                          {&a.TipLine, &b.TipLine},
                          {&a.TipLine3, &b.TipLine3},
                          {&a.AxisLine2, &b.AxisLine2}}) {
        EXPECT_EQ(lb->P0.x, la->P0.x);
        EXPECT_EQ(lb->P0.y, la->P0.y);
        EXPECT_EQ(lb->P1.x, la->P1.x);
        EXPECT_EQ(lb->P1.y, la->P1.y);
    }
    EXPECT_TRUE(b.AxisLine.Valid);
    EXPECT_TRUE(b.TipLine2.Valid);
    EXPECT_FALSE(b.AxisLine1.Valid) << "contour lines are never read as set";
    EXPECT_FALSE(b.AxisLine2.Valid);
    ASSERT_EQ(b.head.points.size(), 3u);
    EXPECT_TRUE(b.head.Valid);
    EXPECT_NEAR(b.head.M.x, 300, 1e-9);
    EXPECT_NEAR(b.head.M.y, 200, 1e-9);
    EXPECT_NEAR(b.head.R, 30, 1e-9);
    EXPECT_EQ(b.Shoulder.x, 410);
    EXPECT_EQ(b.Shoulder.y, 300);
    EXPECT_TRUE(b.ShoulderValid);
    EXPECT_EQ(b.CMarker.y, 900);
    EXPECT_TRUE(b.CMarkerValid);
    EXPECT_TRUE(b.PointsValid);
    EXPECT_EQ(b.points(7).x, 410);
    EXPECT_EQ(b.points(7).y, 780);
    EXPECT_TRUE(b.LinesVisible);

    // Written again, the file is the same bytes.
    std::string again = dir.file("again.bit");
    ASSERT_TRUE(BinFile::WriteLandmarkFile(again, b));
    EXPECT_EQ(TempDir::read(again), TempDir::read(path));
}

TEST(BinFileRoundTrip, AnUnstorableNameFailsAndKeepsTheOldFile)
{
    TempDir dir;
    CZor z;
    fillCase(z);
    std::string path = dir.file("case1.bit");
    ASSERT_TRUE(BinFile::WriteLandmarkFile(path, z));
    std::string before = TempDir::read(path);

    z.Patient.Vorname = "\xC5\x81ukasz"; // Ł is not in Windows-1252
    std::string error;
    EXPECT_FALSE(BinFile::WriteLandmarkFile(path, z, &error));
    EXPECT_NE(error.find("First Name"), std::string::npos) << error;
    EXPECT_EQ(TempDir::read(path), before);
}

TEST(BinFileRoundTrip, AFailedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    TempDir dir;
    CZor z;
    fillCase(z);
    std::string path = dir.file("case1.bit");
    ASSERT_TRUE(BinFile::WriteLandmarkFile(path, z));
    ::chmod(path.c_str(), 0640);
    std::string before = TempDir::read(path);

    // A folder in the way of the rename: the new content cannot land.
    std::string blocked = dir.file("blocked.bit");
    std::filesystem::create_directories(blocked + "/inside");
    std::string error;
    EXPECT_FALSE(BinFile::WriteLandmarkFile(blocked, z, &error));
    EXPECT_FALSE(error.empty());

    z.Patient.Famname = "Other";
    ASSERT_TRUE(BinFile::WriteLandmarkFile(path, z));
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the replacement keeps the permissions";
    EXPECT_NE(TempDir::read(path), before);

    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2) << "case1.bit and the blocking folder only";
}

TEST(BinFileItems, FlagsAreZeroForTrueAndAnythingElseForFalse)
{
    ByteWriter w;
    BinFile::WriteFlag(w, true);
    BinFile::WriteFlag(w, false);
    EXPECT_EQ(w.bytes(), std::string("\x00\x00\xFF\xFF", 4));
    std::string values = int16(3) + int16(0) + int16(1) + int16(1) + int16(1) + int16(7) +
                         int16(1) + int16(-1) + int16(2);
    ByteReader in(values);
    EXPECT_EQ(BinFile::ReadFlag(in), true);
    EXPECT_EQ(BinFile::ReadFlag(in), false);
    EXPECT_EQ(BinFile::ReadFlag(in), false);
    EXPECT_EQ(BinFile::ReadFlag(in), std::nullopt) << "a count of 2 with one value left";
}

TEST(BinFileRoundTrip, NoLandmarkPathWithoutAnExtension)
{
    EXPECT_EQ(BinFile::LandmarkPath("/data/case1.jpg"), "/data/case1.bit");
    EXPECT_EQ(BinFile::LandmarkPath("case1.old.jpg"), "case1.old.bit");
    EXPECT_EQ(BinFile::LandmarkPath("/data/v1.2/case1"), std::nullopt);
}

} // namespace
