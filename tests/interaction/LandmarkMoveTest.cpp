// Moving placed landmarks from the idle state, and Escape during a move.
#include "ToolFixture.h"
#include "model/Math.h"

namespace {

class LandmarkMove : public ToolFixture {};

// Contour line ends move alone; the axis follows.
struct EndRow {
    const char* name;
    double x, y;  // the grabbed end
    int16_t code; // the state of its move
    const char* prompt;
    bool first; // AxisLine1 or AxisLine2
    bool p0;    // which end moves
};

class ContourEndMove : public LandmarkMove, public ::testing::WithParamInterface<EndRow> {};

TEST_P(ContourEndMove, MovesOnlyThatEndAndRebuildsTheAxis)
{
    const EndRow& row = GetParam();
    drawStemAxis();
    hover(row.x, row.y);
    EXPECT_EQ(host.status, std::string("... ") + row.prompt + (row.p0 ? " P0" : " P1"));
    EXPECT_EQ(host.pointer, PointerShape::SizeNWSE);

    CLine& line = row.first ? zor.AxisLine1 : zor.AxisLine2;
    CPoint other = row.p0 ? line.P1 : line.P0;
    tools.MouseDown(L, static_cast<float>(row.x), static_cast<float>(row.y));
    EXPECT_EQ(tools.mode(), row.code);
    EXPECT_EQ(host.status,
              std::string("move ") + row.prompt + " to desired position and release the mouse");
    EXPECT_FALSE(zor.Visible);
    // Moving an end by 3 pixels outwards (10 would make the contour lines
    // parallel); the rubber band is two XOR lines.
    double nx = row.x + (row.first ? -3 : 3);
    surface.ops.clear();
    int repaints = host.repaints;
    tools.MouseMove(L, static_cast<float>(nx), static_cast<float>(row.y));
    EXPECT_EQ(host.repaints, repaints);
    ASSERT_EQ(surface.ops.size(), 2U);
    EXPECT_EQ(surface.ops[0].mode, DrawMode::XorPen);
    EXPECT_EQ(surface.ops[1].color, 0xFFFF00U);
    tools.MouseUp(L, static_cast<float>(nx), static_cast<float>(row.y));

    const CPoint& moved = row.p0 ? line.P0 : line.P1;
    const CPoint& kept = row.p0 ? line.P1 : line.P0;
    EXPECT_TRUE(near(moved, nx, row.y));
    EXPECT_TRUE(near(kept, other.x, other.y));
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.Visible);
    EXPECT_EQ(host.repaints, repaints + 1);
    // The new axis bisects the changed contour lines; it left x = 60.
    std::optional<CLine> axis = Math::CenterLine(zor.AxisLine1, zor.AxisLine2, host.height);
    ASSERT_TRUE(axis);
    EXPECT_DOUBLE_EQ(zor.AxisLine.P0.x, axis->P0.x);
    EXPECT_DOUBLE_EQ(zor.AxisLine.P1.x, axis->P1.x);
    EXPECT_GT(std::abs(zor.AxisLine.P0.x - 60) + std::abs(zor.AxisLine.P1.x - 60), 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ContourEndMove,
    ::testing::Values(EndRow{"AxisLine1P0", 40, 900, 5, "AxisLine1", true, true},
                      EndRow{"AxisLine1P1", 45, 100, 6, "AxisLine1", true, false},
                      EndRow{"AxisLine2P0", 80, 900, 7, "AxisLine2", false, true},
                      EndRow{"AxisLine2P1", 75, 100, 8, "AxisLine2", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LandmarkMove, ContourMoveToParallelKeepsThePreviousAxis)
{
    drawStemAxis();
    CLine before;
    before.copy(zor.AxisLine);
    // First AxisLine1 becomes (40, 900)-(85, 100), which still meets AxisLine2;
    // then AxisLine2 becomes (80, 900)-(125, 100), parallel to it.
    drag(45, 100, 85, 100);
    EXPECT_TRUE(near(zor.AxisLine1.P1, 85, 100));
    drag(75, 100, 125, 100);
    EXPECT_EQ(messages.recorder.messages.size(), 1U) << "the solver reports the parallel lines";
    EXPECT_TRUE(near(zor.AxisLine2.P1, 125, 100));
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.AxisLine.Valid);
    // The axis of the first move stays, not one built from parallel lines.
    std::optional<CLine> axisAfterFirst;
    {
        CLine l2;
        l2.init(80, 900, 75, 100);
        axisAfterFirst = Math::CenterLine(zor.AxisLine1, l2, host.height);
    }
    ASSERT_TRUE(axisAfterFirst);
    EXPECT_DOUBLE_EQ(zor.AxisLine.P0.x, axisAfterFirst->P0.x);
    EXPECT_DOUBLE_EQ(zor.AxisLine.P1.x, axisAfterFirst->P1.x);
    EXPECT_NE(zor.AxisLine.P0.x, before.P0.x);
}

// Lines moved as a whole keep the grabbed spot under the pointer.
struct WholeLineRow {
    const char* name;
    int16_t code;
    const char* prompt;
    CLine CZor::*line;
};

class WholeLineMove : public LandmarkMove, public ::testing::WithParamInterface<WholeLineRow> {};

TEST_P(WholeLineMove, KeepsTheGrabbedSpotUnderThePointer)
{
    const WholeLineRow& row = GetParam();
    placeShoulder();
    tools.m_LTLines_Rotate_30();
    CLine& line = zor.*row.line;
    // Grab the line at one third of its length from P0.
    double gx = line.P0.x + (line.P1.x - line.P0.x) / 3;
    double gy = line.P0.y + (line.P1.y - line.P0.y) / 3;
    CLine original;
    original.copy(line);
    hover(gx, gy);
    ASSERT_EQ(host.status, std::string("... ") + row.prompt);
    EXPECT_EQ(host.pointer, PointerShape::SizeNS);

    tools.MouseDown(L, static_cast<float>(gx), static_cast<float>(gy));
    EXPECT_EQ(tools.mode(), row.code);
    EXPECT_EQ(tools.curLine(), &line);
    EXPECT_NEAR(tools.linePos(), 2.0 / 3.0, 1e-6);
    EXPECT_EQ(host.status,
              std::string("move ") + row.prompt + " to desired position and release the mouse");
    EXPECT_TRUE(line.Valid);
    for (auto [px, py] : {std::pair{gx + 7.5, gy + 13.25}, {gx - 30.0, gy + 40.0}}) {
        surface.ops.clear();
        tools.MouseMove(L, static_cast<float>(px), static_cast<float>(py));
        ASSERT_EQ(surface.ops.size(), 2U) << "erase and redraw, nothing else";
        // The spot at 2/3 from P1, i.e. 1/3 from P0, follows the pointer; the
        // pointer arrives as a float, widened.
        double fx = static_cast<float>(px);
        double fy = static_cast<float>(py);
        EXPECT_NEAR(line.P0.x + (line.P1.x - line.P0.x) / 3, fx, 1e-5);
        EXPECT_NEAR(line.P0.y + (line.P1.y - line.P0.y) / 3, fy, 1e-5);
        EXPECT_NEAR(line.P1.x - line.P0.x, original.P1.x - original.P0.x, 1e-9);
        EXPECT_NEAR(line.P1.y - line.P0.y, original.P1.y - original.P0.y, 1e-9);
    }
    tools.MouseUp(L, static_cast<float>(gx - 30), static_cast<float>(gy + 40));
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_TRUE(zor.Visible);
    EXPECT_NEAR(line.P0.x, original.P0.x - 30, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WholeLineMove,
    ::testing::Values(WholeLineRow{"GTLine", 10, "Major Trochanter Line", &CZor::GTLine},
                      WholeLineRow{"LTLine1", 11, "Minor Trochanter Line1", &CZor::LTLine1},
                      WholeLineRow{"LTLine2", 12, "Minor Trochanter Line2", &CZor::LTLine2},
                      WholeLineRow{"TipLine", 13, "Tip of Stem Line", &CZor::TipLine}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LandmarkMove, GrabAtAnEndOrOnAZeroLengthLine)
{
    placeShoulder();
    tools.MouseDown(L, 130, 280); // GTLine.P0
    EXPECT_NEAR(tools.linePos(), 1.0, 1e-6);
    tools.MouseUp(L, 130, 280);
    tools.MouseDown(L, 50, 280); // GTLine.P1
    EXPECT_NEAR(tools.linePos(), 0.0, 1e-6);
    tools.MouseUp(L, 50, 280);
    zor.GTLine.init(200, 200, 200, 200);
    tools.MouseDown(L, 200, 200);
    EXPECT_EQ(tools.mode(), 10);
    EXPECT_EQ(tools.linePos(), 1.0);
}

TEST_F(LandmarkMove, EscapePutsADraggedLineBackExactly)
{
    placeShoulder();
    tools.m_LTLines_Rotate_60();
    CLine original;
    original.copy(zor.TipLine);
    tools.MouseDown(L, 100, 360);
    ASSERT_EQ(tools.mode(), 13);
    tools.MouseMove(L, 140, 420);
    tools.MouseMove(L, 10, 500);
    ASSERT_FALSE(near(zor.TipLine.P0, original.P0.x, original.P0.y));
    int repaints = host.repaints;
    tools.KeyDown(ToolController::EscapeKey);
    EXPECT_TRUE(near(zor.TipLine.P0, original.P0.x, original.P0.y, 0));
    EXPECT_TRUE(near(zor.TipLine.P1, original.P1.x, original.P1.y, 0));
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_TRUE(zor.Visible);
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(host.repaints, repaints + 1);
    // The repaint after Escape draws in the normal pen, not the rubber band's.
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);
    EXPECT_EQ(surface.foreColor(), 255U);
    // The release that follows finds nothing under way.
    tools.MouseUp(L, 10, 500);
    EXPECT_TRUE(near(zor.TipLine.P0, original.P0.x, original.P0.y, 0));
    EXPECT_FALSE(host.items["m_8Points"]);
}

TEST_F(LandmarkMove, EscapeWhileMovingAPointLeavesItUnchanged)
{
    placeShoulder();
    tools.m_8Points();
    for (int i = 0; i < 8; ++i)
        click(20, 500 + 40 * i);
    tools.MouseDown(L, 20, 580);
    ASSERT_EQ(tools.mode(), 212);
    EXPECT_EQ(host.status, "move Point 3 to desired position and release the mouse");
    tools.MouseMove(L, 60, 600);
    tools.KeyDown(ToolController::EscapeKey);
    tools.MouseUp(L, 60, 600);
    EXPECT_TRUE(near(zor.points(2), 20, 580));
    EXPECT_EQ(tools.mode(), 0);
}

TEST_F(LandmarkMove, EscapeWithNothingUnderWayChangesNothing)
{
    placeShoulder();
    tools.m_Shoulder(); // a tool without a current point or line
    int repaints = host.repaints;
    host.status = "kept";
    tools.KeyDown(ToolController::EscapeKey);
    tools.KeyDown('A');
    EXPECT_EQ(tools.mode(), 9);
    EXPECT_EQ(host.status, "kept");
    EXPECT_EQ(host.repaints, repaints);
}

TEST_F(LandmarkMove, EscapeEndsZoomByMouse)
{
    tools.setMode(ToolController::ZoomMode);
    host.pointer = PointerShape::SizeAll; // stands for the zoom cursor
    tools.MouseDown(L, 10, 10);
    EXPECT_EQ(tools.mode(), 90) << "the zoom click is the window's";
    tools.MouseUp(L, 10, 10);
    EXPECT_EQ(tools.mode(), 90);
    tools.KeyDown(ToolController::EscapeKey);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(host.pointer, PointerShape::Default);
    tools.setMode(ToolController::ZoomMode);
    tools.MouseDown(R, 10, 10);
    EXPECT_EQ(tools.mode(), 0);
}

// Points jump to the release position.
TEST_F(LandmarkMove, FemurPointHeadPointAndCementMarker)
{
    enterHead();
    placeShoulder();
    tools.m_8Points();
    for (int i = 0; i < 8; ++i)
        click(20, 500 + 40 * i);
    tools.m_CMarker();
    click(60, 950);

    // Femur point 5.
    hover(20, 660);
    EXPECT_EQ(host.status, "... Point 5");
    EXPECT_EQ(host.pointer, PointerShape::SizeAll);
    tools.MouseDown(L, 20, 660);
    EXPECT_EQ(tools.mode(), 214);
    EXPECT_EQ(tools.curPoint(), &zor.points(4));
    EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    tools.MouseMove(L, 25, 665);
    EXPECT_TRUE(near(zor.points(4), 20, 660)) << "no feedback until the release";
    tools.MouseUp(L, 30, 670);
    EXPECT_TRUE(near(zor.points(4), 30, 670));
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.PointsValid);

    // Head point 3: the circle is refitted and drawn red at once.
    hover(260, 150);
    EXPECT_EQ(host.status, "... Head Point");
    tools.MouseDown(L, 260, 150);
    EXPECT_EQ(tools.mode(), 101);
    EXPECT_EQ(host.status, "move HeadPoint to desired position and release the mouse");
    EXPECT_FALSE(zor.Visible);
    surface.ops.clear();
    tools.MouseUp(L, 250, 150);
    EXPECT_TRUE(near(zor.head.points[2], 250, 150));
    EXPECT_GT(zor.head.R, 40);
    EXPECT_TRUE(zor.head.Valid);
    ASSERT_FALSE(surface.ops.empty());
    EXPECT_EQ(surface.ops[0].kind, RecordingSurface::Kind::Circle);
    EXPECT_EQ(surface.ops[0].color, 255U);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.Visible);

    // Cement marker.
    hover(60, 950);
    EXPECT_EQ(host.status, "... Cement Marker");
    tools.MouseDown(L, 60, 950);
    EXPECT_EQ(tools.mode(), 220);
    EXPECT_EQ(host.status, "move Cement Marker to desired position and release the mouse");
    EXPECT_FALSE(zor.Visible);
    tools.MouseUp(M, 64, 940); // the middle button releases like the left
    EXPECT_TRUE(near(zor.CMarker, 64, 940));
    EXPECT_EQ(tools.mode(), 0);
}

TEST_F(LandmarkMove, HeadPointRefitThatFailsKeepsTheCircle)
{
    tools.m_Head();
    for (auto [x, y] : {std::pair{340.0, 150.0}, {300.0, 190.0}, {260.0, 150.0}})
        click(x, y);
    click(0, 0, R);
    ASSERT_TRUE(zor.head.Valid);
    double r = zor.head.R;
    // Moving the middle point onto the line through the others: singular.
    tools.MouseDown(L, 300, 190);
    tools.MouseUp(L, 300, 150);
    EXPECT_TRUE(zor.head.Valid);
    EXPECT_EQ(zor.head.R, r);
    EXPECT_EQ(messages.recorder.messages.size(), 1U);
}

TEST_F(LandmarkMove, APressAwayFromEveryLandmarkDoesNothing)
{
    placeShoulder();
    int repaints = host.repaints;
    surface.ops.clear();
    tools.MouseDown(L, 700, 700);
    EXPECT_EQ(tools.mode(), 0);
    tools.MouseUp(L, 700, 700);
    EXPECT_EQ(host.repaints, repaints);
    EXPECT_TRUE(surface.ops.empty());
}

struct HoverRow {
    double x, y;
    const char* status;
    PointerShape shape;
};

class Hover : public LandmarkMove, public ::testing::WithParamInterface<HoverRow> {};

TEST_P(Hover, ShowsWhatIsUnderThePointer)
{
    placeShoulder();
    host.status = "before";
    host.pointer = PointerShape::Crosshair;
    hover(GetParam().x, GetParam().y);
    EXPECT_EQ(host.status, GetParam().status);
    EXPECT_EQ(host.pointer, GetParam().shape);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Hover,
    ::testing::Values(HoverRow{700, 700, "", PointerShape::Default},
                      HoverRow{92, 302, "... Shoulder Point", PointerShape::SizeAll},
                      HoverRow{100, 282, "... Major Trochanter Line", PointerShape::SizeNS},
                      HoverRow{60, 362, "... Tip of Stem Line", PointerShape::SizeNS}));

TEST_F(LandmarkMove, HoverOverContourEndsOnlyWhileTheyAreValid)
{
    drawStemAxis();
    hover(40, 900);
    EXPECT_EQ(host.status, "... AxisLine1 P0");
    tools.m_Shoulder();
    click(90, 300); // the contour lines give way to the axis
    hover(40, 900);
    EXPECT_EQ(host.status, "");
}

TEST_F(LandmarkMove, PositionBoxShowsWorldMillimetres)
{
    zor.initScale(static_cast<int16_t>(host.width), static_cast<int16_t>(host.height), 1000.0);
    EXPECT_EQ(tools.positionText(0, 1000), "0.0 0.0");
    EXPECT_EQ(tools.positionText(123.44F, 900), "123.4 100.0");
    zor.initScale(static_cast<int16_t>(host.width), static_cast<int16_t>(host.height), 250.0);
    EXPECT_EQ(tools.positionText(100, 0), "25.0 250.0");
    EXPECT_EQ(tools.positionText(-0.1F, 1000.1F), "0.0 0.0");
}

} // namespace
