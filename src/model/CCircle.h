#pragma once

#include "model/CPoint.h"
#include "model/ToolMode.h"

#include <cstdint>
#include <deque>

// The prosthesis head: the rim points the user entered and the circle fitted
// through them.
class CCircle {
public:
    // Only this many points answer findMode: codes above 199 name other
    // landmarks.
    static constexpr int kMaxPickablePoints = 98;

    CPoint M;
    double R = 0.0;
    bool Valid = false;
    bool PVisible = true;
    // In entry order; points[0] is the first point and answers base + 1.
    // A deque, so that references to entered points stay valid.
    std::deque<CPoint> points;

    bool operator==(const CCircle&) const = default;

    // Nothing unless Valid; the circle, then (when PVisible) the points and
    // the centre, all in color.
    void draw(Surface& s, uint32_t color) const;
    // Appends a point; the caller draws it.
    CPoint& addPoint(double x, double y);
    void removeAll();
    // headPoint(i) for the first of points 1..98 within the pick tolerance,
    // Idle when none is near or the circle is not Valid and PVisible.
    ToolMode findMode(double x, double y) const;
    // Least-squares fit through all points. False (nothing changed) with
    // fewer than three points or a singular system; the caller tells the
    // user. Does not set Valid.
    bool fit();
};
