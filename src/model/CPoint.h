#pragma once

class Surface;

// A marked point in image coordinates (pixels, x to the right, y downwards).
class CPoint {
public:
    CPoint() = default;
    CPoint(double nx, double ny) : x(nx), y(ny) {}

    double x = 0.0;
    double y = 0.0;

    bool operator==(const CPoint&) const = default;

    void change(double nx, double ny)
    {
        x = nx;
        y = ny;
    }
    void copy(const CPoint& p)
    {
        x = p.x;
        y = p.y;
    }
    // An upright cross of half-size ScaleWidth / 100 in the surface's current
    // colour and mode.
    void draw(Surface& s) const;
};
