#pragma once

#include "platform/Surface.h"

#include <vector>

// A surface that records every primitive with the pen colour and draw mode in
// force when it was drawn.
class RecordingSurface : public Surface {
public:
    enum class Kind { Line, Circle };
    struct Op {
        Kind kind;
        double a, b, c, d; // line: x0 y0 x1 y1; circle: cx cy r 0
        uint32_t color;
        DrawMode mode;
    };

    float ScaleWidth() const override { return scaleWidth; }
    float ScaleHeight() const override { return scaleHeight; }
    void setForeColor(uint32_t color) override { color_ = color; }
    uint32_t foreColor() const override { return color_; }
    void setDrawMode(DrawMode mode) override { mode_ = mode; }
    DrawMode drawMode() const override { return mode_; }
    void drawLine(double x0, double y0, double x1, double y1) override
    {
        ops.push_back({Kind::Line, x0, y0, x1, y1, color_, mode_});
    }
    void drawCircle(double cx, double cy, double r) override
    {
        ops.push_back({Kind::Circle, cx, cy, r, 0, color_, mode_});
    }

    float scaleWidth = 1000;
    float scaleHeight = 800;
    std::vector<Op> ops;

private:
    uint32_t color_ = 0;
    DrawMode mode_ = DrawMode::CopyPen;
};
