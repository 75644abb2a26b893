#include "report/PainterSurface.h"

#include <QColor>
#include <QPen>

PainterSurface::PainterSurface(QPainter& painter, const QRectF& target, int imageWidth,
                               int imageHeight, double penWidth)
    : painter_(painter), target_(target), width_(imageWidth), height_(imageHeight),
      scale_(imageWidth > 0 ? target.width() / imageWidth : 1.0), penWidth_(penWidth)
{
}

QPointF PainterSurface::map(double x, double y) const
{
    return {target_.left() + x * scale_, target_.top() + y * scale_};
}

void PainterSurface::usePen()
{
    // Colours come as 0x00BBGGRR.
    const QColor c(int(color_ & 0xFF), int((color_ >> 8) & 0xFF), int((color_ >> 16) & 0xFF));
    painter_.setPen(QPen(c, penWidth_));
    painter_.setBrush(Qt::NoBrush);
}

void PainterSurface::drawLine(double x0, double y0, double x1, double y1)
{
    usePen();
    painter_.drawLine(map(x0, y0), map(x1, y1));
}

void PainterSurface::drawCircle(double cx, double cy, double r)
{
    usePen();
    painter_.drawEllipse(map(cx, cy), r * scale_, r * scale_);
}
