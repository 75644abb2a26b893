#pragma once

#include "model/CPoint.h"

#include <cstdint>

// A segment between two points in image coordinates. Landmark lines belong to
// CZor; update them with init or copy, since assigning a whole CLine also
// replaces its surface.
class CLine {
public:
    bool Valid = false;
    CPoint P0;
    CPoint P1;

    // Stores the surface (not owned) and hands it to both end points.
    void PicBox(Surface* p);
    Surface* surface() const { return surface_; }

    // Sets both ends and leaves the line not Valid; callers set Valid.
    void init(double X0, double Y0, double x1, double y1);
    // Takes the end point coordinates of line; Valid and the surface stay.
    void copy(const CLine& line);

    void draw() const;
    // Pen color2 when Valid, else color1 (0x00BBGGRR), then draw.
    void draw2(uint32_t color1, uint32_t color2) const;

    // Rubber-band moves: each switches the surface to XOR, erases the old
    // segment, changes it and draws it again. The surface stays in XOR.
    void changeP0(double x, double y);
    void changeP1(double x, double y);
    // Moves the segment so that the spot at f1 (1 = P0, 0 = P1) lands on (x, y).
    void translate(double x, double y, double f1);

    double length() const;

private:
    void drawXor() const;

    Surface* surface_ = nullptr;
};
