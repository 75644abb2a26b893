#include "HardcopyTestWindow.h"
#include "shell/HardCopy.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QtTest>

using HardcopyTestWindow::Shape;

Q_DECLARE_METATYPE(Shape)

// The capture, the page it becomes, and the command without a printer. The
// print path itself runs through a real queue in test-hardcopy-cups.sh.
class TestHardCopy : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // No print server: whatever this machine has configured must not
        // receive test pages. libcups reads these once, before its first use.
        qputenv("CUPS_SERVER", QByteArray(ZOR_BINARY_DIR "/no-print-server.sock"));
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");
    }

    void captureShowsTheWindow_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::newRow("landscape") << Shape::Landscape;
        QTest::newRow("portrait") << Shape::Portrait;
    }

    void captureShowsTheWindow()
    {
        QFETCH(Shape, shape);
        HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(shape);
        window.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.main.get()));
        // As when the user gives the command: on a real screen this takes
        // the screen's picture of the window.
        window.main->activateWindow();
        (void)QTest::qWaitForWindowActive(window.main.get());

        const QImage image = HardCopy::CaptureActiveWindow(window.main.get());
        QCOMPARE(image.size(), HardcopyTestWindow::windowSize(shape));
        const QRect patch = window.patchInWindow();
        QCOMPARE(image.pixelColor(patch.center()), HardcopyTestWindow::patchColour());
        QCOMPARE(image.pixelColor(patch.topLeft()), HardcopyTestWindow::patchColour());
        QCOMPARE(image.pixelColor(patch.bottomRight()), HardcopyTestWindow::patchColour());
        QCOMPARE(image.pixelColor(patch.bottomRight() + QPoint(1, 1)),
                 HardcopyTestWindow::pictureColour());
        // Menu bar, both scroll bars and the status line are in the picture:
        // at the very edges, none of them shows the picture's colour.
        const QPoint menu(image.width() / 2, 2);
        const QPoint status(image.width() / 2, image.height() - 3);
        const QPoint vertical(
            window.area->verticalScrollBar()->mapTo(window.main.get(), QPoint(4, 40)));
        const QPoint horizontal(
            window.area->horizontalScrollBar()->mapTo(window.main.get(), QPoint(60, 4)));
        for (const QPoint& p : {menu, status, vertical, horizontal})
            QVERIFY2(image.pixelColor(p) != HardcopyTestWindow::pictureColour(),
                     qPrintable(QStringLiteral("at %1,%2").arg(p.x()).arg(p.y())));
        QVERIFY(window.area->verticalScrollBar()->isVisible());
        QVERIFY(window.area->horizontalScrollBar()->isVisible());
    }

    void captureShowsTheLatestScrollPosition()
    {
        // What the user sees includes a change made just before the command.
        HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(Shape::Landscape);
        window.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.main.get()));
        const QRect before = window.patchInWindow();
        window.area->horizontalScrollBar()->setValue(40);
        const QImage image = HardCopy::CaptureActiveWindow(window.main.get());
        QCOMPARE(image.pixelColor(before.topLeft() + QPoint(100, 10)),
                 HardcopyTestWindow::pictureColour());
        QCOMPARE(image.pixelColor(before.topLeft() + QPoint(40, 10)),
                 HardcopyTestWindow::patchColour());
    }

    void captureReplacesTheClipboard()
    {
        HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(Shape::Portrait);
        window.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.main.get()));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("the user's text"));

        const QImage image = HardCopy::CaptureActiveWindow(window.main.get());
        QVERIFY(!image.isNull());
        QVERIFY(clipboard->mimeData()->hasImage());
        QVERIFY(!clipboard->mimeData()->hasText());
        QCOMPARE(clipboard->image().convertToFormat(QImage::Format_RGB32),
                 image.convertToFormat(QImage::Format_RGB32));
    }

    void captureWithoutWindowKeepsTheClipboard()
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("kept"));
        QVERIFY(HardCopy::CaptureActiveWindow(nullptr).isNull());
        QCOMPARE(clipboard->text(), QStringLiteral("kept"));
    }

    void noPrinterReturnsAtOnceAndKeepsTheClipboard()
    {
        QCOMPARE(HardCopy::GetPrinterName(), std::string());
        HardcopyTestWindow::Window window = HardcopyTestWindow::makeWindow(Shape::Landscape);
        window.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.main.get()));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("kept"));

        QElapsedTimer timer;
        timer.start();
        QCOMPARE(HardCopy::PrintHardcopy(window.main.get()), std::string("no prt found"));
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(clipboard->text(), QStringLiteral("kept"));
        QVERIFY(!clipboard->mimeData()->hasImage());
        // The printer is asked first: without one even no window is no error.
        QCOMPARE(HardCopy::PrintHardcopy(nullptr), std::string("no prt found"));
    }

    void pageTurnsAndFits_data()
    {
        QTest::addColumn<QSize>("capture");
        QTest::addColumn<QSize>("sheet");
        QTest::addColumn<bool>("turned");
        QTest::addColumn<QRect>("target");
        // A4 at 600 dpi: margins 248 and 351 (350.8), box 4464 x 6314.
        QTest::newRow("wide window, upright paper: turned, full width")
            << QSize(560, 420) << QSize(4960, 7016) << true << QRect(248, 351, 4464, 5952);
        QTest::newRow("high window, upright paper: full height")
            << QSize(400, 640) << QSize(4960, 7016) << false << QRect(248, 351, 3946, 6314);
        QTest::newRow("wide window, lying paper: unturned")
            << QSize(560, 420) << QSize(7016, 4960) << false << QRect(351, 248, 5952, 4464);
        QTest::newRow("high window, lying paper: full height")
            << QSize(400, 640) << QSize(7016, 4960) << false << QRect(351, 248, 2790, 4464);
        QTest::newRow("the box's own shape fills it")
            << QSize(4464, 6314) << QSize(4960, 7016) << false << QRect(248, 351, 4464, 6314);
        QTest::newRow("square window, upright paper: unturned")
            << QSize(300, 300) << QSize(4960, 7016) << false << QRect(248, 351, 4464, 4464);
    }

    void pageTurnsAndFits()
    {
        QFETCH(QSize, capture);
        QFETCH(QSize, sheet);
        QFETCH(bool, turned);
        QFETCH(QRect, target);
        QImage image(capture, QImage::Format_RGB32);
        image.fill(Qt::white);
        const HardCopy::Page page = HardCopy::PreparePage(image, sheet);
        QCOMPARE(page.grey.format(), QImage::Format_Grayscale8);
        QCOMPARE(page.grey.size(), turned ? capture.transposed() : capture);
        QCOMPARE(page.target, target);
    }

    void pageHoldsTheGreyLevels_data()
    {
        QTest::addColumn<QSize>("sheet");
        QTest::addColumn<QPoint>("marked");
        QTest::addColumn<QPoint>("corner");
        // A 4 x 2 capture, marked at its top-left pixel, with a light pixel
        // at its top-right one.
        QTest::newRow("upright paper: turned anticlockwise")
            << QSize(4960, 7016) << QPoint(0, 3) << QPoint(0, 0);
        QTest::newRow("lying paper: as it is") << QSize(7016, 4960) << QPoint(0, 0) << QPoint(3, 0);
    }

    void pageHoldsTheGreyLevels()
    {
        QFETCH(QSize, sheet);
        QFETCH(QPoint, marked);
        QFETCH(QPoint, corner);
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 0));
        image.setPixelColor(0, 0, QColor(31, 20, 10));    // (10 + 20 + 31) / 3 = 20
        image.setPixelColor(3, 0, QColor(255, 255, 254)); // 764 / 3 = 254
        const HardCopy::Page page = HardCopy::PreparePage(image, sheet);
        QCOMPARE(qGray(page.grey.pixel(marked)), 20);
        QCOMPARE(qGray(page.grey.pixel(corner)), 254);
        int black = 0;
        for (int y = 0; y < page.grey.height(); ++y)
            for (int x = 0; x < page.grey.width(); ++x)
                black += qGray(page.grey.pixel(x, y)) == 0 ? 1 : 0;
        QCOMPARE(black, 6);
    }

    void nothingToPrint_data()
    {
        QTest::addColumn<QSize>("capture");
        QTest::addColumn<QSize>("sheet");
        QTest::newRow("no capture") << QSize() << QSize(4960, 7016);
        QTest::newRow("no paper") << QSize(10, 10) << QSize(0, 0);
    }

    void nothingToPrint()
    {
        QFETCH(QSize, capture);
        QFETCH(QSize, sheet);
        QImage image;
        if (capture.isValid()) {
            image = QImage(capture, QImage::Format_RGB32);
            image.fill(Qt::white);
        }
        QVERIFY(HardCopy::PreparePage(image, sheet).grey.isNull());
    }
};

QTEST_MAIN(TestHardCopy)
#include "tst_hardcopy.moc"
