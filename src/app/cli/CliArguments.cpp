#include "app/cli/CliArguments.h"

#include "app/cli/LocaleText.h"
#include "files/NativePath.h"
#include "id3v1/GenreTable.h"
#include "musicbrainz/Requests.h"
#include "text/CellNumber.h"

#include <QList>

#include <algorithm>
#include <array>

namespace {

// Sets an option's value; false when the value is refused.
using SetOption = bool (*)(CliOptions &options, const QString &value);

// An option "--name": whether it takes a value, the commands that take it
// (none listed: every command), how its value is set, and what a refused
// value is told.
struct OptionRule {
    const char *name;
    bool takesValue;
    QList<CliCommand> commands;
    SetOption set;
    const char16_t *refusal;
};

// A number 0 to 255 of ASCII digits.
std::optional<quint8> byteNumber(const QString &text)
{
    if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), isAsciiDigit))
        return std::nullopt;
    bool valid = false;
    const int number = text.toInt(&valid);
    return valid && number <= 255 ? std::optional<quint8>(static_cast<quint8>(number)) : std::nullopt;
}

const std::array<OptionRule, 14> kOptions = {{
    {"dry-run", false, {}, [](CliOptions &o, const QString &) { return o.dryRun = true; }, nullptr},
    {"json", false, {CliCommand::Show, CliCommand::Lookup},
     [](CliOptions &o, const QString &) { return o.json = true; }, nullptr},
    {"v2", false, {CliCommand::Set, CliCommand::Number, CliCommand::Fill, CliCommand::Titles},
     [](CliOptions &o, const QString &) { return o.v2 = true; }, nullptr},
    {"keep-times", false, {CliCommand::Set, CliCommand::Number, CliCommand::Fill, CliCommand::Titles},
     [](CliOptions &o, const QString &) { return o.keepTimes = true; }, nullptr},
    {"title", true, {CliCommand::Set}, [](CliOptions &o, const QString &v) { return bool(o.fields.Title = v); },
     nullptr},
    {"artist", true, {CliCommand::Set}, [](CliOptions &o, const QString &v) { return bool(o.fields.Artist = v); },
     nullptr},
    {"album", true, {CliCommand::Set}, [](CliOptions &o, const QString &v) { return bool(o.fields.Album = v); },
     nullptr},
    // The year's slot holds four bytes: a longer or other year would be cut
    // or saved as something else.
    {"year", true, {CliCommand::Set},
     [](CliOptions &o, const QString &v) {
         o.fields.Year = v;
         return v.size() <= 4 && std::all_of(v.cbegin(), v.cend(), isAsciiDigit);
     },
     u"4 桁までの数字を指定してください"},
    {"comment", true, {CliCommand::Set}, [](CliOptions &o, const QString &v) { return bool(o.fields.Comment = v); },
     nullptr},
    {"track", true, {CliCommand::Set},
     [](CliOptions &o, const QString &v) { return bool(o.fields.TrackNumber = byteNumber(v)); },
     u"0 から 255 の数を指定してください"},
    {"genre", true, {CliCommand::Set},
     [](CliOptions &o, const QString &v) {
         std::optional<int> genre = byteNumber(v);
         if (!genre)
             genre = GenreTable::find(v);
         if (genre)
             o.fields.GenreID = static_cast<quint8>(*genre);
         return genre.has_value();
     },
     u"ジャンル名か 0 から 255 の番号を指定してください"},
    {"from", true, {CliCommand::Number},
     [](CliOptions &o, const QString &v) {
         const std::optional<quint8> first = byteNumber(v);
         o.firstTrack = first.value_or(0);
         return o.firstTrack >= 1;
     },
     u"1 から 255 の数を指定してください"},
    {"format", true, {CliCommand::Fill, CliCommand::Rename},
     [](CliOptions &o, const QString &v) { return bool(o.format = v); }, nullptr},
    {"release", true, {CliCommand::Fill},
     [](CliOptions &o, const QString &v) {
         o.release = v;
         return isMusicBrainzId(v);
     },
     u"MusicBrainz のリリース ID (xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx) を指定してください"},
}};

const OptionRule *findOption(QStringView name)
{
    for (const OptionRule &option : kOptions) {
        if (name == QLatin1StringView(option.name))
            return &option;
    }
    return nullptr;
}

constexpr std::pair<const char *, CliCommand> kCommands[] = {
    {"show", CliCommand::Show},     {"set", CliCommand::Set},       {"number", CliCommand::Number},
    {"fill", CliCommand::Fill},     {"titles", CliCommand::Titles}, {"rename", CliCommand::Rename},
    {"lookup", CliCommand::Lookup},
};

constexpr std::pair<const char *, FillSource> kFillSources[] = {
    {"id3v2", FillSource::Id3v2},
    {"names", FillSource::FileNames},
    {"utf8", FillSource::Utf8},
    {"eucjp", FillSource::EucJp},
    {"musicbrainz", FillSource::MusicBrainz},
};

template <typename Value, std::size_t N>
std::optional<Value> lookUp(const std::pair<const char *, Value> (&table)[N], QStringView name)
{
    for (const auto &[text, value] : table) {
        if (name == QLatin1StringView(text))
            return value;
    }
    return std::nullopt;
}

// An option given, with its value as typed.
struct GivenOption {
    const OptionRule *rule;
    QString value;
};

CliArguments usageError(const QString &error)
{
    return {.action = CliArguments::Action::UsageError, .options = {}, .error = error};
}

}  // namespace

CliArguments readCliArguments(const QStringList &arguments, const LocaleText &text)
{
    QStringList positional;
    QList<GivenOption> given;
    QString firstError;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == QLatin1String("-")) {
            positional << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            help = true;
            continue;
        }
        if (argument == QLatin1String("-v") || argument == QLatin1String("--version")) {
            version = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const OptionRule *rule = argument.startsWith(QLatin1String("--")) ? findOption(name) : nullptr;
        QString error;
        std::optional<QString> value;
        if (!rule) {
            error = QStringLiteral("不明なオプションです: ") + argument;
        } else if (!rule->takesValue) {
            if (equals >= 0)
                error = QStringLiteral("オプション --%1 は値を取りません").arg(name);
        } else if (equals < 0 && i + 1 >= arguments.size()) {
            error = QStringLiteral("オプション --%1 には値が必要です").arg(name);
        } else {
            // The value is text, not a file name: its bytes are read in the
            // locale's character set.
            value = text.decode(nativePath(equals < 0 ? arguments.at(++i) : argument.mid(equals + 1)));
            if (!value)
                error = QStringLiteral("オプション --%1 の値が正しい文字列ではありません").arg(name);
        }
        if (error.isEmpty())
            given << GivenOption{rule, value.value_or(QString())};
        else if (firstError.isEmpty())
            firstError = error;
    }
    if (help)
        return {.action = CliArguments::Action::Help, .options = {}, .error = {}};
    if (version)
        return {.action = CliArguments::Action::Version, .options = {}, .error = {}};
    if (!firstError.isEmpty())
        return usageError(firstError);

    CliOptions options;
    if (positional.isEmpty())
        return usageError(QStringLiteral("コマンドを指定してください"));
    const QString commandName = positional.takeFirst();
    const std::optional<CliCommand> command = lookUp(kCommands, commandName);
    if (!command)
        return usageError(QStringLiteral("不明なコマンドです: ") + shownPath(commandName));
    options.command = *command;
    if (options.command == CliCommand::Fill) {
        const std::optional<FillSource> source
            = positional.isEmpty() ? std::nullopt : lookUp(kFillSources, positional.takeFirst());
        if (!source)
            return usageError(
                QStringLiteral("fill には id3v2、names、utf8、eucjp、musicbrainz のどれかを指定してください"));
        options.source = *source;
    }
    for (const GivenOption &option : std::as_const(given)) {
        const QString name = QStringLiteral("--") + QLatin1StringView(option.rule->name);
        if (!option.rule->commands.isEmpty() && !option.rule->commands.contains(options.command))
            return usageError(QStringLiteral("オプション %1 は %2 では使えません").arg(name, commandName));
        if (!option.rule->set(options, option.value)) {
            return usageError(QStringLiteral("オプション %1 の値が正しくありません: %2 (%3)")
                                  .arg(name, option.value, QString::fromUtf16(option.rule->refusal)));
        }
    }
    if (options.command == CliCommand::Set && options.fields == TagUpdate{})
        return usageError(QStringLiteral("set には書き込む項目を一つ以上指定してください"));
    if (options.command == CliCommand::Fill && options.format && options.source != FillSource::FileNames)
        return usageError(QStringLiteral("オプション --format は fill names と rename だけで使えます"));
    if (options.command == CliCommand::Fill && (options.source == FillSource::MusicBrainz) == options.release.isEmpty())
        return usageError(QStringLiteral("オプション --release は fill musicbrainz に一つ指定してください"));
    if (positional.isEmpty())
        return usageError(QStringLiteral("ファイルを指定してください"));
    if (positional.contains(QString()))
        return usageError(QStringLiteral("空のファイル名は指定できません"));
    options.files = positional;
    return {.action = CliArguments::Action::Run, .options = options, .error = {}};
}

QString cliHelp()
{
    return QStringLiteral(
        "使い方: kalvo-cli コマンド [オプション] ファイル...\n"
        "MP3 ファイルの ID3v1.1 タグを Kalvo の一覧と同じ規則で読み書きします。\n"
        "書き込むのはファイル末尾の 128 バイトだけです (--v2 では ID3v2 タグも書き込み、\n"
        "ID3v2 タグが変わるファイルは新しく書いて元のファイルと置き換えます)。\n"
        "ファイルにフォルダーを指定すると、その直下の MP3 ファイルを名前順に扱います。\n"
        "ファイルは指定した順に、一つずつ一度だけ読み、一度だけ書き込みます。\n"
        "\n"
        "コマンド:\n"
        "  show [--json] ファイル...       タグを表示します (タブ区切り、または JSON)。\n"
        "  set 項目 ファイル...            指定した項目を書き込みます。項目は次のとおりです:\n"
        "        --title 曲名  --artist アーティスト  --album アルバム  --year 製作年\n"
        "        --comment コメント  --track 番号 (0〜255)  --genre ジャンル名か番号\n"
        "  number [--from N] ファイル...   指定した順にトラック番号 N, N+1 … を付けます (既定 1)。\n"
        "  fill 取り込み元 ファイル...     タグの項目を取り込みます。取り込み元は次のとおりです:\n"
        "        id3v2   ID3v2 タグ\n"
        "        names   ファイル名をリネームフォーマットで読んだもの\n"
        "        utf8    タグの文字を UTF-8 として読み直したもの\n"
        "        eucjp   タグの文字を EUC-JP として読み直したもの\n"
        "  titles ファイル... < 曲名リスト  標準入力の一行を一曲の曲名として上から書き込みます。\n"
        "                                  行頭の番号と行末の演奏時間は除きます。\n"
        "        musicbrainz --release ID  MusicBrainz のリリースの曲名・アーティスト・アルバム・\n"
        "                製作年・トラック番号 (ファイルを指定した順に 1 曲目から)\n"
        "  rename [--format F] ファイル... タグからリネームフォーマットでファイル名を付けます。\n"
        "  lookup [--json] ファイル...     ファイルを CD の 1 曲目からとして、ディスク ID と TOC を求め、\n"
        "                                  MusicBrainz でリリースを探して表示します。\n"
        "\n"
        "オプション:\n"
        "  --dry-run      何も書き込まず、ファイルごとに「変更前 → 変更後」を表示します。\n"
        "  --format F     リネームフォーマット (fill names と rename)。既定は Kalvo の kiv.ini の値、\n"
        "                 なければ (%K)[%A]%T_%D。\n"
        "  --v2           同じ値を ID3v2 タグにも書き込みます (set、number、fill、titles)。\n"
        "                 ID3v2 タグが項目と食い違うファイルも書き込みます。\n"
        "  --keep-times   書き込んだファイルの更新日時とアクセス日時を元のままにします\n"
        "                 (set、number、fill、titles)。\n"
        "  --release ID   fill musicbrainz で取り込むリリースの ID (lookup で表示されます)。\n"
        "  -h, --help     この説明を表示します。\n"
        "  -v, --version  バージョンを表示します。\n"
        "\n"
        "終了ステータス: 0 すべて完了、1 できなかったファイルがある (標準エラーに理由)、\n"
        "2 コマンドラインの誤り (何も変更していません)。\n"
        "\n"
        "ネットワークを使うのは lookup と fill musicbrainz だけで、問い合わせ先は\n"
        "https://musicbrainz.org です (環境変数 KALVO_MUSICBRAINZ_SERVER で変えられます)。\n");
}
