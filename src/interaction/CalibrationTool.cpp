#include "interaction/CalibrationTool.h"

#include "interaction/DistanceText.h"
#include "interaction/ToolState.h"
#include "model/CZor.h"
#include "platform/Surface.h"
#include "platform/ToolHost.h"

#include <cmath>
#include <memory>

namespace {

constexpr uint32_t kGreen = 65280;

bool samePixel(const CPoint& a, const CPoint& b)
{
    return std::floor(a.x) == std::floor(b.x) && std::floor(a.y) == std::floor(b.y);
}

} // namespace

void CalibrationTool::m_Calibrate()
{
    if (!zor_.CalibPoints)
        zor_.CalibPoints.emplace();
    state_.curPoint = &zor_.CalibPoints->P0;
    state_.mode = ToolMode::CalibFirst;
    host_.setPointerShape(PointerShape::Crosshair);
    host_.setStatusText("select 1st point for calibration");
}

void CalibrationTool::m_Distance()
{
    state_.measureLine = std::make_unique<CLine>();
    state_.curLine = state_.measureLine.get();
    surface_.setForeColor(kGreen);
    surface_.setDrawMode(DrawMode::XorPen);
    host_.setPointerShape(PointerShape::Crosshair);
    state_.mode = ToolMode::DistanceStart;
}

void CalibrationTool::press(float x, float y)
{
    switch (state_.mode) {
    case ToolMode::CalibFirst:
        // Without its points (dropped meanwhile) the tool has nothing to place.
        if (!zor_.CalibPoints || state_.curPoint != &zor_.CalibPoints->P0)
            return;
        state_.curPoint->change(x, y);
        zor_.CalibPoints->P0.draw(surface_);
        state_.curPoint = &zor_.CalibPoints->P1;
        state_.mode = ToolMode::CalibSecond;
        host_.setStatusText("select 2nd point for calibration");
        break;
    case ToolMode::CalibSecond:
        if (!zor_.CalibPoints || state_.curPoint != &zor_.CalibPoints->P1)
            return;
        state_.curPoint->change(x, y);
        zor_.CalibPoints->P1.draw(surface_);
        state_.mode = ToolMode::Idle;
        host_.setStatusText("");
        finishCalibration();
        break;
    case ToolMode::DistanceStart:
        if (!state_.curLine)
            return;
        state_.curLine->init(x, y, x, y);
        state_.mode = ToolMode::DistanceDrag;
        break;
    default:
        break;
    }
}

void CalibrationTool::finishCalibration()
{
    // The points are about to be kept or dropped; nothing may refer to them.
    state_.curPoint = nullptr;
    if (samePixel(zor_.CalibPoints->P0, zor_.CalibPoints->P1)) {
        // No scale can be derived from one pixel; treated like "Cancel".
        zor_.CalibPoints.reset();
        host_.setStatusText("calibration points coincide - calibration cancelled");
        return;
    }
    double offered = zor_.CalibDist > 0 ? zor_.CalibDist : 0.0;
    float dist = host_.askCalibrationDistance(offered);
    if (!(dist > 0) || !std::isfinite(dist)) {
        zor_.CalibPoints.reset();
        return;
    }
    zor_.CalibDist = static_cast<double>(dist);
    zor_.Calibrate(static_cast<int16_t>(host_.imageWidth()),
                   static_cast<int16_t>(host_.imageHeight()));
}

void CalibrationTool::moveDistance(float x, float y)
{
    if (!state_.curLine)
        return;
    state_.curLine->changeP1(surface_, x, y);
    double d = state_.curLine->length() / zor_.ScaleFactor;
    host_.setStatusText("length = " + DistanceText::oneDecimal(d));
}

void CalibrationTool::dropMeasureLine()
{
    if (state_.curLine != state_.measureLine.get())
        state_.measureLine.reset();
}
