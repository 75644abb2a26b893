#include "session/Viewport.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest whole pixel, ties to even, within the 16-bit range of the bars.
int wholePixels(float v)
{
    float r = std::nearbyint(v);
    if (r > 32767.0f)
        return 32767;
    if (r < -32768.0f)
        return -32768;
    return int(r);
}

int16_t areaPixels(int n)
{
    return int16_t(std::min(n, 32767));
}

} // namespace

void Viewport::setImageSize(int width, int height)
{
    imageW_ = width;
    imageH_ = height;
}

void Viewport::areaSize(int areaWidth, int areaHeight)
{
    viewWPix_ = areaPixels(areaWidth);
    viewHPix_ = areaPixels(areaHeight);
}

void Viewport::reset(int areaWidth, int areaHeight)
{
    h_.value = 0;
    v_.value = 0;
    left_ = 0;
    top_ = 0;
    width_ = float(areaWidth);
    height_ = float(areaHeight);
    areaSize(areaWidth, areaHeight);
    zoom_ = 1.0f;
    zoomStep_ = float(std::pow(2.0, -1.0 / 3.0));
    updateScrollRange();
}

void Viewport::resize(int areaWidth, int areaHeight)
{
    areaSize(areaWidth, areaHeight);
    width_ = float(viewWPix_) * zoom_;
    height_ = float(viewHPix_) * zoom_;
    updateScrollRange();
}

void Viewport::zoom(float factor, bool byMouse, float x, float y)
{
    float cx = width_ / 2 + left_;
    float cy = height_ / 2 + top_;
    zoom_ = factor * zoom_;
    width_ = float(viewWPix_) * zoom_;
    height_ = float(viewHPix_) * zoom_;
    if (byMouse || centerMode_) {
        if (byMouse) {
            cx = x;
            cy = y;
        }
        left_ = std::max(cx - width_ / 2, 0.0f);
        h_.maximum = wholePixels(left_);
        h_.value = wholePixels(left_);
        top_ = std::max(cy - height_ / 2, 0.0f);
        v_.maximum = wholePixels(top_);
        v_.value = wholePixels(top_);
    }
    // Lowering a bar's maximum below its value moves the view to that edge.
    updateScrollRange();
}

bool Viewport::zoomIn()
{
    if (!(zoom_ >= 0.12f))
        return false;
    zoom(zoomStep_);
    return true;
}

bool Viewport::zoomOut()
{
    if (!(zoom_ <= 7.9f))
        return false;
    zoom(1.0f / zoomStep_);
    return true;
}

void Viewport::scrolled(int h, int v)
{
    h_.value = std::clamp(h, 0, h_.maximum);
    v_.value = std::clamp(v, 0, v_.maximum);
    left_ = float(h_.value);
    top_ = float(v_.value);
}

void Viewport::updateScrollRange()
{
    float dw = float(imageW_) - width_;
    float dh = float(imageH_) - height_;
    h_.pageStep = std::max(wholePixels(width_), 1);
    v_.pageStep = std::max(wholePixels(height_), 1);
    h_.maximum = dw > 0 ? wholePixels(dw) : 0;
    v_.maximum = dh > 0 ? wholePixels(dh) : 0;
    // A bar clamped to its new maximum moves the region to the bars.
    if (h_.value > h_.maximum || v_.value > v_.maximum)
        scrolled(h_.value, v_.value);
}

void Viewport::show(float zoom, float left, float top)
{
    zoom_ = zoom;
    width_ = float(viewWPix_) * zoom_;
    height_ = float(viewHPix_) * zoom_;
    left_ = std::clamp(left, 0.0f, std::max(float(imageW_) - width_, 0.0f));
    top_ = std::clamp(top, 0.0f, std::max(float(imageH_) - height_, 0.0f));
    h_.value = wholePixels(left_);
    v_.value = wholePixels(top_);
    updateScrollRange();
}

bool Viewport::zoomAbout(float factor, float px, float py)
{
    if ((factor < 1.0f && !(zoom_ >= 0.12f)) || (factor > 1.0f && !(zoom_ <= 7.9f)))
        return false;
    const float x = left_ + px * zoom_;
    const float y = top_ + py * zoom_;
    const float zoom = zoom_ * factor;
    show(zoom, x - px * zoom, y - py * zoom);
    return true;
}

void Viewport::fit()
{
    if (viewWPix_ <= 0 || viewHPix_ <= 0 || imageW_ <= 0 || imageH_ <= 0)
        return;
    show(std::max(float(imageW_) / float(viewWPix_), float(imageH_) / float(viewHPix_)), 0, 0);
}

void Viewport::actualSize()
{
    show(1.0f, left_ + (width_ - float(viewWPix_)) / 2, top_ + (height_ - float(viewHPix_)) / 2);
}
