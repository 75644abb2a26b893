#pragma once

#include <cstdint>

// Where a hardcopy goes on the printer's page, in device pixels of the full
// page (origin at the paper's top-left corner).
namespace PageLayout {

struct PageRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PageRect&) const = default;
};

// numerator / denominator rounded to the nearest integer, ties to even, as
// the page arithmetic has always rounded. denominator must not be 0.
std::int64_t roundHalfEven(std::int64_t numerator, std::int64_t denominator);

// The box inside a margin of one twentieth of the page on every side.
// Negative page sizes count as 0.
PageRect printableBox(int pageWidth, int pageHeight);

// True when the image is turned a quarter anticlockwise before printing: a
// wide image (w > h) on an upright box (box width < box height).
bool turnsImage(const PageRect& box, int imageWidth, int imageHeight);

// The rectangle an image of the given (already turned) size is stretched
// into: as large as fits in the box with the image's aspect ratio, at the
// box's top-left corner. Empty when the image or the box is empty.
PageRect fitImage(const PageRect& box, int imageWidth, int imageHeight);

} // namespace PageLayout
