#include "app/CommandLine.h"

#include "files/NativePath.h"
#include "version/KalvoVersion.h"

#include <QCommandLineParser>

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

// Written here rather than taken from the parser, whose words are English
// until Qt's translation is loaded, which happens only after this.
constexpr char16_t kHelp[] =
    u"使い方: kalvo [オプション] [ファイル...]\n"
    u"MP3 ファイルの ID3v1.1 タグを編集します。\n"
    u"保存と番号付けはファイル末尾の 128 バイトだけを書き込みます。W キー (ID3v2タグにも\n"
    u"保存) は ID3v2 タグにも書き込み、ID3v2 タグが変わるファイルは新しく書いて元の\n"
    u"ファイルと置き換えます。\n"
    u"\n"
    u"オプション:\n"
    u"  -h, --help     この説明を表示します。\n"
    u"  -v, --version  バージョンを表示します。\n"
    u"\n"
    u"引数:\n"
    u"  ファイル       一覧に加える MP3 ファイル。フォルダーはその直下のファイルを加えます。\n";

QString errorText(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("不明なオプションです: ") + unknown.join(QStringLiteral(", "));
    // The parser's other complaints are a value missing after an option that
    // needs one, or given to one that takes none; its message names the
    // option, as typed, between the first and the last quote.
    return QStringLiteral("オプション %1 の値の指定が正しくありません。")
        .arg(parser.errorText().section(u'\'', 1, -2));
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
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    acceptQtOptions(parser);

    const bool parsed = parser.parse(arguments);
    if (parsed && !parser.isSet(help) && !parser.isSet(version))
        return {parser.positionalArguments(), std::nullopt};

    if (!parsed) {
        print(stderr, QStringLiteral("kalvo: ") + errorText(parser) + u'\n' + QString::fromUtf16(kHelp));
        return {{}, 2};
    }
    if (parser.isSet(help))
        print(stdout, QString::fromUtf16(kHelp));
    else
        print(stdout, QString::fromUtf16(KalvoVersion::kProductName) + u' '
                          + QString::fromUtf16(KalvoVersion::kVersion) + u'\n');
    return {{}, 0};
}
