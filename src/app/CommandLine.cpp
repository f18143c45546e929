#include "CommandLine.h"

#include "KalvoVersion.h"
#include "NativePath.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// The options QApplication takes for itself, read here only so that they are
// not refused; the application object applies them later.
void acceptQtOptions(QCommandLineParser &parser)
{
    const char *const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                                     "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                                     "geometry", "style", "stylesheet"};
    const char *const withoutValue[] = {"reverse", "widgetcount"};
    for (const char *name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : withoutValue) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

CommandLine readCommandLine(int argc, char *argv[])
{
    // File arguments keep their exact bytes (pathText); options are ASCII.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << pathText(argv[i]);

    QCommandLineParser parser;
    // Qt's own options are single-dash words ("-platform xcb").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Edits the ID3v1.1 tags of MP3 files."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOption(help);
    parser.addOption(version);
    acceptQtOptions(parser);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("MP3 files to add to the list; a folder adds the files directly inside it."),
        QStringLiteral("[FILE...]"));

    const bool parsed = parser.parse(arguments);
    if (parsed && !parser.isSet(help) && !parser.isSet(version))
        return {parser.positionalArguments(), std::nullopt};

    // The usage names the program as it was started, which the parser takes
    // from an application object; a core one needs no display.
    QCoreApplication core(argc, argv);
    if (!parsed) {
        print(stderr, QStringLiteral("kalvo: ") + parser.errorText() + u'\n' + parser.helpText());
        return {{}, 2};
    }
    if (parser.isSet(help))
        print(stdout, parser.helpText());
    else
        print(stdout, QString::fromUtf16(KalvoVersion::kProductName) + u' '
                          + QString::fromUtf16(KalvoVersion::kVersion) + u'\n');
    return {{}, 0};
}
