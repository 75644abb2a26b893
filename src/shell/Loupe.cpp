#include "shell/Loupe.h"

namespace {

// The crosshair: green, so that it shows on grey films and differs from the
// landmarks' magenta and red (0x00BBGGRR).
constexpr uint32_t kCrossColor = 0x00FF00;
// The gap between the pointer and the loupe, in screen pixels.
constexpr int kOffset = 24;

} // namespace

Loupe::Loupe(QWidget* parent) : PictureView(parent)
{
    setObjectName("loupe");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setMouseTracking(false);
    setFocusPolicy(Qt::NoFocus);
    resize(side, side);
    hide();
}

void Loupe::showAt(QPointF pointer, float x, float y, float imagePerScreen)
{
    // Below and right of the pointer, or on the other side where the parent ends.
    const QWidget* area = parentWidget();
    int px = int(pointer.x()) + kOffset;
    int py = int(pointer.y()) + kOffset;
    if (area && px + side > area->width())
        px = int(pointer.x()) - kOffset - side;
    if (area && py + side > area->height())
        py = int(pointer.y()) - kOffset - side;
    move(std::max(px, 0), std::max(py, 0));
    // Shown first: a hidden widget gets its size, and so its backing image, only then.
    if (!isVisible())
        show();
    raise();

    const float span = float(side) * imagePerScreen / magnification;
    setScaleSize(span, span);
    setScaleLeft(x - span / 2);
    setScaleTop(y - span / 2);
    render();
    setForeColor(kCrossColor);
    setDrawMode(DrawMode::CopyPen);
    drawLine(x, y - span / 2, x, y + span / 2);
    drawLine(x - span / 2, y, x + span / 2, y);
}
