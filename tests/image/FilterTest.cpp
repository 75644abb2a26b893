#include "BitmapTestUtil.h"
#include "image/Sharpen.h"

#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace {

SharpenKernel kernel(int strength)
{
    return Global::GetSharpenKernel(int16_t(strength));
}

// ---- exactness against the pixel-by-pixel loop ----

using ExactParam = std::tuple<int /*strength*/, std::pair<int, int> /*w, h*/, bool /*vector*/>;

class FilterMatchesReference : public testing::TestWithParam<ExactParam> {
protected:
    void TearDown() override { Sharpen::setVectorised(true); }
};

TEST_P(FilterMatchesReference, ByteForByte)
{
    const auto [strength, size, vectorised] = GetParam();
    Sharpen::setVectorised(vectorised);
    for (bool extremes : {false, true}) {
        const PlainImage in =
            randomImage(size.first, size.second,
                        unsigned(strength * 7919 + size.first * 31 + size.second), extremes);
        CBitmap bm = loadBitmap(in);
        bm.Filter(kernel(strength));
        EXPECT_EQ(pixelsOf(bm).px, referenceFilter(in, kernel(strength)).px)
            << "extremes " << extremes;
        EXPECT_TRUE(paddingIsZero(bm));
    }
}

INSTANTIATE_TEST_SUITE_P(
    OddSizes, FilterMatchesReference,
    testing::Combine(testing::Values(1, 2, 3),
                     testing::Values(std::pair{1, 1}, std::pair{2, 7}, std::pair{3, 3},
                                     std::pair{4, 4}, std::pair{5, 5}, std::pair{6, 5},
                                     std::pair{7, 9}, std::pair{31, 17}, std::pair{33, 40},
                                     std::pair{35, 3}, std::pair{36, 36}, std::pair{37, 6},
                                     std::pair{97, 61}, std::pair{130, 11}),
                     testing::Bool()));

// Both bands of the two-thread split, and the seam between them.
TEST(FilterThreads, TwoBandsGiveTheSameBytes)
{
    const int w = 203, h = 331;
    const std::size_t stride = 204;
    const PlainImage in = randomImage(w, h, 4242);
    std::vector<uint8_t> src(stride * h, 0);
    for (int y = 0; y < h; ++y)
        std::memcpy(&src[std::size_t(y) * stride], in.row(y), std::size_t(w));
    for (int strength : {1, 2, 3}) {
        std::vector<uint8_t> one(src.size(), 0xAA), two(src.size(), 0x55);
        Sharpen::convolve(src.data(), one.data(), stride, w, h, kernel(strength), 1);
        Sharpen::convolve(src.data(), two.data(), stride, w, h, kernel(strength), 2);
        EXPECT_EQ(one, two) << "strength " << strength;
        const PlainImage ref = referenceFilter(in, kernel(strength));
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(0, std::memcmp(&two[std::size_t(y) * stride], ref.row(y), std::size_t(w)))
                << "row " << y;
    }
}

TEST(FilterThreads, BigImageTakesTwoThreadsAndMatches)
{
    const PlainImage in = randomImage(1031, 1027, 77);
    EXPECT_EQ(Sharpen::defaultThreads(std::size_t(in.w) * in.h),
              std::thread::hardware_concurrency() >= 2 ? 2 : 1);
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(3));
    EXPECT_EQ(pixelsOf(bm).px, referenceFilter(in, kernel(3)).px);
}

// A matrix off the integer path is summed in floats like the reference.
TEST(FilterOtherKernels, BlurOffTheIntegerPathMatchesReference)
{
    SharpenKernel blur;
    blur.n = 1;
    for (auto& v : blur.w)
        v = 0.0f;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
            blur.at(i, j) = 1.0f / 9.0f;
    EXPECT_FALSE(Sharpen::isExactInInt16(blur));
    for (int s : {1, 2, 3})
        EXPECT_TRUE(Sharpen::isExactInInt16(kernel(s)));
    const PlainImage in = randomImage(23, 19, 5);
    CBitmap bm = loadBitmap(in);
    bm.Filter(blur);
    EXPECT_EQ(pixelsOf(bm).px, referenceFilter(in, blur).px);
}

// Other matrices on the integer path take the general vector loop.
TEST(FilterOtherKernels, IntegerKernelsMatchReferenceBothWays)
{
    SharpenKernel wide;
    wide.n = 2;
    wide.at(0, 0) = 3.0f;
    wide.at(1, 1) = wide.at(-1, -1) = -0.5f;
    wide.at(0, 2) = 0.25f;
    wide.at(-2, 1) = -0.75f;
    SharpenKernel small;
    small.n = 1;
    small.at(0, 0) = 1.5f;
    small.at(-1, 1) = -0.25f;
    small.at(1, 0) = -0.25f;
    for (const SharpenKernel& k : {wide, small}) {
        ASSERT_TRUE(Sharpen::isExactInInt16(k));
        const PlainImage in = randomImage(75, 21, unsigned(k.n));
        for (bool vectorised : {true, false}) {
            Sharpen::setVectorised(vectorised);
            CBitmap bm = loadBitmap(in);
            bm.Filter(k);
            EXPECT_EQ(pixelsOf(bm).px, referenceFilter(in, k).px) << "n " << k.n;
        }
    }
    Sharpen::setVectorised(true);
}

// ---- worked examples: one pixel, its four neighbours, under strength 1 or 2 ----

struct Cross {
    const char* name;
    int strength;
    int centre;
    int up, down, left, right;
    int expected;
};

void PrintTo(const Cross& c, std::ostream* os)
{
    *os << c.name;
}

class FilterSums : public testing::TestWithParam<Cross> {};

TEST_P(FilterSums, CentreOfA3x3Cross)
{
    const Cross c = GetParam();
    PlainImage in = uniformImage(3, 3, 0);
    in.at(1, 1) = uint8_t(c.centre);
    in.at(1, 0) = uint8_t(c.up);
    in.at(1, 2) = uint8_t(c.down);
    in.at(0, 1) = uint8_t(c.left);
    in.at(2, 1) = uint8_t(c.right);
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(c.strength));
    EXPECT_EQ(bm.pixel(1, 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ClampsAndTies, FilterSums,
                         testing::Values(Cross{"minusHalfGivesZero", 1, 0, 1, 1, 0, 0, 0},
                                         Cross{"minusThreeQuartersClamps", 1, 0, 1, 1, 1, 0, 0},
                                         Cross{"halfRoundsDownToEven", 1, 2, 4, 4, 4, 2, 0},
                                         Cross{"oneAndHalfRoundsUp", 1, 1, 1, 1, 0, 0, 2},
                                         Cross{"twoAndHalfRoundsDown", 1, 2, 2, 2, 2, 0, 2},
                                         Cross{"fiveAndHalfRoundsUp", 1, 3, 1, 1, 0, 0, 6},
                                         Cross{"quarterRoundsDown", 1, 1, 3, 2, 1, 1, 0},
                                         Cross{"exactly255HalfClamps", 1, 128, 1, 1, 0, 0, 255},
                                         Cross{"just255Quarter", 1, 128, 1, 1, 1, 0, 255},
                                         Cross{"254HalfToEven", 1, 128, 2, 2, 1, 1, 254},
                                         Cross{"253HalfToEven", 1, 128, 2, 2, 2, 4, 254},
                                         Cross{"loneBrightPixel", 2, 255, 0, 0, 0, 0, 255},
                                         Cross{"brightOnGrey", 2, 255, 100, 100, 100, 100, 255},
                                         Cross{"darkOnBright", 2, 0, 255, 255, 255, 255, 0},
                                         Cross{"strength2Plain", 2, 60, 50, 55, 58, 62, 75}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FilterExamples, LoneBrightPixelDarkensItsNeighbours)
{
    PlainImage in = uniformImage(5, 5, 100);
    in.at(2, 2) = 255;
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(2));
    EXPECT_EQ(bm.pixel(2, 2), 255);
    // 5 x 100 - 255 - 3 x 100 = -55 clamps to 0.
    for (auto [x, y] : {std::pair{1, 2}, {3, 2}, {2, 1}, {2, 3}})
        EXPECT_EQ(bm.pixel(x, y), 0) << x << "," << y;
    EXPECT_EQ(bm.pixel(1, 1), 100);
}

// ---- what a filter leaves alone ----

class FilterPerStrength : public testing::TestWithParam<int> {};

TEST_P(FilterPerStrength, BorderOfNKeepsItsValues)
{
    const int strength = GetParam();
    const int n = kernel(strength).n;
    const PlainImage in = randomImage(11, 10, unsigned(strength));
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(strength));
    const PlainImage out = pixelsOf(bm);
    int changedInside = 0;
    for (int y = 0; y < in.h; ++y)
        for (int x = 0; x < in.w; ++x) {
            const bool border = x < n || y < n || x >= in.w - n || y >= in.h - n;
            if (border)
                EXPECT_EQ(out.at(x, y), in.at(x, y)) << x << "," << y;
            else
                changedInside += out.at(x, y) != in.at(x, y);
        }
    EXPECT_GT(changedInside, 0);
}

TEST_P(FilterPerStrength, UniformImageStaysUnchanged)
{
    for (int level : {0, 1, 127, 254, 255}) {
        const PlainImage in = uniformImage(9, 7, uint8_t(level));
        CBitmap bm = loadBitmap(in);
        bm.Filter(kernel(GetParam()));
        EXPECT_EQ(pixelsOf(bm).px, in.px) << "level " << level;
    }
}

TEST_P(FilterPerStrength, WidthOffFourKeepsPaddingZero)
{
    for (int w : {5, 6, 7, 9}) {
        CBitmap bm = loadBitmap(randomImage(w, 6, unsigned(w)));
        ASSERT_EQ(bm.bytesPerLine(), std::size_t((w + 3) / 4 * 4));
        bm.Filter(kernel(GetParam()));
        EXPECT_TRUE(paddingIsZero(bm));
        bm.Filter(kernel(GetParam()));
        bm.UndoFilter();
        EXPECT_TRUE(paddingIsZero(bm));
    }
}

INSTANTIATE_TEST_SUITE_P(Strengths, FilterPerStrength, testing::Values(1, 2, 3));

// ---- one level of undo ----

TEST(FilterUndo, AfterTwoSharpeningsShowsTheFirst)
{
    const PlainImage in = randomImage(17, 13, 99);
    const PlainImage once = referenceFilter(in, kernel(1));
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(1));
    bm.Filter(kernel(3));
    EXPECT_EQ(pixelsOf(bm).px, referenceFilter(once, kernel(3)).px);
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, once.px);
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, once.px);
    EXPECT_TRUE(bm.canUndo());
}

TEST(FilterUndo, FilterAfterUndoUndoesToTheUndoneState)
{
    const PlainImage in = randomImage(12, 12, 3);
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(2));
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, in.px);
    bm.Filter(kernel(3));
    EXPECT_EQ(pixelsOf(bm).px, referenceFilter(in, kernel(3)).px);
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, in.px);
}

TEST(FilterUndo, BeforeAnyFilterDoesNothing)
{
    const PlainImage in = randomImage(8, 8, 1);
    CBitmap bm = loadBitmap(in);
    const auto revision = bm.revision();
    EXPECT_FALSE(bm.canUndo());
    bm.UndoFilter();
    EXPECT_EQ(bm.revision(), revision);
    EXPECT_EQ(pixelsOf(bm).px, in.px);
}

TEST(FilterUndo, NewImageForgetsTheUndoState)
{
    CBitmap bm = loadBitmap(randomImage(8, 8, 1));
    bm.Filter(kernel(1));
    const PlainImage other = randomImage(6, 5, 2);
    bm.init(other.px.data(), other.w, other.h, std::size_t(other.w));
    EXPECT_FALSE(bm.canUndo());
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, other.px);
}

TEST(FilterUndo, NullBitmapIgnoresEverything)
{
    CBitmap bm;
    bm.Filter(kernel(1));
    bm.UndoFilter();
    bm.Invert();
    EXPECT_TRUE(bm.isNull());
    EXPECT_FALSE(bm.canUndo());
    EXPECT_EQ(bm.allocatedBytes(), 0u);
}

} // namespace
