// One whole measurement through the window: mouse events on the picture at a
// zoom other than 1 and scrolled, "&Write Data", and the case reopened.
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
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

constexpr int kImageWidth = 1400;
constexpr int kImageHeight = 1600;

// A private configuration folder, a data folder and recorded messages for
// one test.
struct Folders {
    Folders() { qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit()); }
    QString file(const QString& name) const { return data.filePath(name); }
    QTemporaryDir config;
    QTemporaryDir data;
    ScopedMessages messages;
    std::vector<int> patientFlags;
};

std::string fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

} // namespace

class TestMeasureE2E : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wholeMeasurementIsWrittenAndReopened();

private:
    // The widget position of an image point, scrolling the view when the
    // point is not shown (the zoom stays).
    QPoint at(double x, double y);
    void press(double x, double y, Qt::MouseButton b = Qt::LeftButton);
    void moveTo(double x, double y);
    void release(double x, double y, Qt::MouseButton b = Qt::LeftButton);
    void click(double x, double y, Qt::MouseButton b = Qt::LeftButton);
    void drag(double x0, double y0, double x1, double y1);
    // A spot on `line` that picks `code` and nothing listed before it.
    std::optional<QPointF> grabSpot(const CLine& line, ToolMode code);
    void choose(const char* item);
    // The case and the enabled states of the tool items, after each step.
    struct Step {
        CZor zor;
        QList<bool> items;
        bool operator==(const Step&) const = default;
    };
    Step step() const;
    void undoAndRedoEveryStep(const std::vector<Step>& steps);
    // The values the record gives after `label`, as written.
    static QStringList recordValues(const QString& record, const QString& label);

    std::unique_ptr<Folders> fixture_;
    std::unique_ptr<MainForm> w_;
    QString image_;
    FixedClock clock_{CalendarDate{2024, 3, 5}};
};

void TestMeasureE2E::init()
{
    fixture_ = std::make_unique<Folders>();
    MainForm::Services services;
    MainForm::Dialogs& d = services.dialogs;
    d.splashOnce = [](MainForm&) {};
    d.patient = [this](MainForm&, int flag) { fixture_->patientFlags.push_back(flag); };
    d.about = [](MainForm&) {};
    d.help = [](MainForm&) {};
    d.colors = [](MainForm&) {};
    // The user types 100 mm for the calibration points.
    d.calibration = [](MainForm&, double) { return 100.0F; };
    d.hardcopy = [](MainForm&) { return std::string(); };
    services.clock = &clock_;
    image_ = writeTestImage(fixture_->file("case1.bmp"), kImageWidth, kImageHeight);
    w_ = std::make_unique<MainForm>(services);
    w_->resize(900, 760);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    QVERIFY(w_->OpenImage(image_));
}

void TestMeasureE2E::cleanup()
{
    w_.reset();
    fixture_.reset();
}

QPoint TestMeasureE2E::at(double x, double y)
{
    PictureView* view = w_->PicBox();
    QPointF p = view->toWidget(QPointF(x, y));
    const int margin = 20;
    if (p.x() < margin || p.y() < margin || p.x() > view->width() - margin ||
        p.y() > view->height() - margin) {
        QScrollBar* h = w_->HScroll();
        QScrollBar* v = w_->VScroll();
        h->setValue(int(x - view->ScaleWidth() / 2));
        v->setValue(int(y - view->ScaleHeight() / 2));
        p = view->toWidget(QPointF(x, y));
    }
    return p.toPoint();
}

void TestMeasureE2E::press(double x, double y, Qt::MouseButton b)
{
    QTest::mousePress(w_->PicBox(), b, Qt::NoModifier, at(x, y));
}

void TestMeasureE2E::moveTo(double x, double y)
{
    QTest::mouseMove(w_->PicBox(), at(x, y));
}

void TestMeasureE2E::release(double x, double y, Qt::MouseButton b)
{
    QTest::mouseRelease(w_->PicBox(), b, Qt::NoModifier, at(x, y));
}

void TestMeasureE2E::click(double x, double y, Qt::MouseButton b)
{
    press(x, y, b);
    release(x, y, b);
}

void TestMeasureE2E::drag(double x0, double y0, double x1, double y1)
{
    press(x0, y0);
    // Scrolling in the middle of a drag would move the picture under the
    // pointer; both ends are brought into view before the press.
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(w_->PicBox(),
                         w_->PicBox()
                             ->toWidget(QPointF(x0 + (x1 - x0) * i / 4, y0 + (y1 - y0) * i / 4))
                             .toPoint());
    QTest::mouseRelease(w_->PicBox(), Qt::LeftButton, Qt::NoModifier,
                        w_->PicBox()->toWidget(QPointF(x1, y1)).toPoint());
}

std::optional<QPointF> TestMeasureE2E::grabSpot(const CLine& line, ToolMode code)
{
    CZor& zor = *w_->zor();
    for (double f : {0.3, 0.4, 0.6, 0.7, 0.2, 0.8}) {
        double x = line.P0.x + f * (line.P1.x - line.P0.x);
        double y = line.P0.y + f * (line.P1.y - line.P0.y);
        // Where the pointer will really be: a whole widget pixel.
        QPointF img = w_->PicBox()->toImage(QPointF(at(x, y)));
        if (zor.findMode(img.x(), img.y()) == code)
            return img;
    }
    return std::nullopt;
}

void TestMeasureE2E::choose(const char* item)
{
    QAction* a = w_->action(QString::fromLatin1(item));
    QVERIFY2(a, item);
    QVERIFY2(a->isEnabled(), item);
    a->trigger();
}

TestMeasureE2E::Step TestMeasureE2E::step() const
{
    Step s{*w_->zor(), {}};
    s.zor.Visible = true;
    for (const char* item : {"m_Head", "m_StemAxis", "m_Shoulder", "m_LTLines_Rotate_30",
                             "m_LTLines_Rotate_45", "m_LTLines_Rotate_60", "m_8Points", "m_CMarker",
                             "m_Calibrate", "m_Distance", "m_ResetLandmarks"})
        s.items << w_->action(item)->isEnabled();
    return s;
}

// Back to the case as opened, one step at a time, and forward again to the
// whole measurement.
void TestMeasureE2E::undoAndRedoEveryStep(const std::vector<Step>& steps)
{
    QAction* undo = w_->action("m_EditUndo");
    QAction* redo = w_->action("m_EditRedo");
    QCOMPARE(undo->text(), QString("&Undo Cement Marker"));
    for (size_t i = steps.size() - 1; i-- > 0;) {
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QVERIFY2(step() == steps[i], qPrintable(QString("after undo to step %1").arg(i)));
    }
    QVERIFY(!undo->isEnabled());
    QVERIFY(w_->isWindowModified() == false);
    QCOMPARE(redo->text(), QString("&Redo Calibrate"));
    for (size_t i = 1; i < steps.size(); ++i) {
        redo->trigger();
        QVERIFY2(step() == steps[i], qPrintable(QString("after redo to step %1").arg(i)));
    }
    QVERIFY(!redo->isEnabled() && w_->isWindowModified());
}

QStringList TestMeasureE2E::recordValues(const QString& record, const QString& label)
{
    QStringList values;
    const qsizetype at = record.indexOf("\"" + label + "\",");
    if (at < 0)
        return values;
    const QString rest = record.mid(at + label.size() + 3);
    for (const QString& token : rest.left(rest.indexOf("\r\n")).split(',')) {
        if (token.startsWith('"'))
            break;
        values << token;
    }
    return values;
}

void TestMeasureE2E::wholeMeasurementIsWrittenAndReopened()
{
    CZor* zor = w_->zor();
    QVERIFY(zor);
    std::vector<Step> steps{step()};
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
    QPoint c0 = at(300, 1500);
    QPoint c1 = c0 + QPoint(318, 0); // whole widget pixels; the distance follows
    QTest::mouseClick(w_->PicBox(), Qt::LeftButton, Qt::NoModifier, c0);
    QTest::mouseClick(w_->PicBox(), Qt::LeftButton, Qt::NoModifier, c1);
    QVERIFY(w_->HScroll()->value() > 0 || w_->VScroll()->value() > 0);
    double calibPixels =
        w_->PicBox()->toImage(QPointF(c1)).x() - w_->PicBox()->toImage(QPointF(c0)).x();
    QCOMPARE(zor->CalibDist, 100.0);
    steps.push_back(step());
    // The pointer arrives as 32-bit floats.
    QVERIFY2(std::abs(zor->ScaleFactor - calibPixels / 100.0) < 1e-5,
             qPrintable(QString::number(zor->ScaleFactor, 'g', 17) + " " +
                        QString::number(calibPixels / 100.0, 'g', 17)));

    // The position box follows the pointer in world millimetres.
    moveTo(700, 1000);
    QPointF shown = w_->PicBox()->toImage(QPointF(at(700, 1000)));
    QCOMPARE(w_->e_Position()->text().toStdString(),
             w_->tools()->positionText(float(shown.x()), float(shown.y())));

    // Head: four rim points around (700, 300), a right press fits them.
    choose("m_Head");
    for (auto [x, y] : {std::pair{800.0, 300.0}, {700.0, 400.0}, {600.0, 300.0}, {700.0, 200.0}})
        click(x, y);
    click(700, 300, Qt::RightButton);
    QVERIFY(zor->head.Valid);
    QVERIFY(std::abs(zor->head.M.x - 700) < 2 && std::abs(zor->head.R - 100) < 2);
    steps.push_back(step());

    // Stem axis from the two contour lines.
    choose("m_StemAxis");
    QCOMPARE(w_->StatusBar()->text(),
             QStringLiteral("select lower point on left side of stem contour"));
    at(650, 1000); // bring the stem into view before the strokes
    drag(640, 1300, 660, 700);
    QVERIFY(w_->action("m_Shoulder")->isEnabled());
    drag(760, 1300, 740, 700);
    QVERIFY(zor->AxisLine.Valid);
    QVERIFY(std::abs(zor->AxisLine.P0.x - 700) < 3);
    steps.push_back(step());

    choose("m_Shoulder");
    click(730, 650);
    QVERIFY(zor->ShoulderValid && zor->LinesVisible);
    steps.push_back(step());
    choose("m_LTLines_Rotate_30");
    steps.push_back(step());

    // The tip construction needs the tip line and both minor trochanter lines.
    for (auto [line, code] : {std::pair{&zor->TipLine, ToolMode::TipLine},
                              {&zor->LTLine2, ToolMode::LTLine2},
                              {&zor->LTLine1, ToolMode::LTLine1}}) {
        QVERIFY(!w_->action("m_8Points")->isEnabled());
        std::optional<QPointF> spot = grabSpot(*line, code);
        QVERIFY2(spot, "no spot picks the line alone");
        QTest::mouseMove(w_->PicBox(), w_->PicBox()->toWidget(*spot).toPoint());
        QVERIFY(w_->StatusBar()->text().startsWith("... "));
        drag(spot->x(), spot->y(), spot->x(), spot->y() + 25);
        QVERIFY(line->Valid);
        steps.push_back(step());
    }
    QVERIFY(w_->action("m_8Points")->isEnabled());
    QVERIFY(w_->action("m_CMarker")->isEnabled());
    QVERIFY(zor->TipLine1.Valid);

    choose("m_8Points");
    for (int i = 0; i < 8; ++i)
        click(i % 2 == 0 ? 600 : 800, 900 + 100 * (i / 2));
    QVERIFY(zor->PointsValid);
    steps.push_back(step());
    choose("m_CMarker");
    click(700, 1450);
    QVERIFY(zor->CMarkerValid);
    steps.push_back(step());
    undoAndRedoEveryStep(steps);
    QCOMPARE(w_->tools()->mode(), ToolMode::Idle);

    // The record the core analysis gives for these landmarks.
    Calc::Outcome result = Calc::Analyse(*zor);
    QVERIFY(std::holds_alternative<Calc::Analysis>(result));
    Calc::ReportTarget target = ResultReport::targetFor(zor->Patient.DatFile, image_.toStdString());
    std::optional<std::string> expected = ReportFormat::record(
        {target.name, zor->Patient.Famname, zor->Patient.Vorname, zor->Patient.Code, zor->Datum},
        clock_.today(), std::get<Calc::Analysis>(result).result);
    QVERIFY(expected);
    const CZor before = *zor;

    // A 50 mm head for a 28 mm one: asked once before writing, and answered Yes.
    RecordingMessages& recorder = fixture_->messages.recorder;
    recorder.answers = {true};
    w_->action("m_Write_dat")->trigger();
    QCOMPARE(recorder.questions.size(), size_t(1));
    QVERIFY2(recorder.questions[0].text.find("the head factor 1.7") != std::string::npos,
             recorder.questions[0].text.c_str());
    QVERIFY(fixture_->patientFlags.empty());
    QFile report(QString::fromStdString(target.path));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QCOMPARE(report.readAll().toStdString(), *expected);
    // The results panel showed what was written.
    const QString panel = w_->workflow().results()->text();
    const QString record = QString::fromStdString(*expected);
    for (const char* label :
         {"factor-head", "medial", "lateral", "valgus-varus (degrees)", "subsidence",
          "subsidence stem/cement interface", "comp-y", "comp-x"}) {
        const QStringList values = recordValues(record, label);
        QVERIFY2(!values.isEmpty(), label);
        QVERIFY2(panel.contains(QString(label) + ": " + values.join("  ")), qPrintable(panel));
    }
    // The landmark file holds the case as it was (reading it back is tested
    // in the core: world millimetres lose the last bits of the pixels).
    QCOMPARE(fileBytes(MainForm::landmarkFileFor(image_)), BinFile::LandmarkBytes(before).value());

    // Reopening the image shows the same case.
    QVERIFY(w_->OpenImage(image_));
    CZor* again = w_->zor();
    QVERIFY(again);
    QVERIFY(again->head.Valid && again->AxisLine.Valid && again->PointsValid);
    QVERIFY(std::abs(again->Shoulder.x - before.Shoulder.x) < 1e-6 &&
            std::abs(again->points(7).y - before.points(7).y) < 1e-6);
    QCOMPARE(again->Patient.Famname, std::string("Müller"));
}

QTEST_MAIN(TestMeasureE2E)
#include "tst_measure_e2e.moc"
