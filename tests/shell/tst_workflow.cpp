// Working through a folder of films: the question before a changed case is
// set aside, Save Landmarks, wheel zoom, fit to window, the loupe and the
// patient dialog's OK button.
#include "../support/RecordingMessages.h"
#include "../support/TestFilm.h"
#include "casefile/DefaultPatient.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "shell/CaseWorkflow.h"
#include "shell/DataDialog.h"
#include "shell/FilmList.h"
#include "shell/Loupe.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestWorkflow : public QObject {
    Q_OBJECT

    QTemporaryDir config_, data_;
    std::unique_ptr<ScopedMessages> messages_;
    QPointer<MainForm> w_;

    RecordingMessages& recorder() { return messages_->recorder; }
    QString file(const QString& name) const { return data_.filePath(name); }
    MainForm* openWindow(const QString& image)
    {
        MainForm::Services services;
        services.dialogs.splashOnce = [](MainForm&) {};
        services.dialogs.patient = [](MainForm&, int) {};
        auto* w = new MainForm(services);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->resize(900, 700);
        w->show();
        if (!QTest::qWaitForWindowExposed(w) || !w->OpenImage(image)) {
            delete w;
            return nullptr;
        }
        return w;
    }
    void wheel(QPointF pos, int delta, Qt::KeyboardModifiers mods)
    {
        QWheelEvent e(pos, w_->PicBox()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w_->PicBox(), &e);
    }

private slots:
    void init()
    {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        messages_ = std::make_unique<ScopedMessages>();
        writeTestImage(file("a.bmp"), 300, 200);
        writeTestImage(file("b.bmp"), 120, 90);
        w_ = openWindow(file("a.bmp"));
        QVERIFY(w_);
    }
    void cleanup()
    {
        delete w_.data();
        messages_.reset();
        QFile::remove(file("a.bit"));
        QFile::remove(file("b.bit"));
    }

    void asksBeforeAChangedCaseIsSetAside_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer"); // -1: nothing changed, no question
        for (const char* command : {"close", "open", "next film", "reload", "exit"})
            for (int answer :
                 {-1, int(SaveAnswer::Save), int(SaveAnswer::Discard), int(SaveAnswer::Cancel)})
                QTest::addRow("%s %d", command, answer) << QString(command) << answer;
    }
    void asksBeforeAChangedCaseIsSetAside()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QVERIFY(w_->workflow().saveLandmarks());
        const QByteArray saved = contents(file("a.bit"));
        QVERIFY(!saved.isEmpty() && !w_->isWindowModified());
        if (answer >= 0) {
            w_->zor()->Shoulder.change(5, 5);
            w_->workflow().afterEvent();
            QVERIFY(w_->isWindowModified());
            recorder().saveAnswers = {SaveAnswer(answer)};
        }
        recorder().answers = {true}; // Exit's own question, when nothing changed
        const CZor edited = *w_->zor();
        if (command == "close")
            w_->close();
        else if (command == "open")
            w_->OpenImage(file("b.bmp"));
        else if (command == "next film")
            w_->action("m_NextFilm")->trigger();
        else if (command == "reload")
            w_->action("m_Load_bin")->trigger();
        else
            w_->action("m_Exit")->trigger();

        QCOMPARE(recorder().saveQuestions.size(), size_t(answer >= 0));
        QCOMPARE(recorder().questions.size(), size_t(command == "exit" && answer < 0));
        const bool goesOn = answer != int(SaveAnswer::Cancel);
        QCOMPARE(contents(file("a.bit")) != saved, answer == int(SaveAnswer::Save));
        if (command == "close" || command == "exit") {
            QCOMPARE(w_.isNull() || !w_->isVisible(), goesOn);
        } else if (command == "reload") {
            QCOMPARE(w_->zor()->Shoulder == edited.Shoulder,
                     answer == int(SaveAnswer::Cancel) || answer == int(SaveAnswer::Save));
            QCOMPARE(w_->isWindowModified(), answer == int(SaveAnswer::Cancel));
        } else {
            QCOMPARE(w_->imagePath() == file("b.bmp"), goesOn);
            QCOMPARE(w_->isWindowModified(), !goesOn);
        }
    }

    void saveLandmarksWritesOnlyTheLandmarkFile()
    {
        CZor& zor = *w_->zor();
        zor.Datum = "20240115";
        zor.Patient.Famname = "Eva";
        zor.Patient.Vorname = "Anna";
        zor.Patient.DatFile = "study";
        zor.Shoulder.change(40, 50);
        zor.ShoulderValid = true;
        w_->action("m_SaveLandmarks")->trigger();
        QVERIFY(recorder().messages.empty());
        QVERIFY(!QFile::exists(file("study.zor")));
        QVERIFY(!w_->isWindowModified());
        auto again = openWindow(file("a.bmp"));
        QVERIFY(again);
        QVERIFY(again->zor()->ShoulderValid && again->zor()->Patient.Famname == "Eva");
        QCOMPARE(again->workflow().films()->films().size(), size_t(2));
        QVERIFY(again->workflow().films()->films()[0].hasLandmarks);
        delete again;
    }

    void ctrlWheelZoomsAboutThePointer()
    {
        QVERIFY(w_->OpenImage(writeTestImage(file("big.bmp"), 2000, 1500)));
        w_->workflow().zoomAbout(1.0f, QPointF());      // nothing moves
        wheel(QPointF(400, 300), -240, Qt::NoModifier); // scrolled down and right first
        wheel(QPointF(400, 300), -480, Qt::ShiftModifier);
        const QPointF pos(310, 220);
        for (int delta : {120, -120, -120}) {
            const QPointF before = w_->PicBox()->toImage(pos);
            const float zoom = w_->zoom();
            wheel(pos, delta, Qt::ControlModifier);
            QVERIFY(w_->zoom() != zoom);
            QVERIFY((w_->PicBox()->toImage(pos) - before).manhattanLength() < 2e-3);
        }
        QFile::remove(file("big.bmp"));
    }

    void middleDragPansWithTheGrabbedPoint()
    {
        QVERIFY(w_->OpenImage(writeTestImage(file("big.bmp"), 2000, 1500)));
        wheel(QPointF(400, 300), -240, Qt::ShiftModifier);
        wheel(QPointF(400, 300), -240, Qt::NoModifier);
        const PictureView& v = *w_->PicBox();
        QVERIFY(v.ScaleLeft() > 0 && v.ScaleTop() > 0);
        const QPoint from(300, 200), to(250, 260);
        const QPointF grabbed = v.toImage(QPointF(from));
        QTest::mousePress(w_->PicBox(), Qt::MiddleButton, Qt::NoModifier, from);
        QMouseEvent drag(QEvent::MouseMove, QPointF(to), w_->PicBox()->mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(w_->PicBox(), &drag);
        QTest::mouseRelease(w_->PicBox(), Qt::MiddleButton, Qt::NoModifier, to);
        const QPointF under = v.toImage(QPointF(to));
        QVERIFY(std::abs(under.x() - grabbed.x()) < 1e-3 &&
                std::abs(under.y() - grabbed.y()) < 1e-3);
        QCOMPARE(w_->tools()->mode(), ToolMode::Idle);
        QFile::remove(file("big.bmp"));
    }

    void fitToWindowShowsTheWholeFilm()
    {
        QVERIFY(w_->OpenImage(writeTestImage(file("big.bmp"), 2000, 1500)));
        w_->action("m_FitWindow")->trigger();
        const PictureView& v = *w_->PicBox();
        QVERIFY(v.ScaleWidth() >= 2000 && v.ScaleHeight() >= 1500);
        QVERIFY(v.ScaleWidth() < 2001 || v.ScaleHeight() < 1501);
        for (QPointF corner : {QPointF(0.5, 0.5), QPointF(1995.5, 1495.5)}) {
            const QPointF at = v.toWidget(corner);
            const QPoint p(int(std::floor(at.x())), int(std::floor(at.y())));
            const QPointF shown = v.toImage(QPointF(p) + QPointF(0.5, 0.5));
            QCOMPARE(v.backing().pixel(p) & 0xFFFFFF,
                     testGrey(int(shown.x()), int(shown.y())) & 0xFFFFFF);
        }
        w_->action("m_ActualSize")->trigger();
        QCOMPARE(w_->zoom(), 1.0f);
        QFile::remove(file("big.bmp"));
    }

    void loupeShowsTheFilmThroughTheColourTable()
    {
        w_->action("m_Invert")->trigger();
        w_->action("m_Loupe")->trigger();
        const QPointF target(150.0, 100.0);
        QTest::mouseMove(w_->PicBox(), w_->PicBox()->toWidget(target).toPoint());
        Loupe& loupe = *w_->workflow().loupe();
        QVERIFY(loupe.isVisible());
        QCOMPARE(loupe.ScaleWidth(), Loupe::side * w_->zoom() / Loupe::magnification);
        const PictureView::Image& image = w_->PicBox()->image();
        for (QPoint p : {QPoint(10, 10), QPoint(150, 30), QPoint(30, 140), QPoint(120, 120)}) {
            const QPointF src = loupe.toImage(QPointF(p) + QPointF(0.5, 0.5));
            const uint8_t index =
                image.bits[size_t(src.y()) * image.bytesPerLine + size_t(src.x())];
            QCOMPARE(loupe.backing().pixel(p) & 0xFFFFFF, (*image.table)[index] & 0xFFFFFF);
            QCOMPARE(loupe.backing().pixel(p) & 0xFFFFFF,
                     ~testGrey(int(src.x()), int(src.y())) & 0xFFFFFF); // inverted
        }
        w_->action("m_Loupe")->trigger();
        QVERIFY(!loupe.isVisible());
    }

    void patientDialogOkAndCarriedValues()
    {
        DefaultPatient() = CPatient{};
        DefaultPatient().Famname = "Last";
        DefaultPatientFilm() = file("a.bmp").toStdString();
        CZor zor;
        DataDialog dialog(zor, 0, nullptr, file("b.bmp"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QVERIFY(dialog.markedCarried(DataField::Famname));
        QVERIFY(!dialog.markedCarried(DataField::Vorname));
        QVERIFY(dialog.carriedNote()->isVisible() &&
                dialog.carriedNote()->text().contains("a.bmp"));
        QTest::keyClicks(dialog.E_Vorname(), "Anna");
        QTest::keyClick(dialog.E_Famname(), Qt::Key_End);
        QTest::keyClick(dialog.E_Famname(), Qt::Key_Backspace);
        QVERIFY(!dialog.markedCarried(DataField::Famname)); // edited: the user's own
        QTest::keyClick(dialog.E_Vorname(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(zor.Patient.Famname, std::string("Las"));
        QCOMPARE(zor.Patient.Vorname, std::string("Anna"));
        QCOMPARE(DefaultPatientFilm(), file("b.bmp").toStdString());
        DefaultPatient() = CPatient{};
        DefaultPatientFilm().clear();
    }
};

QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"
