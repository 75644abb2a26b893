#include "interaction/ToolController.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>

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

} // namespace

void MainForm::Zoom(float factor, bool byMouse, float x, float y)
{
    float cx = PicBox_->ScaleWidth() / 2 + PicBox_->ScaleLeft();
    float cy = PicBox_->ScaleHeight() / 2 + PicBox_->ScaleTop();
    zoom_ = factor * zoom_;
    PicBox_->setScaleSize(float(viewWPix_) * zoom_, float(viewHPix_) * zoom_);
    if (byMouse || centerMode_) {
        // Setting the bars raises their change events; they must not move
        // the view a second time.
        scrolling_ = true;
        if (byMouse) {
            cx = x;
            cy = y;
        }
        float left = cx - PicBox_->ScaleWidth() / 2;
        if (left < 0)
            left = 0;
        PicBox_->setScaleLeft(left);
        HScroll_->setMaximum(wholePixels(left));
        HScroll_->setValue(wholePixels(left));
        float top = cy - PicBox_->ScaleHeight() / 2;
        if (top < 0)
            top = 0;
        PicBox_->setScaleTop(top);
        VScroll_->setMaximum(wholePixels(top));
        VScroll_->setValue(wholePixels(top));
        scrolling_ = false;
    }
    UpdateSourceRect();
    // Lowering a bar's maximum below its value moves the view to that edge
    // through the bar's change event.
    UpdateScrollRange();
    repaintPicture();
}

void MainForm::UpdateSourceRect() {}

void MainForm::UpdateScrollRange()
{
    float dw = float(Bitmap_.W()) - PicBox_->ScaleWidth();
    float dh = float(Bitmap_.H()) - PicBox_->ScaleHeight();
    HScroll_->setPageStep(std::max(wholePixels(PicBox_->ScaleWidth()), 1));
    VScroll_->setPageStep(std::max(wholePixels(PicBox_->ScaleHeight()), 1));
    HScroll_->setMaximum(dw > 0 ? wholePixels(dw) : 0);
    VScroll_->setMaximum(dh > 0 ? wholePixels(dh) : 0);
}

void MainForm::scrolled()
{
    if (scrolling_)
        return;
    PicBox_->setScaleLeft(float(HScroll_->value()));
    PicBox_->setScaleTop(float(VScroll_->value()));
    UpdateSourceRect();
    repaintPicture();
}

// After an open: pixel mode at the image's top-left corner, zoom 1.0.
void MainForm::resetView()
{
    scrolling_ = true;
    HScroll_->setValue(0);
    VScroll_->setValue(0);
    scrolling_ = false;
    PicBox_->setPixelMode();
    viewWPix_ = int16_t(std::min(PicBox_->width(), 32767));
    viewHPix_ = int16_t(std::min(PicBox_->height(), 32767));
    zoom_ = 1.0f;
    zoomStep_ = float(std::pow(2.0, -1.0 / 3.0));
    UpdateSourceRect();
    UpdateScrollRange();
    PicBox_->clear();
}

void MainForm::m_ZoomUp_Click()
{
    if (zoom_ >= 0.12f)
        Zoom(zoomStep_);
}

void MainForm::m_ZoomDown_Click()
{
    if (zoom_ <= 7.9f)
        Zoom(1.0f / zoomStep_);
}

void MainForm::m_ZoomMouse_Click()
{
    if (tools_)
        tools_->m_ZoomMouse();
}

void MainForm::m_ZoomCenter_Click()
{
    centerMode_ = !centerMode_;
    action("m_ZoomCenter")->setChecked(centerMode_);
}
