#include "../support/RecordingSurface.h"
#include "model/CZor.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace {

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

// Axis straight down at x = 100, shoulder 30 px to its right; a view 400 px
// wide gives L = 20 and L2 = 40.
class ConstructionTest : public testing::Test {
protected:
    void SetUp() override
    {
        s.scaleWidth = 400;
        z.AxisLine.init(100, 1000, 100, 0);
        z.Shoulder.change(130, 300);
    }
    void accept()
    {
        z.CreateLines(s.scaleWidth);
        z.LTLine1.Valid = z.LTLine2.Valid = z.TipLine.Valid = true;
    }
    RecordingSurface s;
    CZor z;
};

TEST_F(ConstructionTest, CreateLinesProposesTheCrossAroundTheShoulder)
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
TEST_F(ConstructionTest, ProposalsAndTipLinesFollowTheViewWidthInSinglePrecision)
{
    s.scaleWidth = 800;
    accept();
    EXPECT_EQ(ends(z.GTLine), (Ends{210, 260, 50, 260}));
    ASSERT_TRUE(z.CreateTipLines(s.scaleWidth));
    expectNear(z.TipLine1, {20, 400, 180, 400});
    expectNear(z.TipLine2, {20, 380, 180, 380});
    expectNear(z.TipLine3, {20, 360, 180, 360});
    EXPECT_TRUE(z.TipLine1.Valid && z.TipLine2.Valid && z.TipLine3.Valid);
    s.scaleWidth = 333.3f;
    z.CreateLines(s.scaleWidth);
    EXPECT_EQ(z.TipLine.P1.y, 300 + 3 * static_cast<double>(333.3f / 20.0f));
}

TEST_F(ConstructionTest, CreateLTLinesTurnsTheCrossFromAxisAndShoulder)
{
    z.CreateLines(s.scaleWidth);
    const Ends at45[] = {ends(z.LTLine1), ends(z.LTLine2)};
    const double r3 = std::sqrt(3.0);
    z.CreateLTLines(s.scaleWidth, r3 / 3.0,
                    r3); // 30 and 60 degrees: perpendicular through (130, 320)
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

TEST_F(ConstructionTest, RefusedTipLinesStayAsTheyWere)
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
