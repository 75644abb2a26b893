#include "shell/PictureView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QColor penColor(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// Index of the image pixel under the centre of each of `count` screen pixels,
// or -1 where the view lies outside the image.
std::vector<int> sourceIndexes(int count, float first, float perPixel, int limit)
{
    std::vector<int> index(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        double s = std::floor(double(first) + (i + 0.5) * double(perPixel));
        index[std::size_t(i)] = (s >= 0 && s < limit) ? int(s) : -1;
    }
    return index;
}

} // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    backing_ = QImage(1, 1, QImage::Format_RGB32);
    backing_.fill(background);
}

void PictureView::setScaleSize(float width, float height)
{
    scaleWidth_ = width;
    scaleHeight_ = height;
}

void PictureView::setPixelMode()
{
    scaleLeft_ = 0;
    scaleTop_ = 0;
    scaleWidth_ = float(viewWPix());
    scaleHeight_ = float(viewHPix());
}

QPointF PictureView::toImage(QPointF widgetPos) const
{
    double zx = double(scaleWidth_) / std::max(viewWPix(), 1);
    double zy = double(scaleHeight_) / std::max(viewHPix(), 1);
    return {scaleLeft_ + widgetPos.x() * zx, scaleTop_ + widgetPos.y() * zy};
}

QPointF PictureView::toWidget(QPointF imagePos) const
{
    double zx = double(scaleWidth_) / std::max(viewWPix(), 1);
    double zy = double(scaleHeight_) / std::max(viewHPix(), 1);
    return {(imagePos.x() - scaleLeft_) / zx, (imagePos.y() - scaleTop_) / zy};
}

void PictureView::clear()
{
    backing_.fill(background);
    update();
}

void PictureView::render()
{
    blitImage();
    if (overlay_) {
        setDrawMode(DrawMode::CopyPen);
        rendering_ = true;
        overlay_();
        rendering_ = false;
    }
    update();
}

// Nearest-neighbour scaling of the visible source rectangle straight from the
// 8-bit rows through the table: only the shown pixels are read, and each
// screen pixel shows the image pixel under its centre, so drawing and pointer
// coordinates stay in register with the picture at every zoom.
void PictureView::blitImage()
{
    const int vw = backing_.width();
    const int vh = backing_.height();
    if (!image_.bits || !image_.table) {
        backing_.fill(background);
        return;
    }
    const std::vector<int> cols =
        sourceIndexes(vw, scaleLeft_, scaleWidth_ / float(vw), image_.width);
    const std::vector<int> rows =
        sourceIndexes(vh, scaleTop_, scaleHeight_ / float(vh), image_.height);
    // Inside the image the columns form one run; outside it is background.
    int x0 = 0;
    while (x0 < vw && cols[std::size_t(x0)] < 0)
        ++x0;
    int x1 = x0;
    while (x1 < vw && cols[std::size_t(x1)] >= 0)
        ++x1;
    const uint32_t* table = image_.table->data();
    for (int y = 0; y < vh; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(backing_.scanLine(y));
        int sy = rows[std::size_t(y)];
        if (sy < 0 || x0 == x1) {
            std::fill(out, out + vw, background);
            continue;
        }
        const uint8_t* src = image_.bits + std::size_t(sy) * image_.bytesPerLine;
        std::fill(out, out + x0, background);
        const int* col = cols.data();
        for (int x = x0; x < x1; ++x)
            out[x] = table[src[col[x]]];
        std::fill(out + x1, out + vw, background);
    }
}

void PictureView::beginDraw(QPainter& painter) const
{
    double sx = std::max(viewWPix(), 1) / double(scaleWidth_);
    double sy = std::max(viewHPix(), 1) / double(scaleHeight_);
    painter.setTransform(QTransform(sx, 0, 0, sy, -scaleLeft_ * sx, -scaleTop_ * sy));
    // One screen pixel wide at every zoom; aliased, so that drawing the same
    // primitive twice in XOR restores the pixels exactly.
    QPen pen(penColor(foreColor_), 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(drawMode_ == DrawMode::XorPen
                                   ? QPainter::RasterOp_SourceXorDestination
                                   : QPainter::CompositionMode_SourceOver);
}

void PictureView::touched(const QRectF& imageRect)
{
    if (rendering_)
        return;
    QRectF r(toWidget(imageRect.topLeft()), toWidget(imageRect.bottomRight()));
    update(r.normalized().toAlignedRect().adjusted(-2, -2, 2, 2));
}

void PictureView::drawLine(double x0, double y0, double x1, double y1)
{
    {
        QPainter painter(&backing_);
        beginDraw(painter);
        painter.drawLine(QPointF(x0, y0), QPointF(x1, y1));
    }
    touched(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
}

void PictureView::drawCircle(double cx, double cy, double r)
{
    {
        QPainter painter(&backing_);
        beginDraw(painter);
        painter.drawEllipse(QPointF(cx, cy), r, r);
    }
    touched(QRectF(cx - r, cy - r, 2 * r, 2 * r));
}

void PictureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), backing_, r);
}

void PictureView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    backing_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
    backing_.fill(background);
    emit resized();
}

QPointF PictureView::imagePos(const QMouseEvent* event) const
{
    return toImage(event->position());
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    QPointF p = imagePos(event);
    emit mousePressed(int(event->button()) & 7, float(p.x()), float(p.y()));
}

void PictureView::mouseMoveEvent(QMouseEvent* event)
{
    QPointF p = imagePos(event);
    emit mouseMoved(int(event->buttons()) & 7, float(p.x()), float(p.y()));
}

void PictureView::mouseReleaseEvent(QMouseEvent* event)
{
    QPointF p = imagePos(event);
    emit mouseReleased(int(event->button()) & 7, float(p.x()), float(p.y()));
}

void PictureView::wheelEvent(QWheelEvent* event)
{
    emit wheelTurned(event->angleDelta(), int(event->modifiers()), event->position());
    event->accept();
}

void PictureView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit pointerLeft();
}
