#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>

// Shows the hourglass for the lifetime of the guard and restores the previous
// cursor on every way out, exceptions included. Guards nest.
class WaitCursor {
public:
    // Application-wide: the hourglass shows over every window.
    WaitCursor();
    // Over one widget (the picture area): remembers that widget's cursor and
    // puts it back afterwards, as well as the application-wide hourglass.
    explicit WaitCursor(QWidget* widget);
    ~WaitCursor();

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    QPointer<QWidget> widget_;
    QCursor previous_;
};
