#include "shell/StudyChart.h"

#include <QChart>
#include <QCursor>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

const QColor kComparable(20, 60, 170);
const QColor kOther(110, 110, 110);

QString num(double v, int decimals = 2)
{
    return QString::number(v, 'f', decimals);
}

} // namespace

StudyChart::StudyChart(SeriesPlot::Quantity quantity, QWidget* parent)
    : QChartView(parent), quantity_(quantity)
{
    setRenderHint(QPainter::Antialiasing);
    auto* c = new QChart;
    c->setTitle(QString::fromLatin1(SeriesPlot::axisTitle(quantity)));
    // One legend is enough: the tilt plot uses the same marks.
    c->legend()->setAlignment(Qt::AlignTop);
    c->legend()->setVisible(quantity == SeriesPlot::Quantity::Subsidence);
    c->setMargins(QMargins(2, 2, 2, 2));
    setChart(c);
    setMinimumHeight(220);
    clear();
}

void StudyChart::clear()
{
    chart()->removeAllSeries();
    // Removed axes come back to us.
    for (QAbstractAxis* a : chart()->axes()) {
        chart()->removeAxis(a);
        delete a;
    }
    points_.clear();
    axisX_ = new QValueAxis;
    axisX_->setTitleText(QStringLiteral("months since the reference"));
    axisX_->setLabelFormat(QStringLiteral("%.0f"));
    axisY_ = new QValueAxis;
    axisY_->setTitleText(quantity_ == SeriesPlot::Quantity::Subsidence ? QStringLiteral("mm")
                                                                       : QStringLiteral("degrees"));
    axisY_->setLabelFormat(QStringLiteral("%.1f"));
    // Sinking is drawn downwards.
    axisY_->setReverse(quantity_ == SeriesPlot::Quantity::Subsidence);
    chart()->addAxis(axisX_, Qt::AlignBottom);
    chart()->addAxis(axisY_, Qt::AlignLeft);
    comparable_ = new QScatterSeries;
    comparable_->setName(QStringLiteral("comparable"));
    comparable_->setColor(kComparable);
    comparable_->setBorderColor(kComparable);
    comparable_->setMarkerSize(9);
    others_ = new QScatterSeries;
    others_->setName(QStringLiteral("not comparable"));
    others_->setBrush(Qt::white);
    others_->setPen(QPen(kOther, 1.5));
    others_->setMarkerSize(9);
    for (QScatterSeries* s : {comparable_, others_}) {
        chart()->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
        connect(s, &QScatterSeries::hovered, this, &StudyChart::hovered);
        connect(s, &QScatterSeries::doubleClicked, this, [this](const QPointF& p) {
            const QString film = filmAt(p);
            if (!film.isEmpty())
                emit filmActivated(film);
        });
    }
}

void StudyChart::show(const Series::SeriesResult& series, double threshold)
{
    clear();
    const bool down = quantity_ == SeriesPlot::Quantity::Subsidence;
    double x0 = 0, x1 = 1, lo = 0, hi = down ? threshold : 0.5;
    auto addLine = [&](const QPointF& a, const QPointF& b, const QPen& pen, const QString& name) {
        auto* line = new QLineSeries;
        line->setPen(pen);
        line->append(a);
        line->append(b);
        line->setName(name);
        chart()->addSeries(line);
        line->attachAxis(axisX_);
        line->attachAxis(axisY_);
        if (name.isEmpty())
            for (QLegendMarker* m : chart()->legend()->markers(line))
                m->setVisible(false);
    };
    for (const Series::FilmRow& r : series.rows) {
        const double v = SeriesPlot::valueOf(r, quantity_);
        const double ci = SeriesPlot::ci95Of(r, quantity_);
        x0 = std::min(x0, r.months);
        x1 = std::max(x1, r.months);
        lo = std::min(lo, v - ci);
        hi = std::max(hi, v + ci);
        const bool filled = r.comparable || r.reference;
        if (ci > 0 && !r.reference)
            addLine({r.months, v - ci}, {r.months, v + ci},
                    QPen(filled ? kComparable : kOther, 1.2), QString());
        const QPointF p(r.months, v);
        (filled ? comparable_ : others_)->append(p);
        QString text = QString::fromStdString(r.film) + "\n" + QString::fromStdString(r.date) +
                       ", " + num(r.months, 1) + " months\n" +
                       QString::fromLatin1(down ? "subsidence " : "tilt ") + num(v) +
                       (r.reference ? QString() : QString::fromUtf8(" \u00b1 ") + num(ci)) +
                       (down ? " mm" : " degrees") + "\n" +
                       (r.reference    ? QStringLiteral("reference")
                        : r.comparable ? QStringLiteral("comparable")
                                       : "not comparable: " + QString::fromStdString(r.reason));
        points_.append({p, QString::fromStdString(r.film), text});
    }
    const double pad = 0.08 * (hi - lo) + 0.1;
    x1 += 0.04 * (x1 - x0) + 0.5;
    if (down)
        addLine({x0, threshold}, {x1, threshold}, QPen(QColor(200, 0, 0), 1.2, Qt::DashLine),
                QStringLiteral("threshold %1 mm").arg(num(threshold)));
    // The points over their error bars: the series added last is drawn on top.
    for (QScatterSeries* s : {comparable_, others_}) {
        chart()->removeSeries(s);
        chart()->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    // Ticks at the usual follow-up times: every 6 months, yearly beyond 4 years.
    axisX_->setRange(x0 - 0.02 * (x1 - x0) - 0.5, x1);
    axisX_->setTickType(QValueAxis::TicksDynamic);
    axisX_->setTickAnchor(0);
    axisX_->setTickInterval(x1 - x0 > 50 ? 12 : 6);
    axisY_->setRange(lo - pad, hi + pad);
    axisY_->applyNiceNumbers();
}

QString StudyChart::filmAt(const QPointF& value) const
{
    QString best;
    double bestD = 1e300;
    for (const Point& p : points_) {
        const double d = std::hypot(p.value.x() - value.x(), p.value.y() - value.y());
        if (d < bestD) {
            bestD = d;
            best = p.film;
        }
    }
    return best;
}

QString StudyChart::toolTipFor(const QString& film) const
{
    for (const Point& p : points_)
        if (p.film == film)
            return p.text;
    return QString();
}

void StudyChart::hovered(const QPointF& value, bool state)
{
    if (!state) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(), toolTipFor(filmAt(value)), this);
}
