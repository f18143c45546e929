#include "launcher/settings/KivFile.h"

#include "launcher/text/PathParts.h"

QString kivFilePath(const QString &settingsFolder)
{
    return (settingsFolder.endsWith(kPathSeparator) ? settingsFolder : settingsFolder + kPathSeparator)
           + QStringLiteral("kiv.ini");
}
