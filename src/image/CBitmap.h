#pragma once

#include "image/Global.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// The pixels of the open radiograph as an 8-bit grey image, shown through a
// 256-entry grey lookup table.
//
// Sharpening and its undo change only the pixels; inversion, brightness and
// contrast change only the table. Nothing here knows how the picture is shown:
// the view maps every pixel through the table when it paints.
//
// Layout: H rows of bytesPerLine() bytes, row 0 is the TOP row of the image,
// bytesPerLine() is W rounded up to a multiple of 4, padding bytes are 0 and
// never change. That is exactly the layout of a QImage in Format_Indexed8, so
// the shell shows the buffer without copying it:
//
//     QImage shown(bm.bits(), bm.W(), bm.H(), qsizetype(bm.bytesPerLine()),
//                  QImage::Format_Indexed8);
//     shown.setColorTable(QList<QRgb>(bm.colorTable().begin(), bm.colorTable().end()));
//
// (the const-uchar* constructor: the QImage only reads the bytes and must not
// outlive them). Filter() and UndoFilter() may move the pixels to another
// block, so build that QImage afresh after each operation, or before each
// paint: it costs no pixel copy. revision() tells when anything changed.
class CBitmap {
public:
    // Largest width and height: the sizes are 16-bit signed.
    static constexpr int MaxSide = 32767;

    // Brightness: added to every grey level when the table is built (-256..256).
    int16_t ColorOffset = 0;
    // Contrast in 1/256 units, 256 = 1.0 (0..512). Set to 256 by init.
    int16_t ColorScale = 256;

    CBitmap() = default;
    ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    CBitmap(CBitmap&&) noexcept;
    CBitmap& operator=(CBitmap&&) noexcept;

    // Loads the image from 8-bit grey rows: `width` bytes of row y start at
    // grey + y * sourceBytesPerLine, top row first. The table becomes the
    // identity ramp, ColorScale 256, no undo. Returns false and keeps the
    // previous image when a size is outside 1..MaxSide or grey is null; throws
    // std::bad_alloc when memory runs out.
    bool init(const uint8_t* grey, int width, int height, std::size_t sourceBytesPerLine);
    // The same from 32-bit pixels stored as uint32 0xAARRGGBB (QImage's
    // Format_RGB32 / Format_ARGB32): keeps the blue channel, so a colour
    // image is reduced to its blue channel and a grey radiograph loses nothing.
    bool initFromRgb32(const uint32_t* firstRow, int width, int height,
                       std::size_t sourceBytesPerLine);

    // True until an image is loaded; Invert, Filter and UndoFilter do nothing then.
    bool isNull() const { return !pixels_; }
    int16_t W() const { return w_; }
    int16_t H() const { return h_; }
    std::size_t bytesPerLine() const { return stride_; }
    // H * bytesPerLine() bytes, top row first; null before init.
    const uint8_t* bits() const { return pixels_.get(); }
    const uint8_t* scanLine(int y) const { return pixels_.get() + std::size_t(y) * stride_; }
    // The stored value (table index) of a pixel; x, y must be inside the image.
    uint8_t pixel(int x, int y) const { return scanLine(y)[x]; }

    // Entry i as a QRgb: 0xFF000000 | g(i) * 0x010101 (opaque grey).
    const std::array<uint32_t, 256>& colorTable() const { return table_; }
    // Entry i as its grey level g(i) 0..255.
    const std::array<uint8_t, 256>& levels() const { return levels_; }
    // The grey level shown for a pixel: g(pixel(x, y)).
    uint8_t shown(int x, int y) const { return levels_[pixel(x, y)]; }
    // Writes the shown grey level of every pixel: W bytes per row, row y at
    // dest + y * destBytesPerLine (for export and hard copies).
    void renderShown(uint8_t* dest, std::size_t destBytesPerLine) const;

    // A Filter has run since the image was loaded.
    bool canUndo() const { return canUndo_; }
    // Grows by one with every change of the pixels or the table.
    std::uint64_t revision() const { return revision_; }
    // Bytes held for pixels and undo copy (measured by the benchmark).
    std::size_t allocatedBytes() const;

    // 255 - g(i) for every table entry; pixels unchanged. Inverting twice
    // restores the table; CreateColors and Reset show the image uninverted.
    void Invert();
    // Rebuilds the table from ColorOffset and ColorScale:
    // g(i) = clamp(round-half-even(ColorScale * i / 256 + ColorOffset), 0, 255).
    void CreateColors();
    // ColorOffset := 0, ColorScale := 256, then CreateColors().
    void Reset();
    // Restores the pixels from before the latest Filter; does nothing before
    // the first Filter. Can be repeated: it restores the same state again.
    void UndoFilter();
    // Convolves the pixels with the weight matrix; the n outermost rows and
    // columns keep their values, sums below -0.5 give 0, from 255.5 up 255,
    // else the nearest integer, ties to even. The previous pixels become the
    // undo state. Only an exhausted memory (std::bad_alloc) can make it fail:
    // the pixels are then unchanged and the undo state is gone.
    void Filter(const SharpenKernel& weight);

private:
    bool allocate(int width, int height);
    void identityTable();
    void touch() { ++revision_; }

    int16_t w_ = 0;
    int16_t h_ = 0;
    std::size_t stride_ = 0;
    std::unique_ptr<uint8_t[]> pixels_;
    // Pixels from before the latest Filter, same layout. Bytes rather than
    // floats: the values are whole numbers 0..255 either way. Allocated by the
    // first Filter, so an image that is never sharpened costs one byte a pixel.
    std::unique_ptr<uint8_t[]> undo_;
    bool canUndo_ = false;
    std::array<uint32_t, 256> table_{};
    std::array<uint8_t, 256> levels_{};
    std::uint64_t revision_ = 0;
};
