#include "shell/FileDialogs.h"

#include <QFileDialog>

namespace FileDialogs {

namespace {

SaveChooser& saveHook()
{
    static SaveChooser hook;
    return hook;
}

FolderChooser& folderHook()
{
    static FolderChooser hook;
    return hook;
}

} // namespace

QString saveFile(QWidget* owner, const QString& caption, const QString& suggested,
                 const QString& filters)
{
    if (saveHook())
        return saveHook()(owner, caption, suggested, filters);
    return QFileDialog::getSaveFileName(owner, caption, suggested, filters);
}

QString folder(QWidget* owner, const QString& caption, const QString& initial)
{
    if (folderHook())
        return folderHook()(owner, caption, initial);
    return QFileDialog::getExistingDirectory(owner, caption, initial);
}

void setSaveChooser(SaveChooser chooser)
{
    saveHook() = std::move(chooser);
}

void setFolderChooser(FolderChooser chooser)
{
    folderHook() = std::move(chooser);
}

} // namespace FileDialogs
