// kalvo-cli run as a script runs it, on copies of small MP3 files: what each
// command writes, says and exits with, and what it leaves alone. What the
// commands do to a row is the parts' own and is tested on them.

#include "common/Id3v2Bytes.h"
#include "common/LameFiles.h"
#include "common/LocalHttpServer.h"
#include "common/Mp3Files.h"
#include "id3v2/Id3v2Text.h"
#include "tagfiles/Id3v2File.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the program in folder with the arguments and the input; the locale is
// C.UTF-8 unless environment says otherwise.
Run run(const QString &folder, const QStringList &arguments, const QByteArray &input = {},
        const QStringList &environment = {}, QProcess *process = nullptr)
{
    QProcess own;
    QProcess &cli = process ? *process : own;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    cli.setProcessEnvironment(env);
    cli.setWorkingDirectory(folder);
    cli.start(env.value(QStringLiteral("KALVO_CLI_UNDER_TEST"), QStringLiteral(KALVO_CLI)), arguments);
    cli.write(input);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(60000) || cli.exitStatus() != QProcess::NormalExit)
        return {};
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

const QDateTime kOldTime = QDateTime::fromSecsSinceEpoch(1000000000);

// An album of two: a tagged file and an untagged one, last written long ago.
void makeAlbum(const QString &folder)
{
    QVERIFY(writeTaggedMp3(folder + QStringLiteral("/1 Intro.mp3"),
                           {.Title = QStringLiteral("夜明け"), .Artist = QStringLiteral("A"), .Album = QStringLiteral("B"),
                            .Year = QStringLiteral("2001"), .Comment = QStringLiteral("c"), .TrackNumber = 1,
                            .GenreID = 17}));
    QVERIFY(writeUntaggedMp3(folder + QStringLiteral("/2 Outro.mp3")));
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        QFile file(folder + u'/' + name);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(kOldTime, QFileDevice::FileModificationTime));
    }
}

QByteArray hash(const QString &path)
{
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

// Each file as "name|title|track|genre", with "|*" when its bytes are not
// those of a file the folder held before (hashes) or it was written since.
QStringList folderState(const QString &folder, const QList<QByteArray> &hashesBefore)
{
    QStringList state;
    for (const QString &name : QDir(folder).entryList({"*.mp3"}, QDir::Files, QDir::Name)) {
        const QString path = folder + u'/' + name;
        const TagRecord tag = readMp3Tag(path);
        const bool touched = !hashesBefore.contains(hash(path)) || QFileInfo(path).lastModified() != kOldTime;
        state << QStringList{name, tag.Title, QString::number(tag.TrackNumber), QString::number(tag.GenreID)}.join(u'|')
                     + (touched ? QStringLiteral("|*") : QString());
    }
    return state;
}

QList<QByteArray> hashes(const QString &folder)
{
    QList<QByteArray> all;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        all << hash(folder + u'/' + name);
    return all;
}

const QStringList kAlbum = {"1 Intro.mp3|夜明け|1|17", "2 Outro.mp3||0|0"};

}  // namespace

class TestKalvoCli : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");  // a part of it
        QTest::addColumn<QStringList>("state");

        const QStringList both = {"."};
        QTest::newRow("show") << QStringList{"show", "."} << QByteArray() << 0
                              << "1 Intro.mp3\t夜明け\tA\tB\t2001\tc\t1\t17\tRock\n2 Outro.mp3\t\t\t\t\t\t0\t0\tBlues\n"
                              << "" << kAlbum;
        QTest::newRow("set") << QStringList{"set", "--title", "朝", "--genre=JAZZ", "."} << QByteArray() << 0 << ""
                             << "" << QStringList{"1 Intro.mp3|朝|1|8|*", "2 Outro.mp3|朝|0|8|*"};
        QTest::newRow("set what a file holds already: not written")
            << QStringList{"set", "--track", "1", "1 Intro.mp3"} << QByteArray() << 0 << "" << "" << kAlbum;
        QTest::newRow("number in the order given")
            << QStringList{"number", "--from", "98", "2 Outro.mp3", "1 Intro.mp3"} << QByteArray() << 0 << "" << ""
            << QStringList{"1 Intro.mp3|夜明け|99|17|*", "2 Outro.mp3||98|0|*"};
        // A track number over 100 reads as none.
        QTest::newRow("number up to 255") << QStringList{"number", "--from", "254", "."} << QByteArray() << 0 << ""
                                          << "" << QStringList{"1 Intro.mp3|夜明け|0|17|*", "2 Outro.mp3||0|0|*"};
        QTest::newRow("fill") << QStringList{"fill", "names", "--format", "%T %D", "."} << QByteArray() << 0 << ""
                              << "" << QStringList{"1 Intro.mp3|Intro|1|17|*", "2 Outro.mp3|Outro|2|0|*"};
        QTest::newRow("titles") << QStringList{"titles", "."} << QByteArray("01. 春 (3:45)\n02 夏\n3. 秋\n") << 0
                                << "" << "2 Outro.mp3: 1行が余った" << QStringList{"1 Intro.mp3|春|1|17|*", "2 Outro.mp3|夏|0|0|*"};
        // The untagged file gets no tag on the way.
        QTest::newRow("rename") << QStringList{"rename", "--format", "%T_%D", "."} << QByteArray() << 0 << "" << ""
                                << QStringList{"00_.mp3||0|0", "01_夜明け.mp3|夜明け|1|17"};
        QTest::newRow("rename to the name a file has") << QStringList{"rename", "--format", "1 Intro", "1 Intro.mp3"}
                                                       << QByteArray() << 0 << "" << "" << kAlbum;

        QTest::newRow("dry run: set") << QStringList{"set", "--dry-run", "--title", "朝", "--genre", "255", "."}
                                      << QByteArray() << 0
                                      << "1 Intro.mp3: 曲名「夜明け」 → 「朝」、ジャンル「Rock」 → 「255」\n"
                                         "2 Outro.mp3: 曲名「」 → 「朝」、ジャンル「Blues」 → 「255」\n"
                                      << ""
                                      << kAlbum;
        QTest::newRow("dry run: number") << QStringList{"--dry-run", "number", "."} << QByteArray() << 0
                                         << "1 Intro.mp3: 変更なし\n2 Outro.mp3: No「0」 → 「2」\n" << "" << kAlbum;
        QTest::newRow("dry run: fill") << QStringList{"fill", "names", "--format", "%T %D", "--dry-run", "."}
                                       << QByteArray() << 0
                                       << "1 Intro.mp3: 曲名「夜明け」 → 「Intro」\n"
                                          "2 Outro.mp3: 曲名「」 → 「Outro」、No「0」 → 「2」\n"
                                       << "" << kAlbum;
        QTest::newRow("dry run: titles") << QStringList{"titles", "--dry-run", "2 Outro.mp3"} << QByteArray("夏\n")
                                         << 0 << "2 Outro.mp3: 曲名「」 → 「夏」\n" << "" << kAlbum;
        QTest::newRow("dry run: rename") << QStringList{"rename", "--dry-run", "--format", "%T_%D", "."}
                                         << QByteArray() << 0 << "1 Intro.mp3 → 01_夜明け.mp3\n2 Outro.mp3 → 00_.mp3\n"
                                         << "" << kAlbum;

        QTest::newRow("dry run: set --v2") << QStringList{"set", "--dry-run", "--v2", "--title", "朝", "2 Outro.mp3"}
                                           << QByteArray() << 0
                                           << "2 Outro.mp3: 曲名「」 → 「朝」 / ID3v2タグ（新規）: 曲名「」 → 「朝」\n"
                                           << "" << kAlbum;
        QTest::newRow("dry run: a name an earlier file gets")
            << QStringList{"rename", "--dry-run", "--format", "x", "."} << QByteArray() << 1 << "1 Intro.mp3 → x.mp3\n"
            << "すでにあるため名前を変えられませんでした。\nkalvo-cli: 2 Outro.mp3 → x.mp3" << kAlbum;
        // Files in a folder are named with it on standard error too.
        QTest::newRow("set: a value cut to its slot")
            << QStringList{"set", "--title", QString(31, u'x'), "cd/3 Extra.mp3"} << QByteArray() << 0 << ""
            << "次のファイルは指定した値をそのままでは書き込めない項目があります。\nkalvo-cli: cd/3 Extra.mp3: 曲名を切り詰めた"
            << kAlbum;
        QTest::newRow("rename: a name refused, in a folder")
            << QStringList{"rename", "--format", "%D", "cd/3 Extra.mp3"} << QByteArray() << 1 << ""
            << "長すぎるため名前を変えませんでした。\nkalvo-cli: cd/3 Extra.mp3 → cd/.mp3" << kAlbum;
        QTest::newRow("dry run: a name refused, in a folder")
            << QStringList{"rename", "--dry-run", "--format", "%D", "cd/3 Extra.mp3"} << QByteArray() << 1 << ""
            << "長すぎるため名前を変えませんでした。\nkalvo-cli: cd/3 Extra.mp3 → cd/.mp3" << kAlbum;
        QTest::newRow("dry run: a name refused") << QStringList{"rename", "--dry-run", "--format", "%A", "."}
                                                 << QByteArray() << 1 << "1 Intro.mp3 → B.mp3\n"
                                                 << "長すぎるため名前を変えませんでした。\nkalvo-cli: 2 Outro.mp3 → .mp3" << kAlbum;
        QTest::newRow("rename: a name taken") << QStringList{"rename", "--format", "x", "."} << QByteArray() << 1 << ""
                                              << "すでにあるため名前を変えられませんでした。\nkalvo-cli: 2 Outro.mp3 → x.mp3"
                                              << QStringList{"2 Outro.mp3||0|0", "x.mp3|夜明け|1|17"};
        QTest::newRow("missing files: the others done")
            << QStringList{"set", "--year", "1999", "missing.mp3", "1 Intro.mp3", "/nowhere/x.mp3", "2 Outro.mp3"}
            << QByteArray() << 1 << "" << "missing.mp3: ファイルが見つかりません\nkalvo-cli: /nowhere/x.mp3: ファイルが"
            << QStringList{"1 Intro.mp3|夜明け|1|17|*", "2 Outro.mp3||0|0|*"};
        QTest::newRow("no MP3 file") << QStringList{"show", "notes.txt"} << QByteArray() << 1 << ""
                                     << "notes.txt: MP3 ファイルとして読み込めません" << kAlbum;
        QTest::newRow("a folder without MP3 files") << QStringList{"set", "--year", "1", "empty"} << QByteArray() << 1
                                                    << "" << "MP3 ファイルがありません" << kAlbum;
        QTest::newRow("\"-\" is a file") << QStringList{"show", "-"} << QByteArray() << 1 << ""
                                       << "-: ファイルが見つかりません" << kAlbum;
        QTest::newRow("no options after --") << QStringList{"show", "--", "--json"} << QByteArray() << 1 << ""
                                             << "--json: ファイルが見つかりません" << kAlbum;
        QTest::newRow("a file named twice is done once")
            << QStringList{"number", "1 Intro.mp3", "2 Outro.mp3", "./1 Intro.mp3"} << QByteArray() << 0 << ""
            << "./1 Intro.mp3: 同じファイルが先に指定されているため" << QStringList{"1 Intro.mp3|夜明け|1|17", "2 Outro.mp3||2|0|*"};

        const QList<std::pair<QStringList, QString>> usageErrors = {
            {{}, "コマンドを指定してください"},
            {{"tag", "."}, "不明なコマンドです: tag"},
            {{"show"}, "ファイルを指定してください"},
            {{"show", ""}, "空のファイル名"},
            {{"show", "--titel", "x", "."}, "不明なオプションです: --titel"},
            {{"show", "-x", "."}, "不明なオプションです: -x"},
            {{"show", "--title", "x", "."}, "オプション --title は show では使えません"},
            {{"show", "--json=yes", "."}, "--json は値を取りません"},
            {{"set", "."}, "一つ以上"},
            {{"set", ".", "--title"}, "--title には値が必要です"},
            {{"set", "--track", "256", "."}, "--track の値が正しくありません: 256"},
            {{"set", "--track", "4294967296", "."}, "--track の値が正しくありません: 4294967296"},
            {{"set", "--genre", "Rockabillyx", "."}, "--genre の値が正しくありません"},
            {{"set", "--year", "20011", "."}, "--year の値が正しくありません: 20011"},
            {{"set", "--year", "２００１", "."}, "--year の値が正しくありません: ２００１"},
            {{"number", "--from", "0", "."}, "--from の値が正しくありません"},
            {{"number", "--from", "255", "."}, "トラック番号が 255 を超えます"},
            {{"fill", "."}, "id3v2、names、utf8、eucjp"},
            {{"fill", "utf8", "--format", "%D", "."}, "fill names と rename だけ"},
            {{"rename", "--format", "%T:%D", "."}, "ファイルフォーマットに使用できない文字"},
        };
        for (const auto &[arguments, error] : usageErrors)
            QTest::addRow("usage: %s", qPrintable(error)) << arguments << QByteArray() << 2 << "" << error << kAlbum;
        QTest::newRow("usage: a NUL in the input") << QStringList{"titles", "."} << QByteArray("春\0夏\n", 8) << 2
                                                   << "" << "標準入力に NUL 文字が含まれています" << kAlbum;
        QTest::newRow("usage: input no text") << QStringList{"titles", "."} << QByteArray("\xff\n") << 2 << ""
                                              << "標準入力が正しい文字列ではありません" << kAlbum;
    }
    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QTemporaryDir dir;
        makeAlbum(dir.path());
        QVERIFY(writeFile(dir.filePath("notes.txt"), "not audio") && QDir(dir.path()).mkdir("empty"));
        QVERIFY(QDir(dir.path()).mkdir("cd") && writeUntaggedMp3(dir.filePath("cd/3 Extra.mp3")));
        const QList<QByteArray> before = hashes(dir.path());

        const Run result = run(dir.path(), arguments, input);

        QTEST(result.status, "status");
        QTEST(QString::fromUtf8(result.out), "out");
        QFETCH(QString, err);
        QVERIFY2(result.err.contains(err.toUtf8()), result.err.constData());
        QVERIFY2(QTest::currentDataTag() == QByteArray("show") || !result.err.isEmpty() == !err.isEmpty(),
                 result.err.constData());
        QTEST(folderState(dir.path(), before), "state");
    }

    // JSON keeps every character; the columns keep to one line.
    void showTexts()
    {
        QTemporaryDir dir;
        const QString title = QStringLiteral("a\tb") + QChar(0xDC80);  // a tab, and a byte that is no text
        QVERIFY(writeTaggedMp3(dir.filePath("x.mp3"), {.Title = title, .TrackNumber = 3, .GenreID = 255}));

        const Run json = run(dir.path(), {"show", "--json", "x.mp3"});
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(json.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(document.array().size(), 1);
        const QJsonObject tag = document.array().at(0).toObject();
        QCOMPARE(tag.keys(), QStringList({"album", "artist", "comment", "file", "genre", "genreName", "title", "track",
                                          "year"}));
        QCOMPARE(tag.value("file").toString(), "x.mp3");
        QCOMPARE(tag.value("title").toString(), "a\tb\uFFFD");
        QCOMPARE(tag.value("track").toInt(), 3);
        QCOMPARE(tag.value("genre").toInt(), 255);
        QCOMPARE(tag.value("genreName").toString(), "");

        QCOMPARE(QString::fromUtf8(run(dir.path(), {"show", "x.mp3"}).out), "x.mp3\ta b\uFFFD\t\t\t\t\t3\t255\t\n");
        // A file outside the current folder goes by its whole path.
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(run(dir.filePath("sub"), {"show", "../x.mp3"}).out.startsWith(dir.filePath("x.mp3").toUtf8() + '\t'));
    }

    // The format Kalvo keeps beside a copy of the program, or the default.
    void defaultFormat_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("name");
        QTest::newRow("kiv.ini") << QByteArray("[KIV]\r\nFILE_FORMAT=%T-%D\r\n") << "01-夜明け.mp3";
        QTest::newRow("none") << QByteArray() << "(A)[B]01_夜明け.mp3";
    }
    void defaultFormat()
    {
        QFETCH(QByteArray, settings);
        QTemporaryDir dir;
        makeAlbum(dir.path());
        const QString program = dir.filePath("program/kalvo-cli");
        QVERIFY(QDir(dir.path()).mkdir("program") && QFile::copy(QStringLiteral(KALVO_CLI), program));
        if (!settings.isEmpty())
            QVERIFY(writeFile(dir.filePath("program/kiv.ini"), settings));

        const Run result = run(dir.path(), {"rename", "1 Intro.mp3"}, {},
                               {"KALVO_CLI_UNDER_TEST=" + program, "HOME=" + dir.path(), "XDG_CONFIG_HOME="});

        QCOMPARE(result.status, 0);
        QFETCH(QString, name);
        QVERIFY(QFile::exists(dir.filePath(name)));
    }

    // A progress line on a terminal, for more files than a CD holds; the
    // files are written a CD at a time, and a message takes a line of its
    // own.
    void progress_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<bool>("lastFails");
        QTest::addColumn<QString>("line");
        QTest::newRow("100 files") << 100 << true << false << "kalvo-cli: 100/100 ファイルを書き込みました";
        QTest::newRow("99 files") << 99 << true << false << "";
        QTest::newRow("no terminal") << 100 << false << false << "";
        QTest::newRow("the last not written")
            << 100 << true << true
            << "99/100 ファイルを書き込みました\r\033[Kkalvo-cli: 次のファイルは";
    }
    void progress()
    {
        QFETCH(int, files);
        QFETCH(bool, terminal);
        QFETCH(bool, lastFails);
        QTemporaryDir dir;
        for (int i = 1; i <= files; ++i)
            QVERIFY(writeUntaggedMp3(dir.filePath(QStringLiteral("%1.mp3").arg(i)), i == files && lastFails ? 1000 : 400));
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        QVERIFY(slave >= 0);
        QProcess process;
        process.setChildProcessModifier([slave, terminal] {
            if (terminal)
                ::dup2(slave, STDERR_FILENO);
            // No file may grow past 1000 bytes: a tag appended to one of
            // 1000 cannot be written.
            const rlimit size{1000, 1000};
            ::setrlimit(RLIMIT_FSIZE, &size);
        });

        const Run result = run(dir.path(), {"set", "--track", "7", "."}, {}, {}, &process);

        ::fcntl(master, F_SETFL, O_NONBLOCK);
        QByteArray terminalText;
        char buffer[4096];
        for (ssize_t length = 0; (length = ::read(master, buffer, sizeof buffer)) > 0;)
            terminalText.append(buffer, length);
        ::close(slave);
        ::close(master);
        QCOMPARE(result.status, lastFails ? 1 : 0);
        QCOMPARE(readMp3Tag(dir.filePath(QStringLiteral("%1.mp3").arg(files - 1))).TrackNumber, 7);
        QCOMPARE(readMp3Tag(dir.filePath(QStringLiteral("%1.mp3").arg(files))).TrackNumber, lastFails ? 0 : 7);
        QVERIFY(result.err.isEmpty());
        QFETCH(QString, line);
        QVERIFY2(QString::fromUtf8(terminalText).contains(line), terminalText.constData());
        QCOMPARE(terminalText.isEmpty(), line.isEmpty());
    }

    // Text in and out in the locale's character set; UTF-8 where that is
    // ASCII.
    void localeCharacterSet_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("morning");  // 朝
        QTest::newRow("EUC-JP") << "ja_JP.eucJP" << QByteArray("\xc4\xab");
        QTest::newRow("C") << "C" << QByteArray("\xe6\x9c\x9d");
    }
    void localeCharacterSet()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, morning);
        QTemporaryDir dir;
        makeAlbum(dir.path());
        QProcess localedef;
        localedef.start("localedef", {"-i", "ja_JP", "-f", "EUC-JP", dir.filePath("ja_JP.eucJP")});
        if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0)
            QSKIP("localedef cannot make ja_JP.eucJP here");
        const QStringList environment = {"LOCPATH=" + dir.path(), "LC_ALL=" + locale};

        QCOMPARE(run(dir.path(), {"titles", "1 Intro.mp3"}, morning + '\n', environment).status, 0);

        QCOMPARE(readMp3Tag(dir.filePath("1 Intro.mp3")).Title, "朝");
        QVERIFY(run(dir.path(), {"show", "1 Intro.mp3"}, {}, environment).out.startsWith("1 Intro.mp3\t" + morning + '\t'));
        // An argument's text is read in the locale's character set too.
        const Run utf8Argument = run(dir.path(), {"set", "--title", "朝", "1 Intro.mp3"}, {}, environment);
        QCOMPARE(utf8Argument.status, locale == "C" ? 0 : 2);
        QCOMPARE(utf8Argument.err.contains("--title"), locale != "C");
    }

    // --v2 writes the ID3v2 tag too, also of a file whose ID3v1 block holds
    // the values already but that has no ID3v2 tag; without it no ID3v2 tag
    // is made. Only set, number, fill and titles take it.
    void v2_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("v1Title");
        QTest::addColumn<QString>("v2Title");  // "-": no ID3v2 tag
        QTest::newRow("set --v2") << QStringList{"set", "--v2", "--title", "朝", "1 Intro.mp3"} << 0 << "朝" << "朝";
        QTest::newRow("set") << QStringList{"set", "--title", "朝", "1 Intro.mp3"} << 0 << "朝" << "-";
        QTest::newRow("ID3v1 as given, no ID3v2 tag")
            << QStringList{"set", "--v2", "--title", "夜明け", "1 Intro.mp3"} << 0 << "夜明け" << "夜明け";
        QTest::newRow("show --v2") << QStringList{"show", "--v2", "1 Intro.mp3"} << 2 << "夜明け" << "-";
    }
    void v2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, v1Title);
        QFETCH(QString, v2Title);
        QTemporaryDir dir;
        makeAlbum(dir.path());
        const QString path = dir.filePath("1 Intro.mp3");

        QCOMPARE(run(dir.path(), arguments).status, status);

        QCOMPARE(readMp3Tag(path).Title, v1Title);
        const Id3v2Text v2 = readId3v2Text(path);
        QCOMPARE(v2.state == Id3v2State::Read ? v2.fields.Title.value_or(QString()) : QStringLiteral("-"), v2Title);
    }

    // The exit status says whether every file was done or needed nothing,
    // whatever the files' ID3v2 tags say: no tag, one in step with the
    // ID3v1 block and one out of step.
    void statusWithId3v2Tags_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        for (const bool v2 : {false, true}) {
            const QStringList flag = v2 ? QStringList{"--v2"} : QStringList{};
            const char *with = v2 ? " --v2" : "";
            QTest::addRow("set, nothing to change%s", with) << QStringList{"set", "--track", "1"} + flag << QByteArray();
            QTest::addRow("set%s", with) << QStringList{"set", "--track", "3"} + flag << QByteArray();
            QTest::addRow("number%s", with) << QStringList{"number", "--from", "5"} + flag << QByteArray();
            QTest::addRow("titles%s", with) << QStringList{"titles"} + flag << QByteArray("x\ny\nz\n");
            QTest::addRow("fill%s", with) << QStringList{"fill", "names", "--format", "%D"} + flag << QByteArray();
        }
        QTest::newRow("rename") << QStringList{"rename", "--format", "%N %D"} << QByteArray();
    }
    void statusWithId3v2Tags()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QTemporaryDir dir;
        const TagRecord tag{.Title = QStringLiteral("Dawn"), .Artist = QStringLiteral("A"), .Album = QStringLiteral("B"),
                            .Year = QStringLiteral("2001"), .Comment = QStringLiteral("c"), .TrackNumber = 1,
                            .GenreID = 17};
        const auto v2Tag = [](const QByteArray &title) {
            return id3v2Tag(3, frame23("TIT2", textData(title)) + frame23("TPE1", textData("A"))
                                   + frame23("TALB", textData("B")) + frame23("TYER", textData("2001"))
                                   + frame23("COMM", commentData("", "c")) + frame23("TRCK", textData("1"))
                                   + frame23("TCON", textData("(17)")));
        };
        const QStringList files{"none.mp3", "in step.mp3", "out of step.mp3"};
        for (const QString &name : files)
            QVERIFY(writeTaggedMp3(dir.filePath(name), tag));
        QVERIFY(writeFile(dir.filePath(files[1]), v2Tag("Dawn") + readFile(dir.filePath(files[1]))));
        QVERIFY(writeFile(dir.filePath(files[2]), v2Tag("Dusk") + readFile(dir.filePath(files[2]))));

        const Run result = run(dir.path(), arguments + files, input);

        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QCOMPARE(result.status, 0);
    }

    // lookup and fill musicbrainz on three LAME-encoded tracks, against a
    // server in the test: what they print and write, and that a bad answer
    // or none writes nothing and exits 1.
    void musicBrainz_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QList<Canned>>("answers");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");  // a part of it
        QTest::addColumn<QString>("err");  // a part of it
        QTest::addColumn<QStringList>("titles");

        QJsonObject japanese = QJsonDocument::fromJson(kDiscAnswer).object()["releases"].toArray()[1].toObject();
        const QByteArray release = QJsonDocument(japanese).toJson();
        const QStringList untouched{"", "", ""};
        const QStringList filled{"春の風", "夏の海", "秋の空"};
        QTest::newRow("lookup") << QStringList{"lookup"} << QList<Canned>{{200, kDiscAnswer}} << 0
                                << QString(kJapaneseId) + "  夜明けの歌 / 山田太郎 & 花子 / 2001 / JP / 3曲 / 日本語" << ""
                                << untouched;
        QTest::newRow("lookup --json") << QStringList{"lookup", "--json"} << QList<Canned>{{200, kDiscAnswer}} << 0
                                       << "\"title\": \"夜明けの歌\"" << "" << untouched;
        QTest::newRow("lookup, unknown disc") << QStringList{"lookup"} << QList<Canned>{} << 0 << "TOC\t1+3+" << "見つかりませんでした"
                                              << untouched;
        QTest::newRow("lookup, broken answer") << QStringList{"lookup"} << QList<Canned>{{200, "{"}} << 1 << ""
                                               << "MusicBrainzに接続できませんでした。" << untouched;
        QTest::newRow("fill musicbrainz")
            << QStringList{"fill", "musicbrainz", "--release", kJapaneseId} << QList<Canned>{{200, release}} << 0 << ""
            << "" << filled;
        QTest::newRow("fill musicbrainz --dry-run")
            << QStringList{"fill", "musicbrainz", "--dry-run", "--release", kJapaneseId} << QList<Canned>{{200, release}}
            << 0 << "曲名「」 → 「春の風」" << "" << untouched;
        QTest::newRow("fill musicbrainz, server error")
            << QStringList{"fill", "musicbrainz", "--release", kJapaneseId} << QList<Canned>{{500, "oops"}} << 1 << ""
            << "MusicBrainzに接続できませんでした。" << untouched;
        QTest::newRow("fill musicbrainz, no such release")
            << QStringList{"fill", "musicbrainz", "--release", kJapaneseId} << QList<Canned>{} << 1 << ""
            << "そのリリースはありません" << untouched;
        QTest::newRow("fill musicbrainz without a release id")
            << QStringList{"fill", "musicbrainz", "--release", "夜明け"} << QList<Canned>{} << 2 << "" << "--release"
            << untouched;
    }
    void musicBrainz()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QList<Canned>, answers);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QStringList, titles);
        QTemporaryDir dir;
        const QStringList files{"1.mp3", "2.mp3", "3.mp3"};
        for (int track = 1; track <= 3; ++track)
            QVERIFY(writeLameMp3(dir.filePath(files[track - 1]), 588 * 75 * track));
        LocalServerThread server(answers);

        const Run result = run(dir.path(), arguments + files, {}, {"KALVO_MUSICBRAINZ_SERVER=" + server.url()});

        QCOMPARE(result.status, status);
        QVERIFY2(QString::fromUtf8(result.out).contains(out), result.out.constData());
        QVERIFY2(err.isEmpty() ? result.err.isEmpty() : QString::fromUtf8(result.err).contains(err), result.err.constData());
        QStringList written;
        for (const QString &file : files)
            written << readMp3Tag(dir.filePath(file)).Title;
        QCOMPARE(written, titles);
    }

    void outputThatCannotBeWritten()
    {
        QTemporaryDir dir;
        makeAlbum(dir.path());
        QProcess process;
        process.setStandardOutputFile("/dev/full");

        const Run result = run(dir.path(), {"show", "."}, {}, {}, &process);

        QCOMPARE(result.status, 1);
        QVERIFY(result.err.contains("標準出力に書き込めませんでした"));
    }
};

QTEST_GUILESS_MAIN(TestKalvoCli)
#include "tst_KalvoCli.moc"
