#include "model/CZor.h"

#include <array>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Frame, ConversionsAtFourPixelsPerMillimetre)
{
    CZor z;
    EXPECT_EQ(z.WorldY(7), -7); // before any scale: 1 px/mm
    z.initScale(1000, 800, 250.0);
    EXPECT_EQ(z.WorldWidth(), 250.0);
    EXPECT_EQ((std::array{z.WorldX(100), z.WorldY(0), z.WorldY(800)}),
              (std::array{25.0, 200.0, 0.0}));
    EXPECT_EQ(z.PixelY(200.0), 0.0);
    EXPECT_EQ(z.PixelX(25.0), 100.0);
    std::vector<double> v = {10.0, 20.0, 30.0, 40.0};
    EXPECT_TRUE(z.Pixel(v));
    EXPECT_EQ(v, (std::vector<double>{40.0, 720.0, 120.0, 640.0}));
    std::array<double, 3> odd = {10.0, 20.0, 30.0};
    EXPECT_FALSE(z.Pixel(odd));
    EXPECT_EQ(odd, (std::array{10.0, 20.0, 30.0}));
}

TEST(Frame, CalibrationSetsTheScaleAndRefusalsKeepThePreviousOne)
{
    CZor z;
    z.CalibPoints = std::make_unique<CLine>();
    z.CalibPoints->init(0, 0, 300, 400);
    z.CalibDist = 50.0;
    z.Calibrate(1000, 800);
    EXPECT_EQ(z.WorldWidth(), 100.0);
    EXPECT_EQ(z.ScaleFactor, 10.0);

    for (auto [wpix, w] : {std::pair<int16_t, double>{600, 0.0},
                           {600, -10.0},
                           {600, kNaN},
                           {600, std::numeric_limits<double>::infinity()},
                           {0, 250.0}}) {
        z.initScale(wpix, 500, w);
        EXPECT_EQ(z.ScaleFactor, 10.0) << wpix << " " << w;
    }
    for (auto [x1, dist] : {std::pair{0.0, 50.0}, {300.0, 0.0}, {300.0, -5.0}, {300.0, kNaN}}) {
        z.CalibPoints->init(0, 0, x1, 400 * (x1 > 0)); // x1 = 0: coinciding points
        z.CalibDist = dist;
        z.Calibrate(600, 500);
        EXPECT_EQ(z.ScaleFactor, 10.0) << x1 << " " << dist;
    }
    z.CalibPoints.reset();
    z.CalibDist = 50.0;
    z.Calibrate(600, 500);
    EXPECT_EQ(z.HPixel, 800);
}

TEST(Frame, PresetsByExactName)
{
    CZor z;
    for (auto [name, width] : {std::pair{"mm430", 430.0},
                               {"DirektR1", 403.7},
                               {"Korvel", 532.8},
                               {"mm175", 175.0},
                               {"Lorvel", 280.0},
                               {"pacs", 500.0},
                               {"PACSLT1", 440.8},
                               {"PACSPR8", 495.3}}) {
        ASSERT_TRUE(z.applyPreset(name, 1750, 1400)) << name;
        EXPECT_EQ(z.ScaleFactor, 1750 / width) << name;
    }
    z.applyPreset("mm175", 1750, 1400);
    EXPECT_EQ(z.ScaleFactor, 10.0);
    for (const char* name : {"Mm175", "MM430", "pacs ", "", "mm 175"})
        EXPECT_FALSE(z.applyPreset(name, 1000, 1400)) << name;
    EXPECT_EQ(z.ScaleFactor, 10.0);
}

TEST(Frame, StemFrameShiftsThenTurns)
{
    // world (15, 12) around the centre (10, 10), for three rotations
    for (auto [sinA, cosA, x, y] : {std::array{0.0, 1.0, 5.0, 2.0}, std::array{1.0, 0.0, 2.0, -5.0},
                                    std::array{0.6, 0.8, 2 * 0.6 + 5 * 0.8, 2 * 0.8 - 5 * 0.6}}) {
        CZor z;
        z.initScale(1000, 800, 250.0);
        z.Center.change(10, 10);
        z.SinA = sinA;
        z.CosA = cosA;
        CLine l;
        l.init(z.PixelX(15), z.PixelY(12), z.PixelX(10), z.PixelY(10));
        z.TransformL(l);
        EXPECT_NEAR(l.P0.x, x, 1e-12);
        EXPECT_NEAR(l.P0.y, y, 1e-12);
        EXPECT_NEAR(l.P1.x, 0, 1e-12); // the centre itself
        EXPECT_NEAR(l.P1.y, 0, 1e-12);
    }
}

} // namespace
