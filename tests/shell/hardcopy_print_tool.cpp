// Driven by test-hardcopy-cups.sh against a private print daemon:
//   hardcopy_print_tool printer-name             the default printer Qt sees
//   hardcopy_print_tool print landscape|portrait prints a test window
//   hardcopy_print_tool no-printer               "no prt found" at once, clipboard kept
//   hardcopy_print_tool no-window                "capture failed" with a printer
//   hardcopy_print_tool check landscape|portrait PAGE.pgm
//                                                the rendered page shows that window
// Exit status 0 when what was asked for held; the reasons on stderr.
#include "HardcopyTestWindow.h"
#include "shell/HardCopy.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QRectF>

#include <cmath>
#include <cstdio>
#include <string>

using HardcopyTestWindow::Shape;

namespace {

bool failed = false;

void expect(bool ok, const QString& what)
{
    std::fprintf(stderr, "%s: %s\n", ok ? "ok" : "FAIL", qPrintable(what));
    if (!ok)
        failed = true;
}

bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}

QString describe(const QRectF& r)
{
    return QStringLiteral("(%1, %2, %3 x %4)")
        .arg(r.x(), 0, 'f', 1)
        .arg(r.y(), 0, 'f', 1)
        .arg(r.width(), 0, 'f', 1)
        .arg(r.height(), 0, 'f', 1);
}

bool nearRect(const QRectF& a, const QRectF& b, double tolerance)
{
    return near(a.left(), b.left(), tolerance) && near(a.top(), b.top(), tolerance) &&
           near(a.right(), b.right(), tolerance) && near(a.bottom(), b.bottom(), tolerance);
}

// Bounding box of the pixels accepted by `keep`, in pixel edges.
template <typename Keep> QRectF boundingBox(const QImage& grey, Keep keep, long* count = nullptr)
{
    int left = grey.width(), top = grey.height(), right = -1, bottom = -1;
    long n = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            if (keep(row[x])) {
                ++n;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    if (count != nullptr)
        *count = n;
    if (right < 0)
        return {};
    return QRectF(left, top, right - left + 1, bottom - top + 1);
}

Shape shapeOf(const QString& name)
{
    return name == QLatin1String("portrait") ? Shape::Portrait : Shape::Landscape;
}

int print(Shape shape)
{
    HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(shape);
    window.main->show();
    window.main->activateWindow();
    QApplication::processEvents();
    const std::string result = HardCopy::PrintHardcopy(window.main.get());
    std::printf("result \"%s\"\n", result.c_str());
    return result.empty() ? 0 : 1;
}

int noPrinter()
{
    HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(Shape::Landscape);
    window.main->show();
    QApplication::processEvents();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("kept"));
    QElapsedTimer timer;
    timer.start();
    const std::string result = HardCopy::PrintHardcopy(window.main.get());
    const qint64 elapsed = timer.elapsed();
    expect(result == HardCopy::NoPrinter, QStringLiteral("result \"%1\"").arg(result.c_str()));
    expect(elapsed < 2000, QStringLiteral("returned after %1 ms").arg(elapsed));
    expect(clipboard->text() == QLatin1String("kept") && !clipboard->mimeData()->hasImage(),
           QStringLiteral("clipboard unchanged"));
    return failed ? 1 : 0;
}

int check(Shape shape, const QString& path)
{
    QImage page(path);
    if (page.isNull()) {
        expect(false, QStringLiteral("cannot read the rendered page %1").arg(path));
        return 1;
    }
    page = page.convertToFormat(QImage::Format_Grayscale8);
    const double pw = page.width();
    const double ph = page.height();
    expect(pw < ph, QStringLiteral("upright paper, %1 x %2").arg(pw).arg(ph));

    const QSize win = HardcopyTestWindow::windowSize(shape);
    const bool turned = shape == Shape::Landscape;
    const double iw = turned ? win.height() : win.width();
    const double ih = turned ? win.width() : win.height();
    const double boxW = pw * 0.9;
    const double boxH = ph * 0.9;
    double tw = boxW;
    double th = boxW * ih / iw;
    if (th > boxH) {
        th = boxH;
        tw = boxH * iw / ih;
    }
    const QRectF expectedInk(pw / 20, ph / 20, tw, th);
    const QRectF ink = boundingBox(page, [](uchar v) { return v < 250; });
    expect(nearRect(ink, expectedInk, 2.5), QStringLiteral("printed window at %1, expected %2")
                                                .arg(describe(ink), describe(expectedInk)));
    if (turned)
        expect(near(ink.width(), boxW, 2.5),
               QStringLiteral("fills the page width inside the margins: %1 of %2")
                   .arg(ink.width())
                   .arg(boxW));

    // Where the patch must be: the capture is the window without frame here.
    HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(shape);
    window.main->show();
    QApplication::processEvents();
    const QRect p = window.patchInWindow();
    const QRectF inImage =
        turned ? QRectF(p.top(), win.width() - p.left() - p.width(), p.height(), p.width())
               : QRectF(p);
    const double scale = tw / iw;
    const QRectF expectedPatch(expectedInk.left() + inImage.left() * scale,
                               expectedInk.top() + inImage.top() * scale, inImage.width() * scale,
                               inImage.height() * scale);
    // Text edges and scroll-bar shades may hit the patch's grey here and
    // there; the patch itself is the solid block of it.
    const QRectF inner = expectedPatch.adjusted(2, 2, -2, -2);
    const QRectF outer = expectedPatch.adjusted(-2, -2, 2, 2);
    long inside = 0;
    long outside = 0;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            const QPointF centre(x + 0.5, y + 0.5);
            if (inner.contains(centre))
                inside += row[x] == HardcopyTestWindow::patchGrey ? 1 : 0;
            else if (!outer.contains(centre))
                outside += row[x] == HardcopyTestWindow::patchGrey ? 1 : 0;
        }
    }
    const double area = inner.width() * inner.height();
    expect(inside >= 0.99 * area, QStringLiteral("grey %1 fills the patch at %2: %3 of %4 pixels")
                                      .arg(HardcopyTestWindow::patchGrey)
                                      .arg(describe(expectedPatch))
                                      .arg(inside)
                                      .arg(area, 0, 'f', 0));
    expect(outside <= 0.05 * area, QStringLiteral("%1 pixels of grey %2 elsewhere")
                                       .arg(outside)
                                       .arg(HardcopyTestWindow::patchGrey));
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const QString command = args.value(0);
    if (command == QLatin1String("printer-name") && args.size() == 1) {
        std::printf("%s\n", HardCopy::GetPrinterName().c_str());
        return 0;
    }
    if (command == QLatin1String("print") && args.size() == 2)
        return print(shapeOf(args[1]));
    if (command == QLatin1String("no-printer") && args.size() == 1)
        return noPrinter();
    if (command == QLatin1String("no-window") && args.size() == 1) {
        const std::string result = HardCopy::PrintHardcopy(nullptr);
        expect(result == HardCopy::CaptureFailed,
               QStringLiteral("result \"%1\"").arg(result.c_str()));
        return failed ? 1 : 0;
    }
    if (command == QLatin1String("check") && args.size() == 3)
        return check(shapeOf(args[1]), args[2]);
    std::fprintf(stderr, "usage: hardcopy_print_tool printer-name | print SHAPE | no-printer | "
                         "no-window | check SHAPE PAGE.pgm\n");
    return 2;
}
