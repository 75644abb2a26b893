#pragma once

#include "image/CBitmap.h"
#include "image/Global.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

// A grey image as plain rows, top row first, no padding.
struct PlainImage {
    int w = 0;
    int h = 0;
    std::vector<uint8_t> px;

    uint8_t& at(int x, int y) { return px[std::size_t(y) * std::size_t(w) + std::size_t(x)]; }
    uint8_t at(int x, int y) const { return px[std::size_t(y) * std::size_t(w) + std::size_t(x)]; }
};

// The sharpening as the textbook loop states it: one pixel at a time, a
// 32-bit float sum rounded after every addition, the clamps at -0.5 and
// 255.5, ties to even. The fast filter must give these bytes.
inline PlainImage referenceFilter(const PlainImage& in, const SharpenKernel& weight)
{
    const int n = weight.n;
    const std::vector<float> undo(in.px.begin(), in.px.end());
    PlainImage out = in;
    for (int y = n; y < in.h - n; ++y)
        for (int x = n; x < in.w - n; ++x) {
            float s = 0.0f;
            for (int i = -n; i <= n; ++i)
                for (int j = -n; j <= n; ++j)
                    s = s + undo[std::size_t(y - i) * std::size_t(in.w) + std::size_t(x - j)] *
                                weight.at(i, j);
            out.at(x, y) = s < -0.5f ? 0 : s >= 255.5f ? 255 : uint8_t(std::nearbyint(s));
        }
    return out;
}

inline PlainImage uniformImage(int w, int h, uint8_t level)
{
    return PlainImage{w, h, std::vector<uint8_t>(std::size_t(w) * std::size_t(h), level)};
}

// Random levels 0..255, or only 0 and 255 with `extremes` (clamps nearly everywhere).
inline PlainImage randomImage(int w, int h, unsigned seed, bool extremes = false)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> level(0, 255);
    PlainImage img = uniformImage(w, h, 0);
    for (auto& p : img.px)
        p = uint8_t(extremes ? (level(gen) & 1) * 255 : level(gen));
    return img;
}

inline CBitmap loadBitmap(const PlainImage& img)
{
    CBitmap bm;
    EXPECT_TRUE(bm.init(img.px.data(), img.w, img.h, std::size_t(img.w)));
    return bm;
}

// The pixels of `bm`; a padding byte other than 0 fails the test.
inline PlainImage pixelsOf(const CBitmap& bm)
{
    PlainImage img = uniformImage(bm.W(), bm.H(), 0);
    for (int y = 0; y < bm.H(); ++y) {
        std::memcpy(&img.at(0, y), bm.scanLine(y), std::size_t(bm.W()));
        for (std::size_t x = std::size_t(bm.W()); x < bm.bytesPerLine(); ++x)
            EXPECT_EQ(bm.scanLine(y)[x], 0) << "padding of row " << y;
    }
    return img;
}
