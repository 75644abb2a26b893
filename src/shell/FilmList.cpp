#include "shell/FilmList.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QScrollBar>

#include <map>

namespace {

// Landmark files read per turn of the event loop.
constexpr size_t kPerTurn = 8;

QString stateText(const FilmFolder::Film& f)
{
    if (f.damaged)
        return "landmark file damaged";
    return f.hasLandmarks ? "landmarks saved" : "no landmark file";
}

} // namespace

FilmList::FilmList(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName("filmList");
    setColumnCount(4);
    setHeaderLabels({"Film", "State", "X-Ray Date", "Patient"});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &FilmList::readSome);
    listAgain_.setSingleShot(true);
    listAgain_.setInterval(250);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &listAgain_,
            qOverload<>(&QTimer::start));
    connect(&listAgain_, &QTimer::timeout, this, &FilmList::listAgain);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int i = indexOfTopLevelItem(item);
        if (i >= 0 && size_t(i) < films_.size())
            emit openRequested(QString::fromStdString(films_[size_t(i)].path));
    });
}

void FilmList::showFolder(const QString& film, const QStringList& extensions)
{
    const QString folder = QFileInfo(film).absolutePath();
    if (folder != folder_ || indexOf(film) < 0) {
        if (!folder_.isEmpty())
            watcher_.removePath(folder_);
        folder_ = folder;
        extensions_ = extensions;
        watcher_.addPath(folder_);
        list();
    } else {
        refresh(film);
    }
    const int i = indexOf(film);
    if (i >= 0)
        setCurrentItem(topLevelItem(i));
}

void FilmList::list()
{
    std::vector<std::string> ext;
    for (const QString& e : extensions_)
        ext.push_back(e.toStdString());
    films_ = FilmFolder::list(QDir::toNativeSeparators(folder_).toStdString(), ext);
    clear();
    for (size_t i = 0; i < films_.size(); ++i) {
        addTopLevelItem(new QTreeWidgetItem);
        fillRow(i);
    }
    pending_ = 0;
    timer_.start();
}

void FilmList::listAgain()
{
    const int current = indexOfTopLevelItem(currentItem());
    const QString selected = current >= 0 && size_t(current) < films_.size()
                                 ? QString::fromStdString(films_[size_t(current)].path)
                                 : QString();
    const int scrolled = verticalScrollBar()->value();
    std::map<std::string, FilmFolder::Film> known;
    for (FilmFolder::Film& f : films_)
        known.emplace(f.path, std::move(f));
    list();
    // A film keeps what was read of it unless its landmark file came or
    // went, so that saving one case does not read the whole folder again.
    for (size_t i = 0; i < films_.size(); ++i) {
        auto it = known.find(films_[i].path);
        if (it != known.end() && it->second.hasLandmarks == films_[i].hasLandmarks) {
            films_[i] = std::move(it->second);
            fillRow(i);
        }
    }
    if (const int i = indexOf(selected); i >= 0)
        setCurrentItem(topLevelItem(i));
    verticalScrollBar()->setValue(scrolled);
}

void FilmList::refresh(const QString& film)
{
    const int i = indexOf(film);
    if (i < 0)
        return;
    FilmFolder::Film& f = films_[size_t(i)];
    f = FilmFolder::film(f.path);
    FilmFolder::readDetails(f);
    fillRow(size_t(i));
}

QString FilmList::neighbour(const QString& film, int step) const
{
    const int i = indexOf(film);
    const int j = i + step;
    if (i < 0 || j < 0 || j >= int(films_.size()))
        return QString();
    return QString::fromStdString(films_[size_t(j)].path);
}

int FilmList::indexOf(const QString& film) const
{
    const QString absolute = QFileInfo(film).absoluteFilePath();
    for (size_t i = 0; i < films_.size(); ++i)
        if (QFileInfo(QString::fromStdString(films_[i].path)).absoluteFilePath() == absolute)
            return int(i);
    return -1;
}

void FilmList::readSome()
{
    for (size_t n = 0; n < kPerTurn && pending_ < films_.size(); ++n, ++pending_) {
        if (!films_[pending_].detailsRead) {
            FilmFolder::readDetails(films_[pending_]);
            fillRow(pending_);
        }
    }
    if (pending_ >= films_.size())
        timer_.stop();
}

void FilmList::fillRow(size_t i)
{
    QTreeWidgetItem* item = topLevelItem(int(i));
    const FilmFolder::Film& f = films_[i];
    item->setText(0, QString::fromStdString(f.name));
    item->setText(1, stateText(f));
    item->setText(2, QString::fromStdString(f.datum));
    item->setText(3, QString::fromStdString(f.patient));
}
