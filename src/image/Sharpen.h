#pragma once

#include "image/Global.h"

#include <cstddef>
#include <cstdint>

// The convolution behind CBitmap::Filter, on raw 8-bit blocks.
//
// Every weight of the sharpening matrices is a multiple of 0.25 and every
// partial sum stays far below 2^24, so the 32-bit float sums of the plain
// pixel-by-pixel loop are exact; 16-bit integer sums of 4 x weight x pixel
// give the very same bytes, many pixels per instruction.
namespace Sharpen {

// How many threads convolve an image of this many pixels: 2 bands of rows
// for big images on a machine with two cores or more, else 1.
int defaultThreads(std::size_t pixelCount);

// Whether the integer path may use the CPU's vector instructions (it does
// by default where they exist); tests turn them off to check the plain loop.
void setVectorised(bool on);

// dst := src convolved with k (one of Global's sharpening matrices; any other
// matrix copies src), for a w x h image of `stride` bytes a row, src and dst
// separate blocks of the same layout. The n outermost rows and
// columns are copied unchanged; the padding bytes of dst are set to 0.
// Output row y, column x reads src[y - i][x - j] under weight k.at(i, j).
void convolve(const uint8_t* src, uint8_t* dst, std::size_t stride, int w, int h,
              const SharpenKernel& k, int threads);

} // namespace Sharpen
