#pragma once

#include <cstdint>

// The states of the measurement tools and the hit codes of findMode, one set
// of numbers: pressing on a landmark makes its hit code the tool state, so a
// code names both "the pointer is over X" and "X is being moved".
enum class ToolMode : int16_t {
    Idle = 0,
    // Stem axis: the two contour lines drawn (1-4), their ends moved (5-8).
    Axis1Start = 1,
    Axis1Drag = 2,
    Axis2Start = 3,
    Axis2Drag = 4,
    Axis1P0 = 5,
    Axis1P1 = 6,
    Axis2P0 = 7,
    Axis2P1 = 8,
    Shoulder = 9,
    GTLine = 10,
    LTLine1 = 11,
    LTLine2 = 12,
    TipLine = 13,
    CalibFirst = 21,
    CalibSecond = 22,
    DistanceStart = 25,
    DistanceDrag = 26,
    ZoomByMouse = 90,
    HeadEntry = 100,
    // A head point being moved; head point k (1 to 98) answers 101 + k.
    HeadMove = 101,
    FirstHeadPoint = 102,
    LastHeadPoint = 199,
    // Femur point i (0 to 7) entered: 200 + i; hit or moved: 210 + i.
    FirstFemurEntry = 200,
    LastFemurEntry = 207,
    FirstFemurPoint = 210,
    LastFemurPoint = 217,
    CMarker = 220,
};

namespace ToolModes {

constexpr int16_t number(ToolMode m)
{
    return static_cast<int16_t>(m);
}
constexpr ToolMode offset(ToolMode first, int k)
{
    return static_cast<ToolMode>(number(first) + k);
}
// k for the k-th mode from `first` when m lies in [first, last], else -1.
constexpr int indexIn(ToolMode m, ToolMode first, ToolMode last)
{
    return m >= first && m <= last ? number(m) - number(first) : -1;
}
// The hit code of head point k (1 to 98).
constexpr ToolMode headPoint(int k)
{
    return offset(ToolMode::HeadMove, k);
}

} // namespace ToolModes
