#include "model/Math.h"

#include "model/CCircle.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <utility>

namespace {

CLine line(double x0, double y0, double x1, double y1)
{
    return {false, {x0, y0}, {x1, y1}};
}

// Under 6 is near, exactly 6 is not; a segment's zone has no round caps, and a
// segment shorter than 6 is near only around its ends.
TEST(Math, PickToleranceIsSix)
{
    const CLine lng = line(0, 0, 100, 0), slant = line(0, 0, 30, 40), shrt = line(0, 0, 3, 4);
    struct Row {
        const CLine* l; // IsNear is asked against P0
        double x, y;
        bool nearP0, nearLine;
    };
    const Row rows[] = {{&lng, 6, 0, false, true},         {&lng, 5.99, 0, true, true},
                        {&lng, 50, 5.9, false, true},      {&lng, 50, -6, false, false},
                        {&lng, -1, 0, true, false},        {&lng, 103, 0, false, false},
                        {&slant, 19.7, 16.5, false, true}, {&slant, 19.9, 16.3, false, false},
                        {&shrt, 0, 5.9, true, true},       {&shrt, 8.9, 4, false, true},
                        {&shrt, 9, 4, false, false}};
    for (const Row& r : rows) {
        EXPECT_EQ(Math::IsNear(r.l->P0.x, r.l->P0.y, r.x, r.y), r.nearP0) << r.x << "," << r.y;
        EXPECT_EQ(Math::IsNearLine(r.x, r.y, *r.l), r.nearLine) << r.x << "," << r.y;
    }
}

TEST(Math, SolverPivotsSolvesEveryRightHandSideAndReportsSingularSystems)
{
    // solution (5, 3, -2), and twice that for the doubled right-hand side; the
    // first pivot is the third row
    Math::Matrix b = {{1, 1, 1, 6, 12}, {0, 2, 5, -4, -8}, {2, 5, -1, 27, 54}};
    ASSERT_TRUE(Math::SolveEquations(b));
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(b[i][3], (std::array{5, 3, -2})[i], 1e-12);
        EXPECT_NEAR(b[i][4], 2 * b[i][3], 1e-12);
    }

    Math::Matrix singular = {{1, 2, 3}, {2, 4, 6}};
    EXPECT_FALSE(Math::SolveEquations(singular));
}

TEST(Math, StemAxisBetweenTwoContourLines)
{
    // The contours cross far beyond both segments, at (60, -2300).
    std::optional<CLine> axis =
        Math::CenterLine(line(40, 900, 45, 100), line(80, 900, 75, 100), 1000);
    ASSERT_TRUE(axis);
    EXPECT_NEAR(axis->P0.x, 60, 1e-6);
    EXPECT_EQ(axis->P0.y, 1000);
    EXPECT_NEAR(axis->P1.x, 60, 1e-6);
    EXPECT_EQ(axis->P1.y, 0);
    // parallel contours; opposite senses, whose bisector runs across
    EXPECT_FALSE(Math::CenterLine(line(40, 800, 240, 0), line(100, 800, 300, 0), 1000));
    EXPECT_FALSE(Math::CenterLine(line(40, 900, 45, 100), line(75, 100, 80, 900), 1000));
}

TEST(Math, NumberTextRoundsHalfToEvenAndIsZeroWhenMalformed)
{
    const std::pair<const char*, int32_t> rows[] = {
        {"42", 42}, {" 28 ", 28}, {"-7", -7}, {"2.5", 2},  {"3.5", 4},
        {"", 0},    {"12a", 0},   {"1e3", 0}, {"0x10", 0}, {"2147483648", 0}};
    for (auto [text, value] : rows)
        EXPECT_EQ(Math::StrToLong(text), value) << text;
}

TEST(Circle, FitsThroughThePointsOrChangesNothing)
{
    CCircle c;
    c.M.change(1, 2);
    for (auto [x, y] : {std::pair{0, 0}, {10, 10}, {20, 20}}) // on one straight line: singular
        c.addPoint(x, y);
    EXPECT_FALSE(c.fit());
    EXPECT_EQ(c.M.x, 1);
    c.removeAll();
    for (auto [x, y] : {std::pair{60, 50}, {50, 60}, {40, 50}})
        c.addPoint(x, y);
    ASSERT_TRUE(c.fit());
    EXPECT_NEAR(c.M.x, 50, 1e-9);
    EXPECT_NEAR(c.M.y, 50, 1e-9);
    EXPECT_NEAR(c.R, 10, 1e-9);
}

TEST(Circle, FirstOfTheFirst98PointsAnswersWhenValidAndVisibleButAllAreFitted)
{
    CCircle c;
    c.addPoint(10, 10);
    c.addPoint(12, 10);
    for (int k = 0; k < 120; ++k) // codes from 200 on name other landmarks
        c.addPoint(1000 + 900 * std::cos(k * std::numbers::pi / 60),
                   1000 + 900 * std::sin(k * std::numbers::pi / 60));
    c.Valid = true;
    EXPECT_EQ(ToolModes::number(c.findMode(13, 10)), 102); // both are near: the first entered
    EXPECT_EQ(ToolModes::number(c.findMode(c.points[97].x, c.points[97].y)), 199);
    EXPECT_EQ(ToolModes::number(c.findMode(c.points[98].x, c.points[98].y)), 0);
    c.PVisible = false;
    EXPECT_EQ(ToolModes::number(c.findMode(13, 10)), 0);
    ASSERT_TRUE(c.fit());
    const double before = c.M.x;
    for (std::size_t k = 98; k < c.points.size(); ++k)
        c.points[k].x += 50;
    ASSERT_TRUE(c.fit());
    EXPECT_GT(c.M.x, before + 1);
}

} // namespace
