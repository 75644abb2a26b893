#pragma once

#include "model/CZor.h"
#include "session/CaseHistory.h"

#include <QObject>
#include <QPointF>
#include <QString>

#include <optional>
#include <string>

class FilmList;
class Loupe;
class MainForm;
class QAction;
class QDockWidget;
class QMenu;
class ResultsPanel;

// The working-through-a-folder side of one window: undo and redo of the
// case, the "changed since opened, read or written" mark with its question
// before the case is set aside, "&Save Landmarks", the film list and its
// neighbours, wheel and middle-button navigation, fit and actual size, the
// loupe and the results dock. It works on its window's case, view and
// widgets; the window calls it at the points named below.
class CaseWorkflow : public QObject {
    Q_OBJECT
public:
    explicit CaseWorkflow(MainForm& window);
    ~CaseWorkflow() override;

    // Builds the docks and the loupe (with the window's controls) and the
    // items: "&Save Landmarks" into `file`, the "&Edit" menu, "Fit to
    // Window"/"Actual Size" into `zoom`, and the "&View" menu.
    void buildItems(QMenu* file, QMenu* edit, QMenu* zoom, QMenu* view);

    // --- Called by the window ---
    // After every event: an edit the tools completed becomes an undo step,
    // the title's mark and the results follow the case.
    void afterEvent();
    // The name of the edit a command is about to make ("reset Landmarks").
    void nameNextEdit(const std::string& what);
    // A film was opened: its case is the start of the history and unchanged.
    void opened();
    // The case was read from or written to its landmark file just now.
    void stored();
    // Before the case is set aside (close, open, reload, another film): true
    // when the caller may go on: nothing changed, or the user saved or
    // discarded the changes; false for Cancel or a failed save.
    bool maySetCaseAside();

    bool changed() const;
    // Any window of the program with changes.
    static bool anyChanged();

    // --- Commands ---
    bool saveLandmarks();
    void undo();
    void redo();
    void nextFilm() { openNeighbour(1); }
    void previousFilm() { openNeighbour(-1); }
    void fitToWindow();
    void actualSize();
    // Zoom by `factor` (image pixels per screen pixel) keeping the image
    // point under the picture position `pos` where it is; within the limits
    // of "Zoom +" and "Zoom -".
    void zoomAbout(float factor, QPointF pos);
    void setLoupe(bool on);

    Loupe* loupe() const { return loupe_; }
    ResultsPanel* results() const { return results_; }
    FilmList* films() const { return films_; }
    QDockWidget* filmDock() const { return filmDock_; }
    QDockWidget* resultsDock() const { return resultsDock_; }
    // The extensions of the open dialog's filters ("bmp", "jpg", ...).
    static QStringList extensions();

private:
    // After an undo or redo: the tools start idle.
    void restored();
    void updateItems();
    void openNeighbour(int step);
    // Shows the image region from (left, top) at `zoom`, kept inside the film.
    void setView(float zoom, float left, float top);
    void showView();
    void wheel(QPoint angle, int modifiers, QPointF pos);
    void pointerPressed(int button, float x, float y);
    void pointerMoved(int buttons, float x, float y);

    MainForm& w_;
    CaseHistory history_;
    std::optional<CZor> shown_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* loupeItem_ = nullptr;
    Loupe* loupe_ = nullptr;
    ResultsPanel* results_ = nullptr;
    FilmList* films_ = nullptr;
    QDockWidget* filmDock_ = nullptr;
    QDockWidget* resultsDock_ = nullptr;
    std::optional<QPointF> panAnchor_;
};
