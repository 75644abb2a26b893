#include "model/Math.h"

#include "../support/RecordingMessages.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

CLine line(double x0, double y0, double x1, double y1)
{
    CLine l;
    l.init(x0, y0, x1, y1);
    return l;
}

struct NearRow {
    CLine l; // a point test uses P0 against (x, y)
    double x, y;
    bool nearPoint, nearLine;
};

class PickToleranceTest : public testing::TestWithParam<NearRow> {};

// Under 6 units is near, exactly 6 is not; a segment's zone has no round caps.
TEST_P(PickToleranceTest, Rows)
{
    const NearRow& r = GetParam();
    EXPECT_EQ(Math::IsNear(r.l.P0.x, r.l.P0.y, r.x, r.y), r.nearPoint);
    EXPECT_EQ(Math::IsNearLine(r.x, r.y, r.l), r.nearLine);
}

const CLine kLong = line(0, 0, 100, 0);
const CLine kShort = line(0, 0, 3, 4); // length 5: the end point circles
INSTANTIATE_TEST_SUITE_P(
    Math, PickToleranceTest,
    testing::Values(NearRow{kLong, 6, 0, false, true}, NearRow{kLong, 5.99, 0, true, true},
                    NearRow{kLong, 4, 4, true, true}, NearRow{kLong, 50, 5.9, false, true},
                    NearRow{kLong, 50, -6, false, false}, NearRow{kLong, -1, 0, true, false},
                    NearRow{kLong, 100, 3, false, true}, NearRow{kLong, 103, 0, false, false},
                    NearRow{line(0, 0, 30, 40), 19.7, 16.5, false, true},  // 5.86 off
                    NearRow{line(0, 0, 30, 40), 19.9, 16.3, false, false}, // 6.14 off
                    NearRow{kShort, 0, 5.9, true, true}, NearRow{kShort, 9, 4, false, false},
                    NearRow{kShort, 8.9, 4, false, true}));

TEST(Math, ArcTanRatioIsNotFourQuadrantAndUsesFifteenDigitPi)
{
    const double halfPi = 3.14159265358979 / 2;
    EXPECT_EQ(Math::ArcTanRatio(1, 0), halfPi);
    EXPECT_NE(Math::ArcTanRatio(1, 0), std::numbers::pi / 2);
    EXPECT_EQ(Math::ArcTanRatio(-1, 1e-7), -halfPi);
    EXPECT_EQ(Math::ArcTanRatio(0, -1e-6), halfPi);
    EXPECT_DOUBLE_EQ(Math::ArcTanRatio(1, -1), -std::numbers::pi / 4);
    EXPECT_EQ(Math::ArcTanRatio(1, -1), Math::ArcTanRatio(-1, 1));
    EXPECT_EQ(Math::ArcTanRatio(1, 2e-6), std::atan(1 / 2e-6));
}

TEST(Math, SolverPivotsAndSolvesEveryRightHandSide)
{
    ScopedMessages messages;
    Math::Matrix a = {{0, 1, 3}, {2, 0, 4}}; // needs the row swap
    ASSERT_TRUE(Math::SolveEquations(a));
    EXPECT_EQ(a[0][2], 2.0);
    EXPECT_EQ(a[1][2], 3.0);
    // solution (5, 3, -2), and twice that for the doubled right-hand side
    Math::Matrix b = {{1, 1, 1, 6, 12}, {0, 2, 5, -4, -8}, {2, 5, -1, 27, 54}};
    ASSERT_TRUE(Math::SolveEquations(b));
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(b[i][3], (std::array{5, 3, -2})[i], 1e-12);
        EXPECT_NEAR(b[i][4], 2 * b[i][3], 1e-12);
    }
    EXPECT_TRUE(messages.recorder.messages.empty());
}

TEST(Math, SingularSystemIsReportedOnceAndLeftHalfTransformed)
{
    ScopedMessages messages;
    Math::Matrix a = {{1, 2, 3}, {2, 4, 6}};
    EXPECT_FALSE(Math::SolveEquations(a));
    ASSERT_EQ(messages.recorder.messages.size(), 1u);
    EXPECT_EQ(messages.recorder.messages[0].caption, "Equation Solver");
    EXPECT_EQ(messages.recorder.messages[0].text, "Equation is singular!");
    EXPECT_EQ(messages.recorder.messages[0].icon, MessageIcon::Critical);
    // |1| and |-1| tie: the first row stays the pivot row
    Math::Matrix b = {{1, 2, 3}, {-1, -2, 4}};
    EXPECT_FALSE(Math::SolveEquations(b));
    EXPECT_EQ(b, (Math::Matrix{{1, 2, 3}, {-1, 0, 7}}));
    // the threshold is absolute, not scaled by the matrix
    Math::Matrix tiny = {{1e-7, 0, 1e-7}, {0, 1e-7, 2e-7}};
    EXPECT_FALSE(Math::SolveEquations(tiny));
}

TEST(Math, IntersectionAndStemAxis)
{
    ScopedMessages messages;
    std::optional<CPoint> p = Math::IntersectLines(line(0, 0, 10, 0), line(5, -5, 5, 5));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 5);
    EXPECT_EQ(p->y, 0);
    CLine l1 = line(40, 900, 45, 100), l2 = line(80, 900, 75, 100);
    p = Math::IntersectLines(l1, l2); // outside both segments
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->x, 60, 1e-9);
    EXPECT_NEAR(p->y, -2300, 1e-9);
    std::optional<CLine> axis = Math::CenterLine(l1, l2, 1000);
    ASSERT_TRUE(axis);
    EXPECT_NEAR(axis->P0.x, 60, 1e-6);
    EXPECT_EQ(axis->P0.y, 1000);
    EXPECT_NEAR(axis->P1.x, 60, 1e-6);
    EXPECT_EQ(axis->P1.y, 0);
    EXPECT_TRUE(messages.recorder.messages.empty());
}

TEST(Math, ParallelLinesGiveNoPointAndNoAxis)
{
    ScopedMessages messages;
    EXPECT_FALSE(Math::IntersectLines(line(0, 0, 10, 0), line(0, 1, 10, 1)));
    EXPECT_EQ(messages.recorder.messages.size(), 1u);
    EXPECT_FALSE(Math::CenterLine(line(40, 800, 240, 0), line(100, 800, 300, 0), 1000));
    // opposite senses: the bisector runs across and never meets the edges
    EXPECT_FALSE(Math::CenterLine(line(40, 900, 45, 100), line(75, 100, 80, 900), 1000));
}

TEST(Math, NumberTextRoundTripsBlankAsZero)
{
    const std::pair<const char*, int32_t> rows[] = {{"42", 42},
                                                    {"", 0},
                                                    {"abc", 0},
                                                    {" 28 ", 28},
                                                    {"-7", -7},
                                                    {"+7", 7},
                                                    {"2.5", 2},
                                                    {"3.5", 4},
                                                    {"27.6", 28},
                                                    {"12a", 0},
                                                    {"1e3", 0},
                                                    {"0x10", 0},
                                                    {"inf", 0},
                                                    {"-", 0},
                                                    {".", 0},
                                                    {"1 2", 0},
                                                    {"2147483647", 2147483647},
                                                    {"2147483648", 0}};
    for (const auto& [text, value] : rows)
        EXPECT_EQ(Math::StrToLong(text), value) << text;
    EXPECT_EQ(Math::LongToStr(0), "");
    EXPECT_EQ(Math::LongToStr(-28), "-28");
}

} // namespace
