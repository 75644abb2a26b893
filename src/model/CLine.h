#pragma once

#include "model/CPoint.h"

#include <cstdint>

// A segment between two points in image coordinates.
class CLine {
public:
    bool Valid = false;
    CPoint P0;
    CPoint P1;

    bool operator==(const CLine&) const = default;

    // Sets both ends and leaves the line not Valid; callers set Valid.
    void init(double X0, double Y0, double x1, double y1);
    // Takes the end point coordinates of line; Valid stays.
    void copy(const CLine& line);

    void draw(Surface& s) const;
    // Pen color2 when Valid, else color1 (0x00BBGGRR), then draw.
    void draw2(Surface& s, uint32_t color1, uint32_t color2) const;

    // Rubber-band moves: each switches the surface to XOR, erases the old
    // segment, changes it and draws it again. The surface stays in XOR.
    void changeP0(Surface& s, double x, double y);
    void changeP1(Surface& s, double x, double y);
    // Moves the segment so that the spot at f1 (1 = P0, 0 = P1) lands on (x, y).
    void translate(Surface& s, double x, double y, double f1);

    double length() const;

private:
    void drawXor(Surface& s) const;
};
