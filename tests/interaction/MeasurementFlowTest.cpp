// A complete measurement driven event by event, as the window delivers them.
#include "ToolFixture.h"

#include <map>

namespace {

using Items = std::map<std::string, bool>;

class MeasurementFlow : public ToolFixture {};

TEST_F(MeasurementFlow, FromEmptyCaseToEveryLandmark)
{
    // Head: four rim points, each marked at once, and a right press fits them.
    tools.m_Head();
    EXPECT_EQ(tools.mode(), 100);
    EXPECT_EQ(host.status, "enter at last 3 points for circle");
    EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    EXPECT_FALSE(zor.Visible);
    for (auto [x, y] : {std::pair{340.0, 150.0}, {300.0, 190.0}, {260.0, 150.0}, {300.0, 110.0}}) {
        surface.ops.clear();
        click(x, y);
        ASSERT_EQ(surface.ops.size(), 2U) << "a cross at once";
        EXPECT_EQ(tools.mode(), 100);
    }
    ASSERT_EQ(zor.head.points.size(), 4U);
    int repaints = host.repaints;
    click(0, 0, R);
    EXPECT_TRUE(zor.head.Valid);
    EXPECT_NEAR(zor.head.M.x, 300, 1e-9);
    EXPECT_NEAR(zor.head.M.y, 150, 1e-9);
    EXPECT_NEAR(zor.head.R, 40, 1e-9);
    EXPECT_TRUE(zor.Visible);
    EXPECT_EQ(host.repaints, repaints) << "the overlay is drawn directly, not repainted";
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(host.pointer, PointerShape::Default);

    // Stem axis: the reset disables the dependent items, m_CMarker too.
    tools.m_StemAxis();
    EXPECT_EQ(tools.mode(), 1);
    EXPECT_EQ(host.status, "select lower point on left side of stem contour");
    EXPECT_FALSE(host.items["m_CMarker"]);
    tools.MouseDown(L, 40, 900);
    EXPECT_EQ(tools.mode(), 2);
    EXPECT_EQ(host.status, "select upper point on left side of stem contour");
    EXPECT_FALSE(zor.Visible);
    EXPECT_EQ(surface.foreColor(), 0xFFFF00U);
    EXPECT_EQ(surface.drawMode(), DrawMode::XorPen);
    tools.MouseMove(L, 43, 500);
    tools.MouseMove(L, 45, 100);
    tools.MouseUp(L, 45, 100);
    EXPECT_EQ(tools.mode(), 3);
    EXPECT_EQ(host.status, "select lower point on right side of stem contour");
    EXPECT_TRUE(host.items["m_Shoulder"]);
    EXPECT_TRUE(zor.AxisLine1.Valid);
    EXPECT_TRUE(near(zor.AxisLine1.P0, 40, 900));
    EXPECT_TRUE(near(zor.AxisLine1.P1, 45, 100));
    EXPECT_FALSE(zor.Visible) << "the overlay stays hidden for the second line";
    drag(80, 900, 75, 100);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.AxisLine.Valid);
    EXPECT_NEAR(zor.AxisLine.P0.x, 60, 1e-4);
    EXPECT_NEAR(zor.AxisLine.P0.y, 1000, 1e-9);
    EXPECT_NEAR(zor.AxisLine.P1.x, 60, 1e-4);
    EXPECT_NEAR(zor.AxisLine.P1.y, 0, 1e-9);
    EXPECT_TRUE(zor.Visible);
    EXPECT_EQ(surface.foreColor(), 255U);
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);

    // Shoulder point: the proposals appear and can be turned.
    tools.m_Shoulder();
    EXPECT_EQ(tools.mode(), 9);
    EXPECT_EQ(host.status, "select shoulder point");
    click(90, 300);
    EXPECT_TRUE(zor.ShoulderValid);
    EXPECT_TRUE(near(zor.Shoulder, 90, 300));
    EXPECT_FALSE(zor.AxisLine1.Valid);
    EXPECT_FALSE(zor.AxisLine2.Valid);
    EXPECT_TRUE(zor.LinesVisible);
    EXPECT_NEAR(zor.GTLine.P0.x, 130, 1e-3);
    EXPECT_NEAR(zor.GTLine.P0.y, 280, 1e-9);
    EXPECT_NEAR(zor.TipLine.P1.x, 50, 1e-3);
    EXPECT_NEAR(zor.TipLine.P1.y, 360, 1e-9);
    for (const char* item : {"m_LTLines_Rotate_30", "m_LTLines_Rotate_45", "m_LTLines_Rotate_60"})
        EXPECT_TRUE(host.items[item]) << item;
    EXPECT_FALSE(host.items["m_8Points"]);
    EXPECT_FALSE(host.items["m_CMarker"]);

    repaints = host.repaints;
    tools.m_LTLines_Rotate_30();
    EXPECT_EQ(host.repaints, repaints + 1);
    EXPECT_EQ(tools.mode(), 0);
    // LTLine1 at 30 degrees to the axis through (90, 320).
    EXPECT_NEAR(zor.LTLine1.P0.x, 90 + 40 * std::sqrt(3.0) / 3, 1e-3);
    EXPECT_NEAR(zor.LTLine1.P0.y, 280, 1e-9);

    // The tip construction needs all three of its lines placed by the user;
    // only the last move enables the femur points and the cement marker.
    hover(120, 360);
    EXPECT_EQ(host.status, "... Tip of Stem Line");
    drag(120, 360, 120, 460);
    EXPECT_TRUE(zor.TipLine.Valid);
    EXPECT_NEAR(zor.TipLine.P0.y, 460, 1e-9);
    EXPECT_FALSE(host.items["m_8Points"]);
    hover(55.36, 300);
    EXPECT_EQ(host.status, "... Minor Trochanter Line2");
    drag(55.36, 300, 55.36, 310);
    EXPECT_FALSE(host.items["m_8Points"]);
    EXPECT_FALSE(zor.TipLine1.Valid);
    hover(107.32, 290);
    EXPECT_EQ(host.status, "... Minor Trochanter Line1");
    EXPECT_EQ(host.pointer, PointerShape::SizeNS);
    drag(107.32, 290, 107.32, 300);
    EXPECT_TRUE(host.items["m_8Points"]);
    EXPECT_TRUE(host.items["m_CMarker"]);
    EXPECT_TRUE(zor.TipLine1.Valid && zor.TipLine2.Valid && zor.TipLine3.Valid);

    // Eight femur points, each marked red at once; the status asks for the next.
    tools.m_8Points();
    EXPECT_EQ(tools.mode(), 200);
    EXPECT_EQ(host.status, "select point 1");
    for (int i = 0; i < 8; ++i) {
        double x = (i % 2 == 0) ? 20 : 110;
        double y = 500 + 50 * (i / 2);
        surface.ops.clear();
        click(x, y);
        EXPECT_TRUE(near(zor.points(static_cast<int16_t>(i)), x, y)) << i;
        ASSERT_EQ(surface.ops.size(), 2U) << i;
        EXPECT_EQ(surface.ops[0].color, 255U);
        EXPECT_EQ(surface.ops[0].mode, DrawMode::CopyPen);
        if (i < 7) {
            EXPECT_EQ(tools.mode(), 201 + i);
            EXPECT_EQ(host.status, "select point " + std::to_string(i + 2));
            EXPECT_FALSE(zor.PointsValid);
        }
    }
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_TRUE(zor.PointsValid);
    EXPECT_EQ(host.status, "select point 8") << "the last prompt stays";

    // The cement marker.
    tools.m_CMarker();
    EXPECT_EQ(tools.mode(), 220);
    EXPECT_EQ(host.status, "select cement marker");
    click(60, 950);
    EXPECT_TRUE(zor.CMarkerValid);
    EXPECT_TRUE(near(zor.CMarker, 60, 950));

    // Every flag and menu state at the end.
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(host.status, "");
    EXPECT_TRUE(zor.Visible);
    EXPECT_TRUE(zor.head.Valid);
    EXPECT_TRUE(zor.head.PVisible);
    EXPECT_TRUE(zor.AxisLine.Valid);
    EXPECT_FALSE(zor.AxisLine1.Valid);
    EXPECT_FALSE(zor.AxisLine2.Valid);
    EXPECT_TRUE(zor.ShoulderValid);
    EXPECT_TRUE(zor.LinesVisible);
    EXPECT_FALSE(zor.GTLine.Valid) << "never moved: still a proposal";
    EXPECT_TRUE(zor.LTLine1.Valid);
    EXPECT_TRUE(zor.LTLine2.Valid);
    EXPECT_TRUE(zor.TipLine.Valid);
    EXPECT_TRUE(zor.TipLine1.Valid);
    EXPECT_TRUE(zor.TipLine2.Valid);
    EXPECT_TRUE(zor.TipLine3.Valid);
    EXPECT_TRUE(zor.PointsValid);
    EXPECT_TRUE(zor.CMarkerValid);
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_EQ(tools.curPoint(), nullptr);
    EXPECT_EQ(surface.foreColor(), 255U);
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);
    Items expected{{"m_Head", true},
                   {"m_StemAxis", true},
                   {"m_Shoulder", true},
                   {"m_LTLines_Rotate_30", true},
                   {"m_LTLines_Rotate_45", true},
                   {"m_LTLines_Rotate_60", true},
                   {"m_8Points", true},
                   {"m_CMarker", true},
                   {"m_Calibrate", true},
                   {"m_Distance", true},
                   {"m_ResetLandmarks", true}};
    EXPECT_EQ(host.items, expected);
}

TEST_F(MeasurementFlow, StemAxisAfterACompleteMeasurementClearsTheChainButNotTheHead)
{
    enterHead();
    placeShoulder();
    tools.m_LTLines_Rotate_45();
    drag(120, 360, 120, 400); // TipLine
    drag(110, 300, 110, 310); // LTLine1 (45 degrees, through (90, 320))
    drag(70, 300, 70, 310);   // LTLine2
    ASSERT_TRUE(host.items["m_8Points"]);
    tools.m_8Points();
    for (int i = 0; i < 8; ++i)
        click(20 + i, 600 + 10 * i);
    tools.m_CMarker();
    click(60, 950);
    ASSERT_TRUE(zor.PointsValid && zor.CMarkerValid && zor.TipLine1.Valid);

    tools.m_StemAxis();
    EXPECT_FALSE(zor.LinesVisible);
    EXPECT_FALSE(zor.ShoulderValid);
    EXPECT_FALSE(zor.CMarkerValid);
    EXPECT_FALSE(zor.PointsValid);
    for (const CLine* l : {&zor.AxisLine, &zor.AxisLine1, &zor.AxisLine2, &zor.TipLine1,
                           &zor.TipLine2, &zor.TipLine3})
        EXPECT_FALSE(l->Valid);
    for (const char* item : {"m_Shoulder", "m_CMarker", "m_LTLines_Rotate_30",
                             "m_LTLines_Rotate_45", "m_LTLines_Rotate_60", "m_8Points"})
        EXPECT_FALSE(host.items[item]) << item;
    EXPECT_TRUE(zor.head.Valid);
    EXPECT_EQ(tools.mode(), 1);
}

TEST_F(MeasurementFlow, ResetDuringARunningToolKeepsItsState)
{
    placeShoulder();
    tools.m_Head();
    click(340, 150);
    int repaints = host.repaints;
    tools.m_ResetLandmarks();
    EXPECT_EQ(host.repaints, repaints + 1);
    EXPECT_EQ(tools.mode(), 100);
    EXPECT_EQ(zor.head.points.size(), 1U);
    EXPECT_FALSE(zor.LinesVisible);
    EXPECT_FALSE(zor.ShoulderValid);
    // Positions stay; only the flags go.
    EXPECT_TRUE(near(zor.Shoulder, 90, 300));
    EXPECT_NEAR(zor.GTLine.P0.x, 130, 1e-3);
}

TEST_F(MeasurementFlow, RotationItemsCanBeRepeatedAndTheLastWins)
{
    placeShoulder();
    tools.m_LTLines_Rotate_60();
    tools.m_LTLines_Rotate_30();
    tools.m_LTLines_Rotate_45();
    // 45/45: the diagonals of the proposal rectangle again.
    EXPECT_NEAR(zor.LTLine1.P0.x, 130, 1e-3);
    EXPECT_NEAR(zor.LTLine1.P1.x, 50, 1e-3);
    EXPECT_NEAR(zor.LTLine2.P0.x, 130, 1e-3);
    EXPECT_NEAR(zor.LTLine2.P1.x, 50, 1e-3);
    EXPECT_FALSE(zor.LTLine1.Valid);
}

TEST_F(MeasurementFlow, AMovedShoulderKeepsTheUsersLines)
{
    placeShoulder();
    drag(100, 280, 100, 250); // GTLine moved up by 30
    ASSERT_NEAR(zor.GTLine.P0.y, 250, 1e-9);
    hover(90, 300);
    EXPECT_EQ(host.status, "... Shoulder Point");
    EXPECT_EQ(host.pointer, PointerShape::SizeAll);
    tools.MouseDown(L, 90, 300);
    EXPECT_EQ(tools.mode(), 9);
    EXPECT_EQ(host.status, "move Shoulder Point to desired position and release the mouse");
    tools.MouseUp(L, 95, 320);
    EXPECT_TRUE(near(zor.Shoulder, 95, 320));
    EXPECT_NEAR(zor.GTLine.P0.y, 250, 1e-9) << "no new proposals once lines are shown";
}

} // namespace
