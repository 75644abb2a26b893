#include "interaction/ToolController.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QAction>
#include <QScrollBar>

void MainForm::showViewport()
{
    PicBox_->setScaleSize(viewport_.ScaleWidth(), viewport_.ScaleHeight());
    PicBox_->setScaleLeft(viewport_.ScaleLeft());
    PicBox_->setScaleTop(viewport_.ScaleTop());
    scrolling_ = true;
    for (auto [bar, state] :
         {std::pair{HScroll_, viewport_.hBar()}, {VScroll_, viewport_.vBar()}}) {
        bar->setPageStep(state.pageStep);
        bar->setMaximum(state.maximum);
        bar->setValue(state.value);
    }
    scrolling_ = false;
}

void MainForm::Zoom(float factor, bool byMouse, float x, float y)
{
    viewport_.zoom(factor, byMouse, x, y);
    showViewport();
    repaintPicture();
}

void MainForm::scrolled()
{
    if (scrolling_)
        return;
    viewport_.scrolled(HScroll_->value(), VScroll_->value());
    showViewport();
    repaintPicture();
}

// After an open: pixel mode at the image's top-left corner, zoom 1.0.
void MainForm::resetView()
{
    viewport_.setImageSize(Bitmap().W(), Bitmap().H());
    viewport_.reset(PicBox_->width(), PicBox_->height());
    showViewport();
    PicBox_->clear();
}

void MainForm::m_ZoomUp_Click()
{
    if (!viewport_.zoomIn())
        return;
    showViewport();
    repaintPicture();
}

void MainForm::m_ZoomDown_Click()
{
    if (!viewport_.zoomOut())
        return;
    showViewport();
    repaintPicture();
}

void MainForm::m_ZoomMouse_Click()
{
    if (tools())
        tools()->m_ZoomMouse();
}

void MainForm::m_ZoomCenter_Click()
{
    viewport_.setCenterMode(!viewport_.centerMode());
    action("m_ZoomCenter")->setChecked(viewport_.centerMode());
}
