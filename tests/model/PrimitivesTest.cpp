#include "../support/RecordingMessages.h"
#include "../support/RecordingSurface.h"
#include "model/CCircle.h"
#include "model/CLine.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

TEST(Primitives, TranslateKeepsTheGrabbedSpotUnderThePointer)
{
    // f1 = 1 grabs P0, 0 grabs P1, 0.25 the spot three quarters towards P1
    for (auto [f1, qx, qy] :
         {std::array{1.0, 10.0, 20.0}, std::array{0.0, 30.0, 60.0}, std::array{0.25, 25.0, 50.0}}) {
        CLine l;
        l.init(10, 20, 30, 60);
        l.translate(100, 200, f1);
        EXPECT_EQ(l.P0.x, 10 + 100 - qx) << f1;
        EXPECT_EQ(l.P0.y, 20 + 200 - qy) << f1;
        EXPECT_EQ(l.length(), std::sqrt(20.0 * 20 + 40 * 40));
    }
}

TEST(Primitives, RubberBandErasesThenRedrawsInXorAndColoursByValidity)
{
    RecordingSurface s;
    CLine l;
    l.Valid = true;
    l.PicBox(&s);
    l.init(0, 0, 10, 10);
    EXPECT_FALSE(l.Valid); // init always leaves the line unset
    l.changeP0(5, 5);
    l.changeP1(20, 20);
    l.translate(0, 0, 1.0);
    ASSERT_EQ(s.ops.size(), 6u);
    const double ends[6][2] = {{0, 10}, {5, 10}, {5, 10}, {5, 20}, {5, 20}, {0, 15}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(s.ops[i].a, ends[i][0]) << i;
        EXPECT_EQ(s.ops[i].c, ends[i][1]) << i;
        EXPECT_EQ(s.ops[i].mode, DrawMode::XorPen);
    }
    l.draw2(0xFF00FF, 255);
    l.Valid = true;
    l.draw2(0xFF00FF, 255);
    EXPECT_EQ(s.ops[6].color, 0xFF00FFu);
    EXPECT_EQ(s.ops[7].color, 255u);
}

class CircleTest : public testing::Test {
protected:
    void SetUp() override { c.init(101, &s); }
    void addOnCircle(int n, double cx, double cy, double r)
    {
        for (int k = 0; k < n; ++k)
            c.addPoint(cx + r * std::cos(k * 2 * std::numbers::pi / n),
                       cy + r * std::sin(k * 2 * std::numbers::pi / n));
    }
    ScopedMessages messages;
    RecordingSurface s;
    CCircle c;
};

TEST_F(CircleTest, FitsThroughThePointsOrChangesNothing)
{
    c.M.change(1, 2);
    c.addPoint(0, 0);
    c.addPoint(10, 10);
    EXPECT_FALSE(c.fit()); // two points: the solver is not asked
    c.addPoint(20, 20);    // on one straight line: singular
    EXPECT_FALSE(c.fit());
    EXPECT_EQ(messages.recorder.messages.size(), 1u);
    EXPECT_EQ(c.M.x, 1);
    c.removeAll();
    for (auto [x, y] : {std::pair{60, 50}, {50, 60}, {40, 50}})
        c.addPoint(x, y);
    ASSERT_TRUE(c.fit());
    EXPECT_NEAR(c.M.x, 50, 1e-9);
    EXPECT_NEAR(c.M.y, 50, 1e-9);
    EXPECT_NEAR(c.R, 10, 1e-9);
    EXPECT_FALSE(c.Valid); // the caller decides
}

TEST_F(CircleTest, HitCodesFirstEnteredWinsOnlyWhenValidAndVisible)
{
    c.addPoint(10, 10);
    c.addPoint(12, 10);
    EXPECT_EQ(c.findMode(10, 10), 0);
    c.Valid = true;
    EXPECT_EQ(c.findMode(13, 10), 102);
    EXPECT_EQ(c.findMode(17, 10), 103);
    EXPECT_EQ(c.findMode(18, 10), 0); // exactly 6 away
    c.PVisible = false;
    EXPECT_EQ(c.findMode(10, 10), 0);
}

TEST_F(CircleTest, OnlyTheFirst98PointsAnswerButAllAreFitted)
{
    addOnCircle(120, 1000, 1000, 900); // codes from 200 on name other landmarks
    c.Valid = true;
    EXPECT_EQ(c.findMode(c.points[97].x, c.points[97].y), 199);
    EXPECT_EQ(c.findMode(c.points[98].x, c.points[98].y), 0);
    EXPECT_EQ(c.findMode(c.points[119].x, c.points[119].y), 0);
    for (std::size_t k = 98; k < c.points.size(); ++k)
        c.points[k].x += 50;
    ASSERT_TRUE(c.fit());
    EXPECT_GT(c.M.x, 1001);
}

TEST_F(CircleTest, DrawsCircleThenPointsThenCentreInOneColour)
{
    addOnCircle(3, 50, 50, 10);
    c.draw(255);
    EXPECT_TRUE(s.ops.empty()); // not Valid
    ASSERT_TRUE(c.fit());
    c.Valid = true;
    s.scaleWidth = 400; // crosses of half-size 4
    c.draw(255);
    ASSERT_EQ(s.ops.size(), 1u + 2 * 4);
    EXPECT_EQ(s.ops[0].kind, RecordingSurface::Kind::Circle);
    EXPECT_NEAR(s.ops[0].c, 10, 1e-9);
    EXPECT_NEAR(s.ops[1].a, 56, 1e-9); // first point (60, 50)
    EXPECT_NEAR(s.ops[8].d, 54, 1e-9); // the centre last
    for (const auto& op : s.ops)
        EXPECT_EQ(op.color, 255u);
    c.PVisible = false;
    c.draw(255);
    EXPECT_EQ(s.ops.size(), 10u);
}

} // namespace
