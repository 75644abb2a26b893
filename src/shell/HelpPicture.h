#pragma once

#include <QImage>

// The pictures of the splash and help windows, drawn by our own code so that
// the program needs no image assets.
namespace HelpPicture {

// The logo: a stem in a femur, `side` pixels square.
QImage drawLogo(int side);

// The annotated example: the demo radiograph with its reference lines in red
// and their names beside them, under the title "Example for Setting of ZOR
// Reference Lines".
QImage drawHelpPicture();
// Where a point of the demo radiograph (image pixels) lies on the help picture.
QPointF toPicture(const QPointF& imagePoint);

// The labels drawn on the help picture, top to bottom.
inline constexpr const char* labels[] = {
    "Head Points", "Major Trochanter Line", "Minor Trochanter Line1", "Minor Trochanter Line2",
    "Points1 - 8", "Tip of Stem Line"};

} // namespace HelpPicture
