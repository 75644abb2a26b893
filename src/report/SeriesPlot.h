#pragma once

#include "series/Series.h"

#include <QRectF>

class QPainter;

// The plots of a series for paper: subsidence (sinking drawn downwards) or
// tilt against months since the reference, one point per film with its ci95
// as an error bar, non-comparable films hollow, the reference at 0, the
// subsidence threshold as a dashed line.
namespace SeriesPlot {

enum class Quantity { Subsidence, Tilt };

// The value and its ci95 of a row (the reference row has none).
double valueOf(const Series::FilmRow& row, Quantity q);
double ci95Of(const Series::FilmRow& row, Quantity q);
// "subsidence (mm), sinking downwards" / "tilt (degrees), into varus upwards".
const char* axisTitle(Quantity q);

// Paints into `box`; `mm` is the device pixels of a millimetre.
void paint(QPainter& painter, const QRectF& box, const Series::SeriesResult& series, Quantity q,
           double threshold, double mm);

} // namespace SeriesPlot
