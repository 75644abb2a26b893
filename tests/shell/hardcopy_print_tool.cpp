// Driven by test-hardcopy-cups.sh against a private print daemon:
//   hardcopy_print_tool print landscape|portrait  prints a test window
//   hardcopy_print_tool refused | no-window       "print failed" | "capture failed"
//   hardcopy_print_tool check landscape|portrait PAGE.pgm
//   hardcopy_print_tool report                  prints a film report page
// Exit status 0 when what was asked for held; the reasons on stderr.
#include "HardcopyTestWindow.h"
#include "report/FilmReport.h"
#include "shell/HardCopy.h"
#include "shell/StudyMenu.h"

#include <QApplication>
#include <QRectF>

#include <cmath>
#include <cstdio>

using HardcopyTestWindow::Shape;
using HardcopyTestWindow::Window;

namespace {

int failures = 0;

void expect(bool ok, const QString& what)
{
    std::fprintf(stderr, "%s: %s\n", ok ? "ok" : "FAIL", qPrintable(what));
    failures += ok ? 0 : 1;
}

QString describe(const QRectF& r)
{
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The page rendered at 72 dpi shows the window inside margins of a twentieth:
// turned a quarter anticlockwise to the full width when wide, upright
// otherwise, and its patch in the patch's grey.
void check(Shape shape, const QString& path)
{
    const QImage page = QImage(path).convertToFormat(QImage::Format_Grayscale8);
    const double pw = page.width(), ph = page.height();
    expect(!page.isNull() && pw < ph, QStringLiteral("upright page %1 x %2").arg(pw).arg(ph));

    const Window window(shape);
    QApplication::processEvents();
    const QSize win = HardcopyTestWindow::windowSize(shape);
    const bool turned = win.width() > win.height();
    const QSizeF image = turned ? QSizeF(win.transposed()) : QSizeF(win);
    const double scale = std::min(pw * 0.9 / image.width(), ph * 0.9 / image.height());
    const QRectF expected(pw / 20, ph / 20, image.width() * scale, image.height() * scale);

    QRectF ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.constScanLine(y)[x] < 250)
                ink |= QRectF(x, y, 1, 1);
    const bool inPlace = std::abs(ink.left() - expected.left()) <= 2.5 &&
                         std::abs(ink.top() - expected.top()) <= 2.5 &&
                         std::abs(ink.right() - expected.right()) <= 2.5 &&
                         std::abs(ink.bottom() - expected.bottom()) <= 2.5;
    expect(inPlace,
           QStringLiteral("printed at %1, expected %2").arg(describe(ink), describe(expected)));

    // Anticlockwise: window (x, y) lands at (y, width - x) of the turned image.
    const QRect p = window.patchInWindow();
    const QRectF inImage =
        turned ? QRectF(p.top(), win.width() - p.right() - 1, p.height(), p.width()) : QRectF(p);
    const QRectF patch(expected.left() + inImage.left() * scale,
                       expected.top() + inImage.top() * scale, inImage.width() * scale,
                       inImage.height() * scale);
    // Text edges may share the grey in single pixels; the patch is a solid block of it.
    const QRect inner = patch.adjusted(3, 3, -3, -3).toRect();
    long hits = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            hits += page.constScanLine(y)[x] == HardcopyTestWindow::patchGrey ? 1 : 0;
    const long area = static_cast<long>(inner.width()) * inner.height();
    expect(hits >= 0.99 * area, QStringLiteral("grey %1 fills the patch at %2: %3 of %4")
                                    .arg(HardcopyTestWindow::patchGrey)
                                    .arg(describe(patch))
                                    .arg(hits)
                                    .arg(area));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const QString command = args.value(0);
    const Shape shape =
        args.value(1) == QLatin1String("portrait") ? Shape::Portrait : Shape::Landscape;
    if (command == QLatin1String("check") && args.size() == 3) {
        check(shape, args[2]);
        return failures == 0 ? 0 : 1;
    }
    if (command == QLatin1String("report")) {
        FilmReport::Film film;
        film.image = QImage(300, 500, QImage::Format_Grayscale8);
        film.image.fill(90);
        film.zor.Patient.Famname = "Printed";
        film.zor.Patient.Vorname = "Page";
        film.imagePath = "print-test.bmp";
        film.printed = {2026, 1, 2};
        const std::string result = StudyMenu::print(film);
        expect(result.empty(), QStringLiteral("film report: result \"%1\"").arg(result.c_str()));
        return failures == 0 ? 0 : 1;
    }
    std::string wanted; // print SHAPE: printed
    if (command == QLatin1String("refused"))
        wanted = HardCopy::PrintFailed;
    else if (command == QLatin1String("no-window"))
        wanted = HardCopy::CaptureFailed;
    else if (command != QLatin1String("print"))
        return 2; // the usage is at the top of this file
    const Window window(shape);
    QApplication::processEvents();
    const std::string result = HardCopy::PrintHardcopy(
        command == QLatin1String("no-window") ? nullptr : window.main.get());
    expect(result == wanted, QStringLiteral("%1: result \"%2\"").arg(command, result.c_str()));
    return failures == 0 ? 0 : 1;
}
