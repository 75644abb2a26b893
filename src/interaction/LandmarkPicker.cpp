#include "interaction/LandmarkPicker.h"

#include "interaction/HoverFeedback.h"
#include "interaction/ToolState.h"
#include "model/CZor.h"
#include "platform/Surface.h"
#include "platform/ToolHost.h"

#include <cmath>

namespace {

constexpr uint32_t kCyan = 0xFFFF00;

} // namespace

void LandmarkPicker::hover(double x, double y)
{
    if (auto feedback = HoverFeedback::forCode(zor_.findMode(x, y))) {
        host_.setStatusText(feedback->status);
        host_.setPointerShape(feedback->shape);
    }
}

void LandmarkPicker::ShowMovePrompt(const std::string& name)
{
    host_.setStatusText("move " + name + " to desired position and release the mouse");
}

void LandmarkPicker::BeginLineMove(CLine& line, double x, double y)
{
    zor_.Visible = false;
    host_.repaint();
    surface_.setForeColor(kCyan);
    surface_.setDrawMode(DrawMode::XorPen);
    state_.savedLine.copy(line);
    state_.savedLine.Valid = line.Valid;
    line.Valid = true;
    state_.curLine = &line;
    double d0 = std::hypot(x - line.P0.x, y - line.P0.y);
    double d1 = std::hypot(x - line.P1.x, y - line.P1.y);
    state_.linePos = (d0 + d1 == 0.0) ? 1.0 : d1 / (d0 + d1);
    line.draw(surface_);
}

void LandmarkPicker::PickLandmark(double x, double y)
{
    ToolMode code = zor_.findMode(x, y);
    state_.mode = code;
    if (int i = ToolModes::indexIn(code, ToolMode::FirstFemurPoint, ToolMode::LastFemurPoint);
        i >= 0) {
        state_.curPoint = &zor_.points(static_cast<int16_t>(i));
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("Point " + std::to_string(i + 1));
        return;
    }
    if (int k = ToolModes::indexIn(code, ToolMode::FirstHeadPoint, ToolMode::LastHeadPoint);
        k >= 0) {
        auto index = static_cast<std::size_t>(k);
        if (index >= zor_.head.points.size()) {
            state_.mode = ToolMode::Idle;
            return;
        }
        state_.curPoint = &zor_.head.points[index];
        zor_.Visible = false;
        host_.repaint();
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("HeadPoint");
        state_.mode = ToolMode::HeadMove;
        return;
    }
    switch (code) {
    case ToolMode::Axis1P0:
    case ToolMode::Axis1P1:
        ShowMovePrompt("AxisLine1");
        BeginLineMove(zor_.AxisLine1, x, y);
        break;
    case ToolMode::Axis2P0:
    case ToolMode::Axis2P1:
        ShowMovePrompt("AxisLine2");
        BeginLineMove(zor_.AxisLine2, x, y);
        break;
    case ToolMode::Shoulder:
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("Shoulder Point");
        break;
    case ToolMode::GTLine:
        ShowMovePrompt("Major Trochanter Line");
        BeginLineMove(zor_.GTLine, x, y);
        break;
    case ToolMode::LTLine1:
        ShowMovePrompt("Minor Trochanter Line1");
        BeginLineMove(zor_.LTLine1, x, y);
        break;
    case ToolMode::LTLine2:
        ShowMovePrompt("Minor Trochanter Line2");
        BeginLineMove(zor_.LTLine2, x, y);
        break;
    case ToolMode::TipLine:
        ShowMovePrompt("Tip of Stem Line");
        BeginLineMove(zor_.TipLine, x, y);
        break;
    case ToolMode::CMarker:
        zor_.Visible = false;
        host_.repaint();
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("Cement Marker");
        break;
    default:
        break;
    }
}
