#include "MainFormFixture.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

#include <cmath>
#include <memory>

// The view: zoom, scroll, resize and what the backing image shows.
class TestPictureView : public QObject {
    Q_OBJECT

    std::unique_ptr<MainFormFixture> fx_;
    std::unique_ptr<MainForm> w_;

    PictureView& view() { return *w_->PicBox(); }

    void open(int width, int height, QSize window = QSize(800, 600))
    {
        w_ = std::make_unique<MainForm>();
        w_->resize(window);
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        const QString img = writeTestImage(fx_->file("film.bmp"), width, height);
        QVERIFY(w_->OpenImage(img));
    }

    // The grey shown at widget pixel (x, y), or the background outside the image.
    QRgb expectedAt(int x, int y)
    {
        const PictureView& v = view();
        const double zx = double(v.ScaleWidth()) / v.viewWPix();
        const double zy = double(v.ScaleHeight()) / v.viewHPix();
        const int ix = int(std::floor(v.ScaleLeft() + (x + 0.5) * zx));
        const int iy = int(std::floor(v.ScaleTop() + (y + 0.5) * zy));
        if (ix < 0 || iy < 0 || ix >= w_->Bitmap().W() || iy >= w_->Bitmap().H())
            return PictureView::background & 0xFFFFFF;
        return QRgb(testGrey(ix, iy) * 0x010101);
    }

    void verifyPicture()
    {
        const PictureView& v = view();
        for (int y = 0; y < v.viewHPix(); y += 37)
            for (int x = 0; x < v.viewWPix(); x += 29)
                QVERIFY2(rgbAt(v, x, y) == expectedAt(x, y),
                         qPrintable(QString("widget pixel %1,%2").arg(x).arg(y)));
    }

    void send(QEvent::Type type, QPointF widgetPos, Qt::MouseButton button,
              Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, widgetPos, view().mapToGlobal(widgetPos), button, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(&view(), &e);
    }
    void press(QPointF p, Qt::MouseButton b = Qt::LeftButton)
    {
        send(QEvent::MouseButtonPress, p, b, b);
    }
    void move(QPointF p, Qt::MouseButtons held = Qt::NoButton)
    {
        send(QEvent::MouseMove, p, Qt::NoButton, held);
    }
    void release(QPointF p, Qt::MouseButton b = Qt::LeftButton)
    {
        send(QEvent::MouseButtonRelease, p, b, Qt::NoButton);
    }

    // Some red (0x0000FF as 0x00BBGGRR) within one pixel of widget point p.
    bool colourNear(QPointF p, QRgb colour)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int x = int(std::floor(p.x())) + dx;
                int y = int(std::floor(p.y())) + dy;
                if (x >= 0 && y >= 0 && x < view().backing().width() &&
                    y < view().backing().height() && rgbAt(view(), x, y) == colour)
                    return true;
            }
        return false;
    }

private slots:
    void init() { fx_ = std::make_unique<MainFormFixture>(); }
    void cleanup()
    {
        w_.reset();
        fx_.reset();
    }

    void openShowsTheImageOneToOne_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("larger than the view") << 2000 << 1500;
        QTest::newRow("smaller than the view") << 300 << 200;
    }
    void openShowsTheImageOneToOne()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        open(width, height);
        const PictureView& v = view();
        QCOMPARE(w_->zoom(), 1.0f);
        QCOMPARE(v.ScaleLeft(), 0.0f);
        QCOMPARE(v.ScaleTop(), 0.0f);
        QCOMPARE(v.ScaleWidth(), float(v.viewWPix()));
        QCOMPARE(v.ScaleHeight(), float(v.viewHPix()));
        QCOMPARE(w_->HScroll()->maximum(), std::max(width - v.viewWPix(), 0));
        QCOMPARE(w_->VScroll()->maximum(), std::max(height - v.viewHPix(), 0));
        QCOMPARE(rgbAt(v, 0, 0), QRgb(testGrey(0, 0) * 0x010101));
        verifyPicture();
    }

    void layoutFollowsTheWindow()
    {
        open(2000, 1500);
        const QWidget* c = w_->centralWidget();
        const int statusTop = c->height() - w_->StatusBar()->height();
        QCOMPARE(w_->StatusBar()->geometry(),
                 QRect(0, statusTop, c->width(), w_->StatusBar()->height()));
        QCOMPARE(w_->HScroll()->geometry().bottom() + 1, statusTop);
        QCOMPARE(w_->HScroll()->width(), view().width());
        QCOMPARE(w_->VScroll()->geometry().right() + 1, c->width());
        QCOMPARE(view().geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(view().width() + w_->VScroll()->width(), c->width());
        QCOMPARE(w_->e_Position()->geometry().bottom() + 1, w_->HScroll()->y());
        QCOMPARE(w_->e_Position()->x(), 0);
        QCOMPARE(int(w_->viewWPix()), view().width());
    }

    void zoomStepsStopAtTheirLimits_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("steps");
        QTest::addColumn<float>("last");
        QTest::newRow("Zoom +") << "m_ZoomUp" << 10 << float(std::pow(2.0, -10.0 / 3.0));
        QTest::newRow("Zoom -") << "m_ZoomDown" << 9 << 8.0f;
    }
    void zoomStepsStopAtTheirLimits()
    {
        QFETCH(QString, item);
        QFETCH(int, steps);
        QFETCH(float, last);
        open(500, 400);
        int changes = 0;
        for (int i = 0; i < 14; ++i) {
            const float before = w_->zoom();
            w_->action(item)->trigger();
            changes += w_->zoom() != before;
        }
        QCOMPARE(changes, steps);
        QVERIFY2(std::abs(w_->zoom() - last) < 1e-4f * last,
                 qPrintable(QString::number(w_->zoom())));
        QCOMPARE(view().ScaleWidth(), float(view().viewWPix()) * w_->zoom());
    }

    void threeStepsHalveAndReverse()
    {
        open(500, 400);
        for (int i = 0; i < 3; ++i)
            w_->action("m_ZoomUp")->trigger();
        QVERIFY(std::abs(w_->zoom() - 0.5f) < 1e-6f);
        for (int i = 0; i < 3; ++i)
            w_->action("m_ZoomDown")->trigger();
        QVERIFY(std::abs(w_->zoom() - 1.0f) < 1e-6f);
    }

    void centerModeDecidesTheFixedPoint_data()
    {
        QTest::addColumn<bool>("center");
        QTest::newRow("centre mode on") << true;
        QTest::newRow("centre mode off") << false;
    }
    void centerModeDecidesTheFixedPoint()
    {
        QFETCH(bool, center);
        open(3000, 2500);
        if (!center)
            w_->action("m_ZoomCenter")->trigger();
        QCOMPARE(w_->centerMode(), center);
        QCOMPARE(w_->action("m_ZoomCenter")->isChecked(), center);
        w_->HScroll()->setValue(400);
        w_->VScroll()->setValue(300);
        QCOMPARE(view().ScaleLeft(), 400.0f);
        const float cx = view().ScaleLeft() + view().ScaleWidth() / 2;
        const float cy = view().ScaleTop() + view().ScaleHeight() / 2;
        w_->action("m_ZoomUp")->trigger();
        if (center) {
            QVERIFY(std::abs(view().ScaleLeft() + view().ScaleWidth() / 2 - cx) < 1e-3f);
            QVERIFY(std::abs(view().ScaleTop() + view().ScaleHeight() / 2 - cy) < 1e-3f);
            QCOMPARE(w_->HScroll()->value(), int(std::nearbyint(view().ScaleLeft())));
        } else {
            QCOMPARE(view().ScaleLeft(), 400.0f);
            QCOMPARE(view().ScaleTop(), 300.0f);
        }
        verifyPicture();
    }

    void theLeftEdgeIsClamped()
    {
        open(3000, 2500);
        w_->action("m_ZoomDown")->trigger(); // centre mode: would go left of 0
        QCOMPARE(view().ScaleLeft(), 0.0f);
        QCOMPARE(view().ScaleTop(), 0.0f);
        QCOMPARE(w_->HScroll()->value(), 0);
        w_->Zoom(w_->zoomStep(), true, 10, 10);
        QCOMPARE(view().ScaleLeft(), 0.0f);
        QCOMPARE(view().ScaleTop(), 0.0f);
    }

    void scrollRangesFollowTheZoom()
    {
        open(2000, 1500);
        w_->Zoom(2.0f); // the whole region is twice as large
        const PictureView& v = view();
        QCOMPARE(w_->HScroll()->maximum(), std::max(int(std::nearbyint(2000 - v.ScaleWidth())), 0));
        QCOMPARE(w_->VScroll()->maximum(),
                 std::max(int(std::nearbyint(1500 - v.ScaleHeight())), 0));
        w_->Zoom(8.0f); // larger than the image: nothing to scroll
        QCOMPARE(w_->HScroll()->maximum(), 0);
        QCOMPARE(w_->VScroll()->maximum(), 0);
        QCOMPARE(view().ScaleLeft(), 0.0f);
    }

    void scrollBarsMoveTheViewByWholePixels()
    {
        open(2000, 1500);
        CZor& z = *w_->zor();
        z.head.removeAll();
        z.head.M.change(400, 300);
        z.head.R = 50;
        z.head.Valid = true;
        z.head.PVisible = false;
        const int before = view().renderCount();
        w_->HScroll()->setValue(123);
        w_->VScroll()->setValue(45);
        QCOMPARE(view().ScaleLeft(), 123.0f);
        QCOMPARE(view().ScaleTop(), 45.0f);
        QVERIFY(view().renderCount() > before);
        QCOMPARE(rgbAt(view(), 0, 0), QRgb(testGrey(123, 45) * 0x010101));
        QVERIFY(colourNear(view().toWidget(QPointF(450, 300)), 0xFF0000));
        QCOMPARE(view().toWidget(QPointF(450, 300)), QPointF(327, 255));
    }

    void paintingAtEveryZoom_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::newRow("1:1") << 1.0f;
        QTest::newRow("magnified twice") << 0.5f;
        QTest::newRow("reduced by half") << 2.0f;
        QTest::newRow("odd step") << float(std::pow(2.0, -1.0 / 3.0));
    }
    void paintingAtEveryZoom()
    {
        QFETCH(float, zoom);
        open(2000, 1500);
        w_->action("m_ZoomCenter")->trigger(); // zoom about the top-left corner
        w_->HScroll()->setValue(37);
        w_->VScroll()->setValue(21);
        w_->Zoom(zoom);
        QCOMPARE(view().ScaleLeft(), 37.0f);
        verifyPicture();

        // Landmarks in their colours on the same image points.
        CZor& z = *w_->zor();
        z.head.removeAll();
        z.head.M.change(200, 150);
        z.head.R = 40;
        z.head.Valid = true;
        z.head.PVisible = false;
        z.LinesVisible = true;
        z.GTLine.init(100, 260, 300, 260); // proposed: the first colour
        z.GTLine.Valid = false;
        w_->repaintPicture();
        QVERIFY(colourNear(view().toWidget(QPointF(240, 150)), 0xFF0000));
        QVERIFY(colourNear(view().toWidget(QPointF(200, 110)), 0xFF0000));
        QVERIFY(colourNear(view().toWidget(QPointF(200, 260)), 0xFF00FF));
        QVERIFY(!colourNear(view().toWidget(QPointF(200, 150)), 0xFF0000));
    }

    void resizeKeepsTheTopLeftImagePoint()
    {
        open(3000, 2500);
        w_->action("m_ZoomCenter")->trigger();
        w_->Zoom(0.5f);
        w_->HScroll()->setValue(200);
        w_->VScroll()->setValue(100);
        const QRgb corner = rgbAt(view(), 0, 0);
        const int oldW = view().viewWPix();
        w_->resize(1000, 720);
        QTRY_VERIFY(view().viewWPix() > oldW);
        QCOMPARE(view().ScaleLeft(), 200.0f);
        QCOMPARE(view().ScaleTop(), 100.0f);
        QCOMPARE(w_->zoom(), 0.5f);
        QCOMPARE(view().ScaleWidth(), float(view().viewWPix()) * 0.5f);
        QCOMPARE(view().backing().size(), view().size());
        QCOMPARE(rgbAt(view(), 0, 0), corner);
        verifyPicture();
    }

    void zoomByMouse()
    {
        open(3000, 2500);
        w_->action("m_ZoomMouse")->trigger();
        QCOMPARE(w_->tools()->mode(), int16_t(90));
        QCOMPARE(view().cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(w_->StatusBar()->text(),
                 QString("zoom by mouse click, center is current position - end with right "
                         "mouse button"));
        const QPointF at(500, 400); // far enough from the edges not to be clamped
        const QPointF image = view().toImage(at);
        const float zoom = w_->zoom();
        press(at);
        release(at);
        QCOMPARE(w_->zoom(), zoom * w_->zoomStep());
        QVERIFY(std::abs(view().ScaleLeft() + view().ScaleWidth() / 2 - image.x()) < 1e-3);
        QVERIFY(std::abs(view().ScaleTop() + view().ScaleHeight() / 2 - image.y()) < 1e-3);

        // At the image's right edge the view goes as far right as it can.
        w_->Zoom(w_->zoomStep(), true, 2999, 1000);
        QCOMPARE(view().ScaleLeft(), float(w_->HScroll()->maximum()));
        QCOMPARE(w_->HScroll()->value(), w_->HScroll()->maximum());
        verifyPicture();

        press(at, Qt::RightButton);
        QCOMPARE(w_->tools()->mode(), int16_t(0));
        QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(w_->StatusBar()->text(), QString());

        w_->action("m_ZoomMouse")->trigger();
        QTest::keyClick(w_.get(), Qt::Key_Escape);
        QCOMPARE(w_->tools()->mode(), int16_t(0));
        QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);

        // Opening another image ends the state and its cursor too.
        w_->action("m_ZoomMouse")->trigger();
        QVERIFY(w_->OpenImage(fx_->file("film.bmp")));
        QCOMPARE(w_->tools()->mode(), int16_t(0));
        QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);
    }

    void positionBoxShowsWorldMillimetres()
    {
        open(860, 600); // 430 mm: 2 pixels a millimetre
        w_->action("m_ZoomCenter")->trigger();
        w_->Zoom(0.5f);
        move(QPointF(100, 40));
        // Image (50, 20): world x 25 mm, y (600 - 20) / 2 = 290 mm.
        QCOMPARE(w_->e_Position()->text(), QString("25.0 290.0"));
    }

    void rubberBandsAppearAtOnceWithoutAFullRepaint()
    {
        open(2000, 1500);
        w_->action("m_StemAxis")->trigger();
        press(QPointF(100, 300));
        const int renders = view().renderCount();
        const QImage before = view().backing().copy();
        move(QPointF(100, 100), Qt::LeftButton);
        QCOMPARE(view().renderCount(), renders);
        // The cyan line in XOR over the picture, drawn into the backing image.
        const QRgb under = before.pixel(100, 200) & 0xFFFFFF;
        QCOMPARE(rgbAt(view(), 100, 200), under ^ 0x00FFFF);
        move(QPointF(150, 100), Qt::LeftButton); // the old line is erased
        QCOMPARE(rgbAt(view(), 100, 150) & 0xFFFFFF, before.pixel(100, 150) & 0xFFFFFF);
        release(QPointF(150, 100));
        QCOMPARE(w_->tools()->mode(), int16_t(3));
        QVERIFY(w_->action("m_Shoulder")->isEnabled());
    }

    void xorTwiceRestoresThePicture()
    {
        open(400, 300);
        PictureView& v = view();
        const QImage before = v.backing().copy();
        v.setForeColor(0xFFFF00);
        v.setDrawMode(DrawMode::XorPen);
        for (int i = 0; i < 2; ++i) {
            v.drawLine(10.5, 20.25, 250.75, 180);
            v.drawCircle(150, 150, 33.3);
        }
        QCOMPARE(v.backing().convertToFormat(QImage::Format_RGB32), before);
    }

    void pointerShapes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("cursor");
        QTest::newRow("crosshair") << int(PointerShape::Crosshair) << int(Qt::CrossCursor);
        QTest::newRow("move") << int(PointerShape::SizeAll) << int(Qt::SizeAllCursor);
        QTest::newRow("vertical") << int(PointerShape::SizeNS) << int(Qt::SizeVerCursor);
        QTest::newRow("diagonal") << int(PointerShape::SizeNWSE) << int(Qt::SizeFDiagCursor);
        QTest::newRow("default") << int(PointerShape::Default) << int(Qt::ArrowCursor);
    }
    void pointerShapes()
    {
        QFETCH(int, shape);
        QFETCH(int, cursor);
        MainForm w;
        w.setPointerShape(PointerShape::SizeAll);
        w.setPointerShape(PointerShape(shape));
        QCOMPARE(int(w.PicBox()->cursor().shape()), cursor);
    }
};

QTEST_MAIN(TestPictureView)
#include "tst_pictureview.moc"
