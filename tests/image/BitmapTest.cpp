#include "ReferenceFilter.h"

namespace {

uint32_t grey(int level)
{
    return 0xFF000000u | uint32_t(level) * 0x010101u;
}

// The table from ColorOffset and ColorScale: offset, scale, index, level.
TEST(ColorTable, BrightnessAndContrastRows)
{
    const int rows[][4] = {
        {0, 256, 200, 200}, {0, 512, 1, 2},   {0, 512, 127, 254},  {0, 512, 128, 255},
        {0, 0, 255, 0},     {256, 0, 0, 255}, {-256, 256, 255, 0}, {10, 256, 250, 255},
        {10, 256, 0, 10},   {-10, 256, 5, 0}, {0, 384, 1, 2},      {0, 384, 2, 3},
        {0, 384, 3, 4},     {0, 384, 5, 8},   {0, 128, 3, 2},      {0, 128, 5, 2}};
    CBitmap bm = loadBitmap(randomImage(4, 4, 1));
    for (const auto& r : rows) {
        bm.ColorOffset = int16_t(r[0]);
        bm.ColorScale = int16_t(r[1]);
        bm.CreateColors();
        EXPECT_EQ(bm.levels()[std::size_t(r[2])], r[3]) << r[0] << " " << r[1] << " " << r[2];
        EXPECT_EQ(bm.colorTable()[std::size_t(r[2])], grey(r[3]));
    }
}

// Invert, brightness, contrast and Reset change the table, never the pixels;
// a rebuilt table shows the image uninverted, a sharpened image stays inverted.
TEST(ColorTable, InversionLivesInTheTableOnly)
{
    const PlainImage in = randomImage(7, 5, 21);
    CBitmap bm = loadBitmap(in);
    bm.ColorScale = 512;
    bm.CreateColors();
    const auto table = bm.colorTable();
    bm.Invert();
    EXPECT_EQ(bm.colorTable()[1], grey(253));
    EXPECT_EQ(bm.colorTable()[200], grey(0));
    bm.Invert();
    EXPECT_EQ(bm.colorTable(), table);
    bm.Invert();
    bm.ColorScale = 256;
    bm.ColorOffset = 20;
    bm.CreateColors();
    EXPECT_EQ(pixelsOf(bm).px, in.px);
    bm.Invert();
    bm.Filter(Global::GetSharpenKernel(3));
    const PlainImage sharpened = pixelsOf(bm);
    std::vector<uint8_t> shown(8 * 5, 0xEE);
    bm.renderShown(shown.data(), 8);
    for (int k = 0; k < 40; ++k)
        EXPECT_EQ(shown[std::size_t(k)],
                  k % 8 == 7 ? 0xEE : 255 - std::min(sharpened.at(k % 8, k / 8) + 20, 255));
    bm.Reset();
    EXPECT_EQ(bm.ColorOffset, 0);
    EXPECT_EQ(bm.ColorScale, 256);
    EXPECT_EQ(bm.colorTable()[77], grey(77));
    EXPECT_EQ(pixelsOf(bm).px, sharpened.px);
    bm.UndoFilter();
    EXPECT_EQ(pixelsOf(bm).px, in.px);
}

// A refused load keeps the previous image; a new one starts from the identity
// table at unit contrast, whatever the previous one was shown with.
TEST(Load, SizesStridesAndTheBlueChannel)
{
    const PlainImage old = randomImage(5, 3, 1);
    CBitmap bm = loadBitmap(old);
    bm.ColorScale = 100;
    bm.Invert();
    const std::vector<uint8_t> row(64, 9); // never read for a refused size
    for (auto [w, h] : {std::pair{0, 4}, {4, 0}, {-1, 4}, {32768, 1}, {1, 32768}, {70000, 70000}})
        EXPECT_FALSE(bm.init(row.data(), w, h, 0)) << w << " x " << h;
    EXPECT_FALSE(bm.init(nullptr, 3, 3, 3));
    EXPECT_FALSE(bm.initFromRgb32(nullptr, 3, 3, 12));
    EXPECT_EQ(pixelsOf(bm).px, old.px);

    const std::vector<uint8_t> src = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    const auto revision = bm.revision();
    ASSERT_TRUE(bm.init(src.data(), 3, 2, 5));
    EXPECT_GT(bm.revision(), revision);
    EXPECT_EQ(pixelsOf(bm).px, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(bm.bytesPerLine(), 4u);
    EXPECT_EQ(bm.ColorScale, 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(bm.colorTable()[std::size_t(i)], grey(i));

    // Rows 12 bytes apart, one unused pixel each.
    const std::vector<uint32_t> rgb = {0xFF102030, 0xFFFFFF00, 0xDEADBEEF,
                                       0x00ABCDEF, 0xFF0000FF, 0xDEADBEEF};
    ASSERT_TRUE(bm.initFromRgb32(rgb.data(), 2, 2, 12));
    EXPECT_EQ(pixelsOf(bm).px, (std::vector<uint8_t>{0x30, 0x00, 0xEF, 0xFF}));

    const std::vector<uint8_t> widest(32767, 200);
    ASSERT_TRUE(bm.init(widest.data(), 32767, 1, 0));
    EXPECT_EQ(bm.bytesPerLine(), 32768u);
    EXPECT_EQ(pixelsOf(bm).px, widest);
}

} // namespace
