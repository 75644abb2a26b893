#include "report/SeriesReport.h"

#include "report/FilmParameters.h"
#include "report/PdfDocument.h"
#include "report/ReportPainter.h"
#include "report/SeriesPlot.h"

#include <cstdio>

namespace SeriesReport {

namespace {

QString utf8(const std::string& s)
{
    return QString::fromStdString(s);
}

QString num(double v, int decimals = 2)
{
    return utf8(FilmParameters::fixed(v, decimals));
}

QString withCi(double v, double ci, bool reference)
{
    return reference ? num(v) : num(v) + QString::fromUtf8(" \u00b1 ") + num(ci);
}

QString dateText(CalendarDate d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return QString::fromLatin1(buf);
}

} // namespace

QString settingsText(const Series::Settings& s)
{
    return QStringLiteral("tolerance %1 mm, width tolerance %2 %, threshold %3 mm, click sigma "
                          "%4 px, draws %5, seed %6")
        .arg(num(s.tolerance), num(s.widthTolerance, 1), num(s.threshold), num(s.clickSd))
        .arg(s.draws)
        .arg(qulonglong(s.seed));
}

QList<QStringList> filmRows(const Series::SeriesResult& series)
{
    QList<QStringList> rows = {{"date", "months", "comparable", "head factor", "subsidence mm",
                                "tilt deg", "cement mm", "flags", "film"}};
    for (const Series::FilmRow& r : series.rows) {
        QStringList flags;
        if (r.migrationDetected)
            flags << "migration";
        if (r.overThreshold)
            flags << "over threshold";
        const QString comparable = r.reference    ? QStringLiteral("reference")
                                   : r.comparable ? QStringLiteral("yes")
                                                  : QStringLiteral("no: ") + utf8(r.reason);
        rows.append({utf8(r.date), num(r.months, 1), comparable, num(r.headFactor, 4),
                     withCi(r.subsidence, r.subsidenceCi95, r.reference),
                     withCi(r.tilt, r.tiltCi95, r.reference),
                     r.cementSubsidence
                         ? withCi(*r.cementSubsidence, r.cementCi95.value_or(0), r.reference)
                         : QString(),
                     flags.join(", "), utf8(r.film)});
    }
    return rows;
}

void paint(QPainter& painter, QPagedPaintDevice& device, const Input& in)
{
    ReportPainter page(painter, device,
                       QStringLiteral("zor series report, printed ") + dateText(in.printed));
    const double mm = page.px(1.0);
    // The film last and widest, so that its path stays on one line.
    const QList<double> widths = {0.1, 0.07, 0.13, 0.06, 0.105, 0.1, 0.1, 0.08, 0.255};
    const QList<bool> right = {false, true, false, true, true, true, true, false, false};
    bool first = true;
    for (const Series::SeriesResult& s : in.series) {
        if (!first)
            page.newPage();
        first = false;
        const Series::SeriesSummary& m = s.summary;
        QString names = utf8(m.famname);
        if (!m.vorname.empty())
            names += (names.isEmpty() ? "" : ", ") + utf8(m.vorname);
        page.text(QStringLiteral("Series report: %1").arg(utf8(m.series)), 14, true);
        page.text(QStringLiteral("Patient: %1     Study - ID: %2     %3 hip")
                      .arg(names, utf8(m.code), m.side == "L" ? "left" : "right"),
                  10, true);
        QString reference;
        for (const Series::FilmRow& r : s.rows)
            if (r.reference)
                reference = utf8(r.film) + " (" + utf8(r.date) + ")";
        page.text(QStringLiteral("%1 films, %2 comparable, follow-up %3 months, last subsidence "
                                 "%4 mm, at 24 months %5, pattern: %6%7")
                      .arg(m.films)
                      .arg(m.comparableFilms)
                      .arg(num(m.followupMonths, 1), num(m.subsidenceLast),
                           m.subsidence24 ? num(*m.subsidence24) + " mm" : QStringLiteral("-"),
                           utf8(m.pattern), m.overThreshold ? ", over threshold" : ""));
        page.text(QStringLiteral("Settings: ") + settingsText(in.settings));
        page.text(QStringLiteral("Reference: ") + reference);
        if (!in.source.isEmpty())
            page.text(QStringLiteral("Read from: ") + in.source, 7.5);
        page.skip(3);
        SeriesPlot::paint(painter, page.block(78), s, SeriesPlot::Quantity::Subsidence,
                          in.settings.threshold, mm);
        page.skip(2);
        SeriesPlot::paint(painter, page.block(62), s, SeriesPlot::Quantity::Tilt,
                          in.settings.threshold, mm);
        page.skip(3);
        page.table(filmRows(s), widths, right, 7.0);
    }
    if (!in.leftOut.empty()) {
        page.skip(6);
        page.text(QStringLiteral("Left out"), 11, true);
        QList<QStringList> rows = {{"film", "reason"}};
        for (const Series::LeftOut& l : in.leftOut)
            rows.append({utf8(l.film), utf8(l.reason)});
        page.table(rows, {0.4, 0.6}, {false, false});
    }
    if (in.series.empty() && in.leftOut.empty())
        page.text(QStringLiteral("No series found."));
    page.finish();
}

bool writePdf(const std::string& path, const Input& input, std::string& error)
{
    PdfDocument pdf(QStringLiteral("Series report"));
    paint(pdf.painter(), pdf.device(), input);
    return pdf.save(path, error);
}

} // namespace SeriesReport
