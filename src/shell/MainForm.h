#pragma once

#include "image/CBitmap.h"
#include "interaction/ToolController.h"
#include "platform/Clock.h"
#include "platform/ToolHost.h"
#include "session/OpenCase.h"
#include "session/Viewport.h"

#include <QCursor>
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class CaseWorkflow;
class CZor;
class PictureView;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollBar;

// The main window of one open case: its widgets (menus, picture area, scroll
// bars, status line) and their wiring to the case (OpenCase: image buffer,
// model, tools, paths) and to the viewport (zoom, region, scroll ranges).
// Every window is an independent case; the program ends with its last window.
class MainForm : public QMainWindow, public ToolHost {
    Q_OBJECT
public:
    // Asks for the image to open. Arguments: owner, initial directory,
    // initial file name, the filters in Qt's form (first one selected).
    // Returns the chosen path, or "" for Cancel.
    using FileChooser = std::function<QString(QWidget* owner, const QString& dir,
                                              const QString& file, const QStringList& filters)>;

    // The windows this one opens. Empty members use the real windows
    // (StartupForm, HelpForm, DataDialog, ColorDialog, CalibDialog,
    // HardCopy); tests replace them so that no modal window blocks them.
    struct Dialogs {
        std::function<void(MainForm&)> splashOnce; // first window's start-up
        std::function<void(MainForm&)> about;
        std::function<void(MainForm&)> help;
        std::function<void(MainForm&, int flag)> patient; // open_Patient
        std::function<void(MainForm&)> colors;            // "&adjust Colors ..."
        std::function<float(MainForm&, double offered)> calibration;
        std::function<std::string(MainForm&)> hardcopy; // "" or an error text
    };

    // What a window takes from outside; a window opened by "&new Window"
    // gets the same. Empty members: the real file dialog, dialogs and clock.
    struct Services {
        FileChooser chooser;
        Dialogs dialogs;
        const Clock* clock = nullptr; // the date of report records; not owned
    };

    MainForm();
    explicit MainForm(Services services, QWidget* parent = nullptr);
    ~MainForm() override;

    // Creates a window that deletes itself on close and runs its start-up:
    // the splash once per process, then the open dialog, or `image` when one
    // is given (as if it had been chosen). Returns the shown window, or
    // nullptr when the user cancelled or the image did not load (the window
    // is gone again then; with no other window the program ends). main():
    //     if (!MainForm::startNewWindow(image)) return 0;
    //     return app.exec();
    static MainForm* startNewWindow(const QString& image = QString());
    static MainForm* startNewWindow(const QString& image, Services services);
    // What this window was given; windows it opens get the same.
    const Services& services() const { return services_; }
    // The start-up of this window, without showing it: true when an image
    // was opened.
    bool startUp(const QString& image = QString());

    // The "&Open ..." routine: last path from Zor2.ini, the file dialog,
    // then OpenImage(path). False for Cancel or a failed load.
    bool OpenImage();
    // Opens `path` without a dialog: remembers it in Zor2.ini, decodes it,
    // replaces the case and reads its landmark file. A failure is reported
    // ("load Error: ...") and keeps the previous case whole.
    bool OpenImage(const QString& path);
    // The patient dialog over this window, with the boxes of `flag` highlighted.
    void open_Patient(int flag);

    // View: zoom by `factor` about the view's centre (centre mode), its
    // top-left corner, or (byMouse) the image point (x, y).
    void Zoom(float factor, bool byMouse = false, float x = 0, float y = 0);
    // The full repaint of the picture area: the visible image, then the landmarks.
    void repaintPicture();

    // --- For main(), the dialogs and tests ---
    // The four (description, pattern) pairs of the open dialog in Qt's form.
    static QStringList imageFilters();
    // The landmark file of an image: its path up to the last "." of the file
    // name, then ".bit"; "" when the file name has no ".".
    static QString landmarkFileFor(const QString& imagePath);

    QAction* action(const QString& name) const { return actions_.value(name); }
    QMenu* menu(const QString& name) const { return menus_.value(name); }
    QStringList actionNames() const { return actionOrder_; }
    PictureView* PicBox() const { return PicBox_; }
    QScrollBar* HScroll() const { return HScroll_; }
    QScrollBar* VScroll() const { return VScroll_; }
    QLabel* StatusBar() const { return StatusBar_; }
    // The scale and its source, always shown at the right of the status line.
    QLabel* ScaleStatus() const { return ScaleStatus_; }
    QLineEdit* e_Position() const { return e_Position_; }
    OpenCase& openCase() { return *case_; }
    const Viewport& viewport() const { return viewport_; }
    // Null before the first successful open.
    CZor* zor() const { return case_->zorIfOpen(); }
    ToolController* tools() const { return case_->toolsIfOpen(); }
    CBitmap& Bitmap() { return case_->bitmap(); }
    QString landmarkFile() const { return QString::fromStdString(case_->landmarkPath()); }
    QString imagePath() const { return QString::fromStdString(case_->imagePath()); }
    float zoom() const { return viewport_.zoomFactor(); }
    float zoomStep() const { return viewport_.zoomStep(); }
    bool centerMode() const { return viewport_.centerMode(); }
    const QCursor& zoomCursor() const { return zoomCursor_; }
    // Undo, the changed mark, the film list, navigation, loupe and results.
    CaseWorkflow& workflow() const { return *workflow_; }
    static constexpr uint32_t drawColor1 = ToolController::drawColor1; // magenta, 0x00BBGGRR
    static constexpr uint32_t drawColor2 = ToolController::drawColor2; // red

    // --- ToolHost ---
    void setStatusText(const std::string& text) override;
    void setPointerShape(PointerShape shape) override;
    void repaint() override { repaintPicture(); }
    void zoomAt(float x, float y) override { Zoom(viewport_.zoomStep(), true, x, y); }
    float askCalibrationDistance(double offered) override;
    int imageWidth() const override { return case_->bitmap().W(); }
    int imageHeight() const override { return case_->bitmap().H(); }
    void openPatientDialog(int redFlag) override { open_Patient(redFlag); }

    // --- Menu commands ---
    void m_Open_Click();
    void m_New_Click();
    void m_Patient_Click() { open_Patient(0); }
    void m_Load_bin_Click();
    void m_Write_dat_Click();
    void m_Exit_Click();
    void m_ZoomUp_Click();
    void m_ZoomDown_Click();
    void m_ZoomMouse_Click();
    void m_ZoomCenter_Click();
    void m_Adjust_Click();
    void m_ResetColors_Click();
    void ApplySharpen(int16_t strength);
    void m_undo_Click();
    void m_Invert_Click();
    void m_hardcopy_Click();
    void m_about_Click();
    void m_help_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Asks first when the case has changes; Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    friend class CaseWorkflow;
    void buildControls();
    void buildMenus();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, bool enabled, void (MainForm::*handler)());
    void addToolItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, Tool tool, void (ToolController::*handler)());
    // Enables the tool items from the tools' answer; after every event.
    void updateToolItems();
    void layoutControls();
    void showScale();
    void pictureResized();
    void scrolled();
    void resetView();
    // Copies the viewport onto the picture and the bars.
    void showViewport();
    void attachImage();
    void loadFailed(const QString& reason);
    // Runs an image command under the hourglass and repaints.
    void imageCommand(const std::function<void()>& command);

    void pictureMouseDown(int button, float x, float y);
    void pictureMouseMove(int buttons, float x, float y);
    void pictureMouseUp(int button, float x, float y);

    QWidget* central_ = nullptr;
    PictureView* PicBox_ = nullptr;
    QScrollBar* HScroll_ = nullptr;
    QScrollBar* VScroll_ = nullptr;
    QLabel* StatusBar_ = nullptr;
    QLabel* ScaleStatus_ = nullptr;
    QLineEdit* e_Position_ = nullptr;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QStringList actionOrder_;
    std::vector<std::pair<Tool, QAction*>> toolItems_;

    Services services_;
    std::unique_ptr<OpenCase> case_;
    Viewport viewport_;
    // Set while the bars are set from the viewport, so that their change
    // events do not move the view a second time.
    bool scrolling_ = false;
    QCursor zoomCursor_;
    CaseWorkflow* workflow_ = nullptr;
};
