#pragma once

#include "platform/Surface.h"

#include <QPainter>
#include <QRectF>

// The model's drawing surface on any QPainter (a PDF page, a printer, an
// image): image coordinates of a whole film mapped onto a target rectangle.
// XOR has no meaning on paper; every primitive is drawn in copy mode.
class PainterSurface : public Surface {
public:
    // `imageWidth` x `imageHeight` image pixels are shown in `target`.
    PainterSurface(QPainter& painter, const QRectF& target, int imageWidth, int imageHeight,
                   double penWidth);

    float ScaleWidth() const override { return float(width_); }
    float ScaleHeight() const override { return float(height_); }
    void setForeColor(uint32_t color) override { color_ = color; }
    uint32_t foreColor() const override { return color_; }
    void setDrawMode(DrawMode mode) override { mode_ = mode; }
    DrawMode drawMode() const override { return mode_; }
    void drawLine(double x0, double y0, double x1, double y1) override;
    void drawCircle(double cx, double cy, double r) override;

private:
    QPointF map(double x, double y) const;
    void usePen();

    QPainter& painter_;
    QRectF target_;
    int width_;
    int height_;
    double scale_;
    double penWidth_;
    uint32_t color_ = 0;
    DrawMode mode_ = DrawMode::CopyPen;
};
