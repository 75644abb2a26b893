#include "../support/RecordingMessages.h"
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

// The axis runs straight down at x = 100, the shoulder sits 30 px to its
// right; a view 400 px wide gives L = 20 and L2 = 40.
class ConstructionTest : public testing::Test {
protected:
    void SetUp() override
    {
        s.scaleWidth = 400;
        z.PicBox(&s);
        z.AxisLine.init(100, 1000, 100, 0);
        z.Shoulder.change(130, 300);
    }
    void accept()
    {
        z.CreateLines();
        z.LTLine1.Valid = z.LTLine2.Valid = z.TipLine.Valid = true;
    }
    ScopedMessages messages;
    RecordingSurface s;
    CZor z;
};

TEST_F(ConstructionTest, CreateLinesProposesTheCrossAroundTheShoulder)
{
    z.GTLine.Valid = z.LTLine2.Valid = true;
    z.TipLine1.init(1, 2, 3, 4);
    z.CreateLines();
    EXPECT_EQ(ends(z.GTLine), (Ends{170, 280, 90, 280}));
    EXPECT_EQ(ends(z.TipLine), (Ends{170, 360, 90, 360}));
    EXPECT_EQ(ends(z.LTLine1), (Ends{170, 280, 90, 360}));
    EXPECT_EQ(ends(z.LTLine2), (Ends{170, 360, 90, 280}));
    EXPECT_FALSE(z.GTLine.Valid || z.TipLine.Valid || z.LTLine1.Valid || z.LTLine2.Valid);
    EXPECT_TRUE(z.LinesVisible);
    EXPECT_EQ(ends(z.TipLine1), (Ends{1, 2, 3, 4}));
}

TEST_F(ConstructionTest, ProposalsFollowTheViewWidthInSinglePrecision)
{
    s.scaleWidth = 800; // zoomed out: everything twice as large
    accept();
    EXPECT_EQ(ends(z.GTLine), (Ends{210, 260, 50, 260}));
    ASSERT_TRUE(z.CreateTipLines());
    EXPECT_DOUBLE_EQ(z.TipLine1.length(), 160);

    s.scaleWidth = 333.3f;
    z.CreateLines();
    EXPECT_EQ(z.TipLine.P1.y, 300 + 3 * static_cast<double>(333.3f / 20.0f));
}

TEST_F(ConstructionTest, ProposalsAcrossATiltedAxis)
{
    z.AxisLine.init(100, 800, 700, 0); // u = (-0.6, 0.8), n = (0.8, 0.6)
    z.Shoulder.change(400, 400);
    z.CreateLines();
    // G = S - 20u = (412, 384), T = S + 60u = (364, 448), 2Ln = (32, 24)
    expectNear(z.GTLine, {444, 408, 380, 360});
    expectNear(z.TipLine, {396, 472, 332, 424});
}

TEST_F(ConstructionTest, CreateLTLinesTurnsTheCrossFromAxisAndShoulder)
{
    z.CreateLines();
    Ends at45[] = {ends(z.LTLine1), ends(z.LTLine2)};
    const double r3 = std::sqrt(3.0);
    z.LinesVisible = false;
    z.CreateLTLines(r3 / 3.0, r3);
    expectNear(z.LTLine1, {130 + 40 * r3 / 3, 280, 130 - 40 * r3 / 3, 360}, 1e-12);
    expectNear(z.LTLine2, {199.282, 360, 60.718, 280}, 1e-3);
    EXPECT_FALSE(z.LTLine1.Valid || z.LTLine2.Valid || z.LinesVisible);
    // perpendicular, through the centre (130, 320)
    Ends a = ends(z.LTLine1), b = ends(z.LTLine2);
    EXPECT_NEAR((a[2] - a[0]) * (b[2] - b[0]) + (a[3] - a[1]) * (b[3] - b[1]), 0, 1e-9);
    EXPECT_NEAR(b[0] + b[2], 260, 1e-12);
    // moved lines do not matter: 45 degrees is the first proposal again
    z.GTLine.translate(0, 0, 1.0);
    z.CreateLTLines(1, 1);
    EXPECT_EQ(ends(z.LTLine1), at45[0]);
    EXPECT_EQ(ends(z.LTLine2), at45[1]);
}

TEST_F(ConstructionTest, ZeroLengthAxisProposesNothing)
{
    z.AxisLine.init(100, 500, 100, 500);
    z.LTLine1.init(5, 6, 7, 8);
    z.CreateLines();
    z.CreateLTLines(1, 1);
    EXPECT_EQ(ends(z.LTLine1), (Ends{5, 6, 7, 8}));
    EXPECT_FALSE(z.LinesVisible);
}

TEST_F(ConstructionTest, TipLinesDivideTheAxisIntoQuarters)
{
    accept();
    ASSERT_TRUE(z.CreateTipLines());
    expectNear(z.TipLine1, {60, 350, 140, 350});
    expectNear(z.TipLine2, {60, 340, 140, 340});
    expectNear(z.TipLine3, {60, 330, 140, 330});
    EXPECT_TRUE(z.TipLine1.Valid && z.TipLine2.Valid && z.TipLine3.Valid);
    z.TipLine.translate(130, 400, 0.5); // the tip line moved 40 down
    ASSERT_TRUE(z.CreateTipLines());
    expectNear(z.TipLine1, {60, 380, 140, 380});
    expectNear(z.TipLine3, {60, 340, 140, 340});
}

TEST_F(ConstructionTest, RefusedTipLinesStayAsTheyWere)
{
    struct Row {
        const char* what;
        void (*spoil)(CZor&);
        bool message;
    };
    const Row rows[] = {
        {"tip line not set", [](CZor& z) { z.TipLine.Valid = false; }, false},
        {"LTLine1 not set", [](CZor& z) { z.LTLine1.Valid = false; }, false},
        {"LTLine2 not set", [](CZor& z) { z.LTLine2.Valid = false; }, false},
        {"parallel minor trochanter lines", [](CZor& z) { z.LTLine2.copy(z.LTLine1); }, true},
        {"tip line along the axis", [](CZor& z) { z.TipLine.copy(z.AxisLine); }, true},
        {"tip line through the cross: A = B", [](CZor& z) { z.TipLine.translate(130, 320, 0.5); },
         false}};
    for (const Row& r : rows) {
        accept();
        for (CLine* l : {&z.TipLine1, &z.TipLine2, &z.TipLine3})
            l->init(1, 2, 3, 4);
        z.TipLine2.Valid = true;
        messages.recorder.messages.clear();
        r.spoil(z);
        EXPECT_FALSE(z.CreateTipLines()) << r.what;
        for (const CLine* l : {&z.TipLine1, &z.TipLine2, &z.TipLine3})
            EXPECT_EQ(ends(*l), (Ends{1, 2, 3, 4})) << r.what;
        EXPECT_FALSE(z.TipLine1.Valid || z.TipLine3.Valid) << r.what;
        EXPECT_TRUE(z.TipLine2.Valid) << r.what;
        EXPECT_EQ(messages.recorder.messages.empty(), !r.message) << r.what;
    }
}

} // namespace
