#pragma once

#include "image/SharpenPlan.h"

#include <cstddef>
#include <cstdint>

// The integer convolution with 256-bit vectors, for CPUs that have them.
namespace SharpenAvx2 {

bool available();

// Output rows [y0, y1) and columns [n, w - n) of dst from src; other bytes of
// dst are left alone. Rows y0 - n to y1 + n - 1 of src must exist. Call only
// when available().
void band(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int y0, int y1,
          const SharpenPlan& plan);

} // namespace SharpenAvx2
