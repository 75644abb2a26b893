#include "shell/WaitCursor.h"

#include <QApplication>

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::WaitCursor(QWidget* widget) : widget_(widget)
{
    if (widget_) {
        previous_ = widget_->cursor();
        widget_->setCursor(Qt::WaitCursor);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
    // The widget may have gone with its window while the guard was alive.
    if (widget_)
        widget_->setCursor(previous_);
}
