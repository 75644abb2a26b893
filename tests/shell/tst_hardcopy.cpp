#include "HardcopyTestWindow.h"
#include "shell/HardCopy.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtTest>

using HardcopyTestWindow::Shape;
using HardcopyTestWindow::Window;

// The capture, the page it becomes, and the command without a printer; the
// print itself runs through a real queue in test-hardcopy-cups.sh.
class TestHardCopy : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // No print server: this machine's printers must not get test pages.
        qputenv("CUPS_SERVER", QByteArray(ZOR_BINARY_DIR "/no-print-server.sock"));
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");
    }

    void captureShowsTheWindowAndReplacesTheClipboard()
    {
        Window window(Shape::Landscape);
        QVERIFY(QTest::qWaitForWindowExposed(window.main.get()));
        (void)QTest::qWaitForWindowActive(window.main.get());
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("the user's text"));
        const QRect patch = window.patchInWindow().translated(-10, 0);
        window.area->horizontalScrollBar()->setValue(10); // a change just before the command

        const QImage image = HardCopy::CaptureActiveWindow(window.main.get());
        QCOMPARE(image.size(), HardcopyTestWindow::windowSize(Shape::Landscape));
        for (const QPoint& p : {patch.topLeft(), patch.bottomRight()})
            QCOMPARE(image.pixelColor(p), HardcopyTestWindow::patchColour);
        QCOMPARE(image.pixelColor(patch.bottomRight() + QPoint(1, 1)),
                 HardcopyTestWindow::pictureColour);
        QVERIFY(!clipboard->mimeData()->hasText());
        QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32),
                 image.convertToFormat(QImage::Format_RGB32));
    }
    void withoutPrinterOrWindowTheClipboardStays()
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("kept"));
        QVERIFY(HardCopy::CaptureActiveWindow(nullptr).isNull());
        Window window(Shape::Landscape);
        QVERIFY(QTest::qWaitForWindowExposed(window.main.get()));
        QCOMPARE(HardCopy::PrintHardcopy(window.main.get()), std::string("no prt found"));
        QCOMPARE(clipboard->text(), QStringLiteral("kept"));
        QVERIFY(!clipboard->mimeData()->hasImage());
    }

    // A 4 x 2 capture, one dark pixel at the top left and a light one at the
    // top right, on upright paper: in grey, turned anticlockwise, in the margins.
    void pageHoldsTheGreyLevelsTurnedToThePaper()
    {
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 0));
        image.setPixelColor(0, 0, QColor(31, 20, 10));    // (10 + 20 + 31) / 3 = 20
        image.setPixelColor(3, 0, QColor(255, 255, 254)); // 764 / 3 = 254
        const HardCopy::Page page = HardCopy::PreparePage(image, QSize(4960, 7016));
        QCOMPARE(qGray(page.grey.pixel(0, 3)), 20);
        QCOMPARE(qGray(page.grey.pixel(0, 0)), 254);
        QCOMPARE(page.target, QRect(248, 351, 3157, 6314));
        QVERIFY(HardCopy::PreparePage(QImage(), QSize(4960, 7016)).grey.isNull());
        QVERIFY(HardCopy::PreparePage(image, QSize(0, 0)).grey.isNull());
    }
};

QTEST_MAIN(TestHardCopy)
#include "tst_hardcopy.moc"
