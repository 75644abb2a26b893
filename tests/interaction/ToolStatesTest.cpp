// The right button and the error trap of the contour lines.
#include "ToolFixture.h"

namespace {

using ToolStates = ToolFixture;

// A right press ends the head entry without a circle: with two points
// quietly, with three on one line the solver says so, once.
TEST_F(ToolStates, HeadEntryThatFitsNoCircle)
{
    enterHead();
    for (size_t n : {2U, 3U}) {
        SCOPED_TRACE(n);
        tools.m_Head();
        for (size_t i = 0; i < n; ++i)
            click(100.0F + 100.0F * static_cast<float>(i), 100);
        surface.ops.clear();
        click(0, 0, R);
        EXPECT_EQ(zor.head.points.size(), n) << "the old points were discarded";
        EXPECT_FALSE(zor.head.Valid);
        EXPECT_TRUE(zor.Visible);
        EXPECT_TRUE(surface.ops.empty()) << "no circle is drawn";
        EXPECT_EQ(messages.messages.size(), n - 2);
    }
    EXPECT_EQ(messages.messages[0].caption, "Equation Solver");
    EXPECT_EQ(messages.messages[0].text, "Equation is singular!");
}

// Zoom by mouse belongs to the tools: left presses zoom about the pointer,
// the right button or Escape end it and leave no prompt behind (the
// magnifier's pointer is the window's test).
TEST_F(ToolStates, ZoomByMouseUntilRightPressOrEscape)
{
    tools.m_ZoomMouse();
    EXPECT_EQ(host.status, "zoom by mouse click, center is current position - end with "
                           "right mouse button");
    click(120, 340);
    click(10, 20);
    EXPECT_EQ(host.zooms, (std::vector<std::pair<float, float>>{{120, 340}, {10, 20}}));
    click(5, 5, R);
    EXPECT_EQ(tools.mode(), ToolMode::Idle);
    EXPECT_EQ(host.pointer, PointerShape::Default);
    EXPECT_EQ(host.status, "");
    click(50, 50);
    EXPECT_EQ(host.zooms.size(), 2U) << "no zoom once it ended";
    tools.m_ZoomMouse();
    tools.KeyDown(ToolController::EscapeKey);
    EXPECT_EQ(host.pointer, PointerShape::Default) << "Escape ends it as well";
}

// A release that cannot complete a contour line shows the error and starts
// the stem axis tool again: one without the press that began the stroke, or
// a second line of no length (a click; parallel lines fail the same way).
class ContourTrap : public ToolFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ContourTrap, RestartsTheStemAxisTool)
{
    enterHead();
    placeShoulder();
    if (GetParam()) {
        tools.setMode(ToolMode::Axis1Drag);
        tools.MouseUp(L, 10, 10);
    } else {
        tools.m_StemAxis();
        drag(40, 900, 45, 100);
        click(80, 900);
    }
    ASSERT_EQ(messages.messages.size(), 1u) << "one box, not the solver's as well";
    EXPECT_EQ(messages.messages[0].caption, "Error");
    EXPECT_EQ(messages.messages[0].text, "Draw Contour Lines with left Mouse Key DOWN");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(mode(), 1);
    EXPECT_FALSE(zor.AxisLine.Valid || zor.LinesVisible);
    EXPECT_FALSE(tools.usable(Tool::Shoulder) || tools.usable(Tool::LTLinesRotate30));
    EXPECT_TRUE(zor.head.Valid);
}

INSTANTIATE_TEST_SUITE_P(WithoutPressOrOfNoLength, ContourTrap, ::testing::Bool());

} // namespace
