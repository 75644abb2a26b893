#pragma once

#include <cstdint>

// How a primitive combines with what is already on the surface.
enum class DrawMode { CopyPen, XorPen };

// The drawing surface of the picture area, in image coordinates. Colours are
// packed 0x00BBGGRR. The model's draw operations and the tools' rubber bands
// paint through it; the view maps it onto the screen.
class Surface {
public:
    virtual ~Surface() = default;

    // Width and height of the shown region in image pixels.
    virtual float ScaleWidth() const = 0;
    virtual float ScaleHeight() const = 0;

    virtual void setForeColor(uint32_t color) = 0;
    virtual uint32_t foreColor() const = 0;
    virtual void setDrawMode(DrawMode mode) = 0;
    virtual DrawMode drawMode() const = 0;

    virtual void drawLine(double x0, double y0, double x1, double y1) = 0;
    virtual void drawCircle(double cx, double cy, double r) = 0;
};
