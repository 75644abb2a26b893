#include "shell/StudyWindow.h"

#include "shell/StudyChart.h"
#include "shell/WaitCursor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QString utf8(const std::string& s)
{
    return QString::fromStdString(s);
}

QString num(double v, int decimals = 2)
{
    return QString::number(v, 'f', decimals);
}

QString withCi(double v, double ci, bool reference)
{
    return reference ? num(v) : num(v) + QString::fromUtf8(" \u00b1 ") + num(ci);
}

QTableWidget* makeTable(const QStringList& header, QWidget* parent)
{
    auto* t = new QTableWidget(0, int(header.size()), parent);
    t->setHorizontalHeaderLabels(header);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setWordWrap(false);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells, bool bold = false)
{
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (bold) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
        t->setItem(row, c, item);
    }
}

QDoubleSpinBox* spin(double lo, double hi, double step, int decimals, const QString& suffix)
{
    auto* s = new QDoubleSpinBox;
    s->setRange(lo, hi);
    s->setSingleStep(step);
    s->setDecimals(decimals);
    s->setSuffix(suffix);
    s->setKeyboardTracking(false);
    return s;
}

} // namespace

StudyWindow::StudyWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("StudyWindow");
    buildControls();
    buildMenus();
    setSettings(settings_);
    connect(&reader_, &QFutureWatcher<StudyData>::finished, this, &StudyWindow::readFinished);
    watcher_ = new QFileSystemWatcher(this);
    settle_.setSingleShot(true);
    settle_.setInterval(400);
    connect(&settle_, &QTimer::timeout, this, &StudyWindow::reload);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
    resize(1360, 960);
}

// A read still running works on copies only: closing the window does not
// wait for it, and its result goes nowhere.
StudyWindow::~StudyWindow() = default;

StudyWindow* StudyWindow::showFor(const QString& folder, FilmOpener opener)
{
    const QString wanted = QDir(folder).absolutePath();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* study = qobject_cast<StudyWindow*>(w);
        if (study != nullptr && QDir(study->folder()).absolutePath() == wanted) {
            study->setFilmOpener(std::move(opener));
            study->show();
            study->raise();
            study->activateWindow();
            return study;
        }
    }
    auto* study = new StudyWindow;
    study->setAttribute(Qt::WA_DeleteOnClose);
    study->setFilmOpener(std::move(opener));
    study->openFolder(folder);
    study->show();
    return study;
}

void StudyWindow::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    auto* controls = new QHBoxLayout;
    tolerance_ = spin(0.01, 100, 0.1, 2, " mm");
    tolerance_->setObjectName("tolerance");
    widthTolerance_ = spin(0.1, 100, 0.5, 1, " %");
    widthTolerance_->setObjectName("widthTolerance");
    threshold_ = spin(0.01, 100, 0.1, 2, " mm");
    threshold_->setObjectName("threshold");
    clickSd_ = spin(0.0, 20, 0.1, 2, " px");
    clickSd_->setObjectName("clickSd");
    draws_ = new QSpinBox;
    draws_->setObjectName("draws");
    draws_->setRange(2, 100000);
    draws_->setKeyboardTracking(false);
    reference_ = new QComboBox;
    reference_->setObjectName("reference");
    reference_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    excel_ = new QCheckBox(tr("European spreadsheet"));
    excel_->setToolTip(tr("CSV exports with semicolons and decimal commas"));
    excel_->setObjectName("excel");
    const std::pair<const char*, QWidget*> labelled[] = {
        {"Tolerance", tolerance_}, {"Width tolerance", widthTolerance_},
        {"Threshold", threshold_}, {"Click \u03c3", clickSd_},
        {"Draws", draws_},         {"Reference", reference_}};
    for (const auto& [text, box] : labelled) {
        auto* label = new QLabel(QString::fromUtf8(text) + ":");
        label->setBuddy(box);
        controls->addWidget(label);
        controls->addWidget(box);
        controls->addSpacing(8);
    }
    controls->addStretch();
    controls->addWidget(excel_);
    layout->addLayout(controls);

    for (QDoubleSpinBox* s : {tolerance_, widthTolerance_, threshold_, clickSd_})
        connect(s, &QDoubleSpinBox::valueChanged, this, &StudyWindow::controlsChanged);
    connect(draws_, &QSpinBox::valueChanged, this, &StudyWindow::controlsChanged);
    connect(reference_, &QComboBox::currentIndexChanged, this, &StudyWindow::controlsChanged);

    auto* split = new QSplitter(Qt::Horizontal, central);
    seriesTable_ = makeTable({"series", "patient", "side", "films", "comparable",
                              "follow-up months", "last subsidence mm", "pattern", "flags"},
                             split);
    seriesTable_->setObjectName("seriesTable");
    connect(seriesTable_, &QTableWidget::currentCellChanged, this,
            [this](int row) { selectSeries(row); });

    auto* right = new QSplitter(Qt::Vertical, split);
    filmTable_ = makeTable({"date", "months", "film", "comparable", "head factor", "subsidence mm",
                            "tilt deg", "cement mm", "flags"},
                           right);
    filmTable_->setObjectName("filmTable");
    connect(filmTable_, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (QTableWidgetItem* item = filmTable_->item(row, 2))
            openFilm(item->text());
    });
    subsidence_ = new StudyChart(SeriesPlot::Quantity::Subsidence, right);
    subsidence_->setObjectName("subsidenceChart");
    tilt_ = new StudyChart(SeriesPlot::Quantity::Tilt, right);
    tilt_->setObjectName("tiltChart");
    for (StudyChart* c : {subsidence_, tilt_})
        connect(c, &StudyChart::filmActivated, this, &StudyWindow::openFilm);
    right->setSizes({190, 360, 300});
    split->setSizes({330, 1000});
    layout->addWidget(split, 1);

    status_ = new QLabel(central);
    status_->setObjectName("studyStatus");
    layout->addWidget(status_);
}

void StudyWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    auto add = [&](const char* name, const QString& caption, auto handler) {
        auto* a = new QAction(caption, this);
        a->setObjectName(name);
        file->addAction(a);
        actions_.insert(name, a);
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    add("m_ExportFilms", tr("Export &Film Table ..."), &StudyWindow::exportFilmTable);
    add("m_ExportSeries", tr("Export &Series Table ..."), &StudyWindow::exportSeriesTable);
    add("m_ExportPlot", tr("Export &Plot ..."), &StudyWindow::exportPlot);
    file->addSeparator();
    add("m_SeriesReport", tr("Series &Report ..."), &StudyWindow::seriesReport);
    file->addSeparator();
    add("m_Reload", tr("Re&read Folder"), &StudyWindow::reload)->setShortcut(Qt::Key_F5);
    add("m_Close", tr("&Close"), &QWidget::close)->setShortcut(QKeySequence::Close);
}

void StudyWindow::setSettings(const Series::Settings& s)
{
    updating_ = true;
    tolerance_->setValue(s.tolerance);
    widthTolerance_->setValue(s.widthTolerance);
    threshold_->setValue(s.threshold);
    clickSd_->setValue(s.clickSd);
    draws_->setValue(s.draws);
    updating_ = false;
    const bool remeasure =
        s.clickSd != settings_.clickSd || s.draws != settings_.draws || s.seed != settings_.seed;
    settings_ = s;
    fillReferenceBox();
    if (folder_.isEmpty())
        return;
    if (remeasure)
        reload();
    else
        recompute();
}

void StudyWindow::controlsChanged()
{
    if (updating_)
        return;
    Series::Settings s = settings_;
    s.tolerance = tolerance_->value();
    s.widthTolerance = widthTolerance_->value();
    s.threshold = threshold_->value();
    s.clickSd = clickSd_->value();
    s.draws = draws_->value();
    s.reference = reference_->currentData().toString().toStdString();
    setSettings(s);
}

void StudyWindow::openFolder(const QString& folder)
{
    folder_ = folder;
    setWindowTitle(tr("Series - %1").arg(QDir::toNativeSeparators(folder)));
    data_ = StudyData();
    reload();
}

void StudyWindow::reload()
{
    if (folder_.isEmpty())
        return;
    if (running_) {
        again_ = true;
        return;
    }
    running_ = true;
    again_ = false;
    hourglass_ = std::make_unique<WaitCursor>();
    status_->setText(tr("Reading and measuring the films of %1 ...").arg(folder_));
    readWith_ = settings_;
    const std::string folder = folder_.toStdString();
    const Series::Settings s = settings_;
    const StudyData previous = data_;
    reader_.setFuture(
        QtConcurrent::run([folder, s, previous] { return StudyData::read(folder, s, previous); }));
}

void StudyWindow::readFinished()
{
    data_ = reader_.result();
    running_ = false;
    hourglass_.reset();
    watch();
    recompute();
    if (again_ || settings_.clickSd != readWith_.clickSd || settings_.draws != readWith_.draws ||
        settings_.seed != readWith_.seed)
        reload();
}

void StudyWindow::watch()
{
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    QStringList paths;
    for (const std::string& f : data_.folders()) {
        const QString dir = utf8(f);
        paths << dir;
        for (const QFileInfo& bit : QDir(dir).entryInfoList({"*.bit"}, QDir::Files))
            paths << bit.filePath();
    }
    if (!paths.isEmpty())
        watcher_->addPaths(paths);
}

void StudyWindow::recompute()
{
    const QString selectedName = selected_ >= 0 && selected_ < int(result_.series.size())
                                     ? utf8(result_.series[size_t(selected_)].summary.series)
                                     : QString();
    result_ = data_.compute(settings_);
    selected_ = result_.series.empty() ? -1 : 0;
    for (size_t i = 0; i < result_.series.size(); ++i)
        if (utf8(result_.series[i].summary.series) == selectedName)
            selected_ = int(i);
    showSeriesTable();
    showSeries();
    int films = 0;
    for (const Series::SeriesResult& s : result_.series)
        films += int(s.rows.size());
    QString text = tr("%1 series, %2 films, %3 left out")
                       .arg(result_.series.size())
                       .arg(films)
                       .arg(result_.leftOut.size());
    QStringList why;
    for (const Series::LeftOut& l : result_.leftOut)
        why << utf8(l.film) + ": " + utf8(l.reason);
    status_->setText(running_ ? text + tr(" (reading ...)") : text);
    status_->setToolTip(why.join('\n'));
    emit computed();
}

void StudyWindow::showSeriesTable()
{
    updating_ = true;
    seriesTable_->setRowCount(int(result_.series.size()));
    for (size_t i = 0; i < result_.series.size(); ++i) {
        const Series::SeriesSummary& m = result_.series[i].summary;
        QString patient = utf8(m.famname);
        if (!m.vorname.empty())
            patient += (patient.isEmpty() ? "" : ", ") + utf8(m.vorname);
        setRow(seriesTable_, int(i),
               {utf8(m.series), patient, utf8(m.side), QString::number(m.films),
                QString::number(m.comparableFilms), num(m.followupMonths, 1), num(m.subsidenceLast),
                utf8(m.pattern), m.overThreshold ? tr("over threshold") : QString()});
    }
    seriesTable_->resizeColumnsToContents();
    if (selected_ >= 0)
        seriesTable_->setCurrentCell(selected_, 0);
    updating_ = false;
}

void StudyWindow::selectSeries(int index)
{
    if (updating_ || index == selected_ || index < 0 || index >= int(result_.series.size()))
        return;
    selected_ = index;
    updating_ = true;
    seriesTable_->setCurrentCell(index, 0);
    updating_ = false;
    showSeries();
}

void StudyWindow::showSeries()
{
    fillReferenceBox();
    if (selected_ < 0) {
        filmTable_->setRowCount(0);
        subsidence_->clear();
        tilt_->clear();
        return;
    }
    const Series::SeriesResult& s = result_.series[size_t(selected_)];
    filmTable_->setRowCount(int(s.rows.size()));
    for (size_t i = 0; i < s.rows.size(); ++i) {
        const Series::FilmRow& r = s.rows[i];
        QStringList flags;
        if (r.migrationDetected)
            flags << tr("migration");
        if (r.overThreshold)
            flags << tr("over threshold");
        const QString comparable = r.reference    ? tr("reference")
                                   : r.comparable ? tr("yes")
                                                  : tr("no: ") + utf8(r.reason);
        setRow(filmTable_, int(i),
               {utf8(r.date), num(r.months, 1), utf8(r.film), comparable, num(r.headFactor, 4),
                withCi(r.subsidence, r.subsidenceCi95, r.reference),
                withCi(r.tilt, r.tiltCi95, r.reference),
                r.cementSubsidence
                    ? withCi(*r.cementSubsidence, r.cementCi95.value_or(0), r.reference)
                    : QString(),
                flags.join(", ")},
               r.reference);
    }
    filmTable_->resizeColumnsToContents();
    subsidence_->show(s, settings_.threshold);
    tilt_->show(s, settings_.threshold);
}

void StudyWindow::fillReferenceBox()
{
    const bool was = updating_;
    updating_ = true;
    reference_->clear();
    reference_->addItem(tr("earliest film"), QString());
    if (selected_ >= 0 && selected_ < int(result_.series.size()))
        for (const Series::FilmRow& r : result_.series[size_t(selected_)].rows)
            reference_->addItem(utf8(r.date) + "  " + utf8(r.film), utf8(r.film));
    const int at = reference_->findData(utf8(settings_.reference));
    reference_->setCurrentIndex(at < 0 ? 0 : at);
    updating_ = was;
}

QString StudyWindow::imageOf(const QString& film) const
{
    const std::string image = data_.imageOf(film.toStdString());
    return image.empty() ? QString() : QFileInfo(utf8(image)).absoluteFilePath();
}

void StudyWindow::openFilm(const QString& film)
{
    const QString image = imageOf(film);
    if (image.isEmpty() || !opener_)
        return;
    opener_(image);
}
