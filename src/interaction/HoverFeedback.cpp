#include "interaction/HoverFeedback.h"

namespace HoverFeedback {

std::optional<Feedback> forCode(int16_t code)
{
    switch (code) {
    case 0:
        return Feedback{"", PointerShape::Default};
    case 5:
        return Feedback{"... AxisLine1 P0", PointerShape::SizeNWSE};
    case 6:
        return Feedback{"... AxisLine1 P1", PointerShape::SizeNWSE};
    case 7:
        return Feedback{"... AxisLine2 P0", PointerShape::SizeNWSE};
    case 8:
        return Feedback{"... AxisLine2 P1", PointerShape::SizeNWSE};
    case 9:
        return Feedback{"... Shoulder Point", PointerShape::SizeAll};
    case 10:
        return Feedback{"... Major Trochanter Line", PointerShape::SizeNS};
    case 11:
        return Feedback{"... Minor Trochanter Line1", PointerShape::SizeNS};
    case 12:
        return Feedback{"... Minor Trochanter Line2", PointerShape::SizeNS};
    case 13:
        return Feedback{"... Tip of Stem Line", PointerShape::SizeNS};
    case 220:
        return Feedback{"... Cement Marker", PointerShape::SizeAll};
    default:
        break;
    }
    if (code >= 102 && code <= 199)
        return Feedback{"... Head Point", PointerShape::SizeAll};
    if (code >= 210 && code <= 217)
        return Feedback{"... Point " + std::to_string(code - 209), PointerShape::SizeAll};
    return std::nullopt;
}

} // namespace HoverFeedback
