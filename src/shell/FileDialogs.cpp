#include "shell/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

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
    QString chosenFilter;
    const QString path =
        QFileDialog::getSaveFileName(owner, caption, suggested, filters, &chosenFilter);
    return withSuffix(path, chosenFilter);
}

QString withSuffix(const QString& path, const QString& filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch m = firstPattern.match(filter);
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty() || !m.hasMatch())
        return path;
    return path + "." + m.captured(1);
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
