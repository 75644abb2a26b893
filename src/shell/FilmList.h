#pragma once

#include "casefile/FilmFolder.h"

#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

// The film-list dock's contents: every film of the open film's folder with
// the state of its case and, read from its landmark file, the date and the
// patient. The names come at once; the landmark files are read a few at a
// time from the event loop, so the list never slows the opening of a film.
// The list follows its folder: films added, removed or measured elsewhere
// show a moment later, with the selection and the scroll position kept.
class FilmList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FilmList(QWidget* parent = nullptr);

    // Shows the folder of `film` with `film` selected; `extensions` are the
    // ones the program opens. The same folder again only updates the state
    // of `film` and the selection.
    void showFolder(const QString& film, const QStringList& extensions);
    // Reads the state, date and patient of one film again (after a save).
    void refresh(const QString& film);
    // The film `step` places after `film` in the list (-1 the one before);
    // "" at either end or when `film` is not listed.
    QString neighbour(const QString& film, int step) const;
    // All details read (for tests and the benchmark).
    bool complete() const { return pending_ >= films_.size(); }
    const std::vector<FilmFolder::Film>& films() const { return films_; }

signals:
    // The user chose a film (double-click or Return).
    void openRequested(const QString& path);

private:
    void list();
    void listAgain();
    void readSome();
    void fillRow(size_t index);
    int indexOf(const QString& film) const;

    QString folder_;
    QStringList extensions_;
    std::vector<FilmFolder::Film> films_;
    size_t pending_ = 0;
    QTimer timer_;
    QFileSystemWatcher watcher_;
    QTimer listAgain_; // one new listing for a burst of changes
};
