#include "../support/CliRun.h"
#include "../support/RecordingMessages.h"
#include "model/CZor.h"
#include "report/FilmParameters.h"
#include "shell/FileDialogs.h"
#include "shell/FilmList.h"
#include "shell/MainForm.h"
#include "shell/StudyChart.h"
#include "shell/StudyMenu.h"
#include "shell/StudyWindow.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
    QString saveAs_; // what the save dialog answers
    int defaultOthers_ = 0;
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
    // The text of a PDF, ligatures undone, and its page count.
    static QString pdfText(const QString& path, int* pages)
    {
        QProcess p;
        p.start("pdfinfo", {path});
        p.waitForFinished();
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        const QRegularExpression count("Pages:\\s+(\\d+)");
        *pages = count.match(info).captured(1).toInt();
        p.start("pdftotext", {"-layout", path, "-"});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput())
            .replace(QChar(0xFB01), "fi")
            .replace(QChar(0xFB02), "fl");
    }
    const Series::SeriesResult& selected() const
    {
        return w_->result().series.at(size_t(w_->selectedSeries()));
    }
    QString file(const QString& name) const { return tmp_.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        study_ = tmp_.filePath("study");
        QCOMPARE(
            cli({"phantom", "--out", study_, "--patients", "3", "--films", "5", "--seed", "7"}), 0);
        FileDialogs::setSaveChooser(
            [this](QWidget*, const QString&, const QString&, const QString&) { return saveAs_; });
        services_.dialogs.splashOnce = [](MainForm&) {};
    }
    void cleanupTestCase()
    {
        w_.reset();
        FileDialogs::setSaveChooser(nullptr);
    }

    void init()
    {
        if (w_)
            return;
        w_ = std::make_unique<StudyWindow>();
        Series::Settings s;
        s.draws = kDraws;
        w_->setSettings(s);
        w_->openFolder(study_);
        w_->show();
        QTRY_VERIFY_WITH_TIMEOUT(!w_->busy(), 60000);
        QCOMPARE(w_->result().series.size(), size_t(3));
    }

    // Each row changes the controls of the open window; the window's tables
    // and both CSV exports must then be what the command line writes.
    void tablesAndExportsEqualTheCli_data()
    {
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<double>("widthTolerance");
        QTest::addColumn<int>("referenceIndex"); // in the reference box; 0 = earliest
        QTest::addColumn<bool>("excel");
        QTest::addColumn<bool>("tight"); // more films not comparable than with the defaults
        QTest::newRow("defaults") << 2.0 << 3.0 << 0 << false << false;
        QTest::newRow("European spreadsheet") << 2.0 << 3.0 << 0 << true << false;
        QTest::newRow("tight tolerance") << 0.3 << 3.0 << 0 << false << true;
        QTest::newRow("tight width tolerance") << 2.0 << 0.2 << 0 << false << true;
        QTest::newRow("last film as reference") << 2.0 << 3.0 << 5 << false << false;
    }
    void tablesAndExportsEqualTheCli()
    {
        QFETCH(double, tolerance);
        QFETCH(double, widthTolerance);
        QFETCH(int, referenceIndex);
        QFETCH(bool, excel);
        QFETCH(bool, tight);
        w_->selectSeries(0);
        w_->toleranceBox()->setValue(tolerance);
        w_->findChild<QDoubleSpinBox*>("widthTolerance")->setValue(widthTolerance);
        w_->referenceBox()->setCurrentIndex(referenceIndex);
        w_->findChild<QCheckBox*>("excel")->setChecked(excel);
        QCOMPARE(w_->settings().tolerance, tolerance);

        QStringList args = {"series",
                            "--draws",
                            QString::number(kDraws),
                            "--tolerance",
                            QString::number(tolerance),
                            "--width-tolerance",
                            QString::number(widthTolerance)};
        args << "--csv" << file("cli-films.csv") << "--summary" << file("cli-series.csv");
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
        QVERIFY(!read(file("cli-films.csv")).isEmpty());
        QCOMPARE(read(file("films.csv")), read(file("cli-films.csv")));
        QCOMPARE(read(file("series.csv")), read(file("cli-series.csv")));

        // What the tables show is that result, the reference row marked.
        const Series::StudyResult& r = w_->result();
        QCOMPARE(w_->seriesTable()->rowCount(), int(r.series.size()));
        for (size_t i = 0; i < r.series.size(); ++i)
            QCOMPARE(w_->seriesTable()->item(int(i), 0)->text(),
                     QString::fromStdString(r.series[i].summary.series));
        const Series::SeriesResult& s = selected();
        QCOMPARE(w_->filmTable()->rowCount(), int(s.rows.size()));
        int others = 0;
        for (size_t i = 0; i < s.rows.size(); ++i) {
            const Series::FilmRow& row = s.rows[i];
            QCOMPARE(w_->filmTable()->item(int(i), 2)->text(), QString::fromStdString(row.film));
            const QString shown = w_->filmTable()->item(int(i), 3)->text();
            QCOMPARE(shown, row.reference    ? QString("reference")
                            : row.comparable ? QString("yes")
                                             : "no: " + QString::fromStdString(row.reason));
            QCOMPARE(w_->filmTable()->item(int(i), 0)->font().bold(), row.reference);
            QCOMPARE(row.reference,
                     !reference.isEmpty() ? row.film == reference.toStdString() : i == 0);
            others += !row.comparable && !row.reference;
        }
        if (QByteArray(QTest::currentDataTag()) == "defaults")
            defaultOthers_ = others;
        if (tight)
            QVERIFY2(others > defaultOthers_, "a tighter tolerance changes no film");
        w_->setSettings([] {
            Series::Settings d;
            d.draws = kDraws;
            return d;
        }());
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
                QList<QPointF> shown = filled->points() + chart->otherPoints()->points();
                QCOMPARE(shown.size(), qsizetype(s.rows.size()));
                auto place = [&](const Series::FilmRow& r) {
                    return chart->chart()->mapToPosition({r.months, down ? r.subsidence : r.tilt},
                                                         filled);
                };
                for (const Series::FilmRow& r : s.rows) {
                    const QPointF p(r.months, down ? r.subsidence : r.tilt);
                    QScatterSeries* own =
                        r.comparable || r.reference ? filled : chart->otherPoints();
                    QVERIFY(own->points().contains(p));
                    QVERIFY(chart->chart()->plotArea().contains(place(r)));
                    QCOMPARE(chart->filmAt(p), QString::fromStdString(r.film));
                    const QString tip = chart->toolTipFor(QString::fromStdString(r.film));
                    QVERIFY(tip.contains(QString::number(p.y(), 'f', 2)));
                    QCOMPARE(tip.contains("not comparable: " + QString::fromStdString(r.reason)),
                             !r.comparable && !r.reference);
                }
                // Later to the right; more sinking lower, more varus higher.
                for (const Series::FilmRow& a : s.rows)
                    for (const Series::FilmRow& b : s.rows) {
                        const double dv = down ? a.subsidence - b.subsidence : a.tilt - b.tilt;
                        if (a.months > b.months)
                            QVERIFY(place(a).x() > place(b).x());
                        if (std::abs(dv) > 1e-6)
                            QCOMPARE(place(a).y() > place(b).y(), down ? dv > 0 : dv < 0);
                    }
            }
        }
        w_->toleranceBox()->setValue(2.0);
    }

    // A double click on a row or a point opens the film in the main window
    // that opened the study, and in a new one once that is gone.
    void doubleClickOpensFilm()
    {
        w_->selectSeries(1);
        const Series::SeriesResult& s = selected();
        const QString first = w_->imageOf(QString::fromStdString(s.rows[0].film));
        auto main = std::make_unique<MainForm>(services_);
        QVERIFY(main->OpenImage(first));
        QAction* series = main->findChild<QAction*>("m_Series");
        QVERIFY(series && main->menu("m_File")->actions().contains(series));
        QCOMPARE(series->text(), QString("&Series ..."));
        QCOMPARE(series->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
        QVERIFY(main->findChild<FilmList*>()->actions().contains(series));
        series->trigger();
        StudyWindow* study = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* sw = qobject_cast<StudyWindow*>(top); sw && sw != w_.get())
                study = sw;
        QVERIFY(study);
        QTRY_VERIFY_WITH_TIMEOUT(!study->busy() && !study->result().series.empty(), 60000);
        study->selectSeries(1);
        QVERIFY(QTest::qWaitForWindowExposed(study));
        QTableWidget* table = study->filmTable();
        const QRect cell = table->visualItemRect(table->item(2, 2));
        // The view takes a double click only after a press on the same cell.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(main->imagePath(), w_->imageOf(QString::fromStdString(s.rows[2].film)));

        StudyChart* chart = study->subsidenceChart();
        const QPointF value(s.rows[3].months, s.rows[3].subsidence);
        emit chart->comparablePoints()->doubleClicked(value);
        QCOMPARE(main->imagePath(), w_->imageOf(QString::fromStdString(s.rows[3].film)));

        main.reset();
        emit chart->comparablePoints()->doubleClicked({s.rows[4].months, s.rows[4].subsidence});
        MainForm* opened = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<MainForm*>(top))
                opened = m;
        QVERIFY(opened);
        QCOMPARE(opened->imagePath(), w_->imageOf(QString::fromStdString(s.rows[4].film)));
        delete opened;
        study->close(); // deletes itself
    }

    // From zor-cli report and from "&Film Report ...".
    void filmReport()
    {
        for (bool fromWindow : {false, true})
            filmReportFrom(fromWindow);
    }
    void seriesReportListsEveryFilm()
    {
        for (bool fromWindow : {false, true})
            seriesReportFrom(fromWindow);
    }

private:
    void filmReportFrom(bool fromWindow)
    {
        const QString image = w_->imageOf(QString::fromStdString(selected().rows[1].film));
        const QString pdf = file(fromWindow ? "window-film.pdf" : "cli-film.pdf");
        MainForm main(services_);
        QVERIFY(main.OpenImage(image));
        if (fromWindow) {
            saveAs_ = pdf;
            main.findChild<QAction*>("m_FilmReport")->trigger();
        } else {
            QCOMPARE(cli({"report", image, "-o", pdf}), 0);
        }
        int pages = 0;
        const QString text = pdfText(pdf, &pages);
        QCOMPARE(pages, 1);
        const CZor& z = *main.zor();
        for (const std::string& s :
             {z.Patient.Famname, z.Patient.Vorname, z.Patient.Code,
              "Scale source: " + z.CalibSource, FilmParameters::isoDate(z.Datum)})
            QVERIFY2(text.contains(QString::fromStdString(s)), s.c_str());
        const auto rows = FilmParameters::rows(z);
        QVERIFY(rows.size() > 20);
        for (const FilmParameters::Row& r : rows) {
            const QRegularExpression line(
                QRegularExpression::escape(QString::fromStdString(r.name)) + "\\s+" +
                QRegularExpression::escape(QString::fromStdString(r.value)));
            QVERIFY2(text.contains(line), r.name.c_str());
        }
    }

    // From zor-cli series --report and from "Series Report ...".
    void seriesReportFrom(bool fromWindow)
    {
        const QString pdf = file(fromWindow ? "window-series.pdf" : "cli-series.pdf");
        std::vector<Series::SeriesResult> listed = {selected()};
        if (fromWindow) {
            saveAs_ = pdf;
            w_->action("m_SeriesReport")->trigger();
        } else {
            QCOMPARE(cli({"series", "--draws", QString::number(kDraws), "--report", pdf, study_}),
                     0);
            listed = w_->result().series;
        }
        int pages = 0;
        const QString text = pdfText(pdf, &pages);
        QVERIFY(pages >= int(listed.size()));
        QVERIFY(text.contains(QString("draws %1").arg(kDraws)));
        for (const Series::SeriesResult& s : listed) {
            QVERIFY(text.contains(QString::fromStdString(s.summary.series)));
            for (const Series::FilmRow& r : s.rows)
                QVERIFY2(text.contains(QString::fromStdString(r.film)), r.film.c_str());
        }
    }

private slots:
    void plotExports()
    {
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
        const QString image = w_->imageOf(QString::fromStdString(s.rows.back().film));
        QVERIFY(QFile::remove(MainForm::landmarkFileFor(image)));
        QTRY_VERIFY_WITH_TIMEOUT(!w_->busy() && selected().rows.size() == films - 1, 30000);
        QCOMPARE(QString::fromStdString(selected().summary.series), name);
    }
};

QTEST_MAIN(StudyWindowTest)
#include "tst_study_window.moc"
