#include "model/CZor.h"

#include "model/Math.h"
#include "platform/Surface.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

struct Preset {
    const char* name;
    double width; // mm the full image width represents
};

constexpr Preset kPresets[] = {
    {"mm430", 430.0},  {"DirektR1", 403.7}, {"Korvel", 532.8},  {"mm175", 175.0},
    {"Lorvel", 280.0}, {"pacs", 500.0},     {"PACSLT1", 440.8}, {"PACSPR8", 495.3},
};

} // namespace

// --- Frame and calibration ---

bool CZor::initScale(int16_t WPix, int16_t HPix, double W)
{
    // A zero, negative, non-finite or absurd width (a damaged file, a slip
    // of the hand) would poison every conversion; keep the scale we have.
    if (WPix <= 0 || !(W >= kMinWorldWidth && W <= kMaxWorldWidth))
        return false;
    WPixel = WPix;
    HPixel = HPix;
    ScaleFactor = WPix / W;
    return true;
}

bool CZor::calibrated() const
{
    return CalibSource.rfind(kNotCalibrated, 0) != 0;
}

std::string CZor::scaleText() const
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f mm/px, ", 1.0 / ScaleFactor);
    if (calibrated())
        return text + CalibSource;
    // "not calibrated: pixels not square" keeps its reason.
    char width[48];
    const double w = WorldWidth();
    std::snprintf(width, sizeof width,
                  w == 430.0 ? " (%.0f mm film default)" : " (%.4g mm film width)", w);
    return text + ("NOT CALIBRATED" + CalibSource.substr(std::string(kNotCalibrated).size())) +
           width;
}

bool CZor::Pixel(std::span<double> values) const
{
    if (values.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < values.size(); i += 2) {
        values[i] = values[i] * ScaleFactor;
        values[i + 1] = HPixel - values[i + 1] * ScaleFactor;
    }
    return true;
}

void CZor::TransformP(CPoint& p) const
{
    TransformP(p, StemFrame{SinA, CosA, Center});
}

void CZor::TransformP(CPoint& p, const StemFrame& f) const
{
    double dx = WorldX(p.x) - f.Center.x;
    double dy = WorldY(p.y) - f.Center.y;
    p.x = dy * f.SinA + dx * f.CosA;
    p.y = dy * f.CosA - dx * f.SinA;
}

void CZor::TransformL(CLine& l) const
{
    TransformP(l.P0);
    TransformP(l.P1);
}

void CZor::Calibrate(int16_t WPix, int16_t HPix)
{
    if (!CalibPoints || !std::isfinite(CalibDist) || !(CalibDist > 0.0))
        return;
    double dx = CalibPoints->P1.x - CalibPoints->P0.x;
    double dy = CalibPoints->P1.y - CalibPoints->P0.y;
    double d = std::sqrt(dx * dx + dy * dy);
    if (!std::isfinite(d) || !(d > 0.0))
        return;
    double W = WPix * CalibDist / d;
    if (initScale(WPix, HPix, W))
        CalibSource = "two points";
}

double CZor::presetWidth(const std::string& name)
{
    for (const Preset& p : kPresets) {
        if (name == p.name)
            return p.width;
    }
    return 0.0;
}

bool CZor::applyPreset(const std::string& name, int16_t WPix, int16_t HPix)
{
    double w = presetWidth(name);
    if (w == 0.0 || !initScale(WPix, HPix, w))
        return false;
    CalibSource = name;
    return true;
}

// --- Landmark set ---

CPoint& CZor::points(int16_t ix)
{
    if (ix < 0 || ix >= static_cast<int16_t>(points_.size()))
        throw std::out_of_range("CZor::points: femur point index out of range");
    return points_[static_cast<std::size_t>(ix)];
}

const CPoint& CZor::points(int16_t ix) const
{
    return const_cast<CZor*>(this)->points(ix);
}

void CZor::draw(Surface& s, uint32_t color1, uint32_t color2) const
{
    if (!Visible)
        return;
    for (const CLine* l : {&AxisLine, &AxisLine1, &AxisLine2}) {
        if (l->Valid)
            l->draw(s);
    }
    if (LinesVisible) {
        if (ShoulderValid)
            Shoulder.draw(s);
        if (CMarkerValid)
            CMarker.draw(s);
        for (const CLine* l : {&GTLine, &LTLine1, &LTLine2, &TipLine})
            l->draw2(s, color1, color2);
        for (const CLine* l : {&TipLine1, &TipLine2, &TipLine3}) {
            if (l->Valid)
                l->draw(s);
        }
        if (PointsValid) {
            for (const CPoint& pt : points_)
                pt.draw(s);
        }
    }
    head.draw(s, 255);
}

ToolMode CZor::findMode(double x, double y) const
{
    if (ToolMode r = head.findMode(x, y); r != ToolMode::Idle)
        return r;
    if (LinesVisible) {
        if (PointsValid) {
            for (std::size_t i = 0; i < points_.size(); ++i) {
                const CPoint& pt = points_[i];
                if (Math::IsNear(x, y, pt.x, pt.y))
                    return ToolModes::offset(ToolMode::FirstFemurPoint, static_cast<int>(i));
            }
        }
        if (ShoulderValid && Math::IsNear(x, y, Shoulder.x, Shoulder.y))
            return ToolMode::Shoulder;
        if (CMarkerValid && Math::IsNear(x, y, CMarker.x, CMarker.y))
            return ToolMode::CMarker;
        if (Math::IsNearLine(x, y, GTLine))
            return ToolMode::GTLine;
        if (Math::IsNearLine(x, y, LTLine1))
            return ToolMode::LTLine1;
        if (Math::IsNearLine(x, y, LTLine2))
            return ToolMode::LTLine2;
        if (Math::IsNearLine(x, y, TipLine))
            return ToolMode::TipLine;
    }
    if (AxisLine1.Valid) {
        if (Math::IsNear(x, y, AxisLine1.P0.x, AxisLine1.P0.y))
            return ToolMode::Axis1P0;
        if (Math::IsNear(x, y, AxisLine1.P1.x, AxisLine1.P1.y))
            return ToolMode::Axis1P1;
        if (Math::IsNear(x, y, AxisLine2.P0.x, AxisLine2.P0.y))
            return ToolMode::Axis2P0;
        if (Math::IsNear(x, y, AxisLine2.P1.x, AxisLine2.P1.y))
            return ToolMode::Axis2P1;
    }
    return ToolMode::Idle;
}

void CZor::resetLandmarks()
{
    LinesVisible = false;
    ShoulderValid = false;
    CMarkerValid = false;
    PointsValid = false;
    for (CLine* l : {&AxisLine, &AxisLine1, &AxisLine2, &TipLine1, &TipLine2, &TipLine3})
        l->Valid = false;
}
