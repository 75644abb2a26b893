#pragma once

class Surface;

// A marked point in image coordinates (pixels, x to the right, y downwards).
// Landmark points belong to CZor and are changed in place: use change or
// copy, since assigning a whole CPoint also replaces its surface.
class CPoint {
public:
    CPoint() = default;
    CPoint(double nx, double ny) : x(nx), y(ny) {}

    // Where draw paints; not owned, may stay null for points never drawn.
    Surface* mPicBox = nullptr;
    double x = 0.0;
    double y = 0.0;

    void change(double nx, double ny)
    {
        x = nx;
        y = ny;
    }
    // Takes the coordinates of p; the surface stays.
    void copy(const CPoint& p)
    {
        x = p.x;
        y = p.y;
    }
    // An upright cross of half-size ScaleWidth / 100 in the surface's current
    // colour and mode; nothing without a surface.
    void draw() const;
};
