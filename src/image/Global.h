#pragma once

#include <array>
#include <cstdint>

// A square weight matrix indexed from -n to n in both directions.
struct SharpenKernel {
    int n = 0;                 // 1 (3 x 3) or 2 (5 x 5)
    std::array<float, 25> w{}; // (2n+1)^2 weights, row i = -n first, then by column j

    int side() const { return 2 * n + 1; }
    float at(int i, int j) const { return w[static_cast<std::size_t>((i + n) * side() + (j + n))]; }
    float& at(int i, int j) { return w[static_cast<std::size_t>((i + n) * side() + (j + n))]; }
};

namespace Global {

// The weight matrix of sharpening strength 1 ("sharpen"), 2 ("sharpen more")
// or 3 ("sharpen strong"); each sums to 1, so flat areas keep their level.
// Any other strength throws std::invalid_argument.
SharpenKernel GetSharpenKernel(int16_t strength);

} // namespace Global
