#include "../support/RecordingSurface.h"
#include "model/CZor.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using Kind = RecordingSurface::Kind;

class LandmarksTest : public testing::Test {
protected:
    void SetUp() override
    {
        s.scaleWidth = 400;
        z.PicBox(&s);
        z.Visible = true;
    }

    // Moves the lines that were never constructed away from the origin.
    void placeProposals()
    {
        z.GTLine.init(300, 100, 400, 100);
        z.LTLine1.init(300, 150, 400, 250);
        z.LTLine2.init(300, 250, 400, 150);
        z.TipLine.init(300, 300, 400, 300);
    }

    void validHead()
    {
        z.head.addPoint(600, 500);
        z.head.addPoint(500, 600);
        z.head.addPoint(400, 500);
        ASSERT_TRUE(z.head.fit());
        z.head.Valid = true;
    }

    RecordingSurface s;
    CZor z;
};

TEST_F(LandmarksTest, NewModelIsEmpty)
{
    CZor fresh;
    EXPECT_FALSE(fresh.DatFlag);
    EXPECT_FALSE(fresh.Visible);
    EXPECT_FALSE(fresh.LinesVisible);
    EXPECT_FALSE(fresh.AxisLine.Valid);
    EXPECT_EQ(fresh.points(7).x, 0);
    EXPECT_EQ(fresh.points(7).mPicBox, nullptr);
    EXPECT_EQ(fresh.findMode(0, 0), 0);
    EXPECT_TRUE(fresh.Datum.empty());
}

TEST_F(LandmarksTest, PointsAreTheModelsOwn)
{
    z.points(3).change(7, 8);
    const CZor& cz = z;
    EXPECT_EQ(&z.points(3), &cz.points(3));
    EXPECT_EQ(cz.points(3).x, 7);
    EXPECT_THROW(z.points(8), std::out_of_range);
    EXPECT_THROW(z.points(-1), std::out_of_range);
}

TEST_F(LandmarksTest, PicBoxAttachesEverythingDrawnAndResetsTheHead)
{
    z.head.Valid = true;
    z.head.PVisible = false;
    RecordingSurface other;
    z.PicBox(&other);
    EXPECT_FALSE(z.head.Valid);
    EXPECT_TRUE(z.head.PVisible);
    EXPECT_EQ(z.head.modeBase(), 101);
    EXPECT_EQ(z.surface(), &other);
    for (const CLine* l : {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.LTLine1, &z.LTLine2,
                           &z.GTLine, &z.TipLine, &z.TipLine1, &z.TipLine2, &z.TipLine3})
        EXPECT_EQ(l->surface(), &other);
    EXPECT_EQ(z.Shoulder.mPicBox, &other);
    EXPECT_EQ(z.CMarker.mPicBox, &other);
    EXPECT_EQ(z.points(0).mPicBox, &other);
    EXPECT_EQ(z.points(7).mPicBox, &other);
    EXPECT_EQ(z.Center.mPicBox, nullptr);
}

// --- Hit codes ---

struct HitRow {
    const char* what;
    std::function<void(CZor&)> setUp;
    double x, y;
    int16_t code;
};

class HitCodeTest : public LandmarksTest, public testing::WithParamInterface<HitRow> {};

TEST_P(HitCodeTest, FirstMatchWins)
{
    placeProposals();
    GetParam().setUp(z);
    EXPECT_EQ(z.findMode(GetParam().x, GetParam().y), GetParam().code) << GetParam().what;
}

void headAt(CZor& z, double x, double y)
{
    z.head.addPoint(x, y);
    z.head.addPoint(x + 100, y + 100);
    z.head.addPoint(x + 200, y);
    z.head.Valid = true;
}

void femurAndShoulder(CZor& z)
{
    z.LinesVisible = true;
    z.PointsValid = true;
    z.ShoulderValid = true;
    z.Shoulder.change(52, 50);
    z.points(3).change(50, 50);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HitCodeTest,
    testing::Values(
        HitRow{"head points in entry order", [](CZor& z) { headAt(z, 500, 500); }, 601, 599, 103},
        HitRow{"third head point", [](CZor& z) { headAt(z, 500, 500); }, 700, 505.9, 104},
        HitRow{"away from the head", [](CZor& z) { headAt(z, 500, 500); }, 550, 550, 0},
        HitRow{"exactly 6 from the only landmark", [](CZor& z) { headAt(z, 500, 500); }, 506, 500,
               0},
        HitRow{"head before femur point",
               [](CZor& z) {
                   femurAndShoulder(z);
                   headAt(z, 48, 50);
               },
               50, 50, 102},
        HitRow{"femur point before shoulder", femurAndShoulder, 51, 50, 213},
        HitRow{"shoulder when femur points are not set",
               [](CZor& z) {
                   femurAndShoulder(z);
                   z.PointsValid = false;
               },
               51, 50, 9},
        HitRow{"shoulder before cement marker",
               [](CZor& z) {
                   femurAndShoulder(z);
                   z.PointsValid = false;
                   z.CMarkerValid = true;
                   z.CMarker.change(53, 50);
               },
               53, 50, 9},
        HitRow{"cement marker",
               [](CZor& z) {
                   z.LinesVisible = true;
                   z.CMarkerValid = true;
                   z.CMarker.change(200, 200);
               },
               203, 200, 220},
        HitRow{"cement marker before a line",
               [](CZor& z) {
                   z.LinesVisible = true;
                   z.CMarkerValid = true;
                   z.CMarker.change(350, 100);
               },
               350, 101, 220},
        HitRow{"major trochanter line along it", [](CZor& z) { z.LinesVisible = true; }, 333, 105,
               10},
        HitRow{"minor trochanter lines cross: first wins", [](CZor& z) { z.LinesVisible = true; },
               350, 200, 11},
        HitRow{"second minor trochanter line", [](CZor& z) { z.LinesVisible = true; }, 325, 225,
               12},
        HitRow{"tip line", [](CZor& z) { z.LinesVisible = true; }, 399, 295, 13},
        HitRow{"lines hidden",
               [](CZor& z) {
                   femurAndShoulder(z);
                   z.LinesVisible = false;
               },
               350, 100, 0},
        HitRow{"shoulder hidden with the lines",
               [](CZor& z) {
                   femurAndShoulder(z);
                   z.LinesVisible = false;
               },
               52, 50, 0},
        HitRow{"contour points need the first contour's flag",
               [](CZor& z) { z.AxisLine1.init(10, 700, 20, 300); }, 10, 700, 0},
        HitRow{"first contour P0",
               [](CZor& z) {
                   z.AxisLine1.init(10, 700, 20, 300);
                   z.AxisLine1.Valid = true;
               },
               10, 703, 5},
        HitRow{"first contour P1",
               [](CZor& z) {
                   z.AxisLine1.init(10, 700, 20, 300);
                   z.AxisLine1.Valid = true;
               },
               20, 300, 6},
        HitRow{"unset second contour sits at the origin",
               [](CZor& z) {
                   z.AxisLine1.init(10, 700, 20, 300);
                   z.AxisLine1.Valid = true;
               },
               1, 1, 7},
        HitRow{"second contour P1",
               [](CZor& z) {
                   z.AxisLine1.Valid = true;
                   z.AxisLine2.init(60, 700, 70, 300);
               },
               70, 300, 8},
        HitRow{"a line before a contour point",
               [](CZor& z) {
                   z.LinesVisible = true;
                   z.AxisLine1.init(300, 100, 20, 300);
                   z.AxisLine1.Valid = true;
               },
               300, 100, 10}));

TEST_F(LandmarksTest, FemurPointsWithoutSurfaceAreNotHit)
{
    CZor bare; // never given a surface
    bare.LinesVisible = true;
    bare.PointsValid = true;
    bare.points(0).change(500, 500);
    EXPECT_EQ(bare.findMode(500, 500), 0);
    z.LinesVisible = true;
    z.PointsValid = true;
    z.points(0).change(500, 500);
    EXPECT_EQ(z.findMode(500, 500), 210);
    z.points(7).change(800, 800);
    EXPECT_EQ(z.findMode(800, 801), 217);
}

// --- Drawing ---

TEST_F(LandmarksTest, InvisibleModelPaintsNothingNotEvenTheHead)
{
    validHead();
    z.AxisLine.Valid = true;
    z.Visible = false;
    z.draw(0xFF00FF, 255);
    EXPECT_TRUE(s.ops.empty());
}

TEST_F(LandmarksTest, DrawOrderAndColours)
{
    const uint32_t color1 = 0xFF00FF, color2 = 255;
    placeProposals();
    z.AxisLine.init(100, 1000, 100, 0);
    z.AxisLine.Valid = true;
    z.AxisLine1.init(80, 900, 85, 100); // not set: not drawn
    z.AxisLine2.init(120, 900, 115, 100);
    z.AxisLine2.Valid = true;
    z.LinesVisible = true;
    z.ShoulderValid = true;
    z.Shoulder.change(130, 300);
    z.LTLine1.Valid = true; // accepted by the user
    z.TipLine2.init(60, 340, 140, 340);
    z.TipLine2.Valid = true;
    z.PointsValid = true;
    validHead();

    s.setForeColor(0x00FF00);
    z.draw(color1, color2);

    std::vector<std::string> seen;
    for (const auto& op : s.ops)
        seen.push_back(op.kind == Kind::Circle ? "circle" : "line");
    // axis, contour 2, shoulder cross, 4 proposals, one tip line, 8 femur
    // crosses, head circle + 3 point crosses + centre cross
    ASSERT_EQ(s.ops.size(), 2u + 2 + 4 + 1 + 16 + 1 + 8);
    EXPECT_EQ(s.ops[0].a, 100);
    EXPECT_EQ(s.ops[1].a, 120);
    EXPECT_EQ(s.ops[0].color, 0x00FF00u);  // landmarks keep the current pen
    EXPECT_EQ(s.ops[2].b, 300);            // shoulder cross
    EXPECT_EQ(s.ops[2].c - s.ops[2].a, 8); // half-size 400 / 100
    EXPECT_EQ(s.ops[4].b, 100);            // GTLine, not yet accepted
    EXPECT_EQ(s.ops[4].color, color1);
    EXPECT_EQ(s.ops[5].color, color2); // LTLine1 accepted
    EXPECT_EQ(s.ops[6].color, color1);
    EXPECT_EQ(s.ops[7].b, 300); // TipLine
    EXPECT_EQ(s.ops[8].b, 340); // TipLine2, in the pen left by the proposals
    EXPECT_EQ(s.ops[8].color, color1);
    EXPECT_EQ(seen[25], "circle");
    for (std::size_t i = 25; i < s.ops.size(); ++i)
        EXPECT_EQ(s.ops[i].color, 255u);
    for (const auto& op : s.ops)
        EXPECT_EQ(op.mode, DrawMode::CopyPen);
}

TEST_F(LandmarksTest, HiddenLinesLeaveOnlyAxesAndHead)
{
    placeProposals();
    z.AxisLine1.init(80, 900, 85, 100);
    z.AxisLine1.Valid = true;
    z.ShoulderValid = true;
    z.CMarkerValid = true;
    z.PointsValid = true;
    z.TipLine1.Valid = true;
    validHead();
    z.draw(0xFF00FF, 255);
    ASSERT_EQ(s.ops.size(), 1u + 1 + 8);
    EXPECT_EQ(s.ops[1].kind, Kind::Circle);
}

// --- Reset ---

TEST_F(LandmarksTest, ResetHidesButKeepsPositionsHeadAndProposalFlags)
{
    placeProposals();
    validHead();
    z.LinesVisible = z.ShoulderValid = z.CMarkerValid = z.PointsValid = true;
    for (CLine* l : {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.TipLine1, &z.TipLine2, &z.TipLine3,
                     &z.GTLine, &z.LTLine1, &z.LTLine2, &z.TipLine})
        l->Valid = true;
    z.Shoulder.change(130, 300);

    z.resetLandmarks();

    EXPECT_FALSE(z.LinesVisible || z.ShoulderValid || z.CMarkerValid || z.PointsValid);
    for (const CLine* l :
         {&z.AxisLine, &z.AxisLine1, &z.AxisLine2, &z.TipLine1, &z.TipLine2, &z.TipLine3})
        EXPECT_FALSE(l->Valid);
    for (const CLine* l : {&z.GTLine, &z.LTLine1, &z.LTLine2, &z.TipLine})
        EXPECT_TRUE(l->Valid);
    EXPECT_EQ(z.Shoulder.x, 130);
    EXPECT_EQ(z.GTLine.P0.x, 300);
    EXPECT_TRUE(z.head.Valid);
    EXPECT_EQ(z.head.points.size(), 3u);
}

} // namespace
