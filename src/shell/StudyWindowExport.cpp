#include "casefile/FileIO.h"
#include "platform/UserMessages.h"
#include "report/SeriesReport.h"
#include "series/Csv.h"
#include "shell/FileDialogs.h"
#include "shell/StudyChart.h"
#include "shell/StudyWindow.h"
#include "shell/WaitCursor.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

// The study window's files: the two tables as CSV (the very bytes of
// `zor-cli series --csv/--summary`), the plots as pictures, the series report.

namespace {

void fail(const QString& text)
{
    userMessages().showMessage("Error", text.toStdString(), MessageIcon::Critical);
}

} // namespace

bool StudyWindow::writeText(const QString& caption, const QString& suggested,
                            const std::string& bytes)
{
    const QString path = FileDialogs::saveFile(this, caption, QDir(folder_).filePath(suggested),
                                               tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return false;
    std::string why;
    if (!FileIO::replaceWhole(path.toStdString(), bytes, &why)) {
        fail(tr("cannot write %1: %2").arg(path, QString::fromStdString(why)));
        return false;
    }
    return true;
}

void StudyWindow::exportFilmTable()
{
    writeText(tr("Export Film Table"), "films.csv",
              Csv::filmTable(result_, Csv::Style{excel_->isChecked()}));
}

void StudyWindow::exportSeriesTable()
{
    writeText(tr("Export Series Table"), "series.csv",
              Csv::summaryTable(result_, Csv::Style{excel_->isChecked()}));
}

bool StudyWindow::writePlot(const QString& path, QString& error)
{
    const QSize one(qMax(subsidence_->width(), 640), qMax(subsidence_->height(), 320));
    const QSize whole(one.width(), 2 * one.height());
    auto paint = [&](QPainter& p, const QRectF& target) {
        const QRectF top(target.topLeft(), QSizeF(target.width(), target.height() / 2));
        subsidence_->render(&p, top, QRect(), Qt::KeepAspectRatio);
        tilt_->render(&p, top.translated(0, top.height()), QRect(), Qt::KeepAspectRatio);
    };
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == "png") {
        QImage image(whole, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        paint(p, QRectF(QPointF(0, 0), whole));
        p.end();
        image.save(&buffer, "PNG");
    } else if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(whole);
        svg.setViewBox(QRect(QPoint(0, 0), whole));
        svg.setTitle(windowTitle());
        QPainter p(&svg);
        paint(p, QRectF(QPointF(0, 0), whole));
    } else if (suffix == "pdf") {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QSizeF(whole) * 0.75, QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(windowTitle());
        QPainter p(&pdf);
        paint(p, QRectF(0, 0, pdf.width(), pdf.height()));
    } else {
        error = tr("%1: a plot is written as .png, .svg or .pdf").arg(path);
        return false;
    }
    buffer.close();
    std::string why;
    if (bytes.isEmpty() || !FileIO::replaceWhole(path.toStdString(), bytes.toStdString(), &why)) {
        error = tr("cannot write %1: %2").arg(path, QString::fromStdString(why));
        return false;
    }
    return true;
}

void StudyWindow::exportPlot()
{
    if (selected_ < 0)
        return;
    const QString name = QString::fromStdString(result_.series[size_t(selected_)].summary.series);
    const QString path =
        FileDialogs::saveFile(this, tr("Export Plot"), QDir(folder_).filePath(name + ".png"),
                              tr("PNG image (*.png);;SVG drawing (*.svg);;PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writePlot(path, error))
        fail(error);
}

void StudyWindow::seriesReport()
{
    if (selected_ < 0)
        return;
    const Series::SeriesResult& s = result_.series[size_t(selected_)];
    const QString path = FileDialogs::saveFile(
        this, tr("Series Report"),
        QDir(folder_).filePath(QString::fromStdString(s.summary.series) + ".pdf"),
        tr("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    SeriesReport::Input input;
    input.series = {s};
    input.settings = settings_;
    input.source = QDir::toNativeSeparators(folder_);
    input.printed = SystemClock().today();
    std::string error;
    WaitCursor hourglass;
    if (!SeriesReport::writePdf(path.toStdString(), input, error))
        fail(QString::fromStdString(error));
}
