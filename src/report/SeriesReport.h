#pragma once

#include "platform/Clock.h"
#include "series/Series.h"

#include <QString>

#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// "Series Report ...": per series its two plots, its film table and the
// settings it was worked out with, on as many A4 pages as it takes; the
// study window and `zor-cli series --report` write the same pages.
namespace SeriesReport {

struct Input {
    std::vector<Series::SeriesResult> series; // each starts on a new page
    std::vector<Series::LeftOut> leftOut;     // listed at the end
    Series::Settings settings;
    QString source; // the folder or paths the study was read from
    CalendarDate printed;
};

// "2.00 mm", the settings as one line of text.
QString settingsText(const Series::Settings& s);
// The film table's rows, header first.
QList<QStringList> filmRows(const Series::SeriesResult& series);

void paint(QPainter& painter, QPagedPaintDevice& device, const Input& input);
bool writePdf(const std::string& path, const Input& input, std::string& error);

} // namespace SeriesReport
