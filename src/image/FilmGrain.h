#pragma once

#include <cstddef>
#include <cstdint>

// The grain of a film, for the pictures the program draws itself (the demo
// case, the phantom study's films): a fixed linear congruential sequence, two
// draws per pixel for a rounder distribution, at most 18 grey levels either
// way. The same seed gives the same grain.
namespace FilmGrain {

// Adds grain to 8-bit grey pixels, rows `stride` bytes apart, row by row.
void add(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride, std::uint32_t seed);

} // namespace FilmGrain
