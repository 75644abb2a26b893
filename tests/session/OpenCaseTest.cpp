#include "session/OpenCase.h"

#include "../support/Cases.h"
#include "../support/RecordingHost.h"
#include "../support/RecordingMessages.h"
#include "../support/RecordingSurface.h"
#include "../support/TempDir.h"
#include "casefile/BinFile.h"
#include "casefile/DefaultPatient.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace {

CBitmap film(int w, int h)
{
    std::vector<uint8_t> grey(std::size_t(w) * std::size_t(h), 128);
    CBitmap b;
    b.init(grey.data(), w, h, std::size_t(w));
    return b;
}

class OpenCaseTest : public testing::Test {
protected:
    void open(RadiographInfo info = {})
    {
        oc.replace(dir.file("case.bmp"), dir.file("case.bit"), film(860, 1000), info);
        oc.readOrStartNew();
    }
    TempDir dir;
    RecordingHost host;
    RecordingSurface surface;
    RecordingMessages messages;
    OpenCase oc{host, surface, messages};
};

// A case read from its file, not from the DICOM header: its patient becomes
// the default. "&Reload Landmarks" takes the file back; a damaged file leaves
// the case exactly as it was, whatever was read before the fault.
TEST_F(OpenCaseTest, ReadReloadAndADamagedFile)
{
    CZor stored;
    stored.initScale(860, 1000, 215.0);
    stored.Patient.Famname = "Stored";
    stored.Shoulder.change(100, 200);
    stored.ShoulderValid = true;
    ASSERT_TRUE(BinFile::WriteLandmarkFile(dir.file("case.bit"), stored));
    RadiographInfo header;
    header.kind = "DICOM";
    header.mmPerPixel = 0.1;
    header.famname = "Header";
    open(header);
    EXPECT_TRUE(oc.zor().DatFlag && oc.zor().ShoulderValid);
    EXPECT_EQ(oc.zor().ScaleFactor, 4.0);
    EXPECT_EQ(DefaultPatient().Famname, "Stored");

    oc.zor().Shoulder.change(1, 1);
    EXPECT_TRUE(oc.reloadLandmarks());
    EXPECT_NEAR(oc.zor().Shoulder.x, 100, 1e-9);

    std::filesystem::resize_file(dir.file("case.bit"),
                                 std::filesystem::file_size(dir.file("case.bit")) * 2 / 3);
    oc.zor().Patient.Famname = "Edited";
    oc.zor().Shoulder.change(5, 5);
    const CZor before = oc.zor();
    EXPECT_FALSE(oc.reloadLandmarks());
    EXPECT_EQ(oc.zor(), before);
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(messages.messages[0].text.rfind("Error in File: " + dir.file("case.bit"), 0), 0U);
    DefaultPatient() = CPatient{};
}

// Without a landmark file: landmarks reset, the film 430 mm wide, no head.
// Opening another film gives a new model and new tools, which keep the
// usable tools of the last case.
TEST_F(OpenCaseTest, ANewCaseThenAnotherFilmKeepsTheUsableTools)
{
    open();
    EXPECT_TRUE(oc.isOpen() && oc.zor().Visible && !oc.zor().DatFlag);
    EXPECT_EQ(oc.zor().ScaleFactor, 2.0);
    EXPECT_TRUE(oc.zor().head.points.empty() && !oc.zor().head.Valid);
    EXPECT_FALSE(oc.tools().usable(Tool::Shoulder) || oc.tools().usable(Tool::CMarker));
    EXPECT_TRUE(messages.messages.empty());
    oc.tools().m_StemAxis();
    for (auto [x0, x1] : {std::pair{40.0F, 45.0F}, {80.0F, 75.0F}}) {
        oc.tools().MouseDown(ToolController::LeftButton, x0, 900);
        oc.tools().MouseMove(ToolController::LeftButton, x1, 100);
        oc.tools().MouseUp(ToolController::LeftButton, x1, 100);
    }
    ASSERT_TRUE(oc.tools().usable(Tool::Shoulder));
    oc.replace(dir.file("b.bmp"), dir.file("b.bit"), film(100, 100));
    EXPECT_TRUE(oc.tools().usable(Tool::Shoulder));
    EXPECT_EQ(oc.landmarkPath(), dir.file("b.bit"));
    EXPECT_FALSE(oc.zor().AxisLine.Valid);
}

} // namespace

// Write Data asks first, naming each doubt: a scale not calibrated (with the
// header's reason), a head factor outside 1.0 to 1.35, a side the header
// contradicts. A case that cannot be written yet raises none.
TEST_F(OpenCaseTest, WriteWarningsNameEachDoubt)
{
    RadiographInfo header;
    header.laterality = "R";
    header.scaleSource = "not calibrated: pixels not square";
    open(header);
    Cases::upright(oc.zor()); // stem on the left, head 15 mm in radius
    oc.zor().Patient.HeadTR = 16;
    EXPECT_EQ(oc.writeWarnings(),
              (std::vector<std::string>{
                  "the scale is not calibrated: 0.500 mm/px, NOT CALIBRATED: pixels not square "
                  "(430 mm film default)",
                  "the head factor 0.938 lies outside 1.0 to 1.35",
                  "the film is marked R in its header, but the analysis finds the stem on the L "
                  "side"}));
    oc.zor().Patient.HeadTR = 0;
    EXPECT_TRUE(oc.writeWarnings().empty());
}

// A DICOM film brings its patient; the last head size carries over only to
// the same patient, the data file always.
TEST_F(OpenCaseTest, ADicomFilmTakesTheLastHeadOnlyForTheSamePatient)
{
    RadiographInfo header;
    header.kind = "DICOM";
    header.famname = "Roe";
    header.patientId = "ST-9";
    for (auto [id, head] : {std::pair{"ST-9", 14.0}, {"ST-7", 0.0}}) {
        DefaultPatient() = CPatient{"Roe", "", id, 14.0, "study"};
        open(header);
        EXPECT_EQ(oc.zor().Patient.HeadTR, head) << id;
        EXPECT_EQ(oc.zor().Patient.DatFile, "study");
    }
    DefaultPatient() = CPatient{};
}

// A landmark file that cannot be read is copied aside, once, before this case
// first writes over it; an older copy stays.
TEST_F(OpenCaseTest, ADamagedFileIsKeptBeforeItIsWrittenOver)
{
    const std::string damaged = std::string{'\x05', '\0'} + "Calib";
    TempDir::write(dir.file("case.bit"), damaged);
    TempDir::write(dir.file("case.bit.damaged"), "an older one");
    open();
    EXPECT_EQ(messages.messages.size(), 1U);
    for (int save = 0; save < 2; ++save)
        ASSERT_TRUE(oc.saveLandmarks(nullptr));
    EXPECT_EQ(TempDir::read(dir.file("case.bit.damaged-2")), damaged);
    EXPECT_FALSE(std::filesystem::exists(dir.file("case.bit.damaged-3")));
    EXPECT_EQ(TempDir::read(dir.file("case.bit.damaged")), "an older one");
}
