#include "interaction/ToolController.h"
#include "shell/CaseWorkflow.h"
#include "shell/MainForm.h"
#include "shell/StudyMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

// The menu tree: captions with their access keys, shortcuts, order and the
// states a new window starts with. The measurement items that need earlier
// landmarks start disabled; the tools enable them as the measurement goes on.

QAction* MainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut, bool enabled, void (MainForm::*handler)())
{
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    a->setEnabled(enabled);
    menu->addAction(a);
    actions_.insert(name, a);
    actionOrder_.append(name);
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    return a;
}

void MainForm::addToolItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut, Tool tool,
                           void (ToolController::*handler)())
{
    QAction* a = addItem(menu, name, caption, shortcut, ToolSet::initial().has(tool), nullptr);
    toolItems_.emplace_back(tool, a);
    connect(a, &QAction::triggered, this, [this, handler, what = QString(caption).remove('&')] {
        if (!tools())
            return;
        workflow_->nameNextEdit(what.toStdString());
        (tools()->*handler)();
        updateToolItems();
    });
}

void MainForm::updateToolItems()
{
    if (!tools())
        return;
    for (auto [tool, item] : toolItems_)
        item->setEnabled(tools()->usable(tool));
    workflow_->afterEvent();
}

void MainForm::buildMenus()
{
    auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        menus_.insert(name, m);
        return m;
    };
    const QKeySequence none;

    QMenu* file = addMenu("m_File", "&File");
    addItem(file, "m_Open", "&Open ...", none, true, &MainForm::m_Open_Click);
    addItem(file, "m_New", "&new Window", none, true, &MainForm::m_New_Click);
    addItem(file, "m_Patient", "&Patient's Data", none, true, &MainForm::m_Patient_Click);
    addItem(file, "m_Load_bin", "&Reload Landmarks", none, true, &MainForm::m_Load_bin_Click);
    addItem(file, "m_Write_dat", "&Write Data", none, true, &MainForm::m_Write_dat_Click);
    addItem(file, "m_Exit", "&Exit", none, true, &MainForm::m_Exit_Click);
    QMenu* edit = addMenu("m_Edit", "&Edit");

    QMenu* zoom = addMenu("m_Zoom", "&Zoom");
    addItem(zoom, "m_ZoomUp", "Zoom +", Qt::Key_F5, true, &MainForm::m_ZoomUp_Click);
    addItem(zoom, "m_ZoomDown", "Zoom -", Qt::Key_F6, true, &MainForm::m_ZoomDown_Click);
    addItem(zoom, "m_ZoomMouse", "Zoom with Mouse", Qt::Key_F7, true, &MainForm::m_ZoomMouse_Click);
    QAction* center = addItem(zoom, "m_ZoomCenter", "CenterMode", Qt::Key_F8, true,
                              &MainForm::m_ZoomCenter_Click);
    center->setCheckable(true);
    center->setChecked(true);
    QMenu* view = addMenu("m_View", "&View");
    workflow_->buildItems(file, edit, zoom, view);

    QMenu* filter = addMenu("m_filter", "&Image Tools");
    addItem(filter, "m_Adjust", "&adjust Colors ...", none, true, &MainForm::m_Adjust_Click);
    addItem(filter, "m_ResetColors", "&reset Colors", Qt::CTRL | Qt::Key_E, true,
            &MainForm::m_ResetColors_Click);
    addItem(filter, "m_filter1", "&sharpen", none, true, nullptr);
    addItem(filter, "m_filter2", "sharpen &more", none, true, nullptr);
    addItem(filter, "m_filter3", "sharpen str&ong", none, true, nullptr);
    for (int16_t strength = 1; strength <= 3; ++strength)
        connect(action(QString("m_filter%1").arg(strength)), &QAction::triggered, this,
                [this, strength] { ApplySharpen(strength); });
    addItem(filter, "m_undo", "&undo sharpen", none, true, &MainForm::m_undo_Click);
    addItem(filter, "m_Invert", "&invert", Qt::CTRL | Qt::Key_I, true, &MainForm::m_Invert_Click);
    addItem(filter, "m_hardcopy", "&hardcopy", Qt::CTRL | Qt::Key_P, true,
            &MainForm::m_hardcopy_Click);

    QMenu* tools = addMenu("m_Tools", "&Measurement Tools");
    addToolItem(tools, "m_Head", "&Head", Qt::CTRL | Qt::Key_H, Tool::Head,
                &ToolController::m_Head);
    addToolItem(tools, "m_StemAxis", "&Stem Axis", none, Tool::StemAxis,
                &ToolController::m_StemAxis);
    addToolItem(tools, "m_Shoulder", "Sh&oulder Point", none, Tool::Shoulder,
                &ToolController::m_Shoulder);
    addToolItem(tools, "m_LTLines_Rotate_30", QString::fromUtf8("&Minor Troch. 30\u00b0/60\u00b0"),
                none, Tool::LTLinesRotate30, &ToolController::m_LTLines_Rotate_30);
    addToolItem(tools, "m_LTLines_Rotate_45", QString::fromUtf8("&Minor Troch. 45\u00b0/45\u00b0"),
                none, Tool::LTLinesRotate45, &ToolController::m_LTLines_Rotate_45);
    addToolItem(tools, "m_LTLines_Rotate_60", QString::fromUtf8("&Minor Troch. 60\u00b0/30\u00b0"),
                none, Tool::LTLinesRotate60, &ToolController::m_LTLines_Rotate_60);
    addToolItem(tools, "m_8Points", "&8 Points", none, Tool::EightPoints,
                &ToolController::m_8Points);
    addToolItem(tools, "m_CMarker", "C&ement Marker (optional)", none, Tool::CMarker,
                &ToolController::m_CMarker);
    addToolItem(tools, "m_Calibrate", "C&alibrate", none, Tool::Calibrate,
                &ToolController::m_Calibrate);
    addToolItem(tools, "m_Distance", "calc &Distance", Qt::CTRL | Qt::Key_D, Tool::Distance,
                &ToolController::m_Distance);
    addToolItem(tools, "m_ResetLandmarks", "reset &Landmarks", Qt::CTRL | Qt::Key_G,
                Tool::ResetLandmarks, &ToolController::m_ResetLandmarks);

    QMenu* help = addMenu("m_helpmenu", "&?");
    addItem(help, "m_about", "About", none, true, &MainForm::m_about_Click);
    addItem(help, "m_help", "Help", Qt::Key_F1, true, &MainForm::m_help_Click);

    StudyMenu::install(*this);
}
