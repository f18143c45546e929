#include "app/CommandLine.h"
#include "files/StopSignals.h"
#include "launcher/frmID3Launcher.h"
#include "platform/Fonts.h"
#include "platform/LauncherWindow.h"
#include "platform/QtTranslation.h"
#include "system/ProgramFolders.h"
#include "text/Cp932.h"
#include "version/KalvoVersion.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // A file-size limit must make a save fail (and be undone), not kill the
    // program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);

    const CommandLine commandLine = readCommandLine(argc, argv);
    if (commandLine.exitStatus)
        return *commandLine.exitStatus;

    QApplication app(argc, argv);
    // Without it Kalvo still works, with Qt's own buttons and dialogs in English.
    if (!installQtJapanese(app))
        std::fputs("kalvo: Qt の日本語訳 (qtbase_ja.qm、パッケージ qt6-translations-l10n) がないため、"
                   "Qt のボタンやダイアログは英語で表示されます。\n",
                   stderr);
    QApplication::setApplicationName(QString::fromUtf16(KalvoVersion::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf16(KalvoVersion::kVersion));
    QApplication::setOrganizationName(QString::fromUtf16(KalvoVersion::kCompanyName));
    // Ties the windows to the installed menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(KALVO_APP_ID));
    if (!Cp932::isAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Kalvo"),
                              QStringLiteral("この Qt には CP932 (Shift-JIS) の変換がありません。"));
        return 1;
    }
    registerFontSubstitutes();
    const QString folder = programFolder();
    LauncherWindow window(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder);
    // Ctrl+C or SIGTERM: a command writing files finishes the files it has
    // in hand first; then Kalvo quits as from its close box.
    catchStopSignals();
    QSocketNotifier stop(stopSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &window, [&window] {
        window.close();
        QCoreApplication::quit();
    });
    window.logic().AddCommandLineFiles(commandLine.files, currentFolder());
    window.show();
    return app.exec();
}
