#pragma once

#include "image/Global.h"

#include <cstdint>
#include <vector>

// A grey image as plain rows, top row first, no padding.
struct PlainImage {
    int w = 0;
    int h = 0;
    std::vector<uint8_t> px;

    uint8_t& at(int x, int y) { return px[std::size_t(y) * std::size_t(w) + std::size_t(x)]; }
    uint8_t at(int x, int y) const { return px[std::size_t(y) * std::size_t(w) + std::size_t(x)]; }
    const uint8_t* row(int y) const { return px.data() + std::size_t(y) * std::size_t(w); }
};

// The sharpening as the textbook loop states it: one pixel at a time, a
// 32-bit float sum rounded after every addition, the clamps at -0.5 and
// 255.5, ties to even. The fast filter must give these bytes.
PlainImage referenceFilter(const PlainImage& in, const SharpenKernel& weight);

// Random levels 0..255 (or only 0 and 255 when `extremes`, which hits the
// clamps on almost every pixel).
PlainImage randomImage(int w, int h, unsigned seed, bool extremes = false);

PlainImage uniformImage(int w, int h, uint8_t level);
