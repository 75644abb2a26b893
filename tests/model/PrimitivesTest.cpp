#include "../support/RecordingMessages.h"
#include "../support/RecordingSurface.h"
#include "model/CCircle.h"
#include "model/CLine.h"
#include "model/CPatient.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

using Kind = RecordingSurface::Kind;

// --- CPoint and CLine ---

TEST(CPoint, CrossFollowsTheShownWidth)
{
    RecordingSurface s;
    s.scaleWidth = 400;
    s.setForeColor(0xFF00FF);
    CPoint p(50, 60);
    p.mPicBox = &s;
    p.draw();
    ASSERT_EQ(s.ops.size(), 2u);
    EXPECT_EQ(s.ops[0].a, 46);
    EXPECT_EQ(s.ops[0].b, 60);
    EXPECT_EQ(s.ops[0].c, 54);
    EXPECT_EQ(s.ops[0].d, 60);
    EXPECT_EQ(s.ops[1].a, 50);
    EXPECT_EQ(s.ops[1].b, 56);
    EXPECT_EQ(s.ops[1].d, 64);
    EXPECT_EQ(s.ops[1].color, 0xFF00FFu);
}

TEST(CLine, InitCopyAndLength)
{
    CLine l;
    l.Valid = true;
    l.init(1, 2, 4, 6);
    EXPECT_FALSE(l.Valid); // init always leaves the line unset
    EXPECT_DOUBLE_EQ(l.length(), 5);

    CLine target;
    target.Valid = true;
    target.copy(l);
    EXPECT_TRUE(target.Valid);
    EXPECT_EQ(target.P0.x, 1);
    EXPECT_EQ(target.P0.y, 2);
    EXPECT_EQ(target.P1.x, 4);
    EXPECT_EQ(target.P1.y, 6);

    l.init(3, 3, 3, 3);
    EXPECT_EQ(l.length(), 0);
}

TEST(CLine, PicBoxReachesBothEndPoints)
{
    RecordingSurface s;
    CLine l;
    l.PicBox(&s);
    EXPECT_EQ(l.surface(), &s);
    EXPECT_EQ(l.P0.mPicBox, &s);
    EXPECT_EQ(l.P1.mPicBox, &s);
}

TEST(CLine, Draw2ColoursByValidity)
{
    RecordingSurface s;
    CLine l;
    l.PicBox(&s);
    l.init(0, 0, 10, 0);
    l.draw2(0xFF00FF, 255);
    l.Valid = true;
    l.draw2(0xFF00FF, 255);
    ASSERT_EQ(s.ops.size(), 2u);
    EXPECT_EQ(s.ops[0].color, 0xFF00FFu);
    EXPECT_EQ(s.ops[1].color, 255u);
}

struct TranslateRow {
    double f1;
    double qx, qy; // the spot that lands on the target
};

class TranslateTest : public testing::TestWithParam<TranslateRow> {};

TEST_P(TranslateTest, GrabbedSpotLandsOnTargetAndShapeStays)
{
    const TranslateRow& r = GetParam();
    CLine l;
    l.init(10, 20, 30, 60);
    l.translate(100, 200, r.f1);
    // the spot at f1 of the old segment moved by (100 - qx, 200 - qy)
    EXPECT_DOUBLE_EQ(l.P0.x, 10 + 100 - r.qx);
    EXPECT_DOUBLE_EQ(l.P0.y, 20 + 200 - r.qy);
    EXPECT_DOUBLE_EQ(l.P1.x - l.P0.x, 20);
    EXPECT_DOUBLE_EQ(l.P1.y - l.P0.y, 40);
}

INSTANTIATE_TEST_SUITE_P(Rows, TranslateTest,
                         testing::Values(TranslateRow{1.0, 10, 20}, TranslateRow{0.0, 30, 60},
                                         TranslateRow{0.25, 25, 50}));

TEST(CLine, RubberBandErasesAndRedrawsInXor)
{
    RecordingSurface s;
    CLine l;
    l.PicBox(&s);
    l.init(0, 0, 10, 10);
    l.changeP0(5, 5);
    l.changeP1(20, 20);
    l.translate(0, 0, 1.0);
    ASSERT_EQ(s.ops.size(), 6u);
    for (const auto& op : s.ops)
        EXPECT_EQ(op.mode, DrawMode::XorPen);
    // each move draws the old segment first, then the new one
    EXPECT_EQ(s.ops[0].a, 0);
    EXPECT_EQ(s.ops[1].a, 5);
    EXPECT_EQ(s.ops[3].c, 20);
    EXPECT_EQ(s.ops[5].a, 0);
    EXPECT_EQ(s.ops[5].c, 15);
    EXPECT_EQ(s.drawMode(), DrawMode::XorPen);
}

TEST(CLine, MovesWithoutSurfaceStillChangeTheLine)
{
    CLine l;
    l.init(0, 0, 10, 10);
    l.changeP1(3, 4);
    l.draw();
    EXPECT_EQ(l.P1.x, 3);
    EXPECT_EQ(l.P1.y, 4);
}

// --- CCircle ---

class CircleTest : public testing::Test {
protected:
    void SetUp() override { c.init(101, &s); }
    RecordingSurface s;
    CCircle c;
};

TEST_F(CircleTest, InitResetsFlagsButKeepsPoints)
{
    c.addPoint(1, 1);
    c.Valid = true;
    c.PVisible = false;
    c.init(101, &s);
    EXPECT_FALSE(c.Valid);
    EXPECT_TRUE(c.PVisible);
    EXPECT_EQ(c.points.size(), 1u);
    EXPECT_EQ(c.modeBase(), 101);
    EXPECT_EQ(c.addPoint(2, 2).mPicBox, &s);
}

TEST_F(CircleTest, FitsThreePointsOnACircle)
{
    c.addPoint(60, 50);
    c.addPoint(50, 60);
    c.addPoint(40, 50);
    ASSERT_TRUE(c.fit());
    EXPECT_NEAR(c.M.x, 50, 1e-9);
    EXPECT_NEAR(c.M.y, 50, 1e-9);
    EXPECT_NEAR(c.R, 10, 1e-9);
    EXPECT_FALSE(c.Valid); // callers decide
}

TEST_F(CircleTest, LeastSquaresOverManyNoisyPoints)
{
    for (int k = 0; k < 36; ++k) {
        double a = k * std::numbers::pi / 18;
        double r = 80 + ((k % 2) ? 0.5 : -0.5);
        c.addPoint(300 + r * std::cos(a), 200 + r * std::sin(a));
    }
    ASSERT_TRUE(c.fit());
    EXPECT_NEAR(c.M.x, 300, 1e-6);
    EXPECT_NEAR(c.M.y, 200, 1e-6);
    EXPECT_NEAR(c.R, 80, 0.01);
}

TEST_F(CircleTest, FitFailureChangesNothing)
{
    ScopedMessages messages;
    c.M.change(1, 2);
    c.R = 3;
    c.Valid = true;
    c.addPoint(0, 0);
    c.addPoint(10, 10);
    EXPECT_FALSE(c.fit()); // two points: the solver is not asked
    EXPECT_TRUE(messages.recorder.messages.empty());

    c.addPoint(20, 20); // on one straight line: singular
    EXPECT_FALSE(c.fit());
    EXPECT_EQ(messages.recorder.messages.size(), 1u);
    EXPECT_EQ(c.M.x, 1);
    EXPECT_EQ(c.M.y, 2);
    EXPECT_EQ(c.R, 3);
    EXPECT_TRUE(c.Valid);
    EXPECT_EQ(c.points.size(), 3u);
}

TEST_F(CircleTest, FindModeOnlyWhenValidAndVisible)
{
    c.addPoint(10, 10);
    EXPECT_EQ(c.findMode(10, 10), 0);
    c.Valid = true;
    EXPECT_EQ(c.findMode(10, 10), 102);
    c.PVisible = false;
    EXPECT_EQ(c.findMode(10, 10), 0);
}

TEST_F(CircleTest, FindModeFirstEnteredWinsAndSixIsNotNear)
{
    c.Valid = true;
    c.addPoint(10, 10);
    c.addPoint(12, 10);
    c.addPoint(40, 40);
    EXPECT_EQ(c.findMode(11, 10), 102);
    EXPECT_EQ(c.findMode(13, 10), 102);
    EXPECT_EQ(c.findMode(17, 10), 103);
    EXPECT_EQ(c.findMode(18, 10), 0); // exactly 6 from the second point
    EXPECT_EQ(c.findMode(40, 45), 104);
}

TEST_F(CircleTest, OnlyTheFirst98PointsAnswerButAllAreFitted)
{
    // Codes from 200 on name other landmarks; more points must not reach them.
    for (int k = 0; k < 120; ++k) {
        double a = k * 2 * std::numbers::pi / 120;
        c.addPoint(1000 + 900 * std::cos(a), 1000 + 900 * std::sin(a));
    }
    c.Valid = true;
    EXPECT_EQ(c.findMode(c.points[0].x, c.points[0].y), 102);
    EXPECT_EQ(c.findMode(c.points[97].x, c.points[97].y), 199);
    EXPECT_EQ(c.findMode(c.points[98].x, c.points[98].y), 0);
    EXPECT_EQ(c.findMode(c.points[119].x, c.points[119].y), 0);

    // the points beyond 98 weigh in the fit: move them and the centre moves
    for (std::size_t k = 98; k < c.points.size(); ++k)
        c.points[k].x += 50;
    ASSERT_TRUE(c.fit());
    EXPECT_GT(c.M.x, 1001);
}

TEST_F(CircleTest, DrawsCircleThenPointsThenCentreInOneColour)
{
    c.addPoint(60, 50);
    c.addPoint(50, 60);
    c.addPoint(40, 50);
    c.draw(255);
    EXPECT_TRUE(s.ops.empty()); // not Valid
    ASSERT_TRUE(c.fit());
    c.Valid = true;
    c.draw(255);
    ASSERT_EQ(s.ops.size(), 1u + 2 * 4);
    EXPECT_EQ(s.ops[0].kind, Kind::Circle);
    EXPECT_NEAR(s.ops[0].c, 10, 1e-9);
    EXPECT_EQ(s.ops[1].b, 50);         // first point's horizontal stroke
    EXPECT_NEAR(s.ops[7].b, 50, 1e-9); // the centre last
    for (const auto& op : s.ops)
        EXPECT_EQ(op.color, 255u);

    s.ops.clear();
    c.PVisible = false;
    c.draw(255);
    EXPECT_EQ(s.ops.size(), 1u);
}

TEST_F(CircleTest, RemoveAll)
{
    c.removeAll();
    c.addPoint(1, 2);
    c.addPoint(3, 4);
    c.removeAll();
    EXPECT_TRUE(c.points.empty());
}

TEST(CPatient, CopyTakesAllFields)
{
    CPatient a{"M\xfcller", "Anna", "S-1", 14.0, "study"};
    CPatient b;
    b.copy(a);
    EXPECT_EQ(b.Famname, a.Famname);
    EXPECT_EQ(b.Vorname, "Anna");
    EXPECT_EQ(b.Code, "S-1");
    EXPECT_EQ(b.HeadTR, 14.0);
    EXPECT_EQ(b.DatFile, "study");
}

} // namespace
