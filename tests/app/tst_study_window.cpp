#include "../support/CliRun.h"
#include "../support/RecordingMessages.h"
#include "model/CZor.h"
#include "platform/Clock.h"
#include "report/FilmParameters.h"
#include "shell/FileDialogs.h"
#include "shell/MainForm.h"
#include "shell/StudyChart.h"
#include "shell/StudyWindow.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The study window on a small phantom study (3 patients x 5 films): its
// tables, plots and files against `zor-cli series` on the same folder.
class StudyWindowTest : public QObject {
    Q_OBJECT

    static constexpr int kDraws = 12;

    QTemporaryDir tmp_, config_;
    QString study_;
    std::unique_ptr<StudyWindow> w_;
    ScopedMessages messages_;
    QString saveAs_;              // what the save dialog answers
    QByteArray defaultFilms_;     // the film table exported with the default settings
    MainForm::Services services_; // no splash

    static int cli(const QStringList& args)
    {
        std::vector<std::string> a;
        for (const QString& s : args)
            a.push_back(s.toStdString());
        return runCli(a).status;
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The text of a PDF, ligatures undone; a form feed ends each page.
    static QString pdfText(const QString& path)
    {
        QProcess p;
        p.start("pdftotext", {"-layout", path, "-"});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput())
            .replace(QChar(0xFB01), "fi")
            .replace(QChar(0xFB02), "fl");
    }
    // The last top-level window of type W other than `besides`.
    template <class W> static W* topLevel(const QWidget* besides = nullptr)
    {
        W* found = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<W*>(top); w && w != besides)
                found = w;
        return found;
    }
    const Series::SeriesResult& selected() const
    {
        return w_->result().series.at(size_t(w_->selectedSeries()));
    }
    QString file(const QString& name) const { return tmp_.filePath(name); }
    void useDefaults()
    {
        Series::Settings s;
        s.draws = kDraws;
        w_->setSettings(s);
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        study_ = file("study");
        QCOMPARE(
            cli({"phantom", "--out", study_, "--patients", "3", "--films", "5", "--seed", "7"}), 0);
        FileDialogs::setSaveChooser(
            [this](QWidget*, const QString&, const QString&, const QString&) { return saveAs_; });
        services_.dialogs.splashOnce = [](MainForm&) {};
        w_ = std::make_unique<StudyWindow>();
        useDefaults();
        w_->openFolder(study_);
        w_->show();
        QTRY_VERIFY_WITH_TIMEOUT(!w_->busy(), 60000);
        QCOMPARE(w_->result().series.size(), size_t(3));
    }
    void cleanupTestCase()
    {
        w_.reset();
        FileDialogs::setSaveChooser(nullptr);
    }

    // Each row changes the controls of the open window; the window's tables
    // and both CSV exports must then be what the command line writes.
    void tablesAndExportsEqualTheCli_data()
    {
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<double>("widthTolerance");
        QTest::addColumn<int>("referenceIndex"); // in the reference box; 0 = earliest
        QTest::addColumn<bool>("excel");
        QTest::newRow("defaults") << 2.0 << 3.0 << 0 << false;
        QTest::newRow("European spreadsheet") << 2.0 << 3.0 << 0 << true;
        QTest::newRow("tight tolerance") << 0.3 << 3.0 << 0 << false;
        QTest::newRow("tight width tolerance") << 2.0 << 0.2 << 0 << false;
        QTest::newRow("last film as reference") << 2.0 << 3.0 << 5 << false;
    }
    void tablesAndExportsEqualTheCli()
    {
        QFETCH(double, tolerance);
        QFETCH(double, widthTolerance);
        QFETCH(int, referenceIndex);
        QFETCH(bool, excel);
        w_->selectSeries(0);
        w_->toleranceBox()->setValue(tolerance);
        w_->findChild<QDoubleSpinBox*>("widthTolerance")->setValue(widthTolerance);
        w_->referenceBox()->setCurrentIndex(referenceIndex);
        w_->findChild<QCheckBox*>("excel")->setChecked(excel);

        QStringList args{"series", "--csv", file("cli-films.csv"), "--summary",
                         file("cli-series.csv")};
        args << "--draws" << QString::number(kDraws) << "--tolerance" << QString::number(tolerance)
             << "--width-tolerance" << QString::number(widthTolerance);
        const QString reference = w_->referenceBox()->currentData().toString();
        if (!reference.isEmpty())
            args << "--reference" << reference;
        if (excel)
            args << "--excel";
        QCOMPARE(cli(args << study_), 0);
        saveAs_ = file("films.csv");
        w_->action("m_ExportFilms")->trigger();
        saveAs_ = file("series.csv");
        w_->action("m_ExportSeries")->trigger();
        const QByteArray films = read(file("films.csv"));
        QCOMPARE(films, read(file("cli-films.csv")));
        QCOMPARE(read(file("series.csv")), read(file("cli-series.csv")));
        // Each row changes what is written: the control is not ignored.
        if (QTest::currentDataTag() == QByteArray("defaults"))
            defaultFilms_ = films;
        else
            QVERIFY(!defaultFilms_.isEmpty() && films != defaultFilms_);

        // What the tables show is that result.
        QCOMPARE(w_->seriesTable()->rowCount(), int(w_->result().series.size()));
        const Series::SeriesResult& s = selected();
        QCOMPARE(w_->filmTable()->rowCount(), int(s.rows.size()));
        for (size_t i = 0; i < s.rows.size(); ++i) {
            const Series::FilmRow& row = s.rows[i];
            QCOMPARE(w_->filmTable()->item(int(i), 2)->text(), QString::fromStdString(row.film));
            QCOMPARE(w_->filmTable()->item(int(i), 3)->text(),
                     row.reference    ? QString("reference")
                     : row.comparable ? QString("yes")
                                      : "no: " + QString::fromStdString(row.reason));
        }
        useDefaults();
    }

    void plotPointsLieWhereTheValuesAre()
    {
        w_->toleranceBox()->setValue(0.3); // hollow points too
        for (int series = 0; series < 3; ++series) {
            w_->selectSeries(series);
            const Series::SeriesResult& s = selected();
            for (StudyChart* chart : {w_->subsidenceChart(), w_->tiltChart()}) {
                const bool down = chart == w_->subsidenceChart();
                QScatterSeries* filled = chart->comparablePoints();
                QCOMPARE(filled->count() + chart->otherPoints()->count(), int(s.rows.size()));
                auto value = [&](const Series::FilmRow& r) {
                    return QPointF(r.months, down ? r.subsidence : r.tilt);
                };
                for (const Series::FilmRow& r : s.rows) {
                    const bool other = !r.comparable && !r.reference;
                    QVERIFY((other ? chart->otherPoints() : filled)->points().contains(value(r)));
                    QVERIFY(chart->chart()->plotArea().contains(
                        chart->chart()->mapToPosition(value(r), filled)));
                    QCOMPARE(chart->filmAt(value(r)), QString::fromStdString(r.film));
                    const QString tip = chart->toolTipFor(QString::fromStdString(r.film));
                    QCOMPARE(tip.contains("not comparable: " + QString::fromStdString(r.reason)),
                             other);
                }
                // Later to the right; more sinking lower, more varus higher.
                const QPointF o = chart->chart()->mapToPosition({0, 0}, filled);
                const QPointF d = chart->chart()->mapToPosition({1, 1}, filled);
                QVERIFY(d.x() > o.x() && (d.y() > o.y()) == down);
            }
        }
        useDefaults();
    }

    // "&Series ..." of a main window opens the study of its film's folder. A
    // double click on a row or a point opens the film in that main window,
    // and in a new one once that is gone.
    void doubleClickOpensFilm()
    {
        w_->selectSeries(1);
        const Series::SeriesResult& s = selected();
        auto image = [&](int row) { return w_->imageOf(QString::fromStdString(s.rows[row].film)); };
        auto main = std::make_unique<MainForm>(services_);
        QVERIFY(main->OpenImage(image(0)));
        QAction* series = main->findChild<QAction*>("m_Series");
        QVERIFY(series && main->menu("m_File")->actions().contains(series));
        series->trigger();
        StudyWindow* study = topLevel<StudyWindow>(w_.get());
        QVERIFY(study);
        QTRY_VERIFY_WITH_TIMEOUT(!study->busy() && !study->result().series.empty(), 60000);
        study->selectSeries(1);
        QVERIFY(QTest::qWaitForWindowExposed(study));
        QTableWidget* table = study->filmTable();
        const QRect cell = table->visualItemRect(table->item(2, 2));
        // The view takes a double click only after a press on the same cell.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(main->imagePath(), image(2));

        QScatterSeries* points = study->subsidenceChart()->comparablePoints();
        emit points->doubleClicked({s.rows[3].months, s.rows[3].subsidence});
        QCOMPARE(main->imagePath(), image(3));
        main.reset();
        emit points->doubleClicked({s.rows[4].months, s.rows[4].subsidence});
        std::unique_ptr<MainForm> opened(topLevel<MainForm>());
        QVERIFY(opened);
        QCOMPARE(opened->imagePath(), image(4));
        study->close(); // deletes itself
    }

    // The same film report from zor-cli and "&Film Report ..."; the series
    // report of zor-cli holds every series, "Series Report ..." the selected.
    // The plots as pictures in the format their name asks for.
    void reportsAndPlotExports()
    {
        const QString image = w_->imageOf(QString::fromStdString(selected().rows[1].film));
        const FixedClock printed({2026, 12, 7}); // both reports printed on one day
        MainForm::Services services = services_;
        services.clock = &printed;
        MainForm main(services);
        QVERIFY(main.OpenImage(image));
        saveAs_ = file("window-film.pdf");
        main.findChild<QAction*>("m_FilmReport")->trigger();
        saveAs_ = file("window-series.pdf");
        w_->action("m_SeriesReport")->trigger();
        QCOMPARE(cli({"report", "--today", "2026-12-07", image, "-o", file("cli-film.pdf")}), 0);
        QCOMPARE(cli({"series", "--draws", QString::number(kDraws), "--report",
                      file("cli-series.pdf"), study_}),
                 0);

        // One page with the patient and every parameter of the film.
        const QString text = pdfText(file("cli-film.pdf"));
        QCOMPARE(pdfText(file("window-film.pdf")), text);
        QCOMPARE(text.count('\f'), 1);
        const CZor& z = *main.zor();
        for (const std::string& s :
             {z.Patient.Famname, z.Patient.Vorname, z.Patient.Code,
              "Scale source: " + z.CalibSource, FilmParameters::isoDate(z.Datum)})
            QVERIFY2(text.contains(QString::fromStdString(s)), s.c_str());
        const auto rows = FilmParameters::rows(z);
        QVERIFY(rows.size() > 20);
        for (const FilmParameters::Row& r : rows)
            QVERIFY2(text.contains(QRegularExpression(
                         QRegularExpression::escape(QString::fromStdString(r.name)) + "\\s+" +
                         QRegularExpression::escape(QString::fromStdString(r.value)))),
                     r.name.c_str());

        // A page or more per series, every film named.
        for (const auto& [pdf, listed] :
             {std::pair{"cli-series.pdf", w_->result().series},
              {"window-series.pdf", std::vector<Series::SeriesResult>{selected()}}}) {
            const QString series = pdfText(file(pdf));
            QVERIFY(series.count('\f') >= int(listed.size()));
            QVERIFY(series.contains(QString("draws %1").arg(kDraws)));
            for (const Series::SeriesResult& s : listed) {
                QVERIFY(series.contains(QString::fromStdString(s.summary.series)));
                for (const Series::FilmRow& r : s.rows)
                    QVERIFY2(series.contains(QString::fromStdString(r.film)), r.film.c_str());
            }
        }
        for (auto [name, start] :
             {std::pair{"plot.png", "\x89PNG"}, {"plot.svg", "<?xml"}, {"plot.pdf", "%PDF"}}) {
            saveAs_ = file(name);
            w_->action("m_ExportPlot")->trigger();
            QVERIFY2(read(file(name)).startsWith(start), name);
        }
    }

    // Last: it changes the study. A landmark file removed from the folder
    // takes its film out of the window without a word from the user.
    void followsTheFolder()
    {
        const Series::SeriesResult& s = selected();
        const size_t films = s.rows.size();
        const QString name = QString::fromStdString(s.summary.series);
        QVERIFY(QFile::remove(
            MainForm::landmarkFileFor(w_->imageOf(QString::fromStdString(s.rows.back().film)))));
        QTRY_VERIFY_WITH_TIMEOUT(!w_->busy() && selected().rows.size() == films - 1, 30000);
        QCOMPARE(QString::fromStdString(selected().summary.series), name);
    }
};

QTEST_MAIN(StudyWindowTest)
#include "tst_study_window.moc"
