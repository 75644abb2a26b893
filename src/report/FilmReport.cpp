#include "report/FilmReport.h"

#include "casefile/BinFile.h"
#include "casefile/FileIO.h"
#include "image/CBitmap.h"
#include "imageio/RadiographFile.h"
#include "report/FilmParameters.h"
#include "report/PainterSurface.h"
#include "report/PdfDocument.h"
#include "report/ReportPainter.h"
#include "series/KeptMessages.h"

#include <QFileInfo>
#include <QPagedPaintDevice>

#include <cstdio>
#include <filesystem>

namespace FilmReport {

namespace {

QString utf8(const std::string& s)
{
    return QString::fromStdString(s);
}

QString dateText(CalendarDate d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return QString::fromLatin1(buf);
}

// The parameter table in its column: names left, values right.
void drawParameters(QPainter& p, const QRectF& box, const std::vector<FilmParameters::Row>& rows,
                    const QString& refusal, double mm)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(8.5);
    QFont bold = f;
    bold.setBold(true);
    const double line = 4.6 * mm;
    double y = box.top();
    p.setPen(Qt::black);
    p.setFont(bold);
    p.drawText(QRectF(box.left(), y, box.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Parameters of the film"));
    y += line * 1.3;
    for (const FilmParameters::Row& r : rows) {
        const bool heading = r.value.empty();
        p.setFont(heading ? bold : f);
        if (heading)
            y += line * 0.3;
        const QRectF cell(box.left(), y, box.width(), line);
        p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                   (heading ? QString() : QStringLiteral("  ")) + utf8(r.name));
        p.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, utf8(r.value));
        if (!heading) {
            p.setPen(QPen(Qt::lightGray, 0.15 * mm));
            p.drawLine(QPointF(box.left(), y + line), QPointF(box.right(), y + line));
            p.setPen(Qt::black);
        }
        y += line;
    }
    if (!refusal.isEmpty()) {
        p.setFont(bold);
        p.setPen(Qt::darkRed);
        p.drawText(QRectF(box.left(), y + line, box.width(), 4 * line), Qt::TextWordWrap,
                   QStringLiteral("No analysis: ") + refusal);
    }
}

} // namespace

QImage shownImage(const CBitmap& bitmap)
{
    if (bitmap.isNull())
        return {};
    const QImage view(bitmap.bits(), bitmap.W(), bitmap.H(), qsizetype(bitmap.bytesPerLine()),
                      QImage::Format_Indexed8);
    QImage shown = view.copy();
    shown.setColorTable(QList<QRgb>(bitmap.colorTable().begin(), bitmap.colorTable().end()));
    return shown.convertToFormat(QImage::Format_Grayscale8);
}

bool load(const std::string& imagePath, Film& film, std::string& error)
{
    CBitmap bitmap;
    RadiographInfo info;
    if (!RadiographFile::load(imagePath, bitmap, info, error))
        return false;
    const std::optional<std::string> landmarks = BinFile::LandmarkPath(imagePath);
    std::error_code ec;
    if (!landmarks || !std::filesystem::exists(*landmarks, ec)) {
        error = "no landmark file beside " + imagePath;
        return false;
    }
    CZor zor;
    Series::KeptMessages messages;
    if (!BinFile::ReadLandmarkFile(*landmarks, bitmap.W(), bitmap.H(), zor, messages)) {
        error = messages.text.empty() ? "cannot read " + *landmarks : messages.text;
        return false;
    }
    zor.Visible = true;
    film.zor = zor;
    film.image = shownImage(bitmap);
    film.imagePath = QString::fromStdString(imagePath);
    return true;
}

void paint(QPainter& painter, QPagedPaintDevice& device, const Film& film)
{
    const CZor& z = film.zor;
    ReportPainter page(painter, device,
                       QStringLiteral("zor film report, printed ") + dateText(film.printed));
    const double mm = page.px(1.0);
    page.text(QStringLiteral("Film report: ") + QFileInfo(film.imagePath).fileName(), 14, true);
    page.text(film.imagePath, 7.5);
    page.skip(2);
    QString names = utf8(z.Patient.Famname);
    if (!z.Patient.Vorname.empty())
        names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + utf8(z.Patient.Vorname);
    page.text(QStringLiteral("Patient: %1     Study - ID: %2")
                  .arg(names.isEmpty() ? QStringLiteral("-") : names,
                       z.Patient.Code.empty() ? QStringLiteral("-") : utf8(z.Patient.Code)),
              10.5, true);
    page.text(
        QStringLiteral("X-Ray Date: %1     Printed: %2")
            .arg(z.Datum.empty() ? QStringLiteral("-") : utf8(FilmParameters::isoDate(z.Datum)),
                 dateText(film.printed)));
    page.text(QStringLiteral("Scale: %1     Scale source: %2")
                  .arg(utf8(z.scaleText()), utf8(z.CalibSource)));
    page.skip(3);

    const QRectF area(page.body().left(), page.y(), page.body().width(), page.remaining());
    const QRectF filmBox(area.left(), area.top(), area.width() * 0.48, area.height());
    const QRectF tableBox(filmBox.right() + 6 * mm, area.top(),
                          area.right() - filmBox.right() - 6 * mm, area.height());
    if (!film.image.isNull()) {
        QSizeF size = film.image.size();
        size.scale(filmBox.size(), Qt::KeepAspectRatio);
        const QRectF target(filmBox.topLeft(), size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, film.image);
        painter.setRenderHint(QPainter::Antialiasing);
        PainterSurface surface(painter, target, film.image.width(), film.image.height(), 0.25 * mm);
        z.draw(surface, film.color1, film.color2);
        painter.setPen(QPen(Qt::black, 0.2 * mm));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(target);
    }
    std::string refusal;
    const std::vector<FilmParameters::Row> rows = FilmParameters::rows(z, &refusal);
    drawParameters(painter, tableBox, rows, utf8(refusal), mm);
    page.finish();
}

bool writePdf(const std::string& path, const Film& film, std::string& error)
{
    PdfDocument pdf(QStringLiteral("Film report ") + QFileInfo(film.imagePath).fileName());
    paint(pdf.painter(), pdf.device(), film);
    return pdf.save(path, error);
}

} // namespace FilmReport
