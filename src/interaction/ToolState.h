#pragma once

#include <cstdint>

// The tool state shared by the controller and its tools.
struct ToolState {
    int16_t mode = 0;
};
