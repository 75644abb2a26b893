#include "model/CZor.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

TEST(Frame, NewModelConvertsOneToOne)
{
    CZor z;
    EXPECT_EQ(z.ScaleFactor, 1.0);
    EXPECT_EQ(z.WPixel, 0);
    EXPECT_EQ(z.HPixel, 0);
    EXPECT_EQ(z.WorldX(12.5), 12.5);
    EXPECT_EQ(z.WorldY(7), -7);
    EXPECT_FALSE(z.CalibPoints);
}

TEST(Frame, ConversionsAtFourPixelsPerMillimetre)
{
    CZor z;
    z.initScale(1000, 800, 250.0);
    EXPECT_EQ(z.ScaleFactor, 4.0);
    EXPECT_EQ(z.WPixel, 1000);
    EXPECT_EQ(z.HPixel, 800);
    EXPECT_EQ(z.WorldWidth(), 250.0);
    EXPECT_EQ(z.WorldX(100), 25.0);
    EXPECT_EQ(z.WorldY(0), 200.0);
    EXPECT_EQ(z.WorldY(800), 0.0);
    EXPECT_EQ(z.PixelY(200.0), 0.0);
    EXPECT_EQ(z.PixelX(25.0), 100.0);
}

TEST(Frame, RoundTripThroughWorld)
{
    CZor z;
    z.initScale(1751, 1333, 403.7);
    for (double v : {0.0, 1.5, 333.25, 1332.999}) {
        EXPECT_NEAR(z.PixelX(z.WorldX(v)), v, 1e-9);
        EXPECT_NEAR(z.PixelY(z.WorldY(v)), v, 1e-9);
    }
}

TEST(Frame, PixelConvertsPairsInPlace)
{
    CZor z;
    z.initScale(1000, 800, 250.0);
    std::vector<double> v = {10.0, 20.0, 30.0, 40.0};
    EXPECT_TRUE(z.Pixel(v));
    EXPECT_EQ(v, (std::vector<double>{40.0, 720.0, 120.0, 640.0}));

    std::array<double, 3> odd = {10.0, 20.0, 30.0};
    EXPECT_FALSE(z.Pixel(odd));
    EXPECT_EQ(odd, (std::array<double, 3>{10.0, 20.0, 30.0}));
}

struct BadWidthRow {
    int16_t wpix;
    double width;
};

class RefusedScaleTest : public testing::TestWithParam<BadWidthRow> {};

TEST_P(RefusedScaleTest, PreviousScaleSurvives)
{
    CZor z;
    z.initScale(1000, 800, 250.0);
    z.initScale(GetParam().wpix, 500, GetParam().width);
    EXPECT_EQ(z.ScaleFactor, 4.0);
    EXPECT_EQ(z.WPixel, 1000);
    EXPECT_EQ(z.HPixel, 800);
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedScaleTest,
                         testing::Values(BadWidthRow{600, 0.0}, BadWidthRow{600, -10.0},
                                         BadWidthRow{600, std::numeric_limits<double>::quiet_NaN()},
                                         BadWidthRow{600, std::numeric_limits<double>::infinity()},
                                         BadWidthRow{0, 250.0}));

// --- Presets ---

struct PresetRow {
    const char* name;
    double width;
};

class PresetTest : public testing::TestWithParam<PresetRow> {};

TEST_P(PresetTest, NamedWidthExactly)
{
    const PresetRow& r = GetParam();
    CZor z;
    ASSERT_TRUE(z.applyPreset(r.name, 1750, 1400));
    EXPECT_EQ(z.WorldWidth(), 1750 / (1750 / r.width));
    EXPECT_EQ(z.ScaleFactor, 1750 / r.width);
    EXPECT_EQ(CZor::presetWidth(r.name), r.width);
}

INSTANTIATE_TEST_SUITE_P(Rows, PresetTest,
                         testing::Values(PresetRow{"mm430", 430.0}, PresetRow{"DirektR1", 403.7},
                                         PresetRow{"Korvel", 532.8}, PresetRow{"mm175", 175.0},
                                         PresetRow{"Lorvel", 280.0}, PresetRow{"pacs", 500.0},
                                         PresetRow{"PACSLT1", 440.8}, PresetRow{"PACSPR8", 495.3}));

TEST(Preset, NamesAreCaseSensitiveAndUnknownOnesChangeNothing)
{
    CZor z;
    z.initScale(1750, 1400, 430.0);
    for (const char* name : {"Mm175", "MM430", "Pacs", "pacs ", "", "mm 175"}) {
        EXPECT_FALSE(z.applyPreset(name, 1750, 1400)) << name;
        EXPECT_EQ(z.WorldWidth(), 430.0);
    }
    EXPECT_TRUE(z.applyPreset("mm175", 1750, 1400));
    EXPECT_EQ(z.ScaleFactor, 10.0);
}

// --- Calibration ---

TEST(Calibrate, ScaleFromTwoPointsAndDistance)
{
    CZor z;
    z.CalibPoints = std::make_unique<CLine>();
    z.CalibPoints->init(0, 0, 300, 400);
    z.CalibDist = 50.0;
    z.Calibrate(1000, 700);
    EXPECT_EQ(z.WorldWidth(), 100.0);
    EXPECT_EQ(z.ScaleFactor, 10.0);
    EXPECT_EQ(z.HPixel, 700);
}

struct BadCalibRow {
    bool points;
    double x1, y1;
    double dist;
};

class RefusedCalibrationTest : public testing::TestWithParam<BadCalibRow> {};

TEST_P(RefusedCalibrationTest, PreviousScaleSurvives)
{
    const BadCalibRow& r = GetParam();
    CZor z;
    z.initScale(1000, 800, 250.0);
    if (r.points) {
        z.CalibPoints = std::make_unique<CLine>();
        z.CalibPoints->init(7, 9, r.x1, r.y1);
    }
    z.CalibDist = r.dist;
    z.Calibrate(1000, 800);
    EXPECT_EQ(z.ScaleFactor, 4.0);
    EXPECT_EQ(z.WorldWidth(), 250.0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedCalibrationTest,
    testing::Values(BadCalibRow{true, 7, 9, 50.0}, // coinciding points
                    BadCalibRow{true, 300, 400, 0.0}, BadCalibRow{true, 300, 400, -5.0},
                    BadCalibRow{true, 300, 400, std::numeric_limits<double>::quiet_NaN()},
                    BadCalibRow{false, 0, 0, 50.0})); // no calibration points

// --- Stem frame ---

struct TransformRow {
    double sinA, cosA;
    double wx, wy; // expected stem-frame position
};

class TransformTest : public testing::TestWithParam<TransformRow> {};

TEST_P(TransformTest, ShiftThenTurn)
{
    const TransformRow& r = GetParam();
    CZor z;
    z.initScale(1000, 800, 250.0); // 4 px/mm
    z.Center.change(10, 10);
    z.SinA = r.sinA;
    z.CosA = r.cosA;
    CPoint p(z.PixelX(15), z.PixelY(12)); // world (15, 12)
    z.TransformP(p);
    EXPECT_NEAR(p.x, r.wx, 1e-12);
    EXPECT_NEAR(p.y, r.wy, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Rows, TransformTest,
                         testing::Values(TransformRow{0, 1, 5, 2}, TransformRow{1, 0, 2, -5},
                                         TransformRow{0, -1, -5, -2},
                                         TransformRow{0.6, 0.8, 2 * 0.6 + 5 * 0.8,
                                                      2 * 0.8 - 5 * 0.6}));

TEST(Transform, LineMovesBothEnds)
{
    CZor z;
    z.initScale(1000, 800, 250.0);
    z.Center.change(10, 10);
    z.SinA = 1;
    z.CosA = 0;
    CLine l;
    l.init(z.PixelX(15), z.PixelY(12), z.PixelX(10), z.PixelY(10));
    z.TransformL(l);
    EXPECT_NEAR(l.P0.x, 2, 1e-12);
    EXPECT_NEAR(l.P0.y, -5, 1e-12);
    EXPECT_NEAR(l.P1.x, 0, 1e-12);
    EXPECT_NEAR(l.P1.y, 0, 1e-12);
}

} // namespace
