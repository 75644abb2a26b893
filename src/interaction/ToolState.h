#pragma once

#include "model/CLine.h"
#include "model/CPoint.h"

#include <cstdint>
#include <memory>

// The tool state of one window, shared by the controller and its tools. The
// pointers refer to landmarks of the model or to `measureLine`; they are
// cleared whenever what they point at goes away.
struct ToolState {
    int16_t mode = 0;
    // The line being drawn or moved, or the distance tool's line.
    CLine* curLine = nullptr;
    // The point being entered or moved.
    CPoint* curPoint = nullptr;
    // The end points a line had when its move began; Escape restores them.
    CLine savedLine;
    // Relative grab position along a line moved as a whole (1 = P0, 0 = P1).
    double linePos = 1.0;
    // The distance tool's own line, alive from "calc &Distance" to the
    // release of its drag.
    std::unique_ptr<CLine> measureLine;
};
