#include "../support/RecordingSurface.h"
#include "model/CZor.h"

#include <gtest/gtest.h>

namespace {

enum Show { kLines = 1, kFemur = 2, kHead = 4, kContour = 8, kMarks = 16, kAll = 31 };

// One scene with neighbouring landmarks; the flags decide what is set.
class LandmarksTest : public testing::Test {
protected:
    void build(int show)
    {
        s.scaleWidth = 400;
        z.PicBox(&s);
        z.Visible = true;
        for (auto [x, y] : {std::pair{500, 500}, {600, 600}, {700, 500}})
            z.head.addPoint(x, y);
        ASSERT_TRUE(z.head.fit());
        z.head.Valid = show & kHead;
        z.points(0).change(703, 500); // beside the third head point
        z.points(3).change(350, 114);
        z.points(7).change(800, 800);
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
    RecordingSurface s;
    CZor z;
};

struct HitRow {
    int show;
    double x, y;
    int16_t code;
};

class HitCodeTest : public LandmarksTest, public testing::WithParamInterface<HitRow> {};

TEST_P(HitCodeTest, FirstMatchWins)
{
    build(GetParam().show);
    EXPECT_EQ(z.findMode(GetParam().x, GetParam().y), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Model, HitCodeTest,
    testing::Values(HitRow{kHead, 601, 599, 103}, HitRow{kHead, 706, 500, 0}, // 6 away
                    HitRow{kAll, 701, 500, 104},                              // head before femur
                    HitRow{kAll, 350, 112.5, 213}, HitRow{kAll, 800, 801, 217},
                    HitRow{kAll - kFemur, 350, 112.5, 9}, // then the shoulder
                    HitRow{kAll, 350, 106, 9},            // shoulder before marker
                    HitRow{kAll, 350, 102, 220},          // marker before line
                    HitRow{kLines, 333, 105, 10}, HitRow{kLines, 350, 200, 11},
                    HitRow{kLines, 325, 225, 12}, HitRow{kLines, 399, 295, 13},
                    HitRow{kAll - kLines - kContour, 350, 102, 0}, // hidden with the lines
                    HitRow{kAll - kLines - kContour, 350, 112.5, 0},
                    HitRow{kLines + kContour, 300, 100, 10}, // line before contour
                    HitRow{kContour, 300, 100, 5}, HitRow{kContour, 20, 300, 6},
                    HitRow{kContour, 1, 1, 7}, HitRow{kContour, 70, 300, 8},
                    HitRow{kAll - kContour, 20, 300, 0}));

TEST_F(LandmarksTest, FemurPointsAreTheModelsOwnAndNeedASurface)
{
    CZor bare;
    bare.LinesVisible = bare.PointsValid = true;
    bare.points(7).change(800, 800);
    EXPECT_EQ(bare.findMode(800, 801), 0);
    EXPECT_EQ(&bare.points(7), &static_cast<const CZor&>(bare).points(7));
    EXPECT_THROW(bare.points(8), std::out_of_range);
    EXPECT_THROW(bare.points(-1), std::out_of_range);
}

TEST_F(LandmarksTest, DrawOrderColoursAndVisibility)
{
    build(kAll);
    z.AxisLine.init(100, 1000, 100, 0);
    z.AxisLine.Valid = true;
    z.AxisLine2.Valid = true;
    z.LTLine1.Valid = true; // accepted by the user
    z.TipLine2.init(60, 340, 140, 340);
    z.TipLine2.Valid = true;
    s.setForeColor(0x00FF00);
    z.draw(0xFF00FF, 255);

    // axis, contours, shoulder, marker, 4 proposals, a tip line, 8 femur
    // crosses, then the head circle, its 3 points and its centre
    ASSERT_EQ(s.ops.size(), 3u + 4 + 4 + 1 + 16 + 9);
    const double x0[] = {100, 300, 0, 346, 350, 346, 350, 300, 300, 300, 300, 60};
    const uint32_t pen[] = {0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00,
                            0x00FF00, 0xFF00FF, 255,      0xFF00FF, 0xFF00FF, 0xFF00FF};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(s.ops[i].a, x0[i]) << i;
        EXPECT_EQ(s.ops[i].color, pen[i]) << i;
    }
    EXPECT_EQ(s.ops[28].kind, RecordingSurface::Kind::Circle);
    for (std::size_t i = 0; i < s.ops.size(); ++i) {
        EXPECT_EQ(s.ops[i].mode, DrawMode::CopyPen);
        EXPECT_TRUE(i < 28 || s.ops[i].color == 255u);
    }
    s.ops.clear();
    z.LinesVisible = false; // only the axes and the head remain
    z.draw(0xFF00FF, 255);
    EXPECT_EQ(s.ops.size(), 3u + 9);
    s.ops.clear();
    z.Visible = false; // nothing, not even the head
    z.draw(0xFF00FF, 255);
    EXPECT_TRUE(s.ops.empty());
}

TEST_F(LandmarksTest, ResetHidesButKeepsPositionsHeadAndProposalFlags)
{
    build(kAll);
    CLine* cleared[] = {&z.AxisLine, &z.AxisLine1, &z.AxisLine2,
                        &z.TipLine1, &z.TipLine2,  &z.TipLine3};
    CLine* kept[] = {&z.GTLine, &z.LTLine1, &z.LTLine2, &z.TipLine};
    for (CLine* l : cleared)
        l->Valid = true;
    for (CLine* l : kept)
        l->Valid = true;
    z.resetLandmarks();
    EXPECT_FALSE(z.LinesVisible || z.ShoulderValid || z.CMarkerValid || z.PointsValid);
    for (CLine* l : cleared)
        EXPECT_FALSE(l->Valid);
    for (CLine* l : kept)
        EXPECT_TRUE(l->Valid);
    EXPECT_EQ(z.Shoulder.y, 108);
    EXPECT_TRUE(z.head.Valid);
    z.PicBox(&s); // attaching again starts a fresh head entry
    EXPECT_FALSE(z.head.Valid);
}

} // namespace
