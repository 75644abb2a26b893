#pragma once

#include "model/CZor.h"

#include <array>

// Hand-made cases on an 860 x 1000 pixel image at 430 mm (2 pixels per mm).
// Their expected values were worked out apart from the code: by hand for
// the upright stem, by projecting onto the axis direction for the tilted one.
namespace Cases {

inline void setLine(CLine& l, double x0, double y0, double x1, double y1)
{
    l.init(x0, y0, x1, y1);
    l.Valid = true;
}

// The eight femur points as x, y pairs.
inline void points(CZor& z, const std::array<double, 16>& xy)
{
    for (int16_t i = 0; i < 8; ++i)
        z.points(i).change(xy[2 * static_cast<size_t>(i)], xy[2 * static_cast<size_t>(i) + 1]);
    z.PointsValid = true;
}

inline void common(CZor& z)
{
    z.initScale(860, 1000, 430.0);
    z.Patient.Famname = "M\xC3\xBCller";
    z.Patient.Vorname = "Jos\xC3\xA9";
    z.Patient.Code = "S-01";
    z.Patient.DatFile = "study1";
    z.Patient.HeadTR = 14.0;
    z.Datum = "20030212";
    z.head.Valid = true;
    z.ShoulderValid = true;
    z.LinesVisible = true;
}

// Upright stem at x = 400, head to the left (side "L"), femur points given
// out of order.
inline void upright(CZor& z)
{
    common(z);
    setLine(z.AxisLine, 400, 1000, 400, 0);
    setLine(z.TipLine, 350, 800, 450, 800);
    setLine(z.GTLine, 380, 250, 460, 250);
    setLine(z.LTLine1, 340, 380, 380, 420);
    setLine(z.LTLine2, 340, 420, 380, 380);
    // The rim points are what a case file keeps; the centre and radius are set
    // exactly, as a fit gives them only to about 1e-12.
    z.head.addPoint(330, 200);
    z.head.addPoint(300, 230);
    z.head.addPoint(270, 200);
    z.head.M.change(300, 200);
    z.head.R = 30;
    z.Shoulder.change(410, 300);
    z.CMarker.change(400, 900);
    z.CMarkerValid = true;
    points(z, {468, 600, 340, 500, 460, 780, 350, 700, 470, 500, 356, 780, 344, 600, 462, 700});
}

// A stem leaning to the right, head on the right (side "R").
inline void tilted(CZor& z)
{
    common(z);
    setLine(z.AxisLine, 420, 1000, 380, 0);
    setLine(z.TipLine, 340, 790, 470, 810);
    setLine(z.GTLine, 360, 260, 470, 240);
    setLine(z.LTLine1, 330, 370, 390, 430);
    setLine(z.LTLine2, 330, 430, 390, 372);
    z.head.M.change(520, 190);
    z.head.R = 31;
    z.Shoulder.change(395, 300);
    z.CMarker.change(418, 905);
    z.CMarkerValid = false;
    points(z, {330, 500, 475, 505, 338, 600, 470, 598, 345, 700, 466, 703, 352, 782, 461, 779});
}

} // namespace Cases
