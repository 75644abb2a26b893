#include "image/CBitmap.h"

#include "image/Sharpen.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

uint32_t greyRgb(uint8_t v)
{
    return 0xFF000000u | uint32_t(v) * 0x010101u;
}

} // namespace

CBitmap::~CBitmap() = default;
CBitmap::CBitmap(CBitmap&&) noexcept = default;
CBitmap& CBitmap::operator=(CBitmap&&) noexcept = default;

bool CBitmap::allocate(int width, int height)
{
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide)
        return false;
    const std::size_t stride = (std::size_t(width) + 3) & ~std::size_t(3);
    // Allocate before touching any member, so a failure keeps the old image.
    std::unique_ptr<uint8_t[]> fresh(new uint8_t[stride * std::size_t(height)]);
    pixels_ = std::move(fresh);
    undo_.reset();
    canUndo_ = false;
    w_ = int16_t(width);
    h_ = int16_t(height);
    stride_ = stride;
    return true;
}

void CBitmap::identityTable()
{
    ColorScale = 256;
    for (int i = 0; i < 256; ++i) {
        levels_[std::size_t(i)] = uint8_t(i);
        table_[std::size_t(i)] = greyRgb(uint8_t(i));
    }
    touch();
}

bool CBitmap::init(const uint8_t* grey, int width, int height, std::size_t sourceBytesPerLine)
{
    if (!grey || !allocate(width, height))
        return false;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels_.get() + std::size_t(y) * stride_;
        std::memcpy(row, grey + std::size_t(y) * sourceBytesPerLine, std::size_t(width));
        std::memset(row + width, 0, stride_ - std::size_t(width));
    }
    identityTable();
    return true;
}

bool CBitmap::initFromRgb32(const uint32_t* firstRow, int width, int height,
                            std::size_t sourceBytesPerLine)
{
    if (!firstRow || !allocate(width, height))
        return false;
    const auto* base = reinterpret_cast<const unsigned char*>(firstRow);
    for (int y = 0; y < height; ++y) {
        const auto* src =
            reinterpret_cast<const uint32_t*>(base + std::size_t(y) * sourceBytesPerLine);
        uint8_t* row = pixels_.get() + std::size_t(y) * stride_;
        for (int x = 0; x < width; ++x)
            row[x] = uint8_t(src[x] & 0xFFu);
        std::memset(row + width, 0, stride_ - std::size_t(width));
    }
    identityTable();
    return true;
}

void CBitmap::renderShown(uint8_t* dest, std::size_t destBytesPerLine) const
{
    for (int y = 0; y < h_; ++y) {
        const uint8_t* src = scanLine(y);
        uint8_t* out = dest + std::size_t(y) * destBytesPerLine;
        for (int x = 0; x < w_; ++x)
            out[x] = levels_[src[x]];
    }
}

std::size_t CBitmap::allocatedBytes() const
{
    const std::size_t block = stride_ * std::size_t(h_);
    return (pixels_ ? block : 0) + (undo_ ? block : 0);
}

void CBitmap::Invert()
{
    if (isNull())
        return;
    for (std::size_t i = 0; i < 256; ++i) {
        levels_[i] = uint8_t(255 - levels_[i]);
        table_[i] = greyRgb(levels_[i]);
    }
    touch();
}

void CBitmap::CreateColors()
{
    for (int i = 0; i < 256; ++i) {
        const int32_t p = int32_t(ColorScale) * i;
        double v = double(p) / 256.0 + double(ColorOffset);
        v = std::nearbyint(v); // the default rounding mode: nearest, ties to even
        if (v > 255.0)
            v = 255.0;
        if (v < 0.0)
            v = 0.0;
        levels_[std::size_t(i)] = uint8_t(v);
        table_[std::size_t(i)] = greyRgb(uint8_t(v));
    }
    touch();
}

void CBitmap::Reset()
{
    ColorOffset = 0;
    ColorScale = 256;
    CreateColors();
}

void CBitmap::UndoFilter()
{
    if (!canUndo_)
        return;
    std::memcpy(pixels_.get(), undo_.get(), stride_ * std::size_t(h_));
    touch();
}

void CBitmap::Filter(const SharpenKernel& weight)
{
    if (isNull() || weight.n < 1 || weight.n > 2)
        return;
    // The result goes into the spare block, which then becomes the pixels,
    // and the pixels become the undo copy: no copy of the whole image.
    if (!undo_)
        undo_.reset(new uint8_t[stride_ * std::size_t(h_)]);
    const std::size_t count = std::size_t(w_) * std::size_t(h_);
    try {
        Sharpen::convolve(pixels_.get(), undo_.get(), stride_, w_, h_, weight,
                          Sharpen::defaultThreads(count));
    } catch (...) {
        // The spare block held the undo state and is half overwritten: the
        // pixels are intact, but there is nothing left to undo to.
        canUndo_ = false;
        throw;
    }
    std::swap(pixels_, undo_);
    canUndo_ = true;
    touch();
}
