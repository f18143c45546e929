#include "CommandLine.h"
#include "Cp932.h"
#include "Fonts.h"
#include "KalvoVersion.h"
#include "LauncherWindow.h"
#include "NativePath.h"
#include "QtTranslation.h"
#include "frmID3Launcher.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <array>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// The current folder and the program's folder with their exact bytes
// (pathText); Qt would read them as UTF-8 and lose the bytes that are not.
QString currentFolder()
{
    char *folder = ::getcwd(nullptr, 0);
    const QString text = folder ? pathText(folder) : QDir::currentPath();
    std::free(folder);
    return text;
}

QString programFolder()
{
    std::array<char, PATH_MAX> program{};
    const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size());
    if (length <= 0 || length >= ssize_t(program.size()))
        return QCoreApplication::applicationDirPath();
    const QString path = pathText(QByteArrayView(program.data(), length));
    return path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1));
}

}  // namespace

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
    LauncherWindow window(programFolder());
    window.logic().AddCommandLineFiles(commandLine.files, currentFolder());
    window.show();
    return app.exec();
}
