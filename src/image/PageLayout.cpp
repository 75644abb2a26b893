#include "image/PageLayout.h"

#include <algorithm>
#include <cstdlib>

namespace PageLayout {

std::int64_t roundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    std::int64_t quotient = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    // Truncation went towards zero; move to the nearer neighbour, and on a
    // tie to the even one.
    const std::int64_t twice = 2 * std::abs(remainder);
    const std::int64_t away = numerator < 0 ? -1 : 1;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        quotient += away;
    return quotient;
}

PageRect printableBox(int pageWidth, int pageHeight)
{
    const int pw = std::max(pageWidth, 0);
    const int ph = std::max(pageHeight, 0);
    const int mx = static_cast<int>(roundHalfEven(pw, 20));
    const int my = static_cast<int>(roundHalfEven(ph, 20));
    return {mx, my, pw - 2 * mx, ph - 2 * my};
}

bool turnsImage(const PageRect& box, int imageWidth, int imageHeight)
{
    return box.width < box.height && imageHeight < imageWidth;
}

PageRect fitImage(const PageRect& box, int imageWidth, int imageHeight)
{
    if (imageWidth <= 0 || imageHeight <= 0 || box.width <= 0 || box.height <= 0)
        return {box.left, box.top, 0, 0};
    // 64-bit products: page sizes times image sizes overflow 32 bits on
    // large printers.
    const std::int64_t w = imageWidth;
    const std::int64_t h = imageHeight;
    std::int64_t width = box.width;
    std::int64_t height = box.height;
    if (width * h <= height * w)
        height = roundHalfEven(width * h, w);
    else
        width = roundHalfEven(height * w, h);
    return {box.left, box.top, static_cast<int>(width), static_cast<int>(height)};
}

} // namespace PageLayout
