#pragma once

#include <QFont>
#include <QList>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

// Writes the pages of a report top to bottom on a paged device (PDF writer
// or printer): lines of text, tables that continue on the next page, and
// blocks of a given height. Lengths are in millimetres of the page; every
// page gets the footer with its number.
class ReportPainter {
public:
    // `painter` is active on `device`.
    ReportPainter(QPainter& painter, QPagedPaintDevice& device, const QString& footer);

    // Device pixels of `mm` millimetres.
    double px(double mm) const;
    // The area between the margins of the current page, and what is left of it.
    QRectF body() const { return body_; }
    double remaining() const { return body_.bottom() - y_; }
    double y() const { return y_; }
    void skip(double mm) { y_ += px(mm); }

    // One line of text (wrapped when too long); bold for a heading.
    void text(const QString& line, double pointSize = 9.5, bool bold = false);
    // A table under the current line: the first row is the header (bold,
    // repeated on each further page); `widths` are fractions of the body's
    // width; `right` marks right-aligned columns.
    void table(const QList<QStringList>& rows, const QList<double>& widths,
               const QList<bool>& right, double pointSize = 8.0);
    // A block `heightMm` high across the body, on a new page when it does not
    // fit here; the caller draws into the returned rectangle.
    QRectF block(double heightMm);
    void newPage();
    // Finishes the last page (its footer).
    void finish();

    QPainter& painter() { return painter_; }

private:
    void footer();
    QFont font(double pointSize, bool bold) const;

    QPainter& painter_;
    QPagedPaintDevice& device_;
    QString footer_;
    QRectF body_;
    double y_ = 0;
    int page_ = 1;
    double dpi_ = 72;
};
