#include "image/Global.h"

#include <stdexcept>

namespace Global {

namespace {

SharpenKernel kernel3x3(float centre, float edge)
{
    SharpenKernel k;
    k.n = 1;
    k.at(0, 0) = centre;
    k.at(-1, 0) = k.at(1, 0) = k.at(0, -1) = k.at(0, 1) = edge;
    return k;
}

SharpenKernel kernel5x5()
{
    SharpenKernel k;
    k.n = 2;
    for (int i : {-2, 0, 2})
        for (int j : {-2, 0, 2})
            k.at(i, j) = -1.0f;
    k.at(-1, 0) = k.at(1, 0) = k.at(0, -1) = k.at(0, 1) = 1.0f;
    k.at(0, 0) = 5.0f;
    return k;
}

} // namespace

SharpenKernel GetSharpenKernel(int16_t strength)
{
    // Built once; callers get copies, so nobody can change the originals.
    static const SharpenKernel kernels[3] = {kernel3x3(2.0f, -0.25f), kernel3x3(5.0f, -1.0f),
                                             kernel5x5()};
    if (strength < 1 || strength > 3)
        throw std::invalid_argument("sharpening strength must be 1, 2 or 3");
    return kernels[strength - 1];
}

} // namespace Global
