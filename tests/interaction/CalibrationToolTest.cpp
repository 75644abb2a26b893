// Calibration by two points and a typed distance, and the distance readout.
#include "ToolFixture.h"

#include <limits>

namespace {

class Calibration : public ToolFixture {
protected:
    void calibrate(double x0, double y0, double x1, double y1, float answer)
    {
        host.answer = answer;
        tools.m_Calibrate();
        click(x0, y0);
        click(x1, y1);
    }
};

TEST_F(Calibration, FirstTimeThenWithTheOfferedDistance)
{
    tools.m_Calibrate();
    EXPECT_EQ(host.status, "select 1st point for calibration");
    click(0, 0);
    EXPECT_EQ(host.status, "select 2nd point for calibration");
    host.answer = 23.4F;
    click(300, 400);
    EXPECT_EQ(mode(), 0);
    EXPECT_EQ(host.offers, std::vector<double>{0.0}) << "nothing to offer the first time";
    EXPECT_DOUBLE_EQ(zor.ScaleFactor, 500 / static_cast<double>(23.4F));

    calibrate(0, 0, 0, 400, 20.0F);
    EXPECT_EQ(host.offers.back(), static_cast<double>(23.4F));
    EXPECT_DOUBLE_EQ(zor.ScaleFactor, 20.0);
}

// After a success, an answer that is no distance, or two clicks on one pixel
// (then without asking), drop the new points and keep the scale.
TEST_F(Calibration, DroppedPointsKeepTheScale)
{
    const float inf = std::numeric_limits<float>::infinity();
    for (auto [x1, y1, answer] : {std::tuple{200.0, 80.0, 0.0F},
                                  {200.0, 80.0, -5.0F},
                                  {200.0, 80.0, inf},
                                  {120.6, 80.1, 50.0F}}) {
        SCOPED_TRACE(answer);
        calibrate(0, 0, 300, 400, 50.0F);
        host.offers.clear();
        calibrate(120.2, 80.7, x1, y1, answer);
        const bool coincide = x1 < 200;
        EXPECT_EQ(host.offers.size(), coincide ? 0U : 1U);
        EXPECT_FALSE(zor.CalibPoints);
        EXPECT_EQ(zor.CalibDist, 50.0);
        EXPECT_DOUBLE_EQ(zor.ScaleFactor, 10.0);
        EXPECT_EQ(tools.curPoint(), nullptr);
        EXPECT_EQ(host.status,
                  coincide ? "calibration points coincide - calibration cancelled" : "");
    }
    tools.m_Calibrate();
    EXPECT_TRUE(zor.CalibPoints) << "the tool starts afresh";
}

TEST_F(Calibration, DistanceReadoutAtFourPixelsPerMillimetre)
{
    zor.initScale(1000, 1000, 250.0);
    EXPECT_EQ(tools.positionText(100, 0), "25.0 250.0");
    EXPECT_EQ(tools.positionText(-0.1F, 1000.1F), "0.0 0.0");
    tools.m_Distance();
    tools.MouseDown(L, 100, 100);
    surface.ops.clear();
    tools.MouseMove(L, 160, 180); // 100 pixels
    EXPECT_EQ(host.status, "length = 25.0");
    ASSERT_EQ(surface.ops.size(), 2U) << "erase and redraw";
    EXPECT_EQ(surface.ops[1].mode, DrawMode::XorPen);
    tools.MouseMove(L, 100, 193.8F);
    EXPECT_EQ(host.status, "length = 23.5");
    tools.MouseUp(L, 100, 193.8F);
    EXPECT_EQ(host.status, "");
    EXPECT_EQ(surface.drawMode(), DrawMode::CopyPen);
}

} // namespace
