#include "shell/ZorSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace ZorSettings {

QString filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Zor2.ini";
}

QString readLastPath()
{
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value("LastPath/Path", QString()).toString();
}

bool writeLastPath(const QString& path)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue("LastPath/Path", path);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace ZorSettings
