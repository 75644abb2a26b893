#pragma once

#include "model/ToolMode.h"
#include "platform/ToolHost.h"

#include <cstdint>
#include <optional>
#include <string>

// What the idle pointer shows over a landmark: the status text and the
// pointer shape for a hit code of `CZor::findMode`.
namespace HoverFeedback {

struct Feedback {
    std::string status;
    PointerShape shape;
};

// None for codes that leave the status and the pointer as they are.
std::optional<Feedback> forCode(ToolMode code);

} // namespace HoverFeedback
