#pragma once

#include "series/Series.h"
#include "shell/StudyData.h"

#include <QFutureWatcher>
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFileSystemWatcher;
class QLabel;
class QSpinBox;
class QTableWidget;
class StudyChart;
class WaitCursor;

// The study window: every series of a folder (a patient's films of one hip
// over time), the selected series' films as a table and as plots of
// subsidence and tilt, and the settings they are worked out with. Not modal;
// it follows the landmark files of the folder as they are written. A double
// click on a film (row or point) hands its image to the film opener.
class StudyWindow : public QMainWindow {
    Q_OBJECT
public:
    // Opens a film's image in a main window.
    using FilmOpener = std::function<void(const QString& imagePath)>;

    explicit StudyWindow(QWidget* parent = nullptr);
    ~StudyWindow() override;

    // Reads the folder (in the background) and shows its series.
    void openFolder(const QString& folder);
    void setFilmOpener(FilmOpener opener) { opener_ = std::move(opener); }

    // Shows the window over the folder: an open study window of the same
    // folder is raised, else a new one (deleting itself on close) is made.
    static StudyWindow* showFor(const QString& folder, FilmOpener opener);

    const Series::Settings& settings() const { return settings_; }
    // Changes the settings as the controls do (and sets the controls).
    void setSettings(const Series::Settings& settings);
    const Series::StudyResult& result() const { return result_; }
    // Index into result().series of the selected series, -1 for none.
    int selectedSeries() const { return selected_; }
    void selectSeries(int index);
    // While films are being read and measured.
    bool busy() const { return running_; }
    QString folder() const { return folder_; }
    // The image of a film of the study, as a path to open; "" when none.
    QString imageOf(const QString& film) const;
    void openFilm(const QString& film);

    QTableWidget* seriesTable() const { return seriesTable_; }
    QTableWidget* filmTable() const { return filmTable_; }
    StudyChart* subsidenceChart() const { return subsidence_; }
    StudyChart* tiltChart() const { return tilt_; }
    QComboBox* referenceBox() const { return reference_; }
    QDoubleSpinBox* toleranceBox() const { return tolerance_; }
    QAction* action(const QString& name) const { return actions_.value(name); }

    // --- Commands (the menu items) ---
    void exportFilmTable();
    void exportSeriesTable();
    void exportPlot();
    void seriesReport();
    // Writes both plots, one above the other, as PNG, SVG or PDF by the
    // file's extension. False with `error`.
    bool writePlot(const QString& path, QString& error);

signals:
    // Each time new results are shown.
    void computed();

private:
    void buildControls();
    void buildMenus();
    void controlsChanged();
    void reload();
    void readFinished();
    void recompute();
    void showSeriesTable();
    void showSeries();
    void fillReferenceBox();
    void watch();
    bool writeText(const QString& caption, const QString& suggested, const std::string& bytes);

    QString folder_;
    Series::Settings settings_;
    Series::Settings readWith_; // the settings the films were measured with
    StudyData data_;
    Series::StudyResult result_;
    int selected_ = -1;
    bool running_ = false;
    bool again_ = false; // read again when the current read is done
    bool updating_ = false;
    FilmOpener opener_;
    QFutureWatcher<StudyData> reader_;
    std::unique_ptr<WaitCursor> hourglass_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer settle_;

    QLabel* status_ = nullptr;
    QTableWidget* seriesTable_ = nullptr;
    QTableWidget* filmTable_ = nullptr;
    StudyChart* subsidence_ = nullptr;
    StudyChart* tilt_ = nullptr;
    QDoubleSpinBox* tolerance_ = nullptr;
    QDoubleSpinBox* widthTolerance_ = nullptr;
    QDoubleSpinBox* threshold_ = nullptr;
    QDoubleSpinBox* clickSd_ = nullptr;
    QSpinBox* draws_ = nullptr;
    QComboBox* reference_ = nullptr;
    QCheckBox* excel_ = nullptr;
    QHash<QString, QAction*> actions_;
};
