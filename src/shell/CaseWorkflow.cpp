#include "shell/CaseWorkflow.h"

#include "casefile/BinFile.h"
#include "interaction/CaseEdits.h"
#include "interaction/ToolController.h"
#include "platform/UserMessages.h"
#include "shell/FilmList.h"
#include "shell/Loupe.h"
#include "shell/MainForm.h"
#include "shell/PictureView.h"
#include "shell/ResultsPanel.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// One notch of a mouse wheel, in Qt's units.
constexpr double kNotch = 120.0;
// A notch scrolls this part of the shown region.
constexpr float kScrollPart = 0.125f;

} // namespace

CaseWorkflow::CaseWorkflow(MainForm& window) : QObject(&window), w_(window) {}

CaseWorkflow::~CaseWorkflow() = default;

QStringList CaseWorkflow::extensions()
{
    QStringList out;
    static const QRegularExpression pattern(R"(\*\.(\w+))");
    for (const QString& filter : MainForm::imageFilters())
        for (const auto& m : pattern.globalMatch(filter))
            if (!out.contains(m.captured(1), Qt::CaseInsensitive))
                out << m.captured(1);
    return out;
}

void CaseWorkflow::buildItems(QMenu* file, QMenu* edit, QMenu* zoom, QMenu* view)
{
    auto item = [this](QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& key, auto handler) {
        QAction* a = w_.addItem(menu, name, caption, key, true, nullptr);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    QAction* save = item(file, "m_SaveLandmarks", "&Save Landmarks", Qt::CTRL | Qt::Key_S,
                         [this] { saveLandmarks(); });
    // Beside "&Write Data", the other command that writes the landmark file.
    if (QAction* write = w_.action("m_Write_dat")) {
        file->removeAction(save);
        file->insertAction(write, save);
    }
    undo_ = item(edit, "m_EditUndo", "&Undo", Qt::CTRL | Qt::Key_Z, [this] { undo(); });
    redo_ = item(edit, "m_EditRedo", "&Redo", Qt::CTRL | Qt::Key_Y, [this] { redo(); });
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    item(zoom, "m_FitWindow", "Fit to Window", Qt::CTRL | Qt::Key_0, [this] { fitToWindow(); });
    item(zoom, "m_ActualSize", "Actual Size", Qt::CTRL | Qt::Key_1, [this] { actualSize(); });

    loupe_ = new Loupe(w_.PicBox_);
    loupe_->setOverlay([this] {
        if (!w_.zor())
            return;
        // While a tool hides the case, the loupe still shows where its landmarks are.
        if (w_.zor()->Visible) {
            w_.zor()->draw(*loupe_, MainForm::drawColor1, MainForm::drawColor2);
        } else {
            CZor shown = *w_.zor();
            shown.Visible = true;
            shown.draw(*loupe_, MainForm::drawColor1, MainForm::drawColor2);
        }
    });
    loupeItem_ = item(view, "m_Loupe", "&Loupe", Qt::Key_F9, [this](bool on) { setLoupe(on); });
    loupeItem_->setCheckable(true);

    films_ = new FilmList;
    filmDock_ = new QDockWidget("Film List", &w_);
    filmDock_->setObjectName("filmDock");
    filmDock_->setWidget(films_);
    w_.addDockWidget(Qt::RightDockWidgetArea, filmDock_);
    connect(films_, &FilmList::openRequested, this, [this](const QString& path) {
        if (path != w_.imagePath())
            w_.OpenImage(path);
    });
    results_ = new ResultsPanel;
    resultsDock_ = new QDockWidget("Results", &w_);
    resultsDock_->setObjectName("resultsDock");
    resultsDock_->setWidget(results_);
    // Both beside the picture, the list above the results, so that the
    // picture keeps the window's width but one column.
    w_.splitDockWidget(filmDock_, resultsDock_, Qt::Vertical);
    w_.resizeDocks({filmDock_}, {330}, Qt::Horizontal);
    for (QDockWidget* dock : {filmDock_, resultsDock_}) {
        QAction* toggle = dock->toggleViewAction();
        const char* name = dock == filmDock_ ? "m_FilmList" : "m_Results";
        toggle->setObjectName(name);
        view->addAction(toggle);
        w_.actions_.insert(name, toggle);
        w_.actionOrder_.append(name);
    }
    item(view, "m_NextFilm", "Next film", Qt::Key_PageDown, [this] { nextFilm(); });
    item(view, "m_PrevFilm", "Previous film", Qt::Key_PageUp, [this] { previousFilm(); });

    PictureView* view_ = w_.PicBox_;
    connect(view_, &PictureView::wheelTurned, this, &CaseWorkflow::wheel);
    connect(view_, &PictureView::mousePressed, this, &CaseWorkflow::pointerPressed);
    connect(view_, &PictureView::mouseMoved, this, &CaseWorkflow::pointerMoved);
    connect(view_, &PictureView::mouseReleased, this, [this](int button, float, float) {
        if (button == ToolController::MiddleButton)
            panAnchor_.reset();
    });
    connect(view_, &PictureView::pointerLeft, loupe_, &QWidget::hide);
    updateItems();
}

// --- The case's history and its changed mark ---

void CaseWorkflow::nameNextEdit(const std::string& what)
{
    history_.nameNextEdit(what);
}

void CaseWorkflow::afterEvent()
{
    if (!w_.zor())
        return;
    history_.afterEvent(*w_.case_);
    if (!shown_ || !CaseEdits::sameCase(*shown_, *w_.zor())) {
        shown_ = *w_.zor();
        results_->showCase(*w_.zor());
    }
    updateItems();
}

void CaseWorkflow::opened()
{
    history_.opened(*w_.case_);
    shown_.reset();
    w_.setWindowTitle(w_.imagePath() + "[*]");
    films_->showFolder(w_.imagePath(), extensions());
    afterEvent();
}

void CaseWorkflow::stored()
{
    history_.stored(*w_.case_);
    films_->refresh(w_.imagePath());
    afterEvent();
}

bool CaseWorkflow::changed() const
{
    return history_.changed(*w_.case_);
}

bool CaseWorkflow::anyChanged()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* w = qobject_cast<MainForm*>(top); w && w->workflow().changed())
            return true;
    return false;
}

bool CaseWorkflow::maySetCaseAside()
{
    if (!changed())
        return true;
    const std::string name = QFileInfo(w_.imagePath()).fileName().toStdString();
    switch (userMessages().askSave("Zor", "The landmarks of " + name +
                                              " have changed.\nSave them before going on?")) {
    case SaveAnswer::Save:
        return saveLandmarks();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool CaseWorkflow::saveLandmarks()
{
    if (!w_.zor())
        return false;
    std::string error;
    if (!w_.case_->saveLandmarks(&error)) {
        userMessages().showMessage(
            "Zor Error", "Landmark file not written: " + w_.case_->landmarkPath() + "\n" + error,
            MessageIcon::Critical);
        return false;
    }
    nameNextEdit("Save Landmarks");
    stored();
    return true;
}

void CaseWorkflow::restored()
{
    w_.setPointerShape(PointerShape::Default);
    w_.setStatusText("");
    w_.updateToolItems();
    w_.repaintPicture();
}

void CaseWorkflow::undo()
{
    if (history_.undo(*w_.case_))
        restored();
}

void CaseWorkflow::redo()
{
    if (history_.redo(*w_.case_))
        restored();
}

void CaseWorkflow::updateItems()
{
    const bool open = w_.zor() != nullptr;
    undo_->setText(history_.canUndo(*w_.case_)
                       ? "&Undo " + QString::fromStdString(history_.undoWhat())
                       : "&Undo");
    redo_->setText(history_.canRedo() ? "&Redo " + QString::fromStdString(history_.redoWhat())
                                      : "&Redo");
    undo_->setEnabled(open && history_.canUndo(*w_.case_));
    redo_->setEnabled(open && history_.canRedo());
    w_.setWindowModified(changed());
}

// --- Films of the folder ---

void CaseWorkflow::openNeighbour(int step)
{
    if (!w_.zor())
        return;
    const QString path = films_->neighbour(w_.imagePath(), step);
    if (!path.isEmpty())
        w_.OpenImage(path);
}

// --- Navigation ---

void CaseWorkflow::setView(float zoom, float left, float top)
{
    w_.viewport_.show(zoom, left, top);
    showView();
}

void CaseWorkflow::showView()
{
    w_.showViewport();
    w_.repaintPicture();
}

void CaseWorkflow::zoomAbout(float factor, QPointF pos)
{
    if (w_.zor() && w_.viewport_.zoomAbout(factor, float(pos.x()), float(pos.y())))
        showView();
}

void CaseWorkflow::fitToWindow()
{
    if (!w_.zor())
        return;
    w_.viewport_.fit();
    showView();
}

void CaseWorkflow::actualSize()
{
    if (!w_.zor())
        return;
    w_.viewport_.actualSize();
    showView();
}

void CaseWorkflow::wheel(QPoint angle, int modifiers, QPointF pos)
{
    if (!w_.zor())
        return;
    const PictureView& v = *w_.PicBox_;
    const double notches = (angle.y() != 0 ? angle.y() : angle.x()) / kNotch;
    if (modifiers & Qt::ControlModifier) {
        if (notches != 0)
            zoomAbout(notches > 0 ? w_.zoomStep() : 1.0f / w_.zoomStep(), pos);
        return;
    }
    const bool sideways = (modifiers & Qt::ShiftModifier) || angle.y() == 0;
    const float dx = sideways ? float(-notches) * v.ScaleWidth() * kScrollPart : 0.0f;
    const float dy = sideways ? 0.0f : float(-notches) * v.ScaleHeight() * kScrollPart;
    setView(w_.zoom(), v.ScaleLeft() + dx, v.ScaleTop() + dy);
}

void CaseWorkflow::pointerPressed(int button, float x, float y)
{
    if (button == ToolController::MiddleButton && w_.zor())
        panAnchor_ = QPointF(x, y);
}

void CaseWorkflow::pointerMoved(int buttons, float x, float y)
{
    if (!w_.zor())
        return;
    const PictureView& v = *w_.PicBox_;
    if (panAnchor_ && (buttons & ToolController::MiddleButton)) {
        // The grabbed image point stays under the pointer.
        setView(w_.zoom(), v.ScaleLeft() + float(panAnchor_->x()) - x,
                v.ScaleTop() + float(panAnchor_->y()) - y);
        return;
    }
    if (loupeItem_->isChecked()) {
        // The window's buffer may have been replaced since the last move.
        loupe_->setImage(v.image());
        loupe_->showAt(v.toWidget(QPointF(x, y)), x, y, w_.zoom());
    }
}

void CaseWorkflow::setLoupe(bool on)
{
    loupeItem_->setChecked(on);
    if (!on)
        loupe_->hide();
}
