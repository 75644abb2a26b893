#pragma once

#include <QString>

#include <functional>

class QWidget;

// The save and folder dialogs of the study window and the reports,
// replaceable so that no modal dialog blocks a test.
namespace FileDialogs {

// Arguments: owner, caption, suggested path, filters in Qt's form
// ("PDF (*.pdf);;PNG (*.png)"). Returns the chosen path, "" for Cancel.
using SaveChooser =
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;
// Arguments: owner, caption, initial folder. Returns the folder, "" for Cancel.
using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;

QString saveFile(QWidget* owner, const QString& caption, const QString& suggested,
                 const QString& filters);
QString folder(QWidget* owner, const QString& caption, const QString& initial);
// `path` with the suffix of the filter's first pattern when it has none
// ("report" with "PDF (*.pdf)" is "report.pdf"), as the save dialog gives it.
QString withSuffix(const QString& path, const QString& filter);

// Null: the real dialogs.
void setSaveChooser(SaveChooser chooser);
void setFolderChooser(FolderChooser chooser);

} // namespace FileDialogs
