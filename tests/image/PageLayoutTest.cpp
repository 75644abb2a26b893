#include "image/PageLayout.h"

#include "image/GreyImage.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using PageLayout::PageRect;

namespace {

TEST(PageLayout, RoundsHalfToEven)
{
    const std::int64_t rows[][3] = {{5, 2, 2},   {7, 2, 4},   {2, 3, 1},   {-5, 2, -2},
                                    {-7, 2, -4}, {9, -2, -4}, {-8, 3, -3}, {7016, 20, 351}};
    for (const auto& r : rows)
        EXPECT_EQ(PageLayout::roundHalfEven(r[0], r[1]), r[2]) << r[0] << " / " << r[1];
}

// A4 at 600 dpi, upright and lying; the margins are a twentieth, rounded to even.
TEST(PageLayout, MarginsTurnAndFit)
{
    EXPECT_EQ(PageLayout::printableBox(4960, 7016), (PageRect{248, 351, 4464, 6314}));
    EXPECT_EQ(PageLayout::printableBox(7016, 4960), (PageRect{351, 248, 6314, 4464}));
    EXPECT_EQ(PageLayout::printableBox(50, 70), (PageRect{2, 4, 46, 62}));
    EXPECT_EQ(PageLayout::printableBox(-10, 100), (PageRect{0, 5, 0, 90}));

    struct Row {
        PageRect box;
        int width, height;
        bool turns;
        PageRect target; // for the image as given, turned or not
    };
    const Row rows[] = {
        {{10, 20, 100, 200}, 200, 100, true, {10, 20, 100, 50}},  // wide image: full width
        {{10, 20, 100, 200}, 100, 400, false, {10, 20, 50, 200}}, // high image: full height
        {{10, 20, 100, 200}, 50, 100, false, {10, 20, 100, 200}}, // the box's own shape
        {{0, 0, 200, 100}, 640, 480, false, {0, 0, 133, 100}},    // lying box: never turned
        {{0, 0, 150, 150}, 640, 480, false, {0, 0, 150, 112}},    // square: unturned, 112.5
        {{0, 0, 100, 101}, 2, 1, true, {0, 0, 100, 50}},
        {{0, 0, 5, 10}, 2, 1, true, {0, 0, 5, 2}},                        // 2.5 rounds to even
        {{0, 0, 60000, 80000}, 40000, 30000, true, {0, 0, 60000, 45000}}, // beyond 32 bits
        {{3, 4, 100, 200}, 0, 10, false, {3, 4, 0, 0}},
        {{3, 4, 0, 200}, 10, 10, false, {3, 4, 0, 0}}};
    for (const Row& r : rows) {
        EXPECT_EQ(PageLayout::turnsImage(r.box, r.width, r.height), r.turns) << r.width;
        EXPECT_EQ(PageLayout::fitImage(r.box, r.width, r.height), r.target) << r.width;
    }
}

// A 3 x 2 picture of greys 10..60, channels unequal (sum 3 x level + 2, so
// the average rounds down) and rows padded with junk, so a wrong stride shows.
TEST(GreyImage, AveragesRoundingDownAndTurnsAQuarterAnticlockwise)
{
    std::vector<std::uint8_t> bytes(24, 0xEE);
    for (int k = 0; k < 6; ++k) {
        const int level = 10 * (1 + k);
        std::uint8_t* p = &bytes[std::size_t(k / 3 * 12 + k % 3 * 3)];
        p[0] = std::uint8_t(level - 1);
        p[1] = std::uint8_t(level);
        p[2] = std::uint8_t(level + 3);
    }
    const GreyImage plain = GreyImage::fromBgr24(bytes.data(), 3, 2, 12, false);
    const GreyImage turned = GreyImage::fromBgr24(bytes.data(), 3, 2, 12, true);
    ASSERT_EQ((std::array{plain.width(), plain.height(), turned.width(), turned.height()}),
              (std::array{3, 2, 2, 3}));
    // the top edge runs down the left side; the left edge ends at the bottom
    const int expected[3][2] = {{30, 60}, {20, 50}, {10, 40}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(turned.pixel(x, y), expected[y][x]) << x << "," << y;
            EXPECT_EQ(plain.pixel(2 - y, x), expected[y][x]) << x << "," << y;
        }
    EXPECT_EQ(GreyImage::greyOf(255, 255, 254), 254);
    EXPECT_TRUE(GreyImage::fromBgr24(bytes.data(), 0, 2, 12, true).empty());
    EXPECT_TRUE(GreyImage::fromBgr24(nullptr, 3, 2, 12, false).empty());
}

} // namespace
