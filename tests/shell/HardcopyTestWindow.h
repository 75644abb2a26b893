#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include <memory>

// A stand-in for the main window: menu bar, a picture with both scroll bars,
// a status line, and a coloured patch at a known place on a dark picture.
namespace HardcopyTestWindow {

enum class Shape { Landscape, Portrait };

// Landscape is less elongated than the printable part of A4, so turned it
// fills the page width; portrait is more, so it fills the height.
inline QSize windowSize(Shape shape)
{
    return shape == Shape::Landscape ? QSize(560, 420) : QSize(400, 640);
}

inline const QColor patchColour(31, 100, 200); // grey (200 + 100 + 31) / 3 = 110
inline constexpr int patchGrey = 110;
inline const QColor pictureColour(30, 30, 30);
inline const QRect patchOnPicture(16, 12, 120, 90);

struct Window {
    std::unique_ptr<QMainWindow> main = std::make_unique<QMainWindow>();
    QScrollArea* area = new QScrollArea;
    QLabel* picture = new QLabel;

    explicit Window(Shape shape)
    {
        QPixmap dark(1200, 1600);
        dark.fill(pictureColour);
        QPainter(&dark).fillRect(patchOnPicture, patchColour);
        picture->setPixmap(dark);
        picture->setFixedSize(dark.size());
        QPalette palette = main->palette(); // grey 200 bars stand out from white paper
        palette.setColor(QPalette::Window, QColor(200, 200, 200));
        palette.setColor(QPalette::Button, QColor(200, 200, 200));
        main->setPalette(palette);
        main->menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Open ..."));
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidget(picture);
        main->setCentralWidget(area);
        main->statusBar()->showMessage(QStringLiteral("Set the head points"));
        main->setFixedSize(windowSize(shape));
        main->show();
        main->activateWindow();
    }
    // The patch in the window's own pixels (the capture without frame).
    QRect patchInWindow() const
    {
        return QRect(picture->mapTo(main.get(), patchOnPicture.topLeft()), patchOnPicture.size());
    }
};

} // namespace HardcopyTestWindow
