#include "system/SettingsLocation.h"

#include <QDir>

QString settingsFolder(const SettingsLocationFacts &facts)
{
    const bool installed = QDir::cleanPath(facts.programFolder) == QDir::cleanPath(facts.installedBinFolder);
    if (facts.programFolderWritable && !installed)
        return facts.programFolder;
    // A relative $XDG_CONFIG_HOME is invalid and is ignored, as the base
    // directory rules say.
    if (QDir::isAbsolutePath(facts.xdgConfigHome))
        return QDir::cleanPath(facts.xdgConfigHome + QStringLiteral("/kalvo"));
    if (QDir::isAbsolutePath(facts.home))
        return QDir::cleanPath(facts.home + QStringLiteral("/.config/kalvo"));
    return facts.programFolder;
}
