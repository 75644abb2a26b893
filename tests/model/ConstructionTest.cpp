#include "../support/RecordingMessages.h"
#include "../support/RecordingSurface.h"
#include "model/CZor.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The axis runs straight down the image at x = 100; the shoulder point sits
// 30 px to its right. With a view 400 px wide, L = 20 and L2 = 40.
class ConstructionTest : public testing::Test {
protected:
    void SetUp() override
    {
        s.scaleWidth = 400;
        z.PicBox(&s);
        z.AxisLine.init(100, 1000, 100, 0);
        z.AxisLine.Valid = true;
        z.Shoulder.change(130, 300);
        z.ShoulderValid = true;
    }

    static void expectLine(const CLine& l, double x0, double y0, double x1, double y1,
                           double tol = 0)
    {
        EXPECT_NEAR(l.P0.x, x0, tol);
        EXPECT_NEAR(l.P0.y, y0, tol);
        EXPECT_NEAR(l.P1.x, x1, tol);
        EXPECT_NEAR(l.P1.y, y1, tol);
    }

    void acceptProposals()
    {
        z.CreateLines();
        z.LTLine1.Valid = z.LTLine2.Valid = z.TipLine.Valid = true;
    }

    RecordingSurface s;
    CZor z;
};

TEST_F(ConstructionTest, CreateLinesProposesTheCrossAroundTheShoulder)
{
    z.GTLine.Valid = z.TipLine.Valid = z.LTLine1.Valid = z.LTLine2.Valid = true;
    z.TipLine1.init(1, 2, 3, 4);
    z.CreateLines();
    expectLine(z.GTLine, 170, 280, 90, 280);
    expectLine(z.TipLine, 170, 360, 90, 360);
    expectLine(z.LTLine1, 170, 280, 90, 360);
    expectLine(z.LTLine2, 170, 360, 90, 280);
    EXPECT_FALSE(z.GTLine.Valid || z.TipLine.Valid || z.LTLine1.Valid || z.LTLine2.Valid);
    EXPECT_TRUE(z.LinesVisible);
    expectLine(z.TipLine1, 1, 2, 3, 4); // untouched
}

TEST_F(ConstructionTest, ProposalsFollowTheViewWidth)
{
    s.scaleWidth = 800; // zoomed out: L = 40
    z.CreateLines();
    expectLine(z.GTLine, 210, 260, 50, 260);
    expectLine(z.TipLine, 210, 420, 50, 420);
    EXPECT_DOUBLE_EQ(z.GTLine.length(), 160);

    z.LTLine1.Valid = z.LTLine2.Valid = z.TipLine.Valid = true;
    ASSERT_TRUE(z.CreateTipLines());
    EXPECT_DOUBLE_EQ(z.TipLine1.length(), 160); // 2 * L2 = 2 * 800 / 10
}

TEST_F(ConstructionTest, ProposalsAcrossATiltedAxis)
{
    // Axis leaning by 3:4, so u = (-0.6, 0.8) and n = (0.8, 0.6).
    z.AxisLine.init(100, 800, 700, 0);
    z.Shoulder.change(400, 400);
    z.CreateLines();
    // G = S - 20u = (412, 384); T = S + 60u = (364, 448); 2L n = (32, 24)
    expectLine(z.GTLine, 444, 408, 380, 360, 1e-12);
    expectLine(z.TipLine, 396, 472, 332, 424, 1e-12);
}

TEST_F(ConstructionTest, UnitLengthIsSinglePrecision)
{
    s.scaleWidth = 333.3f;
    z.CreateLines();
    const float L = 333.3f / 20.0f;
    EXPECT_EQ(z.GTLine.P1.y, 300 - static_cast<double>(L));
    EXPECT_EQ(z.TipLine.P1.y, 300 + 3 * static_cast<double>(L));
}

TEST_F(ConstructionTest, CreateLTLinesTurnsTheCrossAboutItsCentre)
{
    z.CreateLines();
    const double r3 = std::sqrt(3.0);
    z.CreateLTLines(r3 / 3.0, r3);
    expectLine(z.LTLine1, 130 + 40 * r3 / 3, 280, 130 - 40 * r3 / 3, 360, 1e-12);
    expectLine(z.LTLine1, 153.094, 280, 106.906, 360, 1e-3);
    expectLine(z.LTLine2, 199.282, 360, 60.718, 280, 1e-3);
    EXPECT_FALSE(z.LTLine1.Valid || z.LTLine2.Valid);

    // Perpendicular, and both through the centre (130, 320).
    double d1x = z.LTLine1.P1.x - z.LTLine1.P0.x, d1y = z.LTLine1.P1.y - z.LTLine1.P0.y;
    double d2x = z.LTLine2.P1.x - z.LTLine2.P0.x, d2y = z.LTLine2.P1.y - z.LTLine2.P0.y;
    EXPECT_NEAR(d1x * d2x + d1y * d2y, 0, 1e-9);
    EXPECT_NEAR((z.LTLine1.P0.x + z.LTLine1.P1.x) / 2, 130, 1e-12);
    EXPECT_NEAR((z.LTLine2.P0.y + z.LTLine2.P1.y) / 2, 320, 1e-12);
}

TEST_F(ConstructionTest, CreateLTLinesStartsFromAxisAndShoulderNotFromMovedLines)
{
    z.CreateLines();
    CLine proposed1 = z.LTLine1, proposed2 = z.LTLine2;
    z.GTLine.translate(0, 0, 1.0);
    z.LTLine1.init(0, 0, 1, 1);
    z.LinesVisible = false;
    z.CreateLTLines(1, 1);
    expectLine(z.LTLine1, proposed1.P0.x, proposed1.P0.y, proposed1.P1.x, proposed1.P1.y);
    expectLine(z.LTLine2, proposed2.P0.x, proposed2.P0.y, proposed2.P1.x, proposed2.P1.y);
    EXPECT_FALSE(z.LinesVisible); // not its business
}

TEST_F(ConstructionTest, ZeroLengthAxisProposesNothing)
{
    z.AxisLine.init(100, 500, 100, 500);
    z.GTLine.init(1, 2, 3, 4);
    z.LTLine1.init(5, 6, 7, 8);
    z.CreateLines();
    z.CreateLTLines(1, 1);
    expectLine(z.GTLine, 1, 2, 3, 4);
    expectLine(z.LTLine1, 5, 6, 7, 8);
    EXPECT_FALSE(z.LinesVisible);
}

TEST_F(ConstructionTest, TipLinesDivideTheAxisIntoQuarters)
{
    acceptProposals();
    ASSERT_TRUE(z.CreateTipLines());
    expectLine(z.TipLine1, 60, 350, 140, 350, 1e-9);
    expectLine(z.TipLine2, 60, 340, 140, 340, 1e-9);
    expectLine(z.TipLine3, 60, 330, 140, 330, 1e-9);
    EXPECT_TRUE(z.TipLine1.Valid && z.TipLine2.Valid && z.TipLine3.Valid);
}

TEST_F(ConstructionTest, TipLinesFollowTheMovedTipLine)
{
    acceptProposals();
    z.TipLine.translate(130, 400, 0.5); // tip line now crosses the axis at y = 400
    ASSERT_TRUE(z.CreateTipLines());
    expectLine(z.TipLine1, 60, 380, 140, 380, 1e-9);
    expectLine(z.TipLine3, 60, 340, 140, 340, 1e-9);
}

struct TipFailRow {
    const char* what;
    void (*spoil)(CZor&);
    bool message;
};

class TipLinesRefusedTest : public ConstructionTest,
                            public testing::WithParamInterface<TipFailRow> {};

TEST_P(TipLinesRefusedTest, FalseAndTipLinesUnchanged)
{
    ScopedMessages messages;
    acceptProposals();
    for (CLine* l : {&z.TipLine1, &z.TipLine2, &z.TipLine3})
        l->init(1, 2, 3, 4);
    z.TipLine2.Valid = true;
    GetParam().spoil(z);
    EXPECT_FALSE(z.CreateTipLines()) << GetParam().what;
    for (const CLine* l : {&z.TipLine1, &z.TipLine2, &z.TipLine3})
        expectLine(*l, 1, 2, 3, 4);
    EXPECT_FALSE(z.TipLine1.Valid);
    EXPECT_TRUE(z.TipLine2.Valid);
    EXPECT_EQ(messages.recorder.messages.empty(), !GetParam().message) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TipLinesRefusedTest,
    testing::Values(
        TipFailRow{"tip line not set", [](CZor& z) { z.TipLine.Valid = false; }, false},
        TipFailRow{"first minor trochanter line not set", [](CZor& z) { z.LTLine1.Valid = false; },
                   false},
        TipFailRow{"second minor trochanter line not set", [](CZor& z) { z.LTLine2.Valid = false; },
                   false},
        TipFailRow{"parallel minor trochanter lines", [](CZor& z) { z.LTLine2.copy(z.LTLine1); },
                   true},
        TipFailRow{"tip line along the axis", [](CZor& z) { z.TipLine.copy(z.AxisLine); }, true},
        // the tip line crosses the axis at the minor trochanter level: A = B
        TipFailRow{"tip line through the cross",
                   [](CZor& z) { z.TipLine.init(60, 320, 140, 320), z.TipLine.Valid = true; },
                   false}));

} // namespace
