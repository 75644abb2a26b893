#include "report/ReportPainter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>

#include <algorithm>

namespace {
constexpr double kMarginMm = 15.0;
constexpr double kFooterMm = 8.0;
} // namespace

ReportPainter::ReportPainter(QPainter& painter, QPagedPaintDevice& device, const QString& footer)
    : painter_(painter), device_(device), footer_(footer)
{
    dpi_ = device.logicalDpiY();
    const double m = px(kMarginMm);
    body_ = QRectF(m, m, device.width() - 2 * m, device.height() - 2 * m - px(kFooterMm));
    y_ = body_.top();
}

double ReportPainter::px(double mm) const
{
    return mm * dpi_ / 25.4;
}

QFont ReportPainter::font(double pointSize, bool bold) const
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void ReportPainter::text(const QString& line, double pointSize, bool bold)
{
    painter_.setFont(font(pointSize, bold));
    painter_.setPen(Qt::black);
    const QRectF room(body_.left(), y_, body_.width(), body_.bottom() - y_);
    QRectF need = painter_.boundingRect(room, Qt::TextWordWrap, line);
    if (need.height() > remaining()) {
        newPage();
        need.moveTop(y_);
    }
    painter_.drawText(QRectF(body_.left(), y_, body_.width(), need.height()), Qt::TextWordWrap,
                      line);
    y_ += need.height();
}

void ReportPainter::table(const QList<QStringList>& rows, const QList<double>& widths,
                          const QList<bool>& right, double pointSize)
{
    if (rows.isEmpty())
        return;
    const double pad = px(1.0);
    const QFont plain = font(pointSize, false);
    const QFont bold = font(pointSize, true);
    QList<double> left;
    double x = body_.left();
    for (double w : widths) {
        left << x;
        x += w * body_.width();
    }
    auto rowHeight = [&](const QStringList& row, const QFont& f) {
        painter_.setFont(f);
        double h = QFontMetricsF(f, &device_).height();
        for (int c = 0; c < row.size() && c < widths.size(); ++c) {
            const QRectF cell(0, 0, widths[c] * body_.width() - 2 * pad, 1e6);
            h = std::max(h, painter_.boundingRect(cell, Qt::TextWordWrap, row[c]).height());
        }
        return h + 2 * pad;
    };
    auto drawRow = [&](const QStringList& row, const QFont& f, bool header) {
        const double h = rowHeight(row, f);
        painter_.setFont(f);
        painter_.setPen(Qt::black);
        for (int c = 0; c < row.size() && c < widths.size(); ++c) {
            const QRectF cell(left[c] + pad, y_ + pad, widths[c] * body_.width() - 2 * pad,
                              h - 2 * pad);
            const int align =
                Qt::TextWordWrap | Qt::AlignTop | (right.value(c) ? Qt::AlignRight : Qt::AlignLeft);
            painter_.drawText(cell, align, row[c]);
        }
        painter_.setPen(QPen(header ? Qt::black : Qt::lightGray, header ? px(0.3) : px(0.15)));
        painter_.drawLine(QPointF(body_.left(), y_ + h), QPointF(x, y_ + h));
        y_ += h;
    };
    if (rowHeight(rows.front(), bold) + (rows.size() > 1 ? rowHeight(rows[1], plain) : 0) >
        remaining())
        newPage();
    drawRow(rows.front(), bold, true);
    for (int r = 1; r < rows.size(); ++r) {
        if (rowHeight(rows[r], plain) > remaining()) {
            newPage();
            drawRow(rows.front(), bold, true);
        }
        drawRow(rows[r], plain, false);
    }
}

QRectF ReportPainter::block(double heightMm)
{
    const double h = std::min(px(heightMm), body_.height());
    if (h > remaining())
        newPage();
    const QRectF r(body_.left(), y_, body_.width(), h);
    y_ += h;
    return r;
}

void ReportPainter::footer()
{
    painter_.setFont(font(7.5, false));
    painter_.setPen(Qt::darkGray);
    const QRectF r(body_.left(), body_.bottom() + px(3), body_.width(), px(kFooterMm - 3));
    painter_.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, footer_);
    painter_.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("page %1").arg(page_));
}

void ReportPainter::newPage()
{
    footer();
    device_.newPage();
    ++page_;
    y_ = body_.top();
}

void ReportPainter::finish()
{
    footer();
}
