#pragma once

#include <cstdint>

// What the picture area shows of the image: the zoom, the region in image
// pixels (ScaleLeft, ScaleTop, ScaleWidth, ScaleHeight) and the two scroll
// bars, worked out without widgets. The window copies the state onto its
// picture and its bars after every change, and hands a bar the user moved
// back through scrolled().
class Viewport {
public:
    // A scroll bar: its range is 0..maximum.
    struct Bar {
        int maximum = 0;
        int pageStep = 1;
        int value = 0;
        bool operator==(const Bar&) const = default;
    };

    // The size of the open image in pixels.
    void setImageSize(int width, int height);
    // After an open: zoom 1 at the image's top-left corner, the region the
    // size of the area (areaWidth x areaHeight screen pixels).
    void reset(int areaWidth, int areaHeight);
    // The area's new size: the region grows or shrinks with it, keeping its
    // top-left corner and the magnification.
    void resize(int areaWidth, int areaHeight);
    // Zoom by `factor` (region size over area size) about the region's centre
    // in centre mode, about its top-left corner otherwise, or (byMouse) about
    // the image point (x, y).
    void zoom(float factor, bool byMouse = false, float x = 0, float y = 0);
    // "Zoom +" and "Zoom -": one step, unless the zoom is at its limit
    // (false, nothing changed).
    bool zoomIn();
    bool zoomOut();
    // The region from (left, top) at `zoom` (image pixels per screen pixel),
    // moved inside the image as far as it fits.
    void show(float zoom, float left, float top);
    // Zoom by `factor` keeping the image point under the area position
    // (px, py) where it is; within the limits of zoomIn and zoomOut (false,
    // nothing changed, at a limit).
    bool zoomAbout(float factor, float px, float py);
    // The whole image in the area, from its top-left corner.
    void fit();
    // One image pixel per screen pixel about the region's centre.
    void actualSize();
    // The user moved a bar to (h, v).
    void scrolled(int h, int v);
    void setCenterMode(bool on) { centerMode_ = on; }

    float zoomFactor() const { return zoom_; }
    float zoomStep() const { return zoomStep_; }
    bool centerMode() const { return centerMode_; }
    int16_t viewWPix() const { return viewWPix_; }
    int16_t viewHPix() const { return viewHPix_; }
    float ScaleLeft() const { return left_; }
    float ScaleTop() const { return top_; }
    float ScaleWidth() const { return width_; }
    float ScaleHeight() const { return height_; }
    const Bar& hBar() const { return h_; }
    const Bar& vBar() const { return v_; }

private:
    void areaSize(int areaWidth, int areaHeight);
    // Page steps and maxima from the region; a bar whose value lies beyond
    // its new maximum moves to it, and the region follows the bars.
    void updateScrollRange();

    int imageW_ = 0;
    int imageH_ = 0;
    int16_t viewWPix_ = 0;
    int16_t viewHPix_ = 0;
    float zoom_ = 1.0f;
    float zoomStep_ = 1.0f;
    bool centerMode_ = true;
    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    Bar h_;
    Bar v_;
};
