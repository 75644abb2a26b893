#include "interaction/HoverFeedback.h"

namespace HoverFeedback {

std::optional<Feedback> forCode(ToolMode code)
{
    switch (code) {
    case ToolMode::Idle:
        return Feedback{"", PointerShape::Default};
    case ToolMode::Axis1P0:
        return Feedback{"... AxisLine1 P0", PointerShape::SizeNWSE};
    case ToolMode::Axis1P1:
        return Feedback{"... AxisLine1 P1", PointerShape::SizeNWSE};
    case ToolMode::Axis2P0:
        return Feedback{"... AxisLine2 P0", PointerShape::SizeNWSE};
    case ToolMode::Axis2P1:
        return Feedback{"... AxisLine2 P1", PointerShape::SizeNWSE};
    case ToolMode::Shoulder:
        return Feedback{"... Shoulder Point", PointerShape::SizeAll};
    case ToolMode::GTLine:
        return Feedback{"... Major Trochanter Line", PointerShape::SizeNS};
    case ToolMode::LTLine1:
        return Feedback{"... Minor Trochanter Line1", PointerShape::SizeNS};
    case ToolMode::LTLine2:
        return Feedback{"... Minor Trochanter Line2", PointerShape::SizeNS};
    case ToolMode::TipLine:
        return Feedback{"... Tip of Stem Line", PointerShape::SizeNS};
    case ToolMode::CMarker:
        return Feedback{"... Cement Marker", PointerShape::SizeAll};
    default:
        break;
    }
    if (ToolModes::indexIn(code, ToolMode::FirstHeadPoint, ToolMode::LastHeadPoint) >= 0)
        return Feedback{"... Head Point", PointerShape::SizeAll};
    if (int i = ToolModes::indexIn(code, ToolMode::FirstFemurPoint, ToolMode::LastFemurPoint);
        i >= 0)
        return Feedback{"... Point " + std::to_string(i + 1), PointerShape::SizeAll};
    return std::nullopt;
}

} // namespace HoverFeedback
