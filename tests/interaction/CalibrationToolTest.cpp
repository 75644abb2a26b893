// Calibration by two points and a typed distance, and the distance readout.
#include "ToolFixture.h"

#include <algorithm>
#include <limits>

namespace {

class Calibration : public ToolFixture {
protected:
    // Clicks (x0, y0) and (x1, y1) in the calibration tool; the host answers
    // the dialog with `answer`.
    void calibrate(double x0, double y0, double x1, double y1, float answer)
    {
        host.answers.push_back(answer);
        tools.m_Calibrate();
        click(x0, y0);
        click(x1, y1);
    }
};

TEST_F(Calibration, FirstTimeSetsTheScale)
{
    tools.m_Calibrate();
    EXPECT_EQ(tools.mode(), 21);
    EXPECT_EQ(host.status, "select 1st point for calibration");
    EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    ASSERT_TRUE(zor.CalibPoints);
    EXPECT_EQ(tools.curPoint(), &zor.CalibPoints->P0);

    surface.ops.clear();
    tools.MouseDown(L, 0, 0);
    EXPECT_EQ(surface.ops.size(), 2U) << "a cross at the first point";
    EXPECT_EQ(tools.mode(), 22);
    EXPECT_EQ(host.status, "select 2nd point for calibration");
    tools.MouseUp(L, 0, 0);
    EXPECT_EQ(tools.mode(), 22);

    host.answers.push_back(50.0F);
    tools.MouseDown(L, 300, 400);
    EXPECT_EQ(surface.ops.size(), 4U) << "a cross at the second point";
    ASSERT_EQ(host.offers.size(), 1U);
    EXPECT_EQ(host.offers[0], 0.0) << "nothing to offer the first time";
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(host.status, "");
    tools.MouseUp(L, 300, 400);
    EXPECT_EQ(tools.mode(), 0);

    ASSERT_TRUE(zor.CalibPoints);
    EXPECT_TRUE(near(zor.CalibPoints->P1, 300, 400));
    EXPECT_EQ(zor.CalibDist, 50.0);
    EXPECT_DOUBLE_EQ(zor.ScaleFactor, 10.0); // 500 pixels for 50 mm
    EXPECT_DOUBLE_EQ(zor.WorldWidth(), 100.0);
}

TEST_F(Calibration, TheSecondTimeOffersTheFirstDistanceAndReusesThePoints)
{
    calibrate(0, 0, 300, 400, 23.4F);
    const CLine* points = zor.CalibPoints.get();
    calibrate(0, 0, 0, 400, 20.0F);
    ASSERT_EQ(host.offers.size(), 2U);
    EXPECT_EQ(host.offers[1], static_cast<double>(23.4F));
    EXPECT_EQ(zor.CalibPoints.get(), points);
    EXPECT_DOUBLE_EQ(zor.ScaleFactor, 20.0);
}

struct DropRow {
    const char* name;
    float answer;
};

class CalibrationDropped : public Calibration, public ::testing::WithParamInterface<DropRow> {};

TEST_P(CalibrationDropped, AfterASuccessKeepsTheScaleButDropsThePoints)
{
    calibrate(0, 0, 300, 400, 50.0F);
    ASSERT_DOUBLE_EQ(zor.ScaleFactor, 10.0);
    calibrate(0, 0, 100, 0, GetParam().answer);
    EXPECT_FALSE(zor.CalibPoints);
    EXPECT_EQ(zor.CalibDist, 50.0);
    EXPECT_DOUBLE_EQ(zor.ScaleFactor, 10.0);
    EXPECT_EQ(tools.curPoint(), nullptr);
    EXPECT_TRUE(messages.recorder.messages.empty());
    // The tool starts afresh with new points.
    tools.m_Calibrate();
    EXPECT_TRUE(zor.CalibPoints);
}

INSTANTIATE_TEST_SUITE_P(Answers, CalibrationDropped,
                         ::testing::Values(DropRow{"Cancel", 0.0F}, DropRow{"Negative", -5.0F},
                                           DropRow{"NaN", std::numeric_limits<float>::quiet_NaN()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Calibration, TwoClicksOnOnePixelAreACancelThatSaysWhy)
{
    calibrate(0, 0, 300, 400, 50.0F);
    host.answers.clear();
    tools.m_Calibrate();
    click(120.2, 80.7);
    click(120.6, 80.1);
    EXPECT_TRUE(host.offers.size() == 1U) << "no distance is asked for";
    EXPECT_FALSE(zor.CalibPoints);
    EXPECT_DOUBLE_EQ(zor.ScaleFactor, 10.0);
    EXPECT_EQ(host.status, "calibration points coincide - calibration cancelled");
    EXPECT_EQ(tools.mode(), 0);
}

TEST_F(Calibration, EscapeEndsTheToolAndKeepsThePlacedPoint)
{
    tools.m_Calibrate();
    click(10, 20);
    tools.KeyDown(ToolController::EscapeKey);
    EXPECT_EQ(tools.mode(), 0);
    ASSERT_TRUE(zor.CalibPoints);
    EXPECT_TRUE(near(zor.CalibPoints->P0, 10, 20));
    click(200, 200);
    EXPECT_TRUE(host.offers.empty());
}

TEST_F(Calibration, DistanceReadoutAtFourPixelsPerMillimetre)
{
    zor.initScale(1000, 1000, 250.0); // 4 pixels per mm
    tools.m_Distance();
    EXPECT_EQ(tools.mode(), 25);
    EXPECT_EQ(surface.foreColor(), 65280U);
    EXPECT_EQ(surface.drawMode(), DrawMode::XorPen);
    EXPECT_EQ(host.pointer, PointerShape::Crosshair);
    host.status = "unchanged";
    tools.MouseDown(L, 100, 100);
    EXPECT_EQ(tools.mode(), 26);
    EXPECT_EQ(host.status, "unchanged");
    surface.ops.clear();
    tools.MouseMove(L, 160, 180); // 100 pixels
    EXPECT_EQ(host.status, "length = 25.0");
    ASSERT_EQ(surface.ops.size(), 2U);
    EXPECT_EQ(surface.ops[1].color, 65280U);
    EXPECT_EQ(surface.ops[1].mode, DrawMode::XorPen);
    tools.MouseMove(L, 100, 193.8F);
    EXPECT_EQ(host.status, "length = 23.5");
    int repaints = host.repaints;
    tools.MouseUp(L, 100, 193.8F);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(host.repaints, repaints + 1);
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);
}

TEST_F(Calibration, DistanceWithoutAMoveShowsNothing)
{
    tools.m_Distance();
    host.status = "before";
    click(50, 50);
    EXPECT_EQ(host.status, "") << "the common finish only";
    EXPECT_EQ(std::count_if(host.statusHistory.begin(), host.statusHistory.end(),
                            [](const std::string& s) { return s.rfind("length", 0) == 0; }),
              0);
}

TEST_F(Calibration, DistanceWithoutAScaleReadsPixels)
{
    CZor fresh;
    fresh.PicBox(&surface);
    ToolController freshTools(fresh, host, surface);
    freshTools.m_Distance();
    freshTools.MouseDown(L, 0, 0);
    freshTools.MouseMove(L, 30, 40);
    EXPECT_EQ(host.status, "length = 50.0");
}

TEST_F(Calibration, EscapeDuringTheDistanceDragEndsIt)
{
    tools.m_Distance();
    tools.MouseDown(L, 0, 0);
    tools.MouseMove(L, 30, 40);
    tools.KeyDown(ToolController::EscapeKey);
    EXPECT_EQ(tools.mode(), 0);
    EXPECT_EQ(tools.curLine(), nullptr);
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);
    // A later move draws no rubber band.
    surface.ops.clear();
    tools.MouseMove(L, 50, 50);
    EXPECT_TRUE(surface.ops.empty());
}

} // namespace
