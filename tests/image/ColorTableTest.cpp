#include "BitmapTestUtil.h"

#include <gtest/gtest.h>

namespace {

CBitmap rampBitmap()
{
    PlainImage ramp{16, 16, std::vector<uint8_t>(256)};
    for (int i = 0; i < 256; ++i)
        ramp.px[std::size_t(i)] = uint8_t(i);
    return loadBitmap(ramp);
}

struct TableCase {
    const char* name;
    int offset;
    int scale;
    int index;
    int expected;
};

void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << c.name;
}

class CreateColorsTable : public testing::TestWithParam<TableCase> {};

TEST_P(CreateColorsTable, EntryGivesLevel)
{
    const TableCase c = GetParam();
    CBitmap bm = rampBitmap();
    bm.ColorOffset = int16_t(c.offset);
    bm.ColorScale = int16_t(c.scale);
    bm.CreateColors();
    EXPECT_EQ(bm.levels()[std::size_t(c.index)], c.expected);
    EXPECT_EQ(bm.colorTable()[std::size_t(c.index)],
              0xFF000000u | uint32_t(c.expected) * 0x010101u);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CreateColorsTable,
    testing::Values(
        TableCase{"identity0", 0, 256, 0, 0}, TableCase{"identity200", 0, 256, 200, 200},
        TableCase{"double0", 0, 512, 0, 0}, TableCase{"double1", 0, 512, 1, 2},
        TableCase{"double127", 0, 512, 127, 254}, TableCase{"double128Clips", 0, 512, 128, 255},
        TableCase{"double255Clips", 0, 512, 255, 255}, TableCase{"scale0Black", 0, 0, 255, 0},
        TableCase{"scale0Bar512White", 256, 0, 0, 255}, TableCase{"bar0Black", -256, 256, 255, 0},
        TableCase{"oneAndHalf1HalfToEven", 0, 384, 1, 2},
        TableCase{"oneAndHalf3HalfToEven", 0, 384, 3, 4},
        TableCase{"oneAndHalf5HalfToEven", 0, 384, 5, 8}, TableCase{"oneAndHalf2", 0, 384, 2, 3},
        TableCase{"brighterClips", 10, 256, 250, 255}, TableCase{"brighterDark", 10, 256, 0, 10},
        TableCase{"darker", -10, 256, 5, 0}, TableCase{"halfContrastTie", 0, 128, 3, 2},
        TableCase{"halfContrastTieOdd", 0, 128, 5, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CreateColors, DefaultsGiveTheIdentityTable)
{
    CBitmap bm = rampBitmap();
    bm.CreateColors();
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(bm.levels()[std::size_t(i)], i);
}

TEST(CreateColors, NeverTouchesThePixels)
{
    const PlainImage in = randomImage(13, 7, 8);
    CBitmap bm = loadBitmap(in);
    bm.ColorScale = 400;
    bm.ColorOffset = -30;
    bm.CreateColors();
    bm.Invert();
    bm.Reset();
    EXPECT_EQ(pixelsOf(bm).px, in.px);
}

TEST(Invert, MirrorsTheTableOnly)
{
    const PlainImage in = randomImage(9, 9, 4);
    CBitmap bm = loadBitmap(in);
    bm.ColorScale = 512;
    bm.CreateColors();
    bm.Invert();
    EXPECT_EQ(bm.levels()[0], 255);
    EXPECT_EQ(bm.levels()[1], 253);
    EXPECT_EQ(bm.levels()[200], 0);
    EXPECT_EQ(bm.colorTable()[1], 0xFFFDFDFDu);
    EXPECT_EQ(pixelsOf(bm).px, in.px);
}

TEST(Invert, TwiceRestoresTheTable)
{
    CBitmap bm = rampBitmap();
    bm.ColorOffset = 17;
    bm.CreateColors();
    const auto before = bm.colorTable();
    bm.Invert();
    EXPECT_NE(bm.colorTable(), before);
    bm.Invert();
    EXPECT_EQ(bm.colorTable(), before);
}

TEST(Invert, BrightnessAfterInvertShowsUninverted)
{
    CBitmap bm = rampBitmap();
    bm.Invert();
    bm.ColorOffset = 20;
    bm.CreateColors();
    EXPECT_EQ(bm.levels()[0], 20);
    EXPECT_EQ(bm.levels()[100], 120);
    EXPECT_EQ(bm.levels()[240], 255);
}

TEST(Invert, SharpeningKeepsTheImageInverted)
{
    CBitmap bm = loadBitmap(randomImage(9, 9, 6));
    bm.Invert();
    bm.Filter(Global::GetSharpenKernel(2));
    EXPECT_EQ(bm.levels()[0], 255);
    EXPECT_EQ(bm.shown(4, 4), 255 - bm.pixel(4, 4));
}

TEST(Reset, KeepsTheSharpening)
{
    const PlainImage in = randomImage(10, 10, 12);
    CBitmap bm = loadBitmap(in);
    bm.Filter(Global::GetSharpenKernel(3));
    const PlainImage sharpened = pixelsOf(bm);
    bm.ColorOffset = 50;
    bm.ColorScale = 10;
    bm.Invert();
    bm.Reset();
    EXPECT_EQ(bm.ColorOffset, 0);
    EXPECT_EQ(bm.ColorScale, 256);
    EXPECT_EQ(pixelsOf(bm).px, sharpened.px);
    EXPECT_EQ(bm.levels()[77], 77);
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, in.px);
}

TEST(RenderShown, MapsEveryPixelThroughTheTable)
{
    const PlainImage in = randomImage(7, 5, 21);
    CBitmap bm = loadBitmap(in);
    bm.Invert();
    std::vector<uint8_t> out(8 * 5, 0xEE);
    bm.renderShown(out.data(), 8);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(out[std::size_t(y * 8 + x)], 255 - in.at(x, y));
        EXPECT_EQ(out[std::size_t(y * 8 + 7)], 0xEE) << "writes past W";
    }
}

} // namespace
