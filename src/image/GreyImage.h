#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit grey picture for the printer: rows top-down, `width` bytes each,
// byte value = grey level (0 black, 255 white).
class GreyImage {
public:
    GreyImage() = default;
    GreyImage(int width, int height);

    // Converts 24-bit pixels (rows top-down, `stride` bytes apart, each pixel
    // blue, green, red) to grey. With `turn` the picture is turned a quarter
    // anticlockwise on the way (its top edge becomes the left edge), so the
    // result is height x width. Negative sizes give an empty image.
    static GreyImage fromBgr24(const std::uint8_t* pixels, int width, int height,
                               std::ptrdiff_t stride, bool turn);

    // (blue + green + red) / 3, rounded down.
    static std::uint8_t greyOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red)
    {
        return static_cast<std::uint8_t>((blue + green + red) / 3);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::uint8_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, std::uint8_t grey) { pixels_[index(x, y)] = grey; }
    const std::uint8_t* row(int y) const { return pixels_.data() + index(0, y); }

private:
    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};
