#pragma once

#include "shell/PictureView.h"

// The magnifier: a square picture area of `side` screen pixels that shows
// the film around an image point at 4 times the main view's magnification,
// through the same colour table, with a crosshair and the landmarks (the
// overlay, as in the main view). Only the shown source square is read, so a
// move costs the same on any film size. It takes no pointer events.
class Loupe : public PictureView {
    Q_OBJECT
public:
    static constexpr int side = 160;
    static constexpr float magnification = 4.0f;

    explicit Loupe(QWidget* parent = nullptr);

    // Shows the film around image point (x, y) for a main view that shows
    // `imagePerScreen` image pixels per screen pixel, and places the loupe
    // beside `pointer` (a position in the parent) inside the parent.
    void showAt(QPointF pointer, float x, float y, float imagePerScreen);
};
