// One whole measurement through the window: mouse events on the picture,
// zoomed and scrolled, each step undone and redone, and "&Write Data".
#include "../support/RecordingMessages.h"
#include "../support/TestFilm.h"
#include "analysis/Calc.h"
#include "analysis/ReportFormat.h"
#include "analysis/ResultReport.h"
#include "casefile/BinFile.h"
#include "interaction/ToolController.h"
#include "model/CZor.h"
#include "shell/CaseWorkflow.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"
#include "shell/ResultsPanel.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

class TestMeasureE2E : public QObject {
    Q_OBJECT

    // The case and the enabled states of the tool items, after each step.
    struct Step {
        CZor zor;
        QList<bool> items;
        bool operator==(const Step&) const = default;
    };

    QTemporaryDir config_, data_;
    ScopedMessages messages_;
    FixedClock clock_{CalendarDate{2024, 3, 5}};
    QString image_;
    std::unique_ptr<MainForm> w_;
    std::vector<Step> steps_;

    // The widget position of an image point, scrolling the view when the
    // point is not shown (the zoom stays).
    QPoint at(double x, double y)
    {
        PictureView* view = w_->PicBox();
        QPointF p = view->toWidget(QPointF(x, y));
        const int margin = 20;
        if (p.x() < margin || p.y() < margin || p.x() > view->width() - margin ||
            p.y() > view->height() - margin) {
            w_->HScroll()->setValue(int(x - view->ScaleWidth() / 2));
            w_->VScroll()->setValue(int(y - view->ScaleHeight() / 2));
            p = view->toWidget(QPointF(x, y));
        }
        return p.toPoint();
    }
    QPoint widget(QPointF image) const { return w_->PicBox()->toWidget(image).toPoint(); }
    void click(double x, double y, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseClick(w_->PicBox(), b, Qt::NoModifier, at(x, y));
    }
    // Scrolling in the middle of a drag would move the picture under the
    // pointer; both ends are brought into view before the press.
    void drag(double x0, double y0, double x1, double y1)
    {
        QTest::mousePress(w_->PicBox(), Qt::LeftButton, Qt::NoModifier, at(x0, y0));
        for (int i = 1; i <= 4; ++i)
            QTest::mouseMove(w_->PicBox(),
                             widget({x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4}));
        QTest::mouseRelease(w_->PicBox(), Qt::LeftButton, Qt::NoModifier, widget({x1, y1}));
    }
    // A spot on `line` that picks `code` and nothing listed before it.
    std::optional<QPointF> grabSpot(const CLine& line, ToolMode code)
    {
        for (double f : {0.3, 0.4, 0.6, 0.7, 0.2, 0.8}) {
            // Where the pointer will really be: a whole widget pixel.
            const QPointF img = w_->PicBox()->toImage(QPointF(at(
                line.P0.x + f * (line.P1.x - line.P0.x), line.P0.y + f * (line.P1.y - line.P0.y))));
            if (w_->zor()->findMode(img.x(), img.y()) == code)
                return img;
        }
        return std::nullopt;
    }
    void choose(const char* item)
    {
        QAction* a = w_->action(QString::fromLatin1(item));
        QVERIFY2(a && a->isEnabled(), item);
        a->trigger();
    }
    // A step is done when `ok`: its case and items are kept for the undo test.
    void stepDone(bool ok)
    {
        QVERIFY2(ok, qPrintable(QString("step %1").arg(steps_.size())));
        steps_.push_back(step());
    }
    Step step() const
    {
        Step s{*w_->zor(), {}};
        s.zor.Visible = true;
        for (const char* item : {"m_Head", "m_StemAxis", "m_Shoulder", "m_LTLines_Rotate_30",
                                 "m_LTLines_Rotate_45", "m_LTLines_Rotate_60", "m_8Points",
                                 "m_CMarker", "m_Calibrate", "m_Distance", "m_ResetLandmarks"})
            s.items << w_->action(item)->isEnabled();
        return s;
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        MainForm::Services services;
        MainForm::Dialogs& d = services.dialogs;
        d.splashOnce = d.about = d.help = d.colors = [](MainForm&) {};
        d.patient = [](MainForm&, int) { QFAIL("the patient's data were asked for"); };
        // The user types 100 mm for the calibration points.
        d.calibration = [](MainForm&, double) { return 100.0F; };
        d.hardcopy = [](MainForm&) { return std::string(); };
        services.clock = &clock_;
        image_ = writeTestImage(data_.filePath("case1.bmp"), 1400, 1600);
        w_ = std::make_unique<MainForm>(services);
        w_->resize(900, 760);
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
        QVERIFY(w_->OpenImage(image_));
    }

    void wholeMeasurementIsWritten()
    {
        CZor* zor = w_->zor();
        steps_ = {step()};
        zor->Datum = "20240115";
        zor->Patient.Famname = "Müller";
        zor->Patient.Vorname = "Anna";
        zor->Patient.Code = "S-17";
        zor->Patient.HeadTR = 14.0;
        zor->Patient.DatFile = "study";

        // Zoomed out one step, so one screen pixel is about 1.26 image pixels.
        w_->m_ZoomDown_Click();
        QVERIFY(std::abs(w_->zoom() - 1.0F) > 0.1F);

        // Calibration: 400 pixels are 100 mm.
        choose("m_Calibrate");
        const QPoint c0 = at(300, 1500);
        const QPoint c1 = c0 + QPoint(318, 0); // whole widget pixels; the distance follows
        QTest::mouseClick(w_->PicBox(), Qt::LeftButton, Qt::NoModifier, c0);
        QTest::mouseClick(w_->PicBox(), Qt::LeftButton, Qt::NoModifier, c1);
        QVERIFY(w_->HScroll()->value() > 0 || w_->VScroll()->value() > 0);
        const double calibPixels =
            w_->PicBox()->toImage(QPointF(c1)).x() - w_->PicBox()->toImage(QPointF(c0)).x();
        // The pointer arrives as 32-bit floats.
        stepDone(zor->CalibDist == 100.0 &&
                 std::abs(zor->ScaleFactor - calibPixels / 100.0) < 1e-5);

        // The position box follows the pointer in world millimetres.
        QTest::mouseMove(w_->PicBox(), at(700, 1000));
        const QPointF shown = w_->PicBox()->toImage(QPointF(at(700, 1000)));
        QCOMPARE(w_->e_Position()->text().toStdString(),
                 w_->tools()->positionText(float(shown.x()), float(shown.y())));

        // Head: four rim points around (700, 300), a right press fits them.
        choose("m_Head");
        for (auto [x, y] :
             {std::pair{800.0, 300.0}, {700.0, 400.0}, {600.0, 300.0}, {700.0, 200.0}})
            click(x, y);
        click(700, 300, Qt::RightButton);
        stepDone(zor->head.Valid && std::abs(zor->head.M.x - 700) < 2 &&
                 std::abs(zor->head.R - 100) < 2);

        // Stem axis from the two contour lines.
        choose("m_StemAxis");
        at(650, 1000); // bring the stem into view before the strokes
        drag(640, 1300, 660, 700);
        drag(760, 1300, 740, 700);
        stepDone(zor->AxisLine.Valid && std::abs(zor->AxisLine.P0.x - 700) < 3);

        choose("m_Shoulder");
        click(730, 650);
        stepDone(zor->ShoulderValid && zor->LinesVisible);
        choose("m_LTLines_Rotate_30");
        stepDone(true);

        // The tip construction needs the tip line and both minor trochanter lines.
        for (auto [line, code] : {std::pair{&zor->TipLine, ToolMode::TipLine},
                                  {&zor->LTLine2, ToolMode::LTLine2},
                                  {&zor->LTLine1, ToolMode::LTLine1}}) {
            QVERIFY(!w_->action("m_8Points")->isEnabled());
            std::optional<QPointF> spot = grabSpot(*line, code);
            QVERIFY2(spot, "no spot picks the line alone");
            QTest::mouseMove(w_->PicBox(), widget(*spot));
            QVERIFY(w_->StatusBar()->text().startsWith("... "));
            drag(spot->x(), spot->y(), spot->x(), spot->y() + 25);
            stepDone(line->Valid);
        }
        choose("m_8Points"); // usable once the tip construction is done
        for (int i = 0; i < 8; ++i)
            click(i % 2 == 0 ? 600 : 800, 900 + 100 * (i / 2));
        stepDone(zor->PointsValid);
        choose("m_CMarker");
        click(700, 1450);
        stepDone(zor->CMarkerValid);
        undoAndRedoEveryStep();
        QCOMPARE(w_->tools()->mode(), ToolMode::Idle);
        writeData();
    }

private:
    // Back to the case as opened, one step at a time, and forward again to
    // the whole measurement.
    void undoAndRedoEveryStep()
    {
        QAction* undo = w_->action("m_EditUndo");
        QAction* redo = w_->action("m_EditRedo");
        QCOMPARE(undo->text(), QString("&Undo Cement Marker"));
        for (size_t i = steps_.size() - 1; i-- > 0;) {
            undo->trigger(); // does nothing when disabled
            QVERIFY2(step() == steps_[i], qPrintable(QString("after undo to step %1").arg(i)));
        }
        QVERIFY(!undo->isEnabled() && !w_->isWindowModified());
        QCOMPARE(redo->text(), QString("&Redo Calibrate"));
        for (size_t i = 1; i < steps_.size(); ++i) {
            redo->trigger();
            QVERIFY2(step() == steps_[i], qPrintable(QString("after redo to step %1").arg(i)));
        }
        QVERIFY(!redo->isEnabled() && w_->isWindowModified());
    }

    void writeData()
    {
        // The record the core analysis gives for these landmarks.
        const CZor before = *w_->zor();
        const Calc::Outcome result = Calc::Analyse(before);
        QVERIFY(std::holds_alternative<Calc::Analysis>(result));
        const Calc::ReportTarget target =
            ResultReport::targetFor(before.Patient.DatFile, image_.toStdString());
        const std::optional<std::string> expected =
            ReportFormat::record({target.name, before.Patient.Famname, before.Patient.Vorname,
                                  before.Patient.Code, before.Datum},
                                 clock_.today(), std::get<Calc::Analysis>(result).result);
        QVERIFY(expected);

        // A 50 mm head for a 28 mm one: asked once before writing, and answered Yes.
        RecordingMessages& recorder = messages_.recorder;
        recorder.answers = {true};
        w_->action("m_Write_dat")->trigger();
        QCOMPARE(recorder.questions.size(), size_t(1));
        QVERIFY2(recorder.questions[0].text.find("the head factor 1.7") != std::string::npos,
                 recorder.questions[0].text.c_str());
        QFile report(QString::fromStdString(target.path));
        QVERIFY(report.open(QIODevice::ReadOnly));
        QCOMPARE(report.readAll().toStdString(), *expected);
        // Written, the case is unchanged, and writing was no step of its own.
        QVERIFY(!w_->isWindowModified());
        QCOMPARE(w_->action("m_EditUndo")->text(), QString("&Undo Cement Marker"));
        // The results panel showed what was written.
        const QString panel = w_->workflow().results()->text();
        for (const QString label :
             {"factor-head", "medial", "lateral", "valgus-varus (degrees)", "subsidence",
              "subsidence stem/cement interface", "comp-y", "comp-x"}) {
            const QString values =
                QRegularExpression("\"" + QRegularExpression::escape(label) + "\",([^\"\\r]+)")
                    .match(QString::fromStdString(*expected))
                    .captured(1);
            QVERIFY2(
                !values.isEmpty() &&
                    panel.contains(label + ": " + values.split(',', Qt::SkipEmptyParts).join("  ")),
                qPrintable(label + "\n" + panel));
        }
        // The landmark file holds the case as it was.
        QFile landmarks(MainForm::landmarkFileFor(image_));
        QVERIFY(landmarks.open(QIODevice::ReadOnly));
        QCOMPARE(landmarks.readAll().toStdString(), BinFile::LandmarkBytes(before).value());
    }
};

QTEST_MAIN(TestMeasureE2E)
#include "tst_measure_e2e.moc"
