#include "report/SeriesPlot.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace SeriesPlot {

namespace {

// A step of 1, 2 or 5 times a power of ten giving about `n` intervals.
double niceStep(double range, int n)
{
    const double raw = range / n;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * p >= raw)
            return m * p;
    return 10 * p;
}

} // namespace

double valueOf(const Series::FilmRow& row, Quantity q)
{
    return q == Quantity::Subsidence ? row.subsidence : row.tilt;
}

double ci95Of(const Series::FilmRow& row, Quantity q)
{
    return q == Quantity::Subsidence ? row.subsidenceCi95 : row.tiltCi95;
}

const char* axisTitle(Quantity q)
{
    return q == Quantity::Subsidence ? "subsidence (mm), sinking downwards"
                                     : "tilt (degrees), into varus upwards";
}

void paint(QPainter& p, const QRectF& box, const Series::SeriesResult& series, Quantity q,
           double threshold, double mm)
{
    const bool down = q == Quantity::Subsidence;
    double x1 = 1.0;
    double lo = 0.0;
    double hi = down ? threshold : 0.5;
    for (const Series::FilmRow& r : series.rows) {
        x1 = std::max(x1, r.months);
        lo = std::min(lo, valueOf(r, q) - ci95Of(r, q));
        hi = std::max(hi, valueOf(r, q) + ci95Of(r, q));
    }
    const double x0 = std::min(0.0, series.rows.empty() ? 0.0 : series.rows.front().months);
    const double pad = 0.08 * (hi - lo) + 0.1;
    lo -= pad;
    hi += pad;
    x1 += 0.04 * (x1 - x0) + 0.5;

    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(7.0);
    p.setFont(f);
    const QRectF plot = box.adjusted(16 * mm, 7 * mm, -3 * mm, -10 * mm);
    auto px = [&](double months) { return plot.left() + (months - x0) / (x1 - x0) * plot.width(); };
    // Sinking downwards: a positive subsidence lies below 0.
    auto py = [&](double v) {
        const double t = (v - lo) / (hi - lo);
        return down ? plot.top() + t * plot.height() : plot.bottom() - t * plot.height();
    };

    p.setPen(Qt::black);
    p.drawText(QRectF(box.left(), box.top(), box.width(), 6 * mm), Qt::AlignLeft | Qt::AlignTop,
               QString::fromLatin1(axisTitle(q)));
    p.drawText(QRectF(plot.left(), plot.bottom() + 4 * mm, plot.width(), 5 * mm),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("months since the reference"));

    const QPen grid(QColor(220, 220, 220), 0.15 * mm);
    const double ys = niceStep(hi - lo, 6);
    for (double v = std::ceil(lo / ys) * ys; v <= hi; v += ys) {
        p.setPen(grid);
        p.drawLine(QPointF(plot.left(), py(v)), QPointF(plot.right(), py(v)));
        p.setPen(Qt::black);
        p.drawText(QRectF(box.left(), py(v) - 3 * mm, plot.left() - box.left() - 1.5 * mm, 6 * mm),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 4));
    }
    const double xs = niceStep(x1 - x0, 8);
    for (double m = std::ceil(x0 / xs) * xs; m <= x1; m += xs) {
        p.setPen(grid);
        p.drawLine(QPointF(px(m), plot.top()), QPointF(px(m), plot.bottom()));
        p.setPen(Qt::black);
        p.drawText(QRectF(px(m) - 8 * mm, plot.bottom() + 0.5 * mm, 16 * mm, 4 * mm),
                   Qt::AlignHCenter | Qt::AlignTop, QString::number(m, 'g', 4));
    }
    p.setPen(QPen(Qt::gray, 0.25 * mm));
    p.drawLine(QPointF(plot.left(), py(0)), QPointF(plot.right(), py(0)));
    if (down && threshold > lo && threshold < hi) {
        QPen dashed(QColor(200, 0, 0), 0.3 * mm, Qt::DashLine);
        p.setPen(dashed);
        p.drawLine(QPointF(plot.left(), py(threshold)), QPointF(plot.right(), py(threshold)));
        p.drawText(QRectF(plot.left() + 1 * mm, py(threshold) + 0.5 * mm, 40 * mm, 4 * mm),
                   Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("threshold %1 mm").arg(threshold, 0, 'f', 2));
    }
    p.setPen(QPen(Qt::black, 0.2 * mm));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);

    p.setRenderHint(QPainter::Antialiasing);
    const double r = 1.1 * mm;
    for (const Series::FilmRow& row : series.rows) {
        const double x = px(row.months);
        const double v = valueOf(row, q);
        const double ci = ci95Of(row, q);
        const QColor colour = row.comparable || row.reference ? QColor(20, 60, 170) : Qt::darkGray;
        p.setPen(QPen(colour, 0.25 * mm));
        if (ci > 0 && !row.reference) {
            p.drawLine(QPointF(x, py(v - ci)), QPointF(x, py(v + ci)));
            p.drawLine(QPointF(x - r, py(v - ci)), QPointF(x + r, py(v - ci)));
            p.drawLine(QPointF(x - r, py(v + ci)), QPointF(x + r, py(v + ci)));
        }
        p.setBrush(row.comparable || row.reference ? QBrush(colour) : QBrush(Qt::white));
        p.drawEllipse(QPointF(x, py(v)), r, r);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
}

} // namespace SeriesPlot
