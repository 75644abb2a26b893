#include "ReferenceFilter.h"
#include "image/Sharpen.h"

#include <stdexcept>
#include <tuple>

namespace {

SharpenKernel kernel(int strength)
{
    return Global::GetSharpenKernel(int16_t(strength));
}

TEST(Kernels, TheThreeMatricesAndNoOther)
{
    const float q = -0.25f;
    const std::vector<std::vector<float>> expected = {
        {0, q, 0, q, 2, q, 0, q, 0},
        {0, -1, 0, -1, 5, -1, 0, -1, 0},
        {-1, 0, -1, 0, -1, 0, 0, 1, 0, 0, -1, 1, 5, 1, -1, 0, 0, 1, 0, 0, -1, 0, -1, 0, -1}};
    for (int s = 1; s <= 3; ++s) {
        const SharpenKernel k = kernel(s);
        EXPECT_EQ(std::vector<float>(k.w.begin(), k.w.begin() + k.side() * k.side()),
                  expected[std::size_t(s - 1)]);
    }
    for (int bad : {0, 4, -1})
        EXPECT_THROW(kernel(bad), std::invalid_argument);
}

class FilterMatchesReference : public testing::TestWithParam<std::tuple<int, bool>> {
protected:
    void TearDown() override { Sharpen::setVectorised(true); }
};

// Odd sizes, widths off a multiple of 4 and images no larger than the matrix;
// random levels and the extremes 0 and 255. The reference keeps the border,
// pixelsOf checks the padding. Two threads filter two bands of rows, which
// must meet without a seam.
TEST_P(FilterMatchesReference, ByteForByteWithAnUntouchedBorder)
{
    const auto [strength, vectorised] = GetParam();
    Sharpen::setVectorised(vectorised);
    const SharpenKernel k = kernel(strength);
    const std::pair<int, int> sizes[] = {{1, 1},  {2, 7},   {3, 3},    {4, 4},    {5, 5},
                                         {6, 5},  {7, 9},   {31, 17},  {33, 40},  {35, 3},
                                         {37, 6}, {97, 61}, {130, 11}, {203, 131}};
    for (auto [w, h] : sizes)
        for (bool extremes : {false, true}) {
            const PlainImage in =
                randomImage(w, h, unsigned(strength * 7919 + w * 31 + h), extremes);
            const CBitmap src = loadBitmap(in);
            CBitmap bm = loadBitmap(in);
            bm.Filter(k);
            EXPECT_EQ(pixelsOf(bm).px, referenceFilter(in, k).px)
                << w << " x " << h << " " << extremes;
            std::vector<uint8_t> two(src.bytesPerLine() * std::size_t(h), 0xAA);
            Sharpen::convolve(src.bits(), two.data(), src.bytesPerLine(), w, h, k, 2);
            EXPECT_EQ(0, std::memcmp(two.data(), bm.bits(), two.size())) << "two threads";
        }
}

INSTANTIATE_TEST_SUITE_P(StrengthsAndPaths, FilterMatchesReference,
                         testing::Combine(testing::Values(1, 2, 3), testing::Bool()));

// The centre of a 3 x 3 image: centre, up, down, left, right, expected.
TEST(FilterExamples, ClampsAndTiesToEven)
{
    const int rows[][7] = {{1, 0, 1, 1, 0, 0, 0},        // -0.5: rounds to 0, not clamped
                           {1, 0, 1, 1, 1, 0, 0},        // -0.75 clamps
                           {1, 1, 3, 2, 1, 1, 0},        // 0.25
                           {1, 2, 4, 4, 4, 2, 0},        // 0.5 to even
                           {1, 1, 1, 1, 0, 0, 2},        // 1.5 to even
                           {1, 2, 2, 2, 2, 0, 2},        // 2.5 to even
                           {1, 128, 2, 2, 2, 4, 254},    // 253.5 to even
                           {1, 128, 2, 2, 1, 1, 254},    // 254.5 to even
                           {1, 128, 1, 1, 0, 0, 255},    // 255.5 clamps
                           {2, 60, 50, 55, 58, 62, 75}}; // 300 - 225
    const std::pair<int, int> cross[] = {{1, 1}, {1, 0}, {1, 2}, {0, 1}, {2, 1}};
    for (const auto& r : rows) {
        PlainImage in = uniformImage(3, 3, 0);
        for (int k = 0; k < 5; ++k)
            in.at(cross[k].first, cross[k].second) = uint8_t(r[k + 1]);
        CBitmap bm = loadBitmap(in);
        bm.Filter(kernel(r[0]));
        EXPECT_EQ(bm.pixel(1, 1), r[6]) << "centre " << r[1];
        EXPECT_EQ(referenceFilter(in, kernel(r[0])).at(1, 1), r[6]) << "centre " << r[1];
    }
}

// One level of undo, repeatable; a filter after an undo starts from the undone
// state; nothing to undo before the first filter or after a new image.
TEST(FilterUndo, RestoresThePixelsFromBeforeTheLatestFilter)
{
    const PlainImage in = randomImage(17, 13, 99);
    const PlainImage once = referenceFilter(in, kernel(1));
    CBitmap bm = loadBitmap(in);
    bm.Filter(kernel(1));
    bm.Filter(kernel(3));
    EXPECT_EQ(pixelsOf(bm).px, referenceFilter(once, kernel(3)).px);
    for (int repeat = 0; repeat < 2; ++repeat) {
        bm.UndoFilter();
        EXPECT_EQ(pixelsOf(bm).px, once.px);
    }
    bm.Filter(kernel(2));
    EXPECT_EQ(pixelsOf(bm).px, referenceFilter(once, kernel(2)).px);

    // A new image has nothing to undo, and no undo copy until it is sharpened.
    const PlainImage other = randomImage(6, 5, 2);
    ASSERT_TRUE(bm.init(other.px.data(), other.w, other.h, std::size_t(other.w)));
    const auto revision = bm.revision();
    bm.UndoFilter();
    EXPECT_EQ(bm.revision(), revision);
    EXPECT_EQ(pixelsOf(bm).px, other.px);
    EXPECT_EQ(bm.allocatedBytes(), 40u);
    bm.Filter(kernel(1));
    EXPECT_EQ(bm.allocatedBytes(), 80u);

    CBitmap none; // no image: the tools do nothing
    none.Filter(kernel(1));
    none.UndoFilter();
    none.Invert();
    EXPECT_EQ(none.allocatedBytes(), 0u);
}

} // namespace
