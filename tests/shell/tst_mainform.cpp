// The main window: opening films, the File and image commands, the question
// before a changed case is set aside, and the view (painting, zoom, scroll,
// resize, fit, loupe).
#include "../support/DicomTestFile.h"
#include "../support/RecordingMessages.h"
#include "../support/TestFilm.h"
#include "casefile/DefaultPatient.h"
#include "model/CZor.h"
#include "shell/CaseWorkflow.h"
#include "shell/DemoCase.h"
#include "shell/FilmList.h"
#include "shell/Loupe.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

QRgb rgbAt(const PictureView& view, QPoint p)
{
    return view.backing().pixel(p) & 0xFFFFFF;
}

int visibleMainForms()
{
    int n = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        n += qobject_cast<MainForm*>(top) && top->isVisible();
    return n;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// For one test: a private configuration folder, a folder for the films, a
// scripted file chooser, and no splash or patient dialog to block it.
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
        services.dialogs.patient = [](MainForm&, int) {};
        DefaultPatient() = CPatient{};
    }
    QString file(const QString& name) const { return data.filePath(name); }

    QTemporaryDir config, data;
    MainForm::Services services;
    ScopedMessages messages;
    QStringList answers, calls;
};

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx_;
    QPointer<MainForm> w_;

    RecordingMessages& recorder() { return fx_->messages.recorder; }
    PictureView& view() { return *w_->PicBox(); }
    // A shown window, deleted on close, with `image` open; null when it did not open.
    MainForm* openWindow(const QString& image)
    {
        auto* w = new MainForm(fx_->services);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->resize(800, 600);
        w->show();
        if (!QTest::qWaitForWindowExposed(w) || !w->OpenImage(image)) {
            delete w;
            return nullptr;
        }
        return w;
    }
    // The window on a new film a.bmp of the test pattern.
    bool open(int width, int height)
    {
        w_ = openWindow(writeTestImage(fx_->file("a.bmp"), width, height));
        return bool(w_);
    }
    void wheel(QPointF pos, int delta, Qt::KeyboardModifiers mods)
    {
        QWheelEvent e(pos, view().mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view(), &e);
    }

    // Every 29th column of every 37th row shows the image pixel under its centre.
    void verifyPicture()
    {
        const PictureView& v = view();
        const double zoom = double(v.ScaleWidth()) / v.viewWPix();
        for (int y = 0; y < v.viewHPix(); y += 37)
            for (int x = 0; x < v.viewWPix(); x += 29) {
                const int ix = int(std::floor(v.ScaleLeft() + (x + 0.5) * zoom));
                const int iy = int(std::floor(v.ScaleTop() + (y + 0.5) * zoom));
                QVERIFY2(rgbAt(v, {x, y}) == testGrey(ix, iy),
                         qPrintable(QString("at %1,%2").arg(x).arg(y)));
            }
    }
    // Some of `colour` within one pixel of where image point p is shown.
    bool colourAt(QPointF p, QRgb colour)
    {
        const QPoint c = view().toWidget(p).toPoint();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (rgbAt(view(), c + QPoint(dx, dy)) == colour)
                    return true;
        return false;
    }

private slots:
    void init() { fx_ = std::make_unique<Fixture>(); }
    void cleanup()
    {
        delete w_.data();
        fx_.reset();
    }

    // Cancel at start-up leaves no window. The real open dialog starts on the
    // last image with the first filter chosen.
    void startUpAndTheOpenDialog()
    {
        const QString one = writeTestImage(fx_->file("case1.bmp"), 860, 200);
        QVERIFY(!MainForm::startNewWindow(QString(), fx_->services));
        QCOMPARE(fx_->calls, QStringList({"", ""})); // no Zor2.ini yet: the dialog starts empty
        QCOMPARE(visibleMainForms(), 0);
        w_ = MainForm::startNewWindow(one, fx_->services);
        QVERIFY(w_ && w_->isVisible());
        delete w_.data();

        MainForm::Services real = fx_->services;
        real.chooser = nullptr;
        w_ = new MainForm(real);
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                seen << d->directory().absolutePath() << d->selectedFiles()
                     << QString::number(d->nameFilters().indexOf(d->selectedNameFilter()));
                static_cast<QDialog*>(d)->done(QDialog::Accepted);
            }
        });
        QVERIFY(w_->OpenImage());
        QCOMPARE(seen, QStringList({fx_->data.path(), one, "0"}));
        QCOMPARE(w_->windowTitle().remove("[*]"), one);
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
        QVERIFY(w_ = openWindow(film));
        QCOMPARE(w_->ScaleStatus()->text(),
                 QString("0.250 mm/px, DICOM pixel spacing (may be at the detector)"));
        CZor& z = *w_->zor();
        QVERIFY(z.DatFlag);
        QCOMPARE(z.Patient.Famname + "," + z.Patient.Vorname + "," + z.Patient.Code + "," + z.Datum,
                 std::string("Roe,Rita,ST-9,20240301"));

        DemoCase::fillCase(z); // the demo's right hip, at the film's scale
        z.Patient.DatFile = "study";
        z.Patient.HeadTR = 14.0;
        z.CalibSource = CZor::kNotCalibrated;
        w_->action("m_Write_dat")->trigger();
        QCOMPARE(recorder().questions.size(), size_t(1));
        const std::string& asked = recorder().questions[0].text;
        QVERIFY2(asked.find("not calibrated") != std::string::npos &&
                     asked.find("marked L") != std::string::npos,
                 asked.c_str());
        QVERIFY(!QFile::exists(fx_->file("study.zor")) && !QFile::exists(fx_->file("film.bit")));
    }

    // The loader's reasons are its own tests'; the window shows one of them
    // once and keeps its case, title and picture.
    void failedLoadKeepsThePreviousCase()
    {
        QVERIFY(open(40, 30));
        CZor* z = w_->zor();
        z->head.addPoint(3, 4);
        QVERIFY(QDir().mkdir(fx_->file("folder.bmp")));
        recorder().saveAnswers = {SaveAnswer::Discard};
        QVERIFY(!w_->OpenImage(fx_->file("folder.bmp")));
        QCOMPARE(recorder().messages.size(), size_t(1));
        const RecordingMessages::Message& shown = recorder().messages[0];
        QVERIFY2(shown.caption == "Error" && shown.icon == MessageIcon::Critical &&
                     shown.text.starts_with("load Error: ") &&
                     shown.text.find("is a folder") != std::string::npos,
                 shown.text.c_str());
        QVERIFY(w_->zor() == z && z->head.points.size() == 1);
        QCOMPARE(w_->windowTitle().remove("[*]"), fx_->file("a.bmp"));
        QCOMPARE(w_->landmarkFile(), fx_->file("a.bit"));
        QCOMPARE(rgbAt(view(), {2, 1}), testGrey(2, 1));
    }

    // "&new Window" opens another case in a window of its own (cancelled: no
    // window); Exit answered No keeps every window, Yes closes them all.
    void newWindowAndExit()
    {
        QVERIFY(open(30, 20));
        fx_->answers = {writeTestImage(fx_->file("two.bmp"), 50, 40)};
        w_->action("m_New")->trigger();
        w_->action("m_New")->trigger();
        QStringList titles;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<MainForm*>(top); f && f->isVisible())
                titles << f->windowTitle().remove("[*]");
        titles.sort();
        QCOMPARE(titles, QStringList({fx_->file("a.bmp"), fx_->file("two.bmp")}));

        recorder().answers = {false, true};
        for (int left : {2, 0}) {
            w_->action("m_Exit")->trigger();
            QTRY_COMPARE(visibleMainForms(), left);
        }
        QCOMPARE(recorder().questions.size(), size_t(2));
    }

    // The film list follows its folder, and keeps the open film selected.
    void filmListFollowsItsFolder()
    {
        QVERIFY(open(40, 30));
        const FilmList& list = *w_->workflow().films();
        writeTestImage(fx_->file("b.bmp"), 40, 30);
        QTRY_COMPARE(list.films().size(), size_t(2));
        QCOMPARE(list.currentItem()->text(0), QString("a.bmp"));
    }

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

    // "&Save Landmarks" writes the landmark file alone. Asked before a changed
    // case goes by each command: Save writes the landmark file, Discard drops
    // the changes, Cancel keeps the case.
    void asksBeforeAChangedCaseIsSetAside_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer"); // -1: nothing changed, no question
        for (const char* command : {"close", "m_Open", "m_NextFilm", "m_Load_bin", "m_Exit"})
            for (int answer :
                 {-1, int(SaveAnswer::Save), int(SaveAnswer::Discard), int(SaveAnswer::Cancel)})
                QTest::addRow("%s %d", command, answer) << QString(command) << answer;
    }
    void asksBeforeAChangedCaseIsSetAside()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        const QString b = writeTestImage(fx_->file("b.bmp"), 120, 90);
        QVERIFY(open(300, 200));
        w_->action("m_SaveLandmarks")->trigger();
        const QByteArray saved = contents(fx_->file("a.bit"));
        QVERIFY(!saved.isEmpty() && !w_->isWindowModified() && recorder().messages.empty());
        QVERIFY(w_->workflow().films()->films()[0].hasLandmarks);
        if (answer >= 0) {
            w_->zor()->Shoulder.change(5, 5);
            w_->workflow().afterEvent();
            recorder().saveAnswers = {SaveAnswer(answer)};
        }
        recorder().answers = {true}; // Exit's own question, when nothing changed
        fx_->answers = {b};          // the film "&Open ..." chooses
        const CZor edited = *w_->zor();
        if (command == "close")
            w_->close();
        else
            w_->action(command)->trigger();

        QCOMPARE(recorder().saveQuestions.size(), size_t(answer >= 0));
        QCOMPARE(recorder().questions.size(), size_t(command == "m_Exit" && answer < 0));
        const bool cancelled = answer == int(SaveAnswer::Cancel);
        QCOMPARE(contents(fx_->file("a.bit")) != saved, answer == int(SaveAnswer::Save));
        if (command == "close" || command == "m_Exit")
            QCOMPARE(w_.isNull() || !w_->isVisible(), !cancelled);
        else if (command == "m_Load_bin") // the file's millimetres lose the last bits
            QCOMPARE(std::hypot(w_->zor()->Shoulder.x - edited.Shoulder.x,
                                w_->zor()->Shoulder.y - edited.Shoulder.y) < 1e-9,
                     answer != int(SaveAnswer::Discard));
        else
            QCOMPARE(w_->imagePath() == b, !cancelled);
        if (w_ && w_->isVisible())
            QCOMPARE(w_->isWindowModified(), cancelled);
    }

    void paintingZoomAndResize_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::newRow("1:1") << 1.0f;
        QTest::newRow("magnified twice") << 0.5f;
        QTest::newRow("one step") << float(std::pow(2.0, -1.0 / 3.0));
    }
    void paintingZoomAndResize()
    {
        QFETCH(float, zoom);
        QVERIFY(open(3000, 2500));
        QCOMPARE(w_->HScroll()->maximum(), 3000 - view().viewWPix());
        w_->action("m_ZoomCenter")->trigger(); // zoom about the top-left corner
        w_->HScroll()->setValue(37);           // the bars move the view by whole pixels
        w_->VScroll()->setValue(21);
        w_->Zoom(zoom);
        QCOMPARE(QPointF(view().ScaleLeft(), view().ScaleTop()), QPointF(37, 21));
        verifyPicture();

        // A larger window keeps the top-left image point.
        const int oldW = view().viewWPix();
        w_->resize(1000, 720);
        QTRY_VERIFY(view().viewWPix() > oldW);
        QCOMPARE(QPointF(view().ScaleLeft(), view().ScaleTop()), QPointF(37, 21));
        verifyPicture();
        // The bars beside the picture, the scale at the right of the status line.
        QCOMPARE(w_->HScroll()->geometry().topRight(), QPoint(view().width() - 1, view().height()));
        QCOMPARE(w_->VScroll()->geometry().topLeft(), QPoint(view().width(), 0));
        QCOMPARE(w_->ScaleStatus()->geometry().right(), w_->centralWidget()->width() - 1);
        QVERIFY(w_->ScaleStatus()->text().endsWith(", NOT CALIBRATED (430 mm film default)"));

        // A valid head in red on its image points.
        CZor& z = *w_->zor();
        z.head.M.change(200, 150);
        z.head.R = 40;
        z.head.Valid = true;
        w_->repaintPicture();
        QVERIFY(colourAt({240, 150}, 0xFF0000) && colourAt({200, 110}, 0xFF0000));
    }

    // "Zoom by Mouse" zooms about the pressed point until Escape or another
    // film. The wheel scrolls down, with Shift right, with Ctrl it zooms
    // about the pointer; a middle-button drag keeps the grabbed point under
    // the pointer.
    void zoomAndPanByPointer()
    {
        QVERIFY(open(2000, 1500));
        w_->action("m_ZoomMouse")->trigger();
        QCOMPARE(view().cursor().shape(), Qt::BitmapCursor);
        const QPointF point = view().toImage({500, 400});
        QTest::mouseClick(&view(), Qt::LeftButton, {}, {500, 400});
        QCOMPARE(w_->zoom(), w_->zoomStep()); // about the pressed point
        QVERIFY(std::abs(view().ScaleLeft() + view().ScaleWidth() / 2 - point.x()) < 1e-3);
        QTest::keyClick(w_, Qt::Key_Escape);
        QCOMPARE(w_->tools()->mode(), ToolMode::Idle);
        // Opening another image ends the state, its cursor and its prompt.
        w_->action("m_ZoomMouse")->trigger();
        QVERIFY(w_->OpenImage(fx_->file("a.bmp")));
        QCOMPARE(w_->tools()->mode(), ToolMode::Idle);
        QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);
        QVERIFY(w_->StatusBar()->text().isEmpty());

        wheel(QPointF(400, 300), -240, Qt::ShiftModifier);
        wheel(QPointF(400, 300), -240, Qt::NoModifier);
        QVERIFY(view().ScaleLeft() > 0 && view().ScaleTop() > 0);
        const QPointF pos(310, 220), under = view().toImage(pos);
        wheel(pos, 120, Qt::ControlModifier);
        QCOMPARE(w_->zoom(), w_->zoomStep());
        QVERIFY((view().toImage(pos) - under).manhattanLength() < 2e-3);
        const QPoint from(300, 200), to(250, 260);
        const QPointF grabbed = view().toImage(QPointF(from));
        QTest::mousePress(&view(), Qt::MiddleButton, Qt::NoModifier, from);
        QMouseEvent drag(QEvent::MouseMove, QPointF(to), view().mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(&view(), &drag);
        QTest::mouseRelease(&view(), Qt::MiddleButton, Qt::NoModifier, to);
        QVERIFY((view().toImage(QPointF(to)) - grabbed).manhattanLength() < 2e-3);
        QCOMPARE(w_->tools()->mode(), ToolMode::Idle);
    }

    // Fit to Window shows the whole film, Actual Size one film pixel per
    // screen pixel; the loupe magnifies the film through its colour table.
    void fitActualSizeAndLoupe()
    {
        QVERIFY(open(2000, 1500));
        w_->action("m_FitWindow")->trigger();
        const PictureView& v = view();
        QVERIFY(v.ScaleWidth() >= 2000 && v.ScaleHeight() >= 1500);
        QVERIFY(v.ScaleWidth() < 2001 || v.ScaleHeight() < 1501);
        QCOMPARE(QPointF(v.ScaleLeft(), v.ScaleTop()), QPointF(0, 0));
        w_->action("m_ActualSize")->trigger();
        QCOMPARE(w_->zoom(), 1.0f);
        w_->action("m_Invert")->trigger();
        w_->action("m_Loupe")->trigger();
        QTest::mouseMove(&view(), {300, 200});
        Loupe& loupe = *w_->workflow().loupe();
        QVERIFY(loupe.isVisible());
        QCOMPARE(loupe.ScaleWidth(), Loupe::side * w_->zoom() / Loupe::magnification);
        for (QPoint p : {QPoint(10, 10), QPoint(150, 30), QPoint(30, 140), QPoint(120, 120)}) {
            const QPointF src = loupe.toImage(QPointF(p) + QPointF(0.5, 0.5));
            QCOMPARE(loupe.backing().pixel(p) & 0xFFFFFF,
                     ~testGrey(int(src.x()), int(src.y())) & 0xFFFFFF); // inverted
        }
        w_->action("m_Loupe")->trigger();
        QVERIFY(!loupe.isVisible());
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
