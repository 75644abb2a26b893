#pragma once

#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QString>
#include <QTransform>

#include <array>

class CZor;

// The built-in demo case: a synthetic AP radiograph of a right hip with a
// cemented stem, drawn by our own code, and a complete measurement of it.
// `zor --demo DIR` and `make run` open it; the help window draws its
// annotated example from the same picture and landmarks.
namespace DemoCase {

// File names inside the demo folder. The landmark file follows the image.
inline constexpr const char* imageName = "demo-hip.bmp";
inline constexpr const char* landmarkName = "demo-hip.bit";
// Size of the radiograph in pixels and the film width it shows.
inline constexpr int width = 900;
inline constexpr int height = 1200;
inline constexpr double worldWidthMm = 225.0;

// The landmarks of the demo measurement, in image pixels.
struct Landmarks {
    QPointF headCenter;
    double headRadius = 0.0;
    std::array<QPointF, 5> headPoints;
    QLineF axis;     // bottom edge to top edge of the image
    QLineF contour1; // the stem's two contour lines
    QLineF contour2;
    QPointF shoulder;
    QLineF gtLine;
    QLineF ltLine1;
    QLineF ltLine2;
    QLineF tipLine;
    std::array<QPointF, 8> femurPoints; // four pairs, top to bottom
    QPointF cementMarker;
};

const Landmarks& landmarks();

// The radiograph, 8-bit grey, `width` by `height`. The noise is seeded, so
// every call gives the same pixels.
// A follow-up film is drawn with the stem (and head) moved by `stem` within
// the femur and the whole picture by `film`.
QImage drawRadiograph(const QTransform& film = QTransform(), const QTransform& stem = QTransform());

// Fills a fresh model with the demo measurement and its invented patient.
void fillCase(CZor& zor);

// Makes sure `dir` holds the demo image and its landmark file, creating
// what is missing (an existing landmark file is kept: it may hold the
// user's corrections). Returns the image path, or "" with `error` set.
QString ensure(const QString& dir, QString* error);

// Makes sure `dir` also holds the follow-up films of the demo patient (3, 6,
// 12, 24 and 36 months after the demo film, the stem sinking early and then
// settling), each only when missing, so that `zor-cli series DIR` has a
// series to show. False with `error` set when a file cannot be written.
bool ensureSeries(const QString& dir, QString* error);

} // namespace DemoCase
