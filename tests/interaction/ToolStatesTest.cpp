// The head tool, the right button, the contour-line error trap and the
// states in which the pointer does nothing.
#include "ToolFixture.h"

namespace {

class ToolStates : public ToolFixture {};

TEST_F(ToolStates, RightPressWithFewerThanThreeHeadPointsEndsTheEntry)
{
    enterHead();
    ASSERT_TRUE(zor.head.Valid);
    tools.m_Head();
    EXPECT_FALSE(zor.head.Valid);
    EXPECT_TRUE(zor.head.points.empty()) << "old points are discarded";
    click(340, 150);
    click(300, 190);
    surface.ops.clear();
    click(0, 0, R);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_FALSE(zor.head.Valid);
    EXPECT_EQ(zor.head.points.size(), 2U);
    EXPECT_TRUE(zor.Visible);
    for (const auto& op : surface.ops)
        EXPECT_NE(op.kind, RecordingSurface::Kind::Circle) << "no circle is drawn";
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(host.pointer, PointerShape::Default);
    EXPECT_TRUE(messages.recorder.messages.empty()) << "fewer than 3 points: no solver";
}

TEST_F(ToolStates, RightPressAbandonsAnyToolWithoutRestoring)
{
    drawStemAxis();
    tools.m_StemAxis();
    tools.MouseDown(L, 40, 900);
    tools.MouseMove(L, 45, 100);
    tools.MouseDown(R, 45, 100);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(host.pointer, PointerShape::Default);
    EXPECT_FALSE(zor.Visible) << "nothing is restored";
    tools.MouseUp(R, 45, 100);
    EXPECT_EQ(tools.mode(), 0);
}

TEST_F(ToolStates, MiddlePressDoesNothingButItsReleasePlaces)
{
    placeShoulder();
    tools.m_Shoulder();
    tools.MouseDown(M, 95, 305);
    EXPECT_EQ(tools.mode(), 9);
    tools.MouseUp(M, 95, 305);
    EXPECT_TRUE(near(zor.Shoulder, 95, 305));
    tools.m_8Points();
    tools.MouseDown(M, 20, 20);
    tools.MouseUp(M, 20, 20);
    EXPECT_TRUE(near(zor.points(0), 20, 20));
    EXPECT_EQ(tools.mode(), 201);
    tools.m_Head();
    click(10, 10, M);
    EXPECT_TRUE(zor.head.points.empty());
}

TEST_F(ToolStates, ZeroLengthFirstContourLineMovesOn)
{
    tools.m_StemAxis();
    click(40, 900);
    EXPECT_EQ(tools.mode(), 3);
    EXPECT_TRUE(near(zor.AxisLine1.P0, 40, 900));
    EXPECT_TRUE(near(zor.AxisLine1.P1, 40, 900));
    EXPECT_TRUE(host.items["m_Shoulder"]);
}

TEST_F(ToolStates, ShoulderBeforeAnyAxisProposesNothingToTurn)
{
    // The shoulder tool is usable after the first contour line, before any
    // axis exists: no lines can be proposed, so none can be turned.
    tools.m_StemAxis();
    drag(40, 900, 45, 100);
    ASSERT_TRUE(host.items["m_Shoulder"]);
    tools.m_Shoulder();
    click(90, 300);
    EXPECT_TRUE(zor.ShoulderValid);
    EXPECT_FALSE(zor.LinesVisible);
    for (const char* item : {"m_LTLines_Rotate_30", "m_LTLines_Rotate_45", "m_LTLines_Rotate_60"})
        EXPECT_FALSE(host.items[item]) << item;
    EXPECT_EQ(tools.mode(), 0);
}

// Releases in states 2 and 4 that cannot complete their contour line show
// the error and start the stem axis tool again.
struct TrapRow {
    const char* name;
    int setup; // 0: release in 2 without a press; 1: in 4 without a press;
               // 2: parallel contour lines; 3: a zero-length second line
};

class ContourTrap : public ToolStates, public ::testing::WithParamInterface<TrapRow> {};

TEST_P(ContourTrap, RestartsTheStemAxisTool)
{
    enterHead();
    placeShoulder();
    host.items["m_Shoulder"] = true;
    host.items["m_8Points"] = true;
    switch (GetParam().setup) {
    case 0:
        tools.setMode(2);
        tools.MouseUp(L, 10, 10);
        break;
    case 1:
        tools.setMode(4);
        tools.MouseUp(L, 10, 10);
        break;
    case 2:
        tools.m_StemAxis();
        drag(40, 900, 45, 100);
        drag(80, 900, 85, 100);
        break;
    case 3:
        tools.m_StemAxis();
        drag(40, 900, 45, 100);
        click(80, 900);
        break;
    }
    const auto& shown = messages.recorder.messages;
    ASSERT_FALSE(shown.empty());
    const auto& last = shown.back();
    EXPECT_EQ(last.caption, "Error");
    EXPECT_EQ(last.text, "Draw Contour Lines with left Mouse Key DOWN");
    EXPECT_EQ(last.icon, MessageIcon::Critical);
    EXPECT_EQ(tools.mode(), 1);
    EXPECT_EQ(host.status, "select lower point on left side of stem contour");
    EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    EXPECT_FALSE(zor.AxisLine.Valid);
    EXPECT_FALSE(zor.LinesVisible);
    EXPECT_FALSE(host.items["m_Shoulder"]);
    EXPECT_FALSE(host.items["m_8Points"]);
    EXPECT_TRUE(zor.head.Valid);
    // The restarted tool works.
    drag(40, 900, 45, 100);
    drag(80, 900, 75, 100);
    EXPECT_TRUE(zor.AxisLine.Valid);
    EXPECT_EQ(tools.mode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ContourTrap,
                         ::testing::Values(TrapRow{"ReleaseIn2WithoutPress", 0},
                                           TrapRow{"ReleaseIn4WithoutPress", 1},
                                           TrapRow{"ParallelContourLines", 2},
                                           TrapRow{"ZeroLengthSecondLine", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolStates, ReleaseInAFemurStateWithoutAPointDoesNothing)
{
    placeShoulder();
    for (int16_t mode : {200, 207, 210, 217}) {
        tools.setMode(mode);
        int repaints = host.repaints;
        tools.MouseUp(L, 5, 5);
        EXPECT_EQ(tools.mode(), mode);
        EXPECT_EQ(host.repaints, repaints);
        for (int16_t i = 0; i < 8; ++i)
            EXPECT_TRUE(near(zor.points(i), 0, 0));
    }
}

// Releases that end a tool without placing anything.
class ReleaseFinishes : public ToolStates, public ::testing::WithParamInterface<int16_t> {};

TEST_P(ReleaseFinishes, RunsTheCommonFinish)
{
    tools.setMode(GetParam());
    zor.Visible = false;
    surface.setDrawMode(DrawMode::XorPen);
    int repaints = host.repaints;
    tools.MouseUp(L, 5, 5);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.Visible);
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);
    EXPECT_EQ(host.repaints, repaints + 1);
}

INSTANTIATE_TEST_SUITE_P(States, ReleaseFinishes, ::testing::Values(1, 3, 10, 26));

class ReleaseIgnored : public ToolStates, public ::testing::WithParamInterface<int16_t> {};

TEST_P(ReleaseIgnored, LeavesTheStateAlone)
{
    tools.setMode(GetParam());
    int repaints = host.repaints;
    tools.MouseUp(L, 5, 5);
    EXPECT_EQ(tools.mode(), GetParam());
    EXPECT_EQ(host.repaints, repaints);
}

INSTANTIATE_TEST_SUITE_P(States, ReleaseIgnored, ::testing::Values(0, 21, 22, 90, 100));

TEST_F(ToolStates, MenuItemsEnterTheirStates)
{
    struct Row {
        void (ToolController::*item)();
        int16_t mode;
        const char* status;
    };
    for (const Row& row :
         {Row{&ToolController::m_Head, 100, "enter at last 3 points for circle"},
          Row{&ToolController::m_StemAxis, 1, "select lower point on left side of stem contour"},
          Row{&ToolController::m_Shoulder, 9, "select shoulder point"},
          Row{&ToolController::m_8Points, 200, "select point 1"},
          Row{&ToolController::m_CMarker, 220, "select cement marker"},
          Row{&ToolController::m_Calibrate, 21, "select 1st point for calibration"}}) {
        host.pointer = PointerShape::Default;
        (tools.*row.item)();
        EXPECT_EQ(tools.mode(), row.mode);
        EXPECT_EQ(host.status, row.status);
        EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    }
    EXPECT_EQ(tools.curPoint(), zor.CalibPoints ? &zor.CalibPoints->P0 : nullptr);
}

} // namespace
