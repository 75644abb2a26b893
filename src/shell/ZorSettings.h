#pragma once

#include <QString>

// The one persistent setting: the image most recently confirmed in the open
// dialog, in "Zor2.ini" (section "LastPath", key "Path") in the per-user
// configuration folder ($XDG_CONFIG_HOME, by default ~/.config).
namespace ZorSettings {

QString filePath();
// "" when the file or the key is missing.
QString readLastPath();
// Creates the folder, the file, the section and the key as needed; false
// when the file could not be written.
bool writeLastPath(const QString& path);

} // namespace ZorSettings
