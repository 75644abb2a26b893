#include "BitmapTestUtil.h"

#include <gtest/gtest.h>

namespace {

struct BadSize {
    int w;
    int h;
};

class LoadRefuses : public testing::TestWithParam<BadSize> {};

TEST_P(LoadRefuses, SizeOutsideSixteenBitsKeepsThePreviousImage)
{
    const PlainImage old = randomImage(5, 3, 1);
    CBitmap bm = loadBitmap(old);
    const BadSize s = GetParam();
    std::vector<uint8_t> row(64, 9);
    // The rows are never read for a refused size, so one short row will do.
    EXPECT_FALSE(bm.init(row.data(), s.w, s.h, 0));
    EXPECT_EQ(bm.W(), 5);
    EXPECT_EQ(bm.H(), 3);
    EXPECT_EQ(pixelsOf(bm).px, old.px);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoadRefuses,
                         testing::Values(BadSize{0, 4}, BadSize{4, 0}, BadSize{-1, 4},
                                         BadSize{32768, 1}, BadSize{1, 32768},
                                         BadSize{70000, 70000}));

TEST(Load, LargestSideIsAccepted)
{
    std::vector<uint8_t> row(32767, 200);
    CBitmap bm;
    ASSERT_TRUE(bm.init(row.data(), 32767, 1, 0));
    EXPECT_EQ(bm.W(), 32767);
    EXPECT_EQ(bm.bytesPerLine(), 32768u);
    EXPECT_EQ(bm.pixel(32766, 0), 200);
    EXPECT_TRUE(paddingIsZero(bm));
}

TEST(Load, NullRowsAreRefused)
{
    CBitmap bm;
    EXPECT_FALSE(bm.init(nullptr, 3, 3, 3));
    EXPECT_FALSE(bm.initFromRgb32(nullptr, 3, 3, 12));
    EXPECT_TRUE(bm.isNull());
}

TEST(Load, ReadsRowsThroughTheSourceStride)
{
    const std::vector<uint8_t> src = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    CBitmap bm;
    ASSERT_TRUE(bm.init(src.data(), 3, 2, 5));
    EXPECT_EQ(pixelsOf(bm).px, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(bm.bytesPerLine(), 4u);
    EXPECT_TRUE(paddingIsZero(bm));
}

TEST(Load, Rgb32KeepsTheBlueChannel)
{
    // Two rows of two pixels, rows 12 bytes apart (one unused pixel each).
    const std::vector<uint32_t> src = {0xFF102030, 0xFFFFFF00, 0xDEADBEEF,
                                       0x00ABCDEF, 0xFF0000FF, 0xDEADBEEF};
    CBitmap bm;
    ASSERT_TRUE(bm.initFromRgb32(src.data(), 2, 2, 12));
    EXPECT_EQ(pixelsOf(bm).px, (std::vector<uint8_t>{0x30, 0x00, 0xEF, 0xFF}));
}

TEST(Load, StartsWithIdentityTableAndUnitContrast)
{
    CBitmap bm = loadBitmap(randomImage(4, 4, 2));
    bm.ColorScale = 100;
    bm.ColorOffset = 30;
    bm.CreateColors();
    bm.Invert();
    const PlainImage next = randomImage(6, 2, 3);
    const auto revision = bm.revision();
    ASSERT_TRUE(bm.init(next.px.data(), 6, 2, 6));
    EXPECT_GT(bm.revision(), revision);
    EXPECT_EQ(bm.ColorScale, 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(bm.colorTable()[std::size_t(i)], 0xFF000000u | uint32_t(i) * 0x010101u);
}

TEST(Load, UndoCopyCostsMemoryOnlyOnceSharpened)
{
    CBitmap bm = loadBitmap(randomImage(10, 10, 2));
    EXPECT_EQ(bm.allocatedBytes(), 120u);
    bm.Filter(Global::GetSharpenKernel(1));
    EXPECT_EQ(bm.allocatedBytes(), 240u);
}

// ---- the matrices ----

struct KernelCase {
    int strength;
    int n;
    float centre;
    float edge;   // at (0, 1)
    float corner; // at (n, n)
};

class Kernels : public testing::TestWithParam<KernelCase> {};

TEST_P(Kernels, ShapeSumAndSymmetry)
{
    const KernelCase c = GetParam();
    const SharpenKernel k = Global::GetSharpenKernel(int16_t(c.strength));
    EXPECT_EQ(k.n, c.n);
    EXPECT_EQ(k.at(0, 0), c.centre);
    EXPECT_EQ(k.at(0, 1), c.edge);
    EXPECT_EQ(k.at(c.n, c.n), c.corner);
    float sum = 0;
    for (int i = -k.n; i <= k.n; ++i)
        for (int j = -k.n; j <= k.n; ++j) {
            sum += k.at(i, j);
            EXPECT_EQ(k.at(i, j), k.at(j, i));
            EXPECT_EQ(k.at(i, j), k.at(-i, -j));
        }
    EXPECT_EQ(sum, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Strengths, Kernels,
                         testing::Values(KernelCase{1, 1, 2.0f, -0.25f, 0.0f},
                                         KernelCase{2, 1, 5.0f, -1.0f, 0.0f},
                                         KernelCase{3, 2, 5.0f, 1.0f, -1.0f}));

TEST(KernelsFor, StrengthThreeRows)
{
    const SharpenKernel k = Global::GetSharpenKernel(3);
    const float expected[5][5] = {{-1, 0, -1, 0, -1},
                                  {0, 0, 1, 0, 0},
                                  {-1, 1, 5, 1, -1},
                                  {0, 0, 1, 0, 0},
                                  {-1, 0, -1, 0, -1}};
    for (int i = -2; i <= 2; ++i)
        for (int j = -2; j <= 2; ++j)
            EXPECT_EQ(k.at(i, j), expected[i + 2][j + 2]) << i << "," << j;
}

TEST(KernelsFor, CopiesAreIndependentAndOtherStrengthsThrow)
{
    SharpenKernel k = Global::GetSharpenKernel(1);
    k.at(0, 0) = 100.0f;
    EXPECT_EQ(Global::GetSharpenKernel(1).at(0, 0), 2.0f);
    for (int bad : {0, 4, -1})
        EXPECT_THROW(Global::GetSharpenKernel(int16_t(bad)), std::invalid_argument);
}

} // namespace
