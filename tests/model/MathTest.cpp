#include "model/Math.h"

#include "../support/RecordingMessages.h"

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

// --- Pick tolerance ---

struct NearRow {
    double x1, y1, x2, y2;
    bool near;
};

class IsNearTest : public testing::TestWithParam<NearRow> {};

TEST_P(IsNearTest, ToleranceIsStrictlyBelowSix)
{
    const NearRow& r = GetParam();
    EXPECT_EQ(Math::IsNear(r.x1, r.y1, r.x2, r.y2), r.near);
}

INSTANTIATE_TEST_SUITE_P(Rows, IsNearTest,
                         testing::Values(NearRow{0, 0, 6, 0, false}, NearRow{0, 0, 5.99, 0, true},
                                         NearRow{0, 0, 4, 4, true}, NearRow{0, 0, 0, -6, false},
                                         NearRow{1, 2, 1, 8, false}, NearRow{-3, -4, 0, 0, true}));

struct NearLineRow {
    CLine l;
    double x, y;
    bool near;
};

class IsNearLineTest : public testing::TestWithParam<NearLineRow> {};

TEST_P(IsNearLineTest, RectangleZoneWithoutCaps)
{
    const NearLineRow& r = GetParam();
    EXPECT_EQ(Math::IsNearLine(r.x, r.y, r.l), r.near);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IsNearLineTest,
    testing::Values(NearLineRow{line(0, 0, 100, 0), 50, 5.9, true},
                    NearLineRow{line(0, 0, 100, 0), 50, 6, false},
                    NearLineRow{line(0, 0, 100, 0), 50, -5.9, true},
                    NearLineRow{line(0, 0, 100, 0), -1, 0, false},  // before P0
                    NearLineRow{line(0, 0, 100, 0), 100, 3, true},  // at the end
                    NearLineRow{line(0, 0, 100, 0), 103, 0, false}, // no rounded cap
                    NearLineRow{line(0, 0, 100, 0), 0, 0, true},
                    // a slanted segment: distance measured perpendicularly
                    NearLineRow{line(0, 0, 30, 40), 15 + 4.7, 20 - 3.5, true},
                    NearLineRow{line(0, 0, 30, 40), 15 + 4.9, 20 - 3.7, false},
                    // shorter than 6: the two end point circles
                    NearLineRow{line(0, 0, 3, 4), 0, 5.9, true},
                    NearLineRow{line(0, 0, 3, 4), 9, 4, false},
                    NearLineRow{line(0, 0, 3, 4), 8.9, 4, true}));

// --- Arctangent ---

struct AtanRow {
    double num, den, expected;
};

class ArcTanRatioTest : public testing::TestWithParam<AtanRow> {};

TEST_P(ArcTanRatioTest, HalfPiUsesFifteenDigitPi)
{
    const AtanRow& r = GetParam();
    EXPECT_DOUBLE_EQ(Math::ArcTanRatio(r.num, r.den), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ArcTanRatioTest,
    testing::Values(AtanRow{1, 0, 3.14159265358979 / 2}, AtanRow{0, 0, 3.14159265358979 / 2},
                    AtanRow{-1, 1e-7, -3.14159265358979 / 2},
                    AtanRow{5, -1e-6, 3.14159265358979 / 2}, AtanRow{1, -1, -std::numbers::pi / 4},
                    AtanRow{-1, 1, -std::numbers::pi / 4}, AtanRow{1, 2e-6, std::atan(1 / 2e-6)}));

TEST(ArcTanRatio, VerticalIsNotTheFullPrecisionHalfPi)
{
    EXPECT_NE(Math::ArcTanRatio(1, 0), std::numbers::pi / 2);
}

// --- Equation solver ---

TEST(SolveEquations, SwapsRowsForAZeroPivot)
{
    ScopedMessages messages;
    Math::Matrix a = {{0, 1, 3}, {2, 0, 4}};
    ASSERT_TRUE(Math::SolveEquations(a));
    EXPECT_DOUBLE_EQ(a[0][2], 2.0);
    EXPECT_DOUBLE_EQ(a[1][2], 3.0);
    EXPECT_TRUE(messages.recorder.messages.empty());
}

TEST(SolveEquations, SolvesEveryRightHandSide)
{
    // x + y + z = 6, 2y + 5z = -4, 2x + 5y - z = 27: (5, 3, -2); twice the
    // right-hand side in a second column.
    Math::Matrix a = {{1, 1, 1, 6, 12}, {0, 2, 5, -4, -8}, {2, 5, -1, 27, 54}};
    ASSERT_TRUE(Math::SolveEquations(a));
    EXPECT_NEAR(a[0][3], 5, 1e-12);
    EXPECT_NEAR(a[1][3], 3, 1e-12);
    EXPECT_NEAR(a[2][3], -2, 1e-12);
    EXPECT_NEAR(a[0][4], 10, 1e-12);
    EXPECT_NEAR(a[1][4], 6, 1e-12);
    EXPECT_NEAR(a[2][4], -4, 1e-12);
}

TEST(SolveEquations, SingularSystemTellsTheUserAndFails)
{
    ScopedMessages messages;
    Math::Matrix a = {{1, 2, 3}, {2, 4, 6}};
    EXPECT_FALSE(Math::SolveEquations(a));
    ASSERT_EQ(messages.recorder.messages.size(), 1u);
    EXPECT_EQ(messages.recorder.messages[0].caption, "Equation Solver");
    EXPECT_EQ(messages.recorder.messages[0].text, "Equation is singular!");
    EXPECT_EQ(messages.recorder.messages[0].icon, MessageIcon::Critical);
}

TEST(SolveEquations, FirstOfEqualPivotsWinsAndFailureLeavesPartialWork)
{
    // |1| and |-1| tie: the first row stays the pivot row. The second pivot
    // is then 0; the matrix stays as far as it was transformed.
    ScopedMessages messages;
    Math::Matrix a = {{1, 2, 3}, {-1, -2, 4}};
    EXPECT_FALSE(Math::SolveEquations(a));
    EXPECT_EQ(a[0], (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(a[1], (std::vector<double>{-1, 0, 7}));
}

TEST(SolveEquations, ThresholdIsAbsolute)
{
    ScopedMessages messages;
    Math::Matrix tiny = {{1e-7, 0, 1e-7}, {0, 1e-7, 2e-7}};
    EXPECT_FALSE(Math::SolveEquations(tiny));
    Math::Matrix small = {{2e-6, 0, 2e-6}, {0, 2e-6, 4e-6}};
    EXPECT_TRUE(Math::SolveEquations(small));
    EXPECT_DOUBLE_EQ(small[1][2], 2.0);
}

TEST(SolveEquations, RefusesARowShorterThanTheCoefficients)
{
    Math::Matrix a = {{1, 2, 3}, {1}};
    EXPECT_THROW(Math::SolveEquations(a), std::invalid_argument);
}

// --- Intersections and the stem axis ---

TEST(IntersectLines, CrossingOutsideTheSegments)
{
    std::optional<CPoint> p = Math::IntersectLines(line(0, 0, 10, 0), line(5, -5, 5, 5));
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->x, 5);
    EXPECT_DOUBLE_EQ(p->y, 0);
    p = Math::IntersectLines(line(0, 0, 1, 1), line(10, 0, 11, -1));
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->x, 5);
    EXPECT_DOUBLE_EQ(p->y, 5);
}

TEST(IntersectLines, ParallelLinesGiveNoPointAfterTheMessage)
{
    ScopedMessages messages;
    EXPECT_FALSE(Math::IntersectLines(line(0, 0, 10, 0), line(0, 1, 10, 1)));
    EXPECT_EQ(messages.recorder.messages.size(), 1u);
}

TEST(CenterLine, BisectorBetweenTwoContourLines)
{
    CLine l1 = line(40, 900, 45, 100);
    CLine l2 = line(80, 900, 75, 100);
    std::optional<CPoint> meet = Math::IntersectLines(l1, l2);
    ASSERT_TRUE(meet);
    EXPECT_NEAR(meet->x, 60, 1e-9);
    EXPECT_NEAR(meet->y, -2300, 1e-9);

    std::optional<CLine> axis = Math::CenterLine(l1, l2, 1000);
    ASSERT_TRUE(axis);
    EXPECT_NEAR(axis->P0.x, 60, 1e-6);
    EXPECT_DOUBLE_EQ(axis->P0.y, 1000);
    EXPECT_NEAR(axis->P1.x, 60, 1e-6);
    EXPECT_DOUBLE_EQ(axis->P1.y, 0);
    EXPECT_FALSE(axis->Valid);
}

TEST(CenterLine, ParallelContoursGiveNoAxisAndSlantedOnesATiltedAxis)
{
    // Both contours lean the same way (1 across per 4 up); so does the axis,
    // midway between them.
    CLine l1 = line(40, 800, 240, 0);
    CLine l2 = line(100, 800, 300, 0);
    ScopedMessages messages; // parallel: no axis
    EXPECT_FALSE(Math::CenterLine(l1, l2, 1000));
    EXPECT_FALSE(messages.recorder.messages.empty());

    CLine l3 = line(40, 800, 240, 0);
    CLine l4 = line(120, 800, 280, 0);
    std::optional<CLine> axis = Math::CenterLine(l3, l4, 800);
    ASSERT_TRUE(axis);
    // The contours meet at (440, -800); the bisector leans between them.
    double slope = (axis->P1.x - axis->P0.x) / 800.0;
    EXPECT_GT(slope, 160.0 / 800);
    EXPECT_LT(slope, 200.0 / 800);
    EXPECT_GT(axis->P0.x, 40);
    EXPECT_LT(axis->P0.x, 120);
}

TEST(CenterLine, HorizontalBisectorGivesNoAxis)
{
    // Contours in opposite senses: the summed directions cancel along the
    // stem and the bisector runs across, never meeting the image edges.
    ScopedMessages messages;
    EXPECT_FALSE(Math::CenterLine(line(40, 900, 45, 100), line(75, 100, 80, 900), 1000));
    EXPECT_FALSE(messages.recorder.messages.empty());
}

// --- Number text ---

struct StrRow {
    const char* text;
    int32_t value;
};

class StrToLongTest : public testing::TestWithParam<StrRow> {};

TEST_P(StrToLongTest, ZeroForAnythingThatIsNoNumber)
{
    EXPECT_EQ(Math::StrToLong(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, StrToLongTest,
                         testing::Values(StrRow{"42", 42}, StrRow{"", 0}, StrRow{"abc", 0},
                                         StrRow{" 28 ", 28}, StrRow{"-7", -7}, StrRow{"+7", 7},
                                         StrRow{"2.5", 2}, StrRow{"3.5", 4}, StrRow{"27.6", 28},
                                         StrRow{"12a", 0}, StrRow{"1e3", 0}, StrRow{"0x10", 0},
                                         StrRow{"inf", 0}, StrRow{"-", 0}, StrRow{".", 0},
                                         StrRow{"2147483647", 2147483647}, StrRow{"2147483648", 0},
                                         StrRow{"1 2", 0}));

TEST(LongToStr, BlankForZero)
{
    EXPECT_EQ(Math::LongToStr(0), "");
    EXPECT_EQ(Math::LongToStr(28), "28");
    EXPECT_EQ(Math::LongToStr(-5), "-5");
    EXPECT_EQ(Math::StrToLong(Math::LongToStr(0)), 0);
}

} // namespace
