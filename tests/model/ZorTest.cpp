#include "../support/RecordingSurface.h"
#include "model/CZor.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Ends = std::array<double, 4>;

Ends ends(const CLine& l)
{
    return {l.P0.x, l.P0.y, l.P1.x, l.P1.y};
}

void expectNear(const CLine& l, Ends e, double tol = 1e-9)
{
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(ends(l)[i], e[i], tol) << i;
}

TEST(Frame, CalibrationSetsTheScaleAndRefusalsKeepThePreviousOne)
{
    CZor z;
    z.initScale(1000, 800, 225.0); // the 430 mm default is shown in the window's test
    z.CalibSource = "not calibrated: pixels not square";
    EXPECT_EQ(z.scaleText(), "0.225 mm/px, NOT CALIBRATED: pixels not square (225 mm film width)");
    z.CalibPoints.emplace();
    z.CalibPoints->init(0, 0, 300, 400);
    z.CalibDist = 50.0;
    z.Calibrate(1000, 800);
    EXPECT_EQ(z.ScaleFactor, 10.0);
    EXPECT_EQ(z.scaleText(), "0.100 mm/px, two points");
    z.CalibSource = "the source before";
    z.initScale(0, 500, 250.0); // widths out of range: the landmark file test
    for (const char* name : {"Mm175", "MM430", "pacs ", "", "mm 175"}) // presets by exact name
        EXPECT_FALSE(z.applyPreset(name, 600, 500)) << name;
    for (auto [x1, dist] : {std::pair{0.0, 50.0}, {300.0, 0.0}, {300.0, kNaN}}) {
        z.CalibPoints->init(0, 0, x1, 400 * (x1 > 0)); // x1 = 0: coinciding points
        z.CalibDist = dist;
        z.Calibrate(600, 500);
    }
    z.CalibDist = 50.0;
    z.CalibPoints->init(0, 0, 0.001, 0); // 50 mm over 0.001 px: a film 50 km wide
    z.Calibrate(600, 500);
    z.CalibPoints.reset();
    z.Calibrate(600, 500);
    EXPECT_EQ(z.ScaleFactor, 10.0);
    EXPECT_EQ(z.HPixel, 800);
    EXPECT_EQ(z.CalibSource, "the source before") << "a refused calibration tells nothing new";
    z.initScale(600, 500, 1.0);
    EXPECT_EQ(z.WorldWidth(), 1.0);
    ASSERT_TRUE(z.applyPreset("mm175", 600, 500));
    EXPECT_EQ(z.WorldWidth(), 175.0);
    EXPECT_EQ(z.CalibSource, "mm175");
}

enum Show { kLines = 1, kFemur = 2, kHead = 4, kContour = 8, kMarks = 16, kAll = 31 };

// A view 400 px wide; an axis straight down at x = 100 with the shoulder 30 px
// to its right, or, built by flags, one scene with neighbouring landmarks.
class ZorScene : public testing::Test {
protected:
    void SetUp() override
    {
        s.scaleWidth = 400;
        z.AxisLine.init(100, 1000, 100, 0);
        z.Shoulder.change(130, 300);
    }
    void build(int show)
    {
        z.Visible = true;
        for (auto [x, y] : {std::pair{500, 500}, {600, 600}, {700, 500}})
            z.head.addPoint(x, y);
        ASSERT_TRUE(z.head.fit());
        z.head.Valid = show & kHead;
        z.points(0).change(703, 500); // beside the third head point
        z.points(3).change(350, 114);
        z.Shoulder.change(350, 108);
        z.CMarker.change(350, 104);
        z.GTLine.init(300, 100, 400, 100);
        z.LTLine1.init(300, 150, 400, 250);
        z.LTLine2.init(300, 250, 400, 150); // crosses LTLine1 at (350, 200)
        z.TipLine.init(300, 300, 400, 300);
        z.AxisLine1.init(300, 100, 20, 300); // P0 on GTLine.P0
        z.AxisLine1.Valid = show & kContour;
        z.AxisLine2.init(0, 0, 70, 300);
        z.LinesVisible = show & kLines;
        z.PointsValid = show & kFemur;
        z.ShoulderValid = z.CMarkerValid = show & kMarks;
    }
    void accept()
    {
        z.CreateLines(s.scaleWidth);
        z.LTLine1.Valid = z.LTLine2.Valid = z.TipLine.Valid = true;
    }
    RecordingSurface s;
    CZor z;
};

// Head points, femur points, shoulder, marker, then GT, LT1, LT2 and tip line
// (all these only with the lines shown), then the contour ends. Each kind
// alone is picked in the interaction tests.
TEST_F(ZorScene, HitCodesFirstMatchWins)
{
    const int hidden = kAll - kLines - kContour;
    const struct {
        int show;
        double x, y;
        int16_t code;
    } rows[] = {
        {kHead, 601, 599, 103},        {kHead, 706, 500, 0},    {kAll, 701, 500, 104},
        {kAll - kHead, 701, 500, 210}, {kAll, 350, 112.5, 213}, {kAll - kFemur, 350, 112.5, 9},
        {kAll, 350, 106, 9},           {kAll, 350, 102, 220},   {kLines, 350, 200, 11},
        {kLines, 325, 225, 12},        {hidden, 350, 102, 0},   {hidden, 350, 112.5, 0},
        {hidden, 399, 295, 0},         {kAll, 300, 100, 10},    {kContour, 300, 100, 5},
        {kAll - kContour, 20, 300, 0}};
    for (const auto& r : rows) {
        z.head.removeAll();
        build(r.show);
        EXPECT_EQ(ToolModes::number(z.findMode(r.x, r.y)), r.code)
            << r.show << " at " << r.x << "," << r.y;
    }
    EXPECT_THROW(z.points(8), std::out_of_range);
}

// The colours themselves are the window's test.
TEST_F(ZorScene, DrawShowsWhatIsSetAndVisible)
{
    build(kAll);
    z.AxisLine.Valid = z.AxisLine2.Valid = true;
    z.LTLine1.Valid = true; // accepted by the user
    z.TipLine2.Valid = true;
    z.draw(s, 0xFF00FF, 255);
    // axis, contours, shoulder, marker, 4 proposals, a tip line, 8 femur
    // crosses, then the head circle, its 3 points and its centre
    ASSERT_EQ(s.ops.size(), 3u + 4 + 4 + 1 + 16 + 9);
    EXPECT_EQ(s.ops[7].color, 0xFF00FFu) << "a proposed line";
    EXPECT_EQ(s.ops[8].color, 255u) << "an accepted line";
    s.ops.clear();
    z.LinesVisible = false; // only the axes and the head remain
    z.draw(s, 0xFF00FF, 255);
    EXPECT_EQ(s.ops.size(), 3u + 9);
    s.ops.clear();
    z.Visible = false; // nothing, not even the head
    z.draw(s, 0xFF00FF, 255);
    EXPECT_TRUE(s.ops.empty());
}

TEST_F(ZorScene, CreateLinesProposesTheCrossAroundTheShoulder)
{
    z.GTLine.Valid = z.LTLine2.Valid = true;
    z.CreateLines(s.scaleWidth);
    EXPECT_EQ(ends(z.GTLine), (Ends{170, 280, 90, 280}));
    EXPECT_EQ(ends(z.TipLine), (Ends{170, 360, 90, 360}));
    EXPECT_EQ(ends(z.LTLine1), (Ends{170, 280, 90, 360}));
    EXPECT_EQ(ends(z.LTLine2), (Ends{170, 360, 90, 280}));
    EXPECT_FALSE(z.GTLine.Valid || z.LTLine2.Valid);
    EXPECT_TRUE(z.LinesVisible);
    // a tilted axis: u = (-0.6, 0.8), n = (0.8, 0.6), G = (412, 384), T = (364, 448)
    z.AxisLine.init(100, 800, 700, 0);
    z.Shoulder.change(400, 400);
    z.CreateLines(s.scaleWidth);
    expectNear(z.GTLine, {444, 408, 380, 360});
    expectNear(z.TipLine, {396, 472, 332, 424});
}

// Zoomed out to 800 (L = 40, L2 = 80) everything is twice as large; the tip
// lines divide the axis between the cross (y 340) and the tip line (y 420)
// into quarters.
TEST_F(ZorScene, ProposalsAndTipLinesFollowTheViewWidthInSinglePrecision)
{
    s.scaleWidth = 800;
    accept();
    ASSERT_TRUE(z.CreateTipLines(s.scaleWidth));
    expectNear(z.TipLine1, {20, 400, 180, 400});
    expectNear(z.TipLine2, {20, 380, 180, 380});
    expectNear(z.TipLine3, {20, 360, 180, 360});
    EXPECT_TRUE(z.TipLine1.Valid && z.TipLine2.Valid && z.TipLine3.Valid);
    s.scaleWidth = 333.3f;
    z.CreateLines(s.scaleWidth);
    EXPECT_EQ(z.TipLine.P1.y, 300 + 3 * static_cast<double>(333.3f / 20.0f));
}

TEST_F(ZorScene, CreateLTLinesTurnsTheCrossFromAxisAndShoulder)
{
    accept();
    const Ends at45[] = {ends(z.LTLine1), ends(z.LTLine2)};
    const double r3 = std::sqrt(3.0);
    // 30 and 60 degrees: perpendicular through (130, 320)
    z.CreateLTLines(s.scaleWidth, r3 / 3.0, r3);
    expectNear(z.LTLine1, {130 + 40 * r3 / 3, 280, 130 - 40 * r3 / 3, 360}, 1e-12);
    expectNear(z.LTLine2, {130 + 40 * r3, 360, 130 - 40 * r3, 280}, 1e-12);
    EXPECT_FALSE(z.LTLine1.Valid || z.LTLine2.Valid);
    z.GTLine.translate(s, 0, 0, 1.0); // moved lines do not matter
    z.CreateLTLines(s.scaleWidth, 1, 1);
    EXPECT_EQ(ends(z.LTLine1), at45[0]);
    EXPECT_EQ(ends(z.LTLine2), at45[1]);

    z.AxisLine.init(100, 500, 100, 500); // zero length: nothing is proposed
    z.LinesVisible = false;
    z.CreateLines(s.scaleWidth);
    z.CreateLTLines(s.scaleWidth, 3, 3);
    EXPECT_EQ(ends(z.LTLine1), at45[0]);
    EXPECT_FALSE(z.LinesVisible);
}

TEST_F(ZorScene, RefusedTipLinesStayAsTheyWere)
{
    using Spoil = void (*)(CZor&, RecordingSurface&);
    const Spoil rows[] = {
        [](CZor& z, RecordingSurface&) { z.TipLine.Valid = false; },
        [](CZor& z, RecordingSurface&) { z.LTLine2.Valid = false; },
        [](CZor& z, RecordingSurface&) { z.LTLine2.copy(z.LTLine1); },
        [](CZor& z, RecordingSurface&) { z.TipLine.copy(z.AxisLine); },
        // through the cross: nothing to divide
        [](CZor& z, RecordingSurface& s) { z.TipLine.translate(s, 130, 320, 0.5); }};
    for (int i = 0; i < 5; ++i) {
        accept();
        z.TipLine1.init(1, 2, 3, 4);
        rows[i](z, s);
        EXPECT_FALSE(z.CreateTipLines(s.scaleWidth)) << i;
        EXPECT_EQ(ends(z.TipLine1), (Ends{1, 2, 3, 4})) << i;
        EXPECT_FALSE(z.TipLine1.Valid) << i;
    }
}

} // namespace
