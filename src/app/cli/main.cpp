// kalvo-cli: the list's commands for scripts, on the files named.

#include "app/cli/CliArguments.h"
#include "app/cli/CliProgram.h"
#include "app/cli/ConsoleOutput.h"
#include "app/cli/LocaleText.h"
#include "files/NativePath.h"
#include "system/ProgramFolders.h"
#include "text/Cp932.h"
#include "version/KalvoVersion.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace {

QByteArray readStandardInput()
{
    QByteArray input;
    char buffer[65536];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        input.append(buffer, static_cast<qsizetype>(read));
    return input;
}

}  // namespace

int main(int argc, char *argv[])
{
    // A file-size limit must make a save fail (and be undone), not kill the
    // program in the middle of it.
    std::signal(SIGXFSZ, SIG_IGN);

    const LocaleText text = LocaleText::ofEnvironment();
    ConsoleOutput console(text);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << pathText(argv[i]);
    const CliArguments command = readCliArguments(arguments, text);
    // The MusicBrainz commands wait for the network in event loops.
    QCoreApplication application(argc, argv);

    int status = kAllDone;
    switch (command.action) {
    case CliArguments::Action::Help:
        console.printBytes(text.encode(cliHelp()));
        break;
    case CliArguments::Action::Version:
        console.print(QStringLiteral("kalvo-cli (%1) %2")
                          .arg(QString::fromUtf16(KalvoVersion::kProductName), QString::fromUtf16(KalvoVersion::kVersion)));
        break;
    case CliArguments::Action::UsageError:
        console.tell(command.error);
        console.tell(QStringLiteral("使い方は kalvo-cli --help で表示されます"));
        return kUsageError;
    case CliArguments::Action::Run:
        if (!Cp932::isAvailable()) {
            console.tell(QStringLiteral("この Qt には CP932 (Shift-JIS) の変換がありません"));
            return kSomeFailed;
        }
        status = CliProgram(console, text, currentFolder(), programFolder(), readStandardInput).run(command.options);
        break;
    }
    // What could not be written out is no success either.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        console.tell(QStringLiteral("標準出力に書き込めませんでした"));
        return kSomeFailed;
    }
    return status;
}
