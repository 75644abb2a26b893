#pragma once

#include "image/Global.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The integer form of a weight matrix, shared by the convolution's plain and
// vector paths. Each weight times 4 is a small integer, so 4 x the sum is an
// exact 16-bit integer; taps of equal weight are summed before one multiply.
struct SharpenPlan {
    // Which matrix this is, so the vector path can take a hand-unrolled loop.
    enum class Shape { Strength1, Strength2, Strength3 };

    int n = 0;
    Shape shape = Shape::Strength1;
    int tapCount = 0;
    int groupCount = 0;
    int tapRow[25] = {}; // source row y - i, as i
    int tapCol[25] = {}; // source column x - j, as j
    int groupEnd[25] = {};
    int16_t q[25] = {}; // 4 x the weight of each group

    // False for a matrix other than the three sharpening strengths, the only
    // ones the program has.
    static bool make(const SharpenKernel& k, SharpenPlan& plan);
};

namespace SharpenRound {

// round-half-to-even(s / 4), clamped to 0..255. Below -0.5 (s < -2) the
// rounded value is negative and clamps to 0; from 255.5 (s >= 1022) it is at
// least 256 and clamps to 255, exactly the clamps of the float loop.
inline uint8_t finish(int s)
{
    const int r = (s + 1 + ((s >> 2) & 1)) >> 2;
    return uint8_t(std::clamp(r, 0, 255));
}

// Output columns [x0, x1) of the row at `src` (stride bytes between rows).
inline void rowScalar(const uint8_t* src, std::size_t stride, uint8_t* dst, int x0, int x1,
                      const SharpenPlan& p)
{
    std::ptrdiff_t off[25];
    for (int t = 0; t < p.tapCount; ++t)
        off[t] = -std::ptrdiff_t(p.tapRow[t]) * std::ptrdiff_t(stride) - p.tapCol[t];
    for (int x = x0; x < x1; ++x) {
        int total = 0;
        int t = 0;
        for (int g = 0; g < p.groupCount; ++g) {
            int s = 0;
            for (; t < p.groupEnd[g]; ++t)
                s += src[x + off[t]];
            total += s * p.q[g];
        }
        dst[x] = finish(total);
    }
}

} // namespace SharpenRound
