#pragma once

#include "platform/Surface.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

class QPainter;

// The picture area. It keeps a backing image the size of the widget: the
// Surface calls draw into it through a mapping from image coordinates
// (ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight) to widget pixels and mark
// what they touched for update; paintEvent only copies the backing image to
// the screen. A full repaint (render) draws the visible part of the image and
// then the overlay callback (the model's landmarks).
//
// Pointer events are handed on in image coordinates, so that nothing beyond
// this class knows about zoom and scroll. Keys go to the window.
class PictureView : public QWidget, public Surface {
    Q_OBJECT
public:
    // 8-bit pixels shown through a 256-entry table of QRgb values; rows top
    // first. Not owned: the owner keeps the bytes alive while it is set.
    struct Image {
        const uint8_t* bits = nullptr;
        std::size_t bytesPerLine = 0;
        int width = 0;
        int height = 0;
        const std::array<uint32_t, 256>* table = nullptr;
    };

    explicit PictureView(QWidget* parent = nullptr);

    // Surface, in image coordinates.
    float ScaleWidth() const override { return scaleWidth_; }
    float ScaleHeight() const override { return scaleHeight_; }
    void setForeColor(uint32_t color) override { foreColor_ = color; }
    uint32_t foreColor() const override { return foreColor_; }
    void setDrawMode(DrawMode mode) override { drawMode_ = mode; }
    DrawMode drawMode() const override { return drawMode_; }
    void drawLine(double x0, double y0, double x1, double y1) override;
    void drawCircle(double cx, double cy, double r) override;

    float ScaleLeft() const { return scaleLeft_; }
    float ScaleTop() const { return scaleTop_; }
    void setScaleLeft(float left) { scaleLeft_ = left; }
    void setScaleTop(float top) { scaleTop_ = top; }
    void setScaleSize(float width, float height);
    // One unit per widget pixel, origin at the top-left corner.
    void setPixelMode();

    // The widget's inner size in screen pixels (viewWPix, viewHPix).
    int viewWPix() const { return width(); }
    int viewHPix() const { return height(); }

    // What render draws; a default Image shows nothing but the background.
    void setImage(const Image& image) { image_ = image; }
    const Image& image() const { return image_; }
    // Called by render after the image, with copy pen set.
    void setOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }

    // The full repaint: background, the visible part of the image, then the overlay.
    void render();
    // Fills the area with the background colour (the picture box's Cls).
    void clear();

    // Image coordinates of a widget position, and back.
    QPointF toImage(QPointF widgetPos) const;
    QPointF toWidget(QPointF imagePos) const;

    const QImage& backing() const { return backing_; }
    // Colour of the area where there is no image.
    static constexpr QRgb background = 0xFF808080;

signals:
    // Buttons: 1 left, 2 right, 4 middle; positions in image coordinates.
    void mousePressed(int button, float x, float y);
    void mouseMoved(int buttons, float x, float y);
    void mouseReleased(int button, float x, float y);
    // The widget got a new size; the backing image already has it.
    void resized();
    // A wheel turn over the picture: Qt's angle delta (120 a notch), the
    // held modifiers (Qt::KeyboardModifiers) and the widget position.
    void wheelTurned(QPoint angleDelta, int modifiers, QPointF pos);
    // The pointer left the picture.
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void blitImage();
    // Prepares a painter on the backing image mapped to image coordinates,
    // with the current pen and draw mode.
    void beginDraw(QPainter& painter) const;
    void touched(const QRectF& imageRect);
    QPointF imagePos(const QMouseEvent* event) const;

    QImage backing_;
    Image image_;
    std::function<void()> overlay_;
    float scaleLeft_ = 0;
    float scaleTop_ = 0;
    float scaleWidth_ = 1;
    float scaleHeight_ = 1;
    uint32_t foreColor_ = 0;
    DrawMode drawMode_ = DrawMode::CopyPen;
    // While render runs, the overlay's primitives collect into one update.
    bool rendering_ = false;
};
