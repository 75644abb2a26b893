// A whole measurement driven event by event, as the window delivers them.
#include "ToolFixture.h"

namespace {

class MeasurementFlow : public ToolFixture {
protected:
    void expectState(int16_t want, const std::string& status)
    {
        EXPECT_EQ(mode(), want) << status;
        EXPECT_EQ(host.status, status);
    }
};

TEST_F(MeasurementFlow, FromEmptyCaseToEveryLandmark)
{
    // Head: each rim point is marked at once; a right press fits the circle.
    tools.m_Head();
    expectState(100, "enter at last 3 points for circle");
    EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    size_t clicks = 0;
    for (auto [x, y] : {std::pair{340.0, 150.0}, {300.0, 190.0}, {260.0, 150.0}, {300.0, 110.0}}) {
        click(x, y);
        EXPECT_EQ(surface.ops.size(), 2 * ++clicks) << "a cross at each point at once";
    }
    click(0, 0, R);
    expectState(0, "");
    EXPECT_TRUE(near(zor.head.M, 300, 150) && std::abs(zor.head.R - 40) < 1e-9);

    // Stem axis: two contour lines, each press-drag-release in XOR.
    tools.m_StemAxis();
    expectState(1, "select lower point on left side of stem contour");
    tools.MouseDown(L, 40, 900);
    expectState(2, "select upper point on left side of stem contour");
    EXPECT_EQ(surface.drawMode(), DrawMode::XorPen);
    tools.MouseMove(L, 45, 100);
    tools.MouseUp(L, 45, 100);
    expectState(3, "select lower point on right side of stem contour");
    EXPECT_TRUE(tools.usable(Tool::Shoulder));
    tools.MouseDown(L, 80, 900);
    expectState(4, "select upper point on right side of stem contour");
    tools.MouseMove(L, 75, 100);
    tools.MouseUp(L, 75, 100);
    expectState(0, "");
    EXPECT_NEAR(zor.AxisLine.P0.x, 60, 1e-4);
    EXPECT_NEAR(zor.AxisLine.P1.x, 60, 1e-4);

    // Shoulder: the proposals appear and are turned to 30 degrees, where
    // the moves below find them.
    tools.m_Shoulder();
    expectState(9, "select shoulder point");
    click(90, 300);
    tools.m_LTLines_Rotate_30();

    // The tip construction needs its three lines placed by the user: only the
    // last move enables the femur points and the cement marker.
    for (auto [x, y, dy, name, enables] :
         {std::tuple{120.0, 360.0, 100.0, "Tip of Stem Line", false},
          {55.36, 300.0, 10.0, "Minor Trochanter Line2", false},
          {107.32, 290.0, 10.0, "Minor Trochanter Line1", true}}) {
        hover(x, y);
        EXPECT_EQ(host.status, std::string("... ") + name);
        EXPECT_EQ(host.pointer, PointerShape::SizeNS);
        drag(x, y, x, y + dy);
        EXPECT_EQ(tools.usable(Tool::EightPoints), enables) << name;
        EXPECT_EQ(tools.usable(Tool::CMarker), enables) << name;
    }
    // A shoulder moved now keeps the lines the user placed.
    drag(90, 300, 92, 305);
    EXPECT_TRUE(near(zor.Shoulder, 92, 305));
    EXPECT_NEAR(zor.TipLine.P0.y, 460, 1e-9);

    // Eight femur points, each marked at once; the status asks for the next.
    tools.m_8Points();
    for (int i = 0; i < 8; ++i) {
        expectState(static_cast<int16_t>(200 + i), "select point " + std::to_string(i + 1));
        surface.ops.clear();
        click(i % 2 == 0 ? 20 : 110, 500 + 50 * (i / 2));
        EXPECT_EQ(surface.ops.size(), 2U);
    }
    expectState(0, "select point 8"); // the last prompt stays

    tools.m_CMarker();
    expectState(220, "select cement marker");
    click(60, 950);
    EXPECT_TRUE(near(zor.CMarker, 60, 950));

    // Every flag and menu state at the end.
    expectState(0, "");
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_EQ(tools.curPoint(), nullptr);
    // The contour lines gave way to the axis; the GTLine, never moved, is still a proposal.
    EXPECT_FALSE(zor.AxisLine1.Valid || zor.AxisLine2.Valid || zor.GTLine.Valid);
    int i = 0;
    for (bool on : {zor.Visible, zor.head.Valid, zor.head.PVisible, zor.AxisLine.Valid,
                    zor.ShoulderValid, zor.LinesVisible, zor.LTLine1.Valid, zor.LTLine2.Valid,
                    zor.TipLine.Valid, zor.TipLine1.Valid, zor.TipLine2.Valid, zor.TipLine3.Valid,
                    zor.PointsValid, zor.CMarkerValid})
        EXPECT_TRUE(on) << "flag " << i++ << " in the list";
    for (int t = 0; t <= int(Tool::ResetLandmarks); ++t)
        EXPECT_TRUE(tools.usable(Tool(t))) << t;
}

} // namespace
