#pragma once

#include "report/SeriesPlot.h"
#include "series/Series.h"

#include <QChartView>
#include <QPointF>
#include <QString>
#include <QVector>

class QScatterSeries;
class QValueAxis;

// One plot of the study window: subsidence (sinking downwards) or tilt
// against months since the reference, one point per film with its ci95 as
// an error bar, non-comparable films hollow, the subsidence threshold as a
// dashed line. Hovering a point shows its film and values; a double click
// on it asks for the film to be opened.
class StudyChart : public QChartView {
    Q_OBJECT
public:
    StudyChart(SeriesPlot::Quantity quantity, QWidget* parent = nullptr);

    void show(const Series::SeriesResult& series, double threshold);
    void clear();

    // The points of comparable films (the reference among them) and of the others.
    QScatterSeries* comparablePoints() const { return comparable_; }
    QScatterSeries* otherPoints() const { return others_; }
    // The film drawn nearest to a point of the plot's values; "" for none.
    QString filmAt(const QPointF& value) const;
    // The hover text of a film.
    QString toolTipFor(const QString& film) const;

signals:
    void filmActivated(const QString& film);

private:
    struct Point {
        QPointF value;
        QString film;
        QString text;
    };
    void hovered(const QPointF& value, bool state);

    SeriesPlot::Quantity quantity_;
    QScatterSeries* comparable_ = nullptr;
    QScatterSeries* others_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    QVector<Point> points_;
};
