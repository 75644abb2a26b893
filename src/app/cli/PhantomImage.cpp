#include "app/cli/PhantomImage.h"

#include "image/FilmGrain.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

using Series::Point;

struct Mapper {
    const Phantom::Patient& p;
    const Phantom::Film& f;

    QPointF femur(double x, double y) const
    {
        Point q = Phantom::toImage(f.projection, p.anatomy, {x, y});
        return {q.x, q.y};
    }
    QPointF stem(double x, double y) const
    {
        Point q = Phantom::stemToFemur(p.anatomy, f.pose, {x, y});
        return femur(q.x, q.y);
    }
};

double lesserTrochanter(const Phantom::Anatomy& a, double y)
{
    double d = (y - a.ltLevel) / 9.0;
    return a.ltBump * std::exp(-d * d);
}

QPolygonF femurOutline(const Mapper& m, double bottom, double inset)
{
    const Phantom::Anatomy& a = m.p.anatomy;
    QPolygonF poly;
    // Lateral cortex from the bottom up, over the greater trochanter, down
    // the resected neck to the calcar and the medial cortex.
    for (double y = bottom; y <= 0.0; y += 4.0)
        poly << m.femur(-a.femurHalfWidth(y) + inset, y);
    if (inset == 0.0) {
        poly << m.femur(-a.femurHalfTop - 4.0, a.gtLevel - 6.0) << m.femur(-24.0, a.gtLevel + 4.0)
             << m.femur(-12.0, a.gtLevel + 2.0) << m.femur(-4.0, a.gtLevel - 10.0)
             << m.femur(6.0, -6.0);
    } else {
        poly << m.femur(-8.0, 4.0) << m.femur(5.0, -10.0);
    }
    for (double y = -14.0; y >= bottom; y -= 4.0)
        poly << m.femur(a.femurHalfWidth(y) - inset + (inset == 0.0 ? lesserTrochanter(a, y) : 0.0),
                        y);
    return poly;
}

QPainterPath stemPath(const Mapper& m, double margin)
{
    const Phantom::Anatomy& a = m.p.anatomy;
    QPolygonF poly;
    for (double y = -a.stemLength; y <= 0.0; y += 5.0)
        poly << m.stem(-a.stemHalfWidth(y) - margin, y);
    poly << m.stem(-a.stemHalfTop - margin, 0.0);
    // The neck rises medially to the taper under the head.
    double hx = a.neckOffset;
    double hy = a.neckHeight;
    double bx = 0.0;
    double by = -0.15 * a.stemLength;
    double len = std::hypot(hx - bx, hy - by);
    double dx = (hx - bx) / len;
    double dy = (hy - by) / len;
    double tx = hx - 0.6 * a.headRadius * dx;
    double ty = hy - 0.6 * a.headRadius * dy;
    double w = 5.0 + margin;
    poly << m.stem(tx - w * dy, ty + w * dx) << m.stem(tx + w * dy, ty - w * dx);
    for (double y = -0.25 * a.stemLength; y >= -a.stemLength; y -= 5.0)
        poly << m.stem(a.stemHalfWidth(y) + margin, y);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    QPointF tip = m.stem(0.0, -a.stemLength);
    double r = (a.stemHalfTip + margin) * Phantom::pixelsPerMm(m.f.projection);
    path.addEllipse(tip, r, r);
    return path.simplified();
}

} // namespace

QImage drawPhantomFilm(const Phantom::Patient& p, const Phantom::Film& f, uint32_t grainSeed)
{
    const int width = Phantom::kWidth;
    const int height = Phantom::kHeight;
    const Phantom::Anatomy& a = p.anatomy;
    const Mapper m{p, f};
    const double ppm = Phantom::pixelsPerMm(f.projection);
    const double bottom = -a.stemLength - 120.0;

    QImage film(width, height, QImage::Format_RGB32);
    film.fill(QColor(16, 16, 16));
    {
        QPainter painter(&film);
        painter.setRenderHint(QPainter::Antialiasing);
        QPointF thighCentre = m.femur(0.0, -a.stemLength / 2.0);
        QRadialGradient tissue(thighCentre, 0.55 * height);
        tissue.setColorAt(0.0, QColor(82, 82, 82));
        tissue.setColorAt(0.7, QColor(62, 62, 62));
        tissue.setColorAt(1.0, QColor(30, 30, 30));
        painter.fillRect(film.rect(), tissue);

        // The pelvis above and medial of the head, with the cup round it.
        Point h = Phantom::stemToFemur(a, {}, {a.neckOffset, a.neckHeight});
        QPolygonF pelvis;
        pelvis << m.femur(h.x - 25.0, h.y + 200.0) << m.femur(h.x + 150.0, h.y + 200.0)
               << m.femur(h.x + 150.0, h.y - 90.0) << m.femur(h.x + 60.0, h.y - 40.0)
               << m.femur(h.x + 20.0, h.y - 5.0) << m.femur(h.x - 20.0, h.y + 10.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(118, 118, 118));
        painter.drawPolygon(pelvis);
        QPointF cup = m.femur(h.x, h.y);
        double cupR = (a.headRadius + 6.0) * ppm;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(150, 150, 150), 4.0 * ppm));
        painter.drawEllipse(cup, cupR, cupR);

        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(158, 158, 158));
        painter.drawPolygon(femurOutline(m, bottom, 0.0));
        painter.setBrush(QColor(104, 104, 104));
        painter.drawPolygon(femurOutline(m, bottom, 6.0));
        painter.fillPath(stemPath(m, 2.5), QColor(190, 190, 190));
        painter.fillPath(stemPath(m, 0.0), QColor(238, 238, 238));
        // The cement plug below the tip and its marker.
        QPointF plug = m.femur(0.0, -a.stemLength - a.cementDepth);
        painter.setBrush(QColor(185, 185, 185));
        painter.drawEllipse(plug, 5.0 * ppm, 3.0 * ppm);
        painter.setBrush(QColor(250, 250, 250));
        painter.drawEllipse(plug, 1.2 * ppm, 1.2 * ppm);
        QPointF head = m.stem(a.neckOffset, a.neckHeight);
        painter.drawEllipse(head, a.headRadius * ppm, a.headRadius * ppm);

        painter.setPen(QColor(235, 235, 235));
        QFont font;
        font.setPixelSize(90);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QPointF(f.projection.left ? width - 140 : 60, 140),
                         f.projection.left ? "L" : "R");
    }
    QImage soft =
        film.scaled(width / 2, height / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_Grayscale8);
    FilmGrain::add(soft.bits(), width, height, soft.bytesPerLine(), grainSeed);
    return soft;
}
