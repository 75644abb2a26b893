#include "image/FilmGrain.h"

#include <algorithm>

namespace FilmGrain {

void add(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride, std::uint32_t seed)
{
    std::uint32_t state = seed;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 24) & 0xFF);
    };
    for (int y = 0; y < height; ++y) {
        std::uint8_t* line = pixels + y * stride;
        for (int x = 0; x < width; ++x) {
            const int grain = (next() + next() - 255) / 14;
            line[x] = static_cast<std::uint8_t>(std::clamp(line[x] + grain, 0, 255));
        }
    }
}

} // namespace FilmGrain
