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
    line.Valid = true;
    state_.savedLine.copy(line);
    state_.curLine = &line;
    double d0 = std::hypot(x - line.P0.x, y - line.P0.y);
    double d1 = std::hypot(x - line.P1.x, y - line.P1.y);
    state_.linePos = (d0 + d1 == 0.0) ? 1.0 : d1 / (d0 + d1);
    line.draw(surface_);
}

void LandmarkPicker::PickLandmark(double x, double y)
{
    int16_t code = zor_.findMode(x, y);
    state_.mode = code;
    if (code >= 210 && code <= 217) {
        state_.curPoint = &zor_.points(static_cast<int16_t>(code - 210));
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("Point " + std::to_string(code - 209));
        return;
    }
    if (code >= 102 && code <= 199) {
        auto index = static_cast<std::size_t>(code - 102);
        if (index >= zor_.head.points.size()) {
            state_.mode = 0;
            return;
        }
        state_.curPoint = &zor_.head.points[index];
        zor_.Visible = false;
        host_.repaint();
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("HeadPoint");
        state_.mode = 101;
        return;
    }
    switch (code) {
    case 5:
    case 6:
        ShowMovePrompt("AxisLine1");
        BeginLineMove(zor_.AxisLine1, x, y);
        break;
    case 7:
    case 8:
        ShowMovePrompt("AxisLine2");
        BeginLineMove(zor_.AxisLine2, x, y);
        break;
    case 9:
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("Shoulder Point");
        break;
    case 10:
        ShowMovePrompt("Major Trochanter Line");
        BeginLineMove(zor_.GTLine, x, y);
        break;
    case 11:
        ShowMovePrompt("Minor Trochanter Line1");
        BeginLineMove(zor_.LTLine1, x, y);
        break;
    case 12:
        ShowMovePrompt("Minor Trochanter Line2");
        BeginLineMove(zor_.LTLine2, x, y);
        break;
    case 13:
        ShowMovePrompt("Tip of Stem Line");
        BeginLineMove(zor_.TipLine, x, y);
        break;
    case 220:
        zor_.Visible = false;
        host_.repaint();
        host_.setPointerShape(PointerShape::Crosshair);
        ShowMovePrompt("Cement Marker");
        break;
    default:
        break;
    }
}
