#include "image/PageLayout.h"

#include "image/GreyImage.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using PageLayout::PageRect;

namespace {

struct Division {
    std::int64_t numerator;
    std::int64_t denominator;
    std::int64_t expected;
};

class RoundHalfEvenTest : public ::testing::TestWithParam<Division> {};

TEST_P(RoundHalfEvenTest, RoundsToNearestAndTiesToEven)
{
    const Division d = GetParam();
    EXPECT_EQ(PageLayout::roundHalfEven(d.numerator, d.denominator), d.expected)
        << d.numerator << " / " << d.denominator;
}

INSTANTIATE_TEST_SUITE_P(Rows, RoundHalfEvenTest,
                         ::testing::Values(Division{5, 2, 2}, Division{7, 2, 4},
                                           Division{10, 20, 0}, Division{30, 20, 2},
                                           Division{1, 3, 0}, Division{2, 3, 1}, Division{0, 7, 0},
                                           Division{-5, 2, -2}, Division{-7, 2, -4},
                                           Division{9, -2, -4}, Division{-8, 3, -3},
                                           Division{7016, 20, 351}));

struct Page {
    int width;
    int height;
    PageRect box;
};

class PrintableBoxTest : public ::testing::TestWithParam<Page> {};

TEST_P(PrintableBoxTest, KeepsOneTwentiethFreeOnEverySide)
{
    const Page p = GetParam();
    EXPECT_EQ(PageLayout::printableBox(p.width, p.height), p.box) << p.width << " x " << p.height;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PrintableBoxTest,
    ::testing::Values(Page{4960, 7016, {248, 351, 4464, 6314}}, // A4 at 600 dpi
                      Page{7016, 4960, {351, 248, 6314, 4464}}, // the same, lying
                      Page{50, 70, {2, 4, 46, 62}},             // margins 2.5 and 3.5
                      Page{10, 30, {0, 2, 10, 26}},             // margins 0.5 and 1.5
                      Page{0, 0, {0, 0, 0, 0}}, Page{-10, 100, {0, 5, 0, 90}}));

struct Turn {
    PageRect box;
    int width;
    int height;
    bool turns;
};

class TurnsImageTest : public ::testing::TestWithParam<Turn> {};

TEST_P(TurnsImageTest, TurnsOnlyAWideImageForAnUprightBox)
{
    const Turn t = GetParam();
    EXPECT_EQ(PageLayout::turnsImage(t.box, t.width, t.height), t.turns)
        << t.width << " x " << t.height << " in " << t.box.width << " x " << t.box.height;
}

INSTANTIATE_TEST_SUITE_P(Rows, TurnsImageTest,
                         ::testing::Values(Turn{{0, 0, 100, 200}, 640, 480, true},
                                           Turn{{0, 0, 100, 200}, 480, 640, false},
                                           Turn{{0, 0, 100, 200}, 500, 500, false},
                                           Turn{{0, 0, 200, 100}, 640, 480, false},
                                           Turn{{0, 0, 200, 100}, 480, 640, false},
                                           Turn{{0, 0, 150, 150}, 640, 480, false},
                                           Turn{{0, 0, 100, 101}, 2, 1, true}));

struct Fit {
    PageRect box;
    int width;
    int height;
    PageRect target;
};

class FitImageTest : public ::testing::TestWithParam<Fit> {};

TEST_P(FitImageTest, FillsOneSideOfTheBoxFromItsTopLeftCorner)
{
    const Fit f = GetParam();
    EXPECT_EQ(PageLayout::fitImage(f.box, f.width, f.height), f.target)
        << f.width << " x " << f.height;
}

INSTANTIATE_TEST_SUITE_P(Rows, FitImageTest,
                         ::testing::Values(
                             // the box's own aspect ratio fills the box exactly
                             Fit{{10, 20, 100, 200}, 50, 100, {10, 20, 100, 200}},
                             // wider than the box: full width, height follows
                             Fit{{10, 20, 100, 200}, 200, 100, {10, 20, 100, 50}},
                             // higher than the box: full height, width follows
                             Fit{{10, 20, 100, 200}, 100, 400, {10, 20, 50, 200}},
                             // derived sides of x.5 round to even
                             Fit{{0, 0, 5, 10}, 2, 1, {0, 0, 5, 2}},
                             Fit{{0, 0, 7, 10}, 2, 1, {0, 0, 7, 4}},
                             Fit{{0, 0, 10, 5}, 1, 2, {0, 0, 2, 5}},
                             // products beyond 32 bits
                             Fit{{0, 0, 60000, 80000}, 40000, 30000, {0, 0, 60000, 45000}},
                             // nothing to draw
                             Fit{{3, 4, 100, 200}, 0, 10, {3, 4, 0, 0}},
                             Fit{{3, 4, 0, 200}, 10, 10, {3, 4, 0, 0}}));

struct Bgr {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t grey;
};

class GreyOfTest : public ::testing::TestWithParam<Bgr> {};

TEST_P(GreyOfTest, AveragesTheChannelsRoundingDown)
{
    const Bgr c = GetParam();
    EXPECT_EQ(GreyImage::greyOf(c.blue, c.green, c.red), c.grey);
}

INSTANTIATE_TEST_SUITE_P(Rows, GreyOfTest,
                         ::testing::Values(Bgr{10, 20, 31, 20}, Bgr{255, 255, 255, 255},
                                           Bgr{254, 255, 255, 254}, Bgr{0, 0, 2, 0},
                                           Bgr{0, 0, 0, 0}, Bgr{255, 0, 0, 85},
                                           Bgr{0, 255, 1, 85}));

// A 3 x 2 picture whose six pixels have distinct greys 10..60, rows padded
// to 12 bytes with junk so a wrong stride shows.
std::vector<std::uint8_t> sixPixels()
{
    std::vector<std::uint8_t> bytes(24, 0xEE);
    const std::uint8_t levels[2][3] = {{10, 20, 30}, {40, 50, 60}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = &bytes[static_cast<std::size_t>(y * 12 + x * 3)];
            // channels summing to 3 * level, unequal so the sum matters
            p[0] = static_cast<std::uint8_t>(levels[y][x] - 1);
            p[1] = levels[y][x];
            p[2] = static_cast<std::uint8_t>(levels[y][x] + 2);
        }
    return bytes;
}

TEST(GreyImageTest, KeepsThePictureUnturned)
{
    const std::vector<std::uint8_t> bytes = sixPixels();
    const GreyImage grey = GreyImage::fromBgr24(bytes.data(), 3, 2, 12, false);
    ASSERT_EQ(grey.width(), 3);
    ASSERT_EQ(grey.height(), 2);
    const std::vector<std::vector<int>> expected = {{10, 20, 30}, {40, 50, 60}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(grey.pixel(x, y), expected[y][x]) << x << "," << y;
}

TEST(GreyImageTest, TurnsAQuarterAnticlockwise)
{
    // The top edge runs down the left side; the left edge ends at the bottom.
    const std::vector<std::uint8_t> bytes = sixPixels();
    const GreyImage grey = GreyImage::fromBgr24(bytes.data(), 3, 2, 12, true);
    ASSERT_EQ(grey.width(), 2);
    ASSERT_EQ(grey.height(), 3);
    const std::vector<std::vector<int>> expected = {{30, 60}, {20, 50}, {10, 40}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(grey.pixel(x, y), expected[y][x]) << x << "," << y;
}

TEST(GreyImageTest, EmptyInputGivesAnEmptyImage)
{
    const std::vector<std::uint8_t> bytes = sixPixels();
    for (const auto& [width, height] : {std::tuple{0, 2}, std::tuple{3, 0}, std::tuple{-1, 2}}) {
        const GreyImage grey = GreyImage::fromBgr24(bytes.data(), width, height, 12, true);
        EXPECT_TRUE(grey.empty()) << width << " x " << height;
    }
    EXPECT_TRUE(GreyImage::fromBgr24(nullptr, 3, 2, 12, false).empty());
}

} // namespace
