#include "image/GreyImage.h"

GreyImage::GreyImage(int width, int height)
    : width_(width > 0 && height > 0 ? width : 0), height_(width > 0 && height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0)
{
}

GreyImage GreyImage::fromBgr24(const std::uint8_t* pixels, int width, int height,
                               std::ptrdiff_t stride, bool turn)
{
    if (pixels == nullptr || width <= 0 || height <= 0)
        return {};
    GreyImage grey = turn ? GreyImage(height, width) : GreyImage(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = pixels + y * stride;
        for (int x = 0; x < width; ++x, source += 3) {
            const std::uint8_t level = greyOf(source[0], source[1], source[2]);
            // Anticlockwise: source row y becomes column y, source column x
            // becomes row width-1-x (the left edge ends at the bottom).
            if (turn)
                grey.setPixel(y, width - 1 - x, level);
            else
                grey.setPixel(x, y, level);
        }
    }
    return grey;
}
