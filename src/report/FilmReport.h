#pragma once

#include "model/CZor.h"
#include "platform/Clock.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>

class CBitmap;
class QPagedPaintDevice;
class QPainter;

// "&Film Report ...": one page about the open film: the film with its
// landmarks in their colours, the patient, the radiograph date, the scale
// and its source, the film's parameters, and the date of printing. The
// window and `zor-cli report` write the same page.
namespace FilmReport {

struct Film {
    QImage image; // the whole film as shown (grey levels through its table)
    CZor zor;
    QString imagePath;
    CalendarDate printed;
    uint32_t color1 = 0xFF00FF; // proposed lines, not yet accepted (0x00BBGGRR)
    uint32_t color2 = 0x0000FF; // accepted
};

// The film as shown: every pixel through the bitmap's table.
QImage shownImage(const CBitmap& bitmap);

// Reads a case as `zor-cli analyse` does: the image, and its landmark file
// beside it. False with `error` (naming the file) when either cannot be read.
bool load(const std::string& imagePath, Film& film, std::string& error);

// Paints the page on `painter`, active on `device`.
void paint(QPainter& painter, QPagedPaintDevice& device, const Film& film);

// The page as an A4 PDF, written whole or not at all. False with `error`.
bool writePdf(const std::string& path, const Film& film, std::string& error);

} // namespace FilmReport
