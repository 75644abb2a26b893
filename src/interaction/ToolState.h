#pragma once

#include "model/CLine.h"
#include "model/CPoint.h"
#include "model/ToolMode.h"

#include <cstdint>
#include <memory>

// The items of "&Measurement Tools", as the tools know them.
enum class Tool {
    Head,
    StemAxis,
    Shoulder,
    LTLinesRotate30,
    LTLinesRotate45,
    LTLinesRotate60,
    EightPoints,
    CMarker,
    Calibrate,
    Distance,
    ResetLandmarks,
};

// Which tools may be used now, one bit per Tool.
class ToolSet {
public:
    // The set a new window starts with: the tools that need earlier
    // landmarks (shoulder, minor trochanter turns, 8 points) are off.
    static ToolSet initial();
    bool has(Tool t) const { return (bits_ & bit(t)) != 0; }
    void set(Tool t, bool on) { bits_ = on ? bits_ | bit(t) : bits_ & ~bit(t); }
    bool operator==(const ToolSet&) const = default;

private:
    static unsigned bit(Tool t) { return 1u << static_cast<unsigned>(t); }
    unsigned bits_ = 0;
};

inline ToolSet ToolSet::initial()
{
    ToolSet s;
    for (Tool t : {Tool::Head, Tool::StemAxis, Tool::CMarker, Tool::Calibrate, Tool::Distance,
                   Tool::ResetLandmarks})
        s.set(t, true);
    return s;
}

// The tool state of one window, shared by the controller and its tools. The
// pointers refer to landmarks of the model or to `measureLine`; they are
// cleared whenever what they point at goes away.
struct ToolState {
    ToolMode mode = ToolMode::Idle;
    // The line being drawn or moved, or the distance tool's line.
    CLine* curLine = nullptr;
    // The point being entered or moved.
    CPoint* curPoint = nullptr;
    // The line as it was when its move began (end points and whether it was
    // placed); Escape restores it, so a grabbed proposal stays a proposal.
    CLine savedLine;
    // Relative grab position along a line moved as a whole (1 = P0, 0 = P1).
    double linePos = 1.0;
    // The distance tool's own line, alive from "calc &Distance" to the
    // release of its drag.
    std::unique_ptr<CLine> measureLine;
    ToolSet usable = ToolSet::initial();
};
