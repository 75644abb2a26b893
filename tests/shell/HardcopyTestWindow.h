#pragma once

#include <QColor>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QScrollArea>
#include <QScrollBar>
#include <QSize>
#include <QStatusBar>
#include <QWidget>

#include <memory>

// A stand-in for the main window with the parts a hardcopy must show: a menu
// bar, a picture area with both scroll bars, a status line, and a coloured
// patch at a known place on a dark picture.
namespace HardcopyTestWindow {

enum class Shape { Landscape, Portrait };

inline QSize windowSize(Shape shape)
{
    // Landscape is less elongated than the printable part of A4 or Letter,
    // so turned it fills the page width; portrait is more, so it fills the
    // height.
    return shape == Shape::Landscape ? QSize(560, 420) : QSize(400, 640);
}

// Blue 200, green 100, red 31: grey (200 + 100 + 31) / 3 = 110.
inline QColor patchColour()
{
    return QColor(31, 100, 200);
}
inline constexpr int patchGrey = 110;
// The picture behind the patch: grey 30.
inline QColor pictureColour()
{
    return QColor(30, 30, 30);
}
// Window background (menu and status bars): grey 200, so the edges of the
// capture stand out from white paper.
inline QColor frameColour()
{
    return QColor(200, 200, 200);
}
// Where the patch sits on the picture, in picture pixels.
inline QRect patchOnPicture()
{
    return QRect(16, 12, 120, 90);
}

class Picture : public QWidget {
public:
    explicit Picture(QWidget* parent = nullptr) : QWidget(parent) { setFixedSize(1200, 1600); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), pictureColour());
        painter.fillRect(patchOnPicture(), patchColour());
    }
};

struct Window {
    std::unique_ptr<QMainWindow> main;
    Picture* picture = nullptr;
    QScrollArea* area = nullptr;

    // The patch in the window's own pixels (the capture without frame).
    QRect patchInWindow() const
    {
        return QRect(picture->mapTo(main.get(), patchOnPicture().topLeft()),
                     patchOnPicture().size());
    }
};

inline Window makeWindow(Shape shape)
{
    Window w;
    w.main = std::make_unique<QMainWindow>();
    QPalette palette = w.main->palette();
    palette.setColor(QPalette::Window, frameColour());
    palette.setColor(QPalette::Button, frameColour());
    w.main->setPalette(palette);
    w.main->setWindowTitle(QStringLiteral("hardcopy test window"));
    w.main->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open ..."));
    w.main->menuBar()
        ->addMenu(QStringLiteral("&Image Tools"))
        ->addAction(QStringLiteral("&hardcopy"));
    w.area = new QScrollArea;
    w.area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w.area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w.area->setFrameShape(QFrame::NoFrame);
    w.picture = new Picture;
    w.area->setWidget(w.picture);
    w.main->setCentralWidget(w.area);
    w.main->statusBar()->showMessage(QStringLiteral("Set the head points"));
    w.main->setFixedSize(windowSize(shape));
    return w;
}

} // namespace HardcopyTestWindow
