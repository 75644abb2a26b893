// Moving placed landmarks from the idle state, and Escape during a move.
#include "../support/RowName.h"
#include "ToolFixture.h"

namespace {

// One move of each kind of landmark: press, a move by (dx, dy), release. The
// hover texts are checked once, in the measurement flow.
struct MoveRow {
    float x, y, dx, dy;
    int16_t code;
    const char* what;
    const char* prompt;                    // the name in the move prompt
    const CPoint& (*watched)(const CZor&); // follows the pointer
};

class LandmarkMove : public ToolFixture, public ::testing::WithParamInterface<MoveRow> {};

TEST_P(LandmarkMove, FollowsThePointerAndFinishes)
{
    const MoveRow& row = GetParam();
    bool contour = row.code <= 8; // the contour lines exist only until the shoulder is placed
    if (contour) {
        drawStemAxis();
    } else {
        enterHead();
        placeShoulder();
        tools.m_8Points();
        for (int i = 0; i < 8; ++i)
            click(20, 500 + 40 * i);
        tools.m_CMarker();
        click(60, 950);
    }
    CPoint before = row.watched(zor);
    tools.MouseDown(L, row.x, row.y);
    EXPECT_EQ(mode(), row.code);
    EXPECT_EQ(host.status,
              std::string("move ") + row.prompt + " to desired position and release the mouse");
    int repaints = host.repaints;
    tools.MouseMove(L, row.x + row.dx, row.y + row.dy);
    EXPECT_EQ(host.repaints, repaints) << "feedback without a full repaint";
    tools.MouseUp(M, row.x + row.dx, row.y + row.dy); // the middle button releases like the left
    EXPECT_TRUE(near(row.watched(zor), before.x + row.dx, before.y + row.dy, 1e-4));
    EXPECT_EQ(mode(), 0);
    EXPECT_TRUE(zor.Visible);
    EXPECT_EQ(host.repaints, repaints + 1);
    if (contour) {
        EXPECT_GT(std::abs(zor.AxisLine.P0.x - 60) + std::abs(zor.AxisLine.P1.x - 60), 0.1)
            << "the axis is rebuilt from the changed contour lines";
    }
    if (row.code == 101) {
        EXPECT_GT(zor.head.R, 40) << "the circle is refitted";
    }
}

#define AT(point) [](const CZor& z) -> const CPoint& { return z.point; }

// The minor trochanter lines move in the measurement flow, the upper ends of
// the contour lines below.
INSTANTIATE_TEST_SUITE_P(
    Kinds, LandmarkMove,
    ::testing::ValuesIn(std::vector<MoveRow>{
        {40, 900, -3, 0, 5, "AxisLine1 P0", "AxisLine1", AT(AxisLine1.P0)},
        {80, 900, 3, 0, 7, "AxisLine2 P0", "AxisLine2", AT(AxisLine2.P0)},
        {90, 300, 5, 20, 9, "Shoulder Point", "Shoulder Point", AT(Shoulder)},
        {100, 280, 0, -30, 10, "Major Trochanter Line", "Major Trochanter Line", AT(GTLine.P0)},
        {120, 360, 7, 100, 13, "Tip of Stem Line", "Tip of Stem Line", AT(TipLine.P0)},
        {260, 150, -10, 0, 101, "Head Point", "HeadPoint", AT(head.points[2])},
        {20, 660, 10, 10, 214, "Point 5", "Point 5", AT(points(4))},
        {60, 950, 4, -10, 220, "Cement Marker", "Cement Marker", AT(CMarker)}}),
    RowName());
#undef AT

using LineMove = ToolFixture;

// A whole line keeps the grabbed spot under the pointer; Escape puts it back
// exactly.
TEST_F(LineMove, FollowsFromTheGrabbedSpotAndEscapePutsItBack)
{
    placeShoulder();
    ASSERT_FALSE(zor.TipLine.Valid) << "the tip line is still a proposal";
    const CZor before = zor;
    // TipLine (130, 360)-(50, 360) grabbed 20 from P0 and 60 from P1.
    tools.MouseDown(L, 110, 360);
    ASSERT_EQ(mode(), 13);
    EXPECT_DOUBLE_EQ(tools.linePos(), 0.75);
    for (auto [px, py] : {std::pair{117.5F, 373.25F}, {10.0F, 500.0F}}) {
        tools.MouseMove(L, px, py);
        EXPECT_TRUE(near(zor.TipLine.P0, px + 20.0, py, 1e-9));
        EXPECT_TRUE(near(zor.TipLine.P1, px - 60.0, py, 1e-9));
    }
    int repaints = host.repaints;
    tools.KeyDown(ToolController::EscapeKey);
    EXPECT_EQ(zor, before) << "the proposal is back, and not counted as placed";
    EXPECT_EQ(mode(), 0);
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_EQ(host.repaints, repaints + 1);
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen) << "the repaint is not drawn in XOR";
    EXPECT_EQ(surface.foreColor(), 255U);
    tools.MouseUp(L, 10, 500); // finds nothing under way
    EXPECT_EQ(zor, before);
    // A line of no length is grabbed at P0, not at a spot divided by zero.
    zor.GTLine.init(200, 200, 200, 200);
    tools.MouseDown(L, 200, 200);
    EXPECT_EQ(mode(), 10);
    EXPECT_EQ(tools.linePos(), 1.0);
}

TEST_F(LineMove, ContourMoveToParallelKeepsThePreviousAxis)
{
    drawStemAxis();
    drag(45, 100, 85, 100); // AxisLine1 (40, 900)-(85, 100): still an axis
    const CLine axis = zor.AxisLine;
    drag(75, 100, 125, 100); // AxisLine2 (80, 900)-(125, 100): parallel to it
    EXPECT_TRUE(near(zor.AxisLine2.P1, 125, 100));
    EXPECT_EQ(zor.AxisLine, axis);
}

} // namespace
