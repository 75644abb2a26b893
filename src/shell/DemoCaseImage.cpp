// The demo radiograph and its landmarks. Everything is derived from one stem
// axis so that the picture and the measurement agree by construction.
#include "image/FilmGrain.h"
#include "shell/DemoCase.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

// The stem axis: through A0 (at the stem shoulder's level) and down along u.
const QPointF A0(400.0, 430.0);
const QPointF uDir = [] {
    const double len = std::hypot(30.0, 600.0);
    return QPointF(30.0 / len, 600.0 / len);
}();
// Across the axis, towards the head (medial for this right hip).
const QPointF nDir(uDir.y(), -uDir.x());
const double stemLength = 600.0;
const double sBottom = (DemoCase::height - A0.y()) / uDir.y() + 10.0;

QPointF axisAt(double s)
{
    return A0 + s * uDir;
}

// The femur's own midline leans a little against the stem, so that the demo
// shows a small valgus-varus angle.
QPointF femurAt(double s)
{
    return axisAt(s) + (-3.0 + 0.012 * s) * nDir;
}

double stemHalfWidth(double s)
{
    return 30.0 - 18.0 * s / stemLength;
}

double femurHalfWidth(double s)
{
    const double flare = std::max(0.0, (250.0 - s) / 250.0);
    return 72.0 + 40.0 * flare * flare - 0.008 * std::max(0.0, s - 250.0);
}

double cortexThickness(double s)
{
    return 10.0 + 14.0 * std::clamp((s - 100.0) / 300.0, 0.0, 1.0);
}

// The lesser trochanter: a bump on the medial cortex.
double lesserTrochanter(double s)
{
    const double d = (s - 235.0) / 38.0;
    return 42.0 * std::exp(-d * d);
}

const QPointF headC(575.0, 300.0);
const double headR = 62.0;

QPointF femurEdge(double s, double side, double extra = 0.0)
{
    return femurAt(s) + side * (femurHalfWidth(s) + extra) * nDir;
}

DemoCase::Landmarks makeLandmarks()
{
    DemoCase::Landmarks l;
    l.headCenter = headC;
    l.headRadius = headR;
    const double angles[5] = {-165.0, -125.0, -90.0, -55.0, -15.0};
    for (int i = 0; i < 5; ++i) {
        const double a = angles[i] * std::numbers::pi / 180.0;
        l.headPoints[i] = headC + headR * QPointF(std::cos(a), std::sin(a));
    }
    // The axis runs from the bottom edge of the image to the top edge.
    const double sTop = -A0.y() / uDir.y();
    const double sBot = (DemoCase::height - A0.y()) / uDir.y();
    l.axis = QLineF(axisAt(sBot), axisAt(sTop));
    l.contour1 =
        QLineF(axisAt(100) - stemHalfWidth(100) * nDir, axisAt(500) - stemHalfWidth(500) * nDir);
    l.contour2 =
        QLineF(axisAt(100) + stemHalfWidth(100) * nDir, axisAt(500) + stemHalfWidth(500) * nDir);
    l.shoulder = axisAt(-5.0) - stemHalfWidth(-5.0) * nDir;
    const QPointF g = axisAt(-55.0);
    l.gtLine = QLineF(g + 110.0 * nDir, g - 110.0 * nDir);
    // The minor trochanter cross at 45 degrees, crossing at the tip of the
    // lesser trochanter.
    const QPointF x = femurEdge(235.0, 1.0, lesserTrochanter(235.0)) - 10.0 * nDir;
    const QPointF d1 = (uDir + nDir) / std::sqrt(2.0);
    const QPointF d2 = (uDir - nDir) / std::sqrt(2.0);
    l.ltLine1 = QLineF(x - 80.0 * d1, x + 80.0 * d1);
    l.ltLine2 = QLineF(x + 80.0 * d2, x - 80.0 * d2);
    const QPointF t = axisAt(stemLength);
    l.tipLine = QLineF(t + 90.0 * nDir, t - 90.0 * nDir);
    const double levels[4] = {300.0, 420.0, 540.0, 660.0};
    for (int k = 0; k < 4; ++k) {
        l.femurPoints[2 * k] = femurEdge(levels[k], 1.0);
        l.femurPoints[2 * k + 1] = femurEdge(levels[k], -1.0);
    }
    l.cementMarker = axisAt(stemLength + 42.0);
    return l;
}

QPolygonF femurOutline()
{
    QPolygonF p;
    // Lateral cortex, bottom to top, then over the greater trochanter.
    for (double s = sBottom; s >= 20.0; s -= 10.0)
        p << femurEdge(s, -1.0);
    p << femurAt(-20.0) - 118.0 * nDir << femurAt(-55.0) - 92.0 * nDir
      << femurAt(-60.0) - 60.0 * nDir << femurAt(-20.0) - 28.0 * nDir;
    // The neck was resected obliquely down to the calcar.
    p << femurAt(-8.0) + 10.0 * nDir << femurAt(80.0) + femurHalfWidth(80.0) * nDir;
    for (double s = 90.0; s <= sBottom; s += 10.0)
        p << femurEdge(s, 1.0, lesserTrochanter(s));
    return p;
}

QPolygonF canalOutline()
{
    QPolygonF p;
    for (double s = sBottom; s >= 10.0; s -= 10.0)
        p << femurAt(s) - (femurHalfWidth(s) - cortexThickness(s)) * nDir;
    p << femurAt(0.0) - 30.0 * nDir << femurAt(20.0) + 20.0 * nDir;
    for (double s = 90.0; s <= sBottom; s += 10.0)
        p << femurAt(s) + (femurHalfWidth(s) - cortexThickness(s)) * nDir;
    return p;
}

QPainterPath stemPath(double margin)
{
    QPolygonF p;
    for (double s = stemLength; s >= -5.0; s -= 10.0)
        p << axisAt(s) - (stemHalfWidth(s) + margin) * nDir;
    p << axisAt(-5.0) - (stemHalfWidth(-5.0) + margin) * nDir;
    // The shoulder rises medially into the neck, which ends in the taper
    // under the head.
    const QPointF neckDir = (headC - axisAt(40.0)) /
                            std::hypot(headC.x() - axisAt(40.0).x(), headC.y() - axisAt(40.0).y());
    const QPointF neckN(neckDir.y(), -neckDir.x());
    const QPointF taper = headC - 20.0 * neckDir;
    p << taper + (15.0 + margin) * neckN;
    p << taper - (15.0 + margin) * neckN;
    for (double s = 150.0; s <= stemLength; s += 10.0)
        p << axisAt(s) + (stemHalfWidth(s) + margin) * nDir;
    QPainterPath path;
    path.addPolygon(p);
    path.closeSubpath();
    // A rounded tip.
    const QPointF tip = axisAt(stemLength);
    const double r = stemHalfWidth(stemLength) + margin;
    path.addEllipse(tip, r, r);
    return path.simplified();
}

void drawPelvis(QPainter& painter)
{
    QPainterPath pelvis;
    pelvis.moveTo(470, 0);
    pelvis.lineTo(900, 0);
    pelvis.lineTo(900, 720);
    pelvis.cubicTo(830, 700, 760, 640, 700, 520);
    pelvis.cubicTo(660, 440, 560, 420, 520, 330);
    pelvis.cubicTo(500, 260, 480, 150, 470, 0);
    painter.fillPath(pelvis, QColor(118, 118, 118));
    // The obturator foramen.
    painter.setBrush(QColor(62, 62, 62));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(800, 560), 70, 110);
    // The acetabular roof and the cemented cup around the head.
    painter.setPen(QPen(QColor(172, 172, 172), 14));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(headC.x() - 100, headC.y() - 100, 200, 200), 10 * 16, 190 * 16);
    painter.setPen(QPen(QColor(150, 150, 150), 20));
    painter.drawArc(QRectF(headC.x() - 84, headC.y() - 84, 168, 168), 0, 200 * 16);
    painter.setPen(QPen(QColor(200, 200, 200), 3));
    painter.drawArc(QRectF(headC.x() - 75, headC.y() - 75, 150, 150), 20 * 16, 160 * 16);
}

} // namespace

namespace DemoCase {

const Landmarks& landmarks()
{
    static const Landmarks l = makeLandmarks();
    return l;
}

QImage drawRadiograph(const QTransform& filmMove, const QTransform& stemMove)
{
    QImage film(width, height, QImage::Format_RGB32);
    film.fill(QColor(16, 16, 16));
    {
        QPainter painter(&film);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(filmMove);
        // The soft tissue of the thigh, denser towards its middle.
        QRadialGradient tissue(QPointF(430, 760), 620);
        tissue.setColorAt(0.0, QColor(82, 82, 82));
        tissue.setColorAt(0.7, QColor(62, 62, 62));
        tissue.setColorAt(1.0, QColor(30, 30, 30));
        QPainterPath thigh;
        thigh.moveTo(40, 1200);
        thigh.cubicTo(30, 800, 80, 300, 240, 0);
        thigh.lineTo(900, 0);
        thigh.lineTo(900, 1200);
        painter.fillPath(thigh, tissue);
        drawPelvis(painter);

        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(158, 158, 158));
        painter.drawPolygon(femurOutline());
        painter.setBrush(QColor(104, 104, 104));
        painter.drawPolygon(canalOutline());
        // The cement mantle stays with the bone; the stem may sink in it.
        painter.fillPath(stemPath(9.0), QColor(190, 190, 190));
        painter.setTransform(stemMove * filmMove);
        painter.fillPath(stemPath(0.0), QColor(238, 238, 238));
        painter.setTransform(filmMove);
        // The cement plug below the tip and its marker.
        painter.setBrush(QColor(185, 185, 185));
        painter.drawEllipse(axisAt(stemLength + 42.0), 16, 10);
        painter.setBrush(QColor(250, 250, 250));
        painter.drawEllipse(axisAt(stemLength + 42.0), 4, 4);
        painter.setTransform(stemMove * filmMove);
        painter.drawEllipse(headC, headR, headR);
        painter.resetTransform();

        painter.setPen(QColor(235, 235, 235));
        QFont font;
        font.setPixelSize(56);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QPointF(40, 90), "R");
    }
    // Film blur: down and up again, smoothly.
    QImage soft =
        film.scaled(width / 2, height / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_Grayscale8);
    FilmGrain::add(soft.bits(), width, height, soft.bytesPerLine(), 20031105u);
    return soft;
}

} // namespace DemoCase
