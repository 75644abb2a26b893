// Driven by test-hardcopy-cups.sh against a private print daemon:
//   hardcopy_print_tool printer-name             the default printer Qt sees
//   hardcopy_print_tool print landscape|portrait prints a test window
//   hardcopy_print_tool no-printer               "no prt found" at once, clipboard kept
//   hardcopy_print_tool no-window                "capture failed" with a printer
//   hardcopy_print_tool refused                  "print failed" on a queue refusing jobs
//   hardcopy_print_tool print mainform GEOMETRY  "&hardcopy" of the main window
//   hardcopy_print_tool check landscape|portrait PAGE.pgm
//   hardcopy_print_tool check mainform PAGE.pgm GEOMETRY
//                                                the rendered page shows that window
// Exit status 0 when what was asked for held; the reasons on stderr.
#include "../support/RecordingMessages.h"
#include "HardcopyTestWindow.h"
#include "shell/HardCopy.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QRectF>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstring>
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

// Expects "print failed": the queue refuses jobs.
int printRefused()
{
    HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(Shape::Portrait);
    window.main->show();
    QApplication::processEvents();
    const std::string result = HardCopy::PrintHardcopy(window.main.get());
    expect(result == HardCopy::PrintFailed, QStringLiteral("result \"%1\"").arg(result.c_str()));
    return failed ? 1 : 0;
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

// What a printed window must show: its capture's size and a solid patch of
// one grey in it.
struct Expected {
    QSize window;
    QRect patch;
    int grey = 0;
};

// The real main window with a radiograph stand-in: "&hardcopy" is chosen
// from its menu. The capture's size and where the picture's patch landed in
// it (found in the clipboard, which must hold the capture) go to
// `geometryFile` for the check.
int printMainForm(const QString& geometryFile)
{
    constexpr int picturePatchGrey = 150;
    QTemporaryDir folder;
    QImage radiograph(600, 400, QImage::Format_Grayscale8);
    radiograph.fill(60);
    for (int y = 30; y < 150; ++y)
        std::memset(radiograph.scanLine(y) + 40, picturePatchGrey, 160);
    const QString imagePath = folder.filePath(QStringLiteral("case.bmp"));
    if (!radiograph.save(imagePath)) {
        expect(false, QStringLiteral("cannot write %1").arg(imagePath));
        return 1;
    }
    ScopedMessages messages;
    MainForm window;
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    expect(window.OpenImage(imagePath), QStringLiteral("opened %1").arg(imagePath));
    QApplication::processEvents();
    QAction* hardcopy = window.action(QStringLiteral("m_hardcopy"));
    expect(hardcopy != nullptr && hardcopy->isEnabled(), QStringLiteral("\"&hardcopy\" item"));
    if (hardcopy == nullptr)
        return 1;
    hardcopy->trigger();
    for (const RecordingMessages::Message& m : messages.recorder.messages)
        expect(false, QStringLiteral("message %1: %2").arg(m.caption.c_str(), m.text.c_str()));

    const QImage capture =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_Grayscale8);
    expect(capture.size() == window.size(),
           QStringLiteral("the clipboard holds the %1 x %2 capture")
               .arg(capture.width())
               .arg(capture.height()));
    // The patch is the solid block of its grey; text edges may share the
    // grey in single pixels.
    const auto solid = [&capture](int x, int y) {
        const auto at = [&capture](int px, int py) {
            return px >= 0 && py >= 0 && px < capture.width() && py < capture.height() &&
                   capture.constScanLine(py)[px] == picturePatchGrey;
        };
        return at(x, y) && at(x - 1, y) && at(x + 1, y) && at(x, y - 1) && at(x, y + 1);
    };
    QRect patch;
    for (int y = 0; y < capture.height(); ++y)
        for (int x = 0; x < capture.width(); ++x)
            if (solid(x, y))
                patch |= QRect(x - 1, y - 1, 3, 3);
    expect(patch.size() == QSize(160, 120),
           QStringLiteral("the picture's patch in the capture at %1").arg(describe(patch)));
    QFile out(geometryFile);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    out.write(QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                  .arg(capture.width())
                  .arg(capture.height())
                  .arg(patch.x())
                  .arg(patch.y())
                  .arg(patch.width())
                  .arg(patch.height())
                  .arg(picturePatchGrey)
                  .toLatin1());
    return failed ? 1 : 0;
}

Expected readExpected(const QString& geometryFile)
{
    QFile in(geometryFile);
    Expected e;
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return e;
    const QStringList v = QString::fromLatin1(in.readAll()).split(' ', Qt::SkipEmptyParts);
    if (v.size() != 7)
        return e;
    e.window = QSize(v[0].toInt(), v[1].toInt());
    e.patch = QRect(v[2].toInt(), v[3].toInt(), v[4].toInt(), v[5].toInt());
    e.grey = v[6].toInt();
    return e;
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

Expected expectedFor(Shape shape)
{
    HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(shape);
    window.main->show();
    QApplication::processEvents();
    // The capture is the window without frame on this platform.
    return {HardcopyTestWindow::windowSize(shape), window.patchInWindow(),
            HardcopyTestWindow::patchGrey};
}

int check(const Expected& expected, const QString& path)
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

    const QSize win = expected.window;
    const bool turned = win.width() > win.height();
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

    const QRect p = expected.patch;
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
                inside += row[x] == expected.grey ? 1 : 0;
            else if (!outer.contains(centre))
                outside += row[x] == expected.grey ? 1 : 0;
        }
    }
    const double area = inner.width() * inner.height();
    expect(inside >= 0.99 * area, QStringLiteral("grey %1 fills the patch at %2: %3 of %4 pixels")
                                      .arg(expected.grey)
                                      .arg(describe(expectedPatch))
                                      .arg(inside)
                                      .arg(area, 0, 'f', 0));
    expect(outside <= 0.05 * area,
           QStringLiteral("%1 pixels of grey %2 elsewhere").arg(outside).arg(expected.grey));
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
    if (command == QLatin1String("print") && args.size() == 3 &&
        args[1] == QLatin1String("mainform"))
        return printMainForm(args[2]);
    if (command == QLatin1String("print") && args.size() == 2)
        return print(shapeOf(args[1]));
    if (command == QLatin1String("no-printer") && args.size() == 1)
        return noPrinter();
    if (command == QLatin1String("refused") && args.size() == 1)
        return printRefused();
    if (command == QLatin1String("no-window") && args.size() == 1) {
        const std::string result = HardCopy::PrintHardcopy(nullptr);
        expect(result == HardCopy::CaptureFailed,
               QStringLiteral("result \"%1\"").arg(result.c_str()));
        return failed ? 1 : 0;
    }
    if (command == QLatin1String("check") && args.size() == 4 &&
        args[1] == QLatin1String("mainform"))
        return check(readExpected(args[3]), args[2]);
    if (command == QLatin1String("check") && args.size() == 3)
        return check(expectedFor(shapeOf(args[1])), args[2]);
    std::fprintf(stderr, "usage: hardcopy_print_tool printer-name | print SHAPE | "
                         "print mainform GEOMETRY | no-printer | no-window | refused | "
                         "check SHAPE PAGE.pgm | check mainform PAGE.pgm GEOMETRY\n");
    return 2;
}
