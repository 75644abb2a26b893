#include "imageio/ScaleSource.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ScaleSource {

namespace {

bool usable(double v)
{
    return std::isfinite(v) && v > 0.0;
}

bool usable(const std::optional<Spacing>& s)
{
    return s && usable(s->row) && usable(s->column);
}

bool square(const Spacing& s)
{
    return std::abs(s.row - s.column) <= 0.005 * std::max(s.row, s.column);
}

std::string notSquareNote(const Spacing& s)
{
    char text[160];
    std::snprintf(text, sizeof text,
                  "the pixels are not square (%.4g mm between rows, %.4g mm between columns): "
                  "the film's scale is not used; calibrate with two points",
                  s.row, s.column);
    return text;
}

} // namespace

Decision decide(const HeaderScale& header)
{
    Spacing spacing;
    const char* source = NotCalibrated;
    if (usable(header.pixelSpacing) && header.calibrationType) {
        spacing = *header.pixelSpacing;
        source = AtPatient;
    } else if (usable(header.imagerPixelSpacing) && header.magnification &&
               usable(*header.magnification)) {
        spacing = {header.imagerPixelSpacing->row / *header.magnification,
                   header.imagerPixelSpacing->column / *header.magnification};
        source = Magnification;
    } else if (usable(header.pixelSpacing)) {
        spacing = *header.pixelSpacing;
        source = PixelSpacing;
    } else if (usable(header.imagerPixelSpacing)) {
        spacing = *header.imagerPixelSpacing;
        source = AtDetector;
    } else {
        return {0.0, NotCalibrated, {}};
    }
    if (!square(spacing))
        return {0.0, NotSquare, notSquareNote(spacing)};
    return {spacing.column, source, {}};
}

} // namespace ScaleSource
