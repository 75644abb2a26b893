#include "../support/DicomTestFile.h"
#include "../support/RecordingMessages.h"
#include "../support/TestFilm.h"
#include "casefile/DefaultPatient.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "shell/DemoCase.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

QRgb rgbAt(const PictureView& view, int x, int y)
{
    return view.backing().pixel(x, y) & 0xFFFFFF;
}

int visibleMainForms()
{
    int n = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        n += qobject_cast<MainForm*>(top) && top->isVisible();
    return n;
}

// A private configuration folder, a scripted file chooser and a patient
// dialog that records instead of blocking, for one test.
struct Fixture {
    Fixture()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        services.chooser = [this](QWidget*, const QString& dir, const QString& file,
                                  const QStringList&) {
            calls << dir << file;
            return answers.empty() ? QString() : answers.takeFirst();
        };
        services.dialogs.splashOnce = [](MainForm&) {};
        services.dialogs.patient = [this](MainForm&, int flag) { patientFlags.push_back(flag); };
        DefaultPatient() = CPatient{};
    }
    QString file(const QString& name) const { return data.filePath(name); }
    QString settings() const
    {
        QFile f(config.filePath("Zor2.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir config, data;
    MainForm::Services services;
    ScopedMessages messages;
    QStringList answers, calls;
    std::vector<int> patientFlags;
};

} // namespace

// The main window: menus, opening an image, the File and image commands, and
// the view's zoom, scroll, resize and painting.
class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx_;
    std::unique_ptr<MainForm> w_;

    const std::vector<RecordingMessages::Message>& messages() const
    {
        return fx_->messages.recorder.messages;
    }
    PictureView& view() { return *w_->PicBox(); }
    // A shown window with `image` open; null when it did not open.
    std::unique_ptr<MainForm> openWindow(const QString& image)
    {
        auto w = std::make_unique<MainForm>(fx_->services);
        w->resize(800, 600);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()) || !w->OpenImage(image))
            return nullptr;
        return w;
    }
    bool open(int width, int height)
    {
        w_ = openWindow(writeTestImage(fx_->file("film.bmp"), width, height));
        return bool(w_);
    }

    // Every 29th column of every 37th row shows the image pixel under its
    // centre, or the background outside the image.
    void verifyPicture()
    {
        const PictureView& v = view();
        const double zoom = double(v.ScaleWidth()) / v.viewWPix();
        for (int y = 0; y < v.viewHPix(); y += 37)
            for (int x = 0; x < v.viewWPix(); x += 29) {
                const int ix = int(std::floor(v.ScaleLeft() + (x + 0.5) * zoom));
                const int iy = int(std::floor(v.ScaleTop() + (y + 0.5) * zoom));
                const bool inside = ix < w_->Bitmap().W() && iy < w_->Bitmap().H();
                QVERIFY2(rgbAt(v, x, y) ==
                             (inside ? testGrey(ix, iy) : PictureView::background & 0xFFFFFF),
                         qPrintable(QString("at %1,%2").arg(x).arg(y)));
            }
    }
    // Some of `colour` within one pixel of where image point p is shown.
    bool colourAt(QPointF p, QRgb colour)
    {
        const QPoint c = view().toWidget(p).toPoint();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (rgbAt(view(), c.x() + dx, c.y() + dy) == colour)
                    return true;
        return false;
    }
    QPointF centre()
    {
        return {view().ScaleLeft() + view().ScaleWidth() / 2,
                view().ScaleTop() + view().ScaleHeight() / 2};
    }

private slots:
    void init() { fx_ = std::make_unique<Fixture>(); }
    void cleanup()
    {
        w_.reset();
        fx_.reset();
    }

    void openByCommandLineAndByTheDialog()
    {
        const QString one = writeTestImage(fx_->file("case1.bmp"), 860, 200);
        const QString two = writeTestImage(fx_->file("case2.old.bmp"), 40, 30);
        // No Zor2.ini yet: the dialog starts empty; Cancel at start-up leaves no window.
        QVERIFY(!MainForm::startNewWindow(QString(), fx_->services));
        QCOMPARE(fx_->calls, QStringList({"", ""}));
        QCOMPARE(visibleMainForms(), 0);

        // An image from the command line opens as if chosen, and is remembered.
        QPointer<MainForm> w = MainForm::startNewWindow(one, fx_->services);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle().remove("[*]"), one);
        QCOMPARE(QRgb(w->Bitmap().pixel(5, 3) * 0x010101), testGrey(5, 3));
        QVERIFY2(fx_->settings().contains("[LastPath]\nPath=" + one), qPrintable(one));
        // No landmark file: a new case, whose tools the menu shows unusable.
        QCOMPARE(w->zor()->ScaleFactor, 2.0);
        QVERIFY(!w->action("m_Shoulder")->isEnabled() && !w->action("m_CMarker")->isEnabled());

        // The real dialog, scripted as a user: it starts on the last image with
        // the four filters, the first one chosen; the user types another name.
        delete w;
        MainForm::Services real = fx_->services;
        real.chooser = nullptr;
        w = new MainForm(real);
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* edit = d ? d->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            auto* files = d ? d->findChild<QFileSystemModel*>() : nullptr;
            // The folder is listed in the background, and the listing selects
            // the preset file again: the user types once both files show.
            if (edit && files && QTest::qWaitFor([&] {
                    return files->rowCount(files->index(d->directory().path())) == 2;
                })) {
                seen << d->directory().absolutePath() << edit->text() << d->selectedNameFilter()
                     << d->nameFilters();
                edit->selectAll();
                QTest::keyClicks(edit, "case2.old.bmp");
                d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
            }
            if (d && d->isVisible())
                d->reject();
        });
        QVERIFY(w->OpenImage());
        QCOMPARE(seen, QStringList({fx_->data.path(), "case1.bmp",
                                    "supported-Files (*.bmp *.jpg *.jpeg *.gif *.dcm)",
                                    "supported-Files (*.bmp *.jpg *.jpeg *.gif *.dcm)",
                                    "Bitmap-Files (*.bmp)", "jpeg-Files (*.jpg *.jpeg)",
                                    "gif-Files (*.gif)", "DICOM-Files (*.dcm)", "All files (*)"}));
        QCOMPARE(w->windowTitle().remove("[*]"), two);
        QCOMPARE(w->landmarkFile(), fx_->file("case2.old.bit"));
        QCOMPARE(w->Bitmap().W(), int16_t(40));
        QVERIFY(fx_->settings().contains("Path=" + two));
        delete w;
    }

    // A DICOM film without extension and without landmark file: the scale
    // and the patient boxes from its header; Write Data asks first about a
    // scale not calibrated and a side the header contradicts, No writes nothing.
    void aDicomFilmBringsItsScaleAndPatient()
    {
        DicomTestFilm f;
        f.width = DemoCase::width;
        f.height = DemoCase::height;
        f.tags = {{DCM_PixelSpacing, "0.25\\0.25"},
                  {DCM_PatientName, "Roe^Rita"},
                  {DCM_PatientID, "ST-9"},
                  {DCM_AcquisitionDate, "20240301"},
                  {DCM_ImageLaterality, "L"}};
        const QString film = fx_->file("film");
        writeDicomTestFilm(film.toStdString(), f);
        w_ = openWindow(film);
        QVERIFY(w_);
        QCOMPARE(w_->landmarkFile(), fx_->file("film.bit"));
        QCOMPARE(w_->ScaleStatus()->text(),
                 QString("0.250 mm/px, DICOM pixel spacing (may be at the detector)"));
        CZor& z = *w_->zor();
        QVERIFY(z.DatFlag);
        QCOMPARE(z.Patient.Famname + "," + z.Patient.Vorname + "," + z.Patient.Code + "," + z.Datum,
                 std::string("Roe,Rita,ST-9,20240301"));

        CZor measured; // the demo's right hip, at the film's scale
        DemoCase::fillCase(measured);
        measured.Patient = z.Patient;
        measured.Patient.DatFile = "study";
        measured.Patient.HeadTR = 14.0;
        measured.Datum = z.Datum;
        measured.CalibSource = CZor::kNotCalibrated;
        z = measured;
        RecordingMessages& recorder = fx_->messages.recorder;
        w_->action("m_Write_dat")->trigger();
        QCOMPARE(recorder.questions.size(), size_t(1));
        const std::string& asked = recorder.questions[0].text;
        QVERIFY2(asked.find("not calibrated") != std::string::npos &&
                     asked.find("marked L") != std::string::npos,
                 asked.c_str());
        QVERIFY(!QFile::exists(fx_->file("study.zor")) && !QFile::exists(fx_->file("film.bit")));

        recorder.answers = {true};
        w_->action("m_Write_dat")->trigger();
        QVERIFY(QFile::exists(fx_->file("study.zor")) && QFile::exists(fx_->file("film.bit")));
        QVERIFY(w_->OpenImage(film)); // the landmark file now decides
        QCOMPARE(w_->ScaleStatus()->text(),
                 QString("0.250 mm/px, NOT CALIBRATED (225 mm film width)"));
    }

    // The loader's reasons are its own tests'; the window shows one of them
    // once and keeps its case, title and picture.
    void failedLoadKeepsThePreviousCase()
    {
        QVERIFY(open(40, 30));
        CZor* z = w_->zor();
        z->head.addPoint(3, 4);
        QVERIFY(QDir().mkdir(fx_->file("folder.bmp")));
        for (auto [name, reason] : {std::pair{"gone.bmp", ""}, {"folder.bmp", "is a folder"}}) {
            fx_->messages.recorder.messages.clear();
            fx_->messages.recorder.saveAnswers = {SaveAnswer::Discard};
            const QString bad = fx_->file(name);
            QVERIFY(!w_->OpenImage(bad));
            QCOMPARE(messages().size(), size_t(1));
            QCOMPARE(messages()[0].caption, std::string("Error"));
            QCOMPARE(messages()[0].icon, MessageIcon::Critical);
            const QString text = QString::fromStdString(messages()[0].text);
            QVERIFY2(text.startsWith("load Error: ") && text.size() > 12 && text.contains(reason),
                     qPrintable(text));
            QVERIFY(w_->zor() == z && z->head.points.size() == 1);
            QCOMPARE(w_->windowTitle().remove("[*]"), fx_->file("film.bmp"));
            QCOMPARE(w_->landmarkFile(), fx_->file("film.bit"));
            QCOMPARE(rgbAt(view(), 2, 1), testGrey(2, 1));
            QVERIFY(fx_->settings().contains("Path=" + bad)); // remembered all the same
        }
    }

    // Exit answered No keeps the windows, Yes closes them all.
    void newWindowAndExit()
    {
        for (bool answer : {false, true})
            newWindowThenExit(answer);
    }

private:
    void newWindowThenExit(bool answer)
    {
        w_.reset();
        fx_.reset(); // its message hook goes before the next one is set
        fx_ = std::make_unique<Fixture>();
        QVERIFY(open(30, 20));
        fx_->answers = {writeTestImage(fx_->file("two.bmp"), 50, 40)};
        w_->action("m_New")->trigger();
        QPointer<MainForm> other;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<MainForm*>(top); f && f != w_.get() && f->isVisible())
                other = f;
        QVERIFY(other && other->windowTitle().remove("[*]") == fx_->file("two.bmp"));
        QVERIFY(other->zor() != w_->zor());
        w_->action("m_New")->trigger(); // cancelled: that window goes again
        QCOMPARE(visibleMainForms(), 2);

        fx_->messages.recorder.answers = {answer};
        w_->action("m_Exit")->trigger();
        QCOMPARE(fx_->messages.recorder.questions.at(0).text,
                 std::string("Are you sure? Not saved results will be lost!"));
        QTRY_COMPARE(visibleMainForms(), answer ? 0 : 2);
        delete other;
    }

private slots:

    void imageCommandsRunUnderTheHourglass()
    {
        QVERIFY(open(64, 64));
        view().setCursor(Qt::CrossCursor);
        const QImage original = view().backing().copy();
        QStringList repaints; // the cursor at each repaint, "*" where the picture changed
        view().setOverlay([&] {
            const QCursor* c = QApplication::overrideCursor();
            repaints << QString::number(c ? c->shape() : -1) +
                            (view().backing() != original ? "*" : "");
        });
        for (const char* item : {"m_Invert", "m_ResetColors", "m_filter1", "m_undo", "m_filter2",
                                 "m_undo", "m_filter3", "m_undo"})
            w_->action(item)->trigger();
        const QString busy = QString::number(Qt::WaitCursor);
        QCOMPARE(repaints, QStringList({busy + "*", busy, busy + "*", busy, busy + "*", busy,
                                        busy + "*", busy}));
        QVERIFY(!QApplication::overrideCursor() && view().cursor().shape() == Qt::CrossCursor);
    }

    // --- The view ---

    // 1:1, magnified twice, and one step.
    void paintingAtEveryZoom()
    {
        for (float zoom : {1.0f, 0.5f, float(std::pow(2.0, -1.0 / 3.0))})
            paintAt(zoom);
    }

private:
    void paintAt(float zoom)
    {
        w_.reset();
        fx_.reset(); // its message hook goes before the next one is set
        fx_ = std::make_unique<Fixture>();
        QVERIFY(open(2000, 1500));
        // Opened 1:1 at the top-left corner, the scroll ranges image minus view.
        QCOMPARE(QRectF(view().ScaleLeft(), view().ScaleTop(), view().ScaleWidth(),
                        view().ScaleHeight()),
                 QRectF(0, 0, view().viewWPix(), view().viewHPix()));
        QCOMPARE(w_->HScroll()->maximum(), 2000 - view().viewWPix());
        w_->action("m_ZoomCenter")->trigger(); // zoom about the top-left corner
        w_->HScroll()->setValue(37);           // the bars move the view by whole pixels
        w_->VScroll()->setValue(21);
        w_->Zoom(zoom);
        QCOMPARE(QPointF(view().ScaleLeft(), view().ScaleTop()), QPointF(37, 21));
        verifyPicture();

        // The landmarks in their colours on their image points: a valid head
        // in red, a proposed trochanter line in magenta.
        CZor& z = *w_->zor();
        z.head.M.change(200, 150);
        z.head.R = 40;
        z.head.Valid = true;
        z.head.PVisible = false;
        z.LinesVisible = true;
        z.GTLine.init(100, 260, 300, 260);
        z.GTLine.Valid = false;
        w_->repaintPicture();
        QVERIFY(colourAt({240, 150}, 0xFF0000) && colourAt({200, 110}, 0xFF0000));
        QVERIFY(colourAt({200, 260}, 0xFF00FF));
        QVERIFY(!colourAt({200, 150}, 0xFF0000));
    }

private slots:

    void resizeKeepsTheTopLeftImagePoint()
    {
        QVERIFY(open(3000, 2500));
        w_->action("m_ZoomCenter")->trigger();
        w_->Zoom(0.5f);
        w_->HScroll()->setValue(200);
        w_->VScroll()->setValue(100);
        const int oldW = view().viewWPix();
        w_->resize(1000, 720);
        QTRY_VERIFY(view().viewWPix() > oldW);
        QCOMPARE(QPointF(view().ScaleLeft(), view().ScaleTop()), QPointF(200, 100));
        verifyPicture();
        // The layout: picture, bars, status line and position box in their places.
        const QWidget* c = w_->centralWidget();
        const int h1 = c->height() - w_->StatusBar()->height();
        const int scaleW = w_->ScaleStatus()->width();
        QVERIFY(w_->ScaleStatus()->text().endsWith(", NOT CALIBRATED (430 mm film default)"));
        QCOMPARE(w_->StatusBar()->geometry(),
                 QRect(0, h1, c->width() - scaleW, w_->StatusBar()->height()));
        QCOMPARE(w_->ScaleStatus()->geometry(),
                 QRect(c->width() - scaleW, h1, scaleW, w_->StatusBar()->height()));
        QCOMPARE(w_->HScroll()->geometry(),
                 QRect(0, view().height(), view().width(), h1 - view().height()));
        QCOMPARE(w_->VScroll()->geometry(),
                 QRect(view().width(), 0, c->width() - view().width(), view().height()));
        QCOMPARE(w_->e_Position()->geometry().bottomLeft(), QPoint(0, view().height() - 1));
    }

    void zoomByMouse()
    {
        QVERIFY(open(3000, 2500));
        w_->action("m_ZoomMouse")->trigger();
        QCOMPARE(w_->tools()->mode(), ToolMode::ZoomByMouse);
        QCOMPARE(view().cursor().shape(), Qt::BitmapCursor);
        const QPointF point = view().toImage({500, 400});
        QTest::mouseClick(&view(), Qt::LeftButton, {}, {500, 400});
        QCOMPARE(w_->zoom(), w_->zoomStep()); // about the pressed point
        QVERIFY((centre() - point).manhattanLength() < 1e-3);
        // Escape, or opening another image, ends the state and its cursor.
        for (bool reopen : {false, true}) {
            if (reopen)
                QVERIFY(w_->OpenImage(fx_->file("film.bmp")));
            else
                QTest::keyClick(w_.get(), Qt::Key_Escape);
            QCOMPARE(w_->tools()->mode(), ToolMode::Idle);
            QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);
            QVERIFY(w_->StatusBar()->text().isEmpty()); // no zoom prompt left behind
            w_->action("m_ZoomMouse")->trigger();
        }
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
