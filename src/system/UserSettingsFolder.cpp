#include "system/UserSettingsFolder.h"

#include "files/NativePath.h"
#include "system/SettingsLocation.h"

#include <QDir>

#include <unistd.h>

QString userSettingsFolder(const QString &programFolder)
{
    // The bin folder of the prefix the program was built for; compared after
    // resolving links, as the program folder is found through them too.
    const QString installedBin = QStringLiteral(KALVO_INSTALLED_BIN_FOLDER);
    const QString resolvedBin = QDir(installedBin).canonicalPath();
    // access() asks the kernel with the real user's rights; for root it says
    // yes almost everywhere, which is why the installed folder is named apart.
    const bool writable = ::access(nativePath(programFolder).constData(), W_OK) == 0;
    return settingsFolder({programFolder, resolvedBin.isEmpty() ? installedBin : resolvedBin, writable,
                           pathText(qgetenv("XDG_CONFIG_HOME")), pathText(qgetenv("HOME"))});
}
