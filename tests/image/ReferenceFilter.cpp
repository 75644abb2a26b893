#include "ReferenceFilter.h"

#include <cmath>
#include <random>

PlainImage referenceFilter(const PlainImage& in, const SharpenKernel& weight)
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
            uint8_t v;
            if (s < -0.5f)
                v = 0;
            else if (s >= 255.5f)
                v = 255;
            else
                v = uint8_t(std::nearbyint(s));
            out.at(x, y) = v;
        }
    return out;
}

PlainImage randomImage(int w, int h, unsigned seed, bool extremes)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> level(0, 255);
    PlainImage img{w, h, std::vector<uint8_t>(std::size_t(w) * std::size_t(h))};
    for (auto& p : img.px)
        p = uint8_t(extremes ? (level(gen) & 1) * 255 : level(gen));
    return img;
}

PlainImage uniformImage(int w, int h, uint8_t level)
{
    return PlainImage{w, h, std::vector<uint8_t>(std::size_t(w) * std::size_t(h), level)};
}
