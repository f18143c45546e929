// Track numbers written in the order files are dropped on the numbering label:
// the question, the files that could not be numbered, and the list left alone.

#include "common/Fakes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using Answer = MessageBoxService::Answer;

namespace {

// The write-error message's lines: a reason's sentence by its key, a file by
// its drop position.
QString errorText(const QStringList &lines, const QStringList &paths)
{
    const QMap<QString, QString> sentences{
        {"bad", "次のファイルはMP3ファイルではないためトラック番号を書き込めませんでした。"},
        {"missing", "次のファイルは見つからないためトラック番号を書き込めませんでした。"},
        {"sync", "次のファイルはエラー（" + qt_error_string(EIO) + "）のためトラック番号を書き込めませんでした。"},
        {"changed", "次のファイルは読み込んだ後に変更されたためトラック番号を書き込みませんでした。"},
        {"past 255", "次のファイルはトラック番号が255を超えるため書き込みませんでした。"}};
    QStringList text;
    for (const QString &line : lines)
        text << (sentences.contains(line) ? sentences.value(line) : paths.at(line.toInt()));
    return text.join(u'\r');
}

}  // namespace

class TestDropNumbering : public QObject
{
    Q_OBJECT

private slots:
    void dropNumbering_data()
    {
        // Each dropped file "ok", "bad" (not an MP3), "missing", or "sync" (its
        // sync fails).
        QTest::addColumn<QStringList>("drop");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QList<int>>("questionsFor");  // drop positions asked about
        QTest::addColumn<QList<int>>("tracks");        // track of each ok or sync file afterwards, in drop order
        QTest::addColumn<QStringList>("unnumbered");   // the write-error message (errorText)
        QTest::addColumn<bool>("notice");
        QTest::newRow("in drop order") << QStringList{"ok", "ok", "ok"} << QList<Answer>{Answer::Yes}
                                       << QList<int>{0} << QList<int>{1, 2, 3} << QStringList{} << true;
        QTest::newRow("no ends at once") << QStringList{"ok", "ok"} << QList<Answer>{Answer::No} << QList<int>{0}
                                         << QList<int>{9, 9} << QStringList{} << false;
        // A file answered Yes and then failed counts as skipped.
        QTest::newRow("unreadable first file asks again")
            << QStringList{"bad", "missing", "ok", "ok"} << QList<Answer>{Answer::Yes, Answer::Yes, Answer::Yes}
            << QList<int>{0, 1, 2} << QList<int>{1, 2} << QStringList{"bad", "0", "missing", "1"} << true;
        QTest::newRow("no on the second question") << QStringList{"bad", "ok"}
                                                   << QList<Answer>{Answer::Yes, Answer::No} << QList<int>{0, 1}
                                                   << QList<int>{9} << QStringList{} << false;
        QTest::newRow("failures use up no number") << QStringList{"ok", "bad", "ok", "missing", "ok"}
                                                   << QList<Answer>{Answer::Yes} << QList<int>{0}
                                                   << QList<int>{1, 2, 3}
                                                   << QStringList{"bad", "1", "missing", "3"} << true;
        QTest::newRow("nothing readable") << QStringList{"bad", "missing"}
                                          << QList<Answer>{Answer::Yes, Answer::Yes} << QList<int>{0, 1}
                                          << QList<int>{} << QStringList{"bad", "0", "missing", "1"} << true;
        // Found only at the end: the later files keep their numbers.
        QTest::newRow("sync failure leaves its number unused")
            << QStringList{"ok", "sync", "bad", "ok", "sync"} << QList<Answer>{Answer::Yes} << QList<int>{0}
            << QList<int>{1, 9, 3, 9} << QStringList{"sync", "1", "4", "bad", "2"} << true;
    }
    void dropNumbering()
    {
        QFETCH(QStringList, drop);
        QFETCH(QList<Answer>, answers);
        QFETCH(QList<int>, questionsFor);
        QFETCH(QList<int>, tracks);
        QFETCH(QStringList, unnumbered);
        QFETCH(bool, notice);
        QTemporaryDir dir;
        QStringList paths, mp3Paths;
        QList<QByteArray> syncFailing;
        FakeSync sync;
        const TagRecord tag{.Title = "曲", .TrackNumber = 9};
        for (int i = 0; i < drop.size(); ++i) {
            const QString name = QStringLiteral("%1.mp3").arg(i);
            paths << dir.filePath(name);
            if (drop[i] == QLatin1String("ok") || drop[i] == QLatin1String("sync")) {
                QVERIFY(writeTaggedMp3(paths.last(), tag));
                mp3Paths << paths.last();
            } else if (drop[i] == QLatin1String("bad")) {
                QVERIFY(writeFile(paths.last(), "not an mp3"));
            }
            if (drop[i] == QLatin1String("sync")) {
                sync.failing << name;
                syncFailing << readFile(paths.last());
            }
        }
        FakeWindowServices fakes;
        fakes.messages.answers = answers;
        frmID3Launcher launcher(fakes.services(), sync.function());

        launcher.lblRENBANDD_OLEDragDrop(paths);

        QStringList questions;
        for (int position : questionsFor)
            questions << paths[position] + QStringLiteral("から順番にトラック番号を振り全ファイル書き換えます。\rよろしいですか？");
        if (!unnumbered.isEmpty())
            questions << errorText(unnumbered, paths);
        if (notice)
            questions << QStringLiteral("終了しました");
        QStringList shown;
        for (const ShownMessage &message : fakes.messages.shown)
            shown << message.text;
        QCOMPARE(shown, questions);
        if (notice) {
            QCOMPARE(fakes.messages.shown.last().title, QStringLiteral("Kalvo[通知]"));
            QCOMPARE(fakes.messages.shown.last().icon, MessageBoxService::Icon::Information);
        }
        if (!unnumbered.isEmpty()) {
            const ShownMessage &error = fakes.messages.shown.at(fakes.messages.shown.size() - 2);
            QCOMPARE(error.title, QStringLiteral("Kalvo [書込みエラー]"));
            QCOMPARE(error.buttons, MessageBoxService::Buttons::Ok);
            QCOMPARE(error.icon, MessageBoxService::Icon::Exclamation);
        }
        if (!questionsFor.isEmpty())
            QCOMPARE(fakes.messages.shown.first().title, QStringLiteral("Kalvo[確認]"));
        QList<int> got;
        for (const QString &path : mp3Paths)
            got << readMp3Tag(path).TrackNumber;
        QCOMPARE(got, tracks);
        for (int i = 0, failing = 0; i < drop.size(); ++i) {
            if (drop[i] == QLatin1String("sync"))
                QVERIFY(readFile(paths[i]) == syncFailing.at(failing++));
        }
    }

    // A file whose sync fails, found after the files behind it were numbered,
    // leaves its number unused; the numbering still stops at number 255, and
    // the files it did not reach are named with the failed one.
    void dropNumberingStopsAfterTrack255AndLeavesTheListAlone()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 300; ++i) {
            paths << dir.filePath(QStringLiteral("%1.mp3").arg(i, 3, 10, QLatin1Char('0')));
            QVERIFY(writeTaggedMp3(paths.last(), {.TrackNumber = 3}, 64));
        }
        FakeWindowServices fakes;
        FakeSync sync;
        sync.failing << QStringLiteral("010.mp3");
        frmID3Launcher launcher(fakes.services(), sync.function());
        launcher.AddMp3File(paths[0]);

        launcher.lblRENBANDD_OLEDragDrop(paths);

        // Numbers above 100 read back as 0, so check the raw track byte.
        for (int i = 0; i < 300; ++i) {
            const QByteArray bytes = readFile(paths[i]);
            const int expected = i == 10 || i >= 255 ? 3 : i + 1;
            QCOMPARE(static_cast<int>(static_cast<quint8>(bytes.at(bytes.size() - 2))), expected);
        }
        QCOMPARE(fakes.messages.shown.size(), 3);
        QStringList unnumbered{"sync", "10", "past 255"};
        for (int i = 255; i < 300; ++i)
            unnumbered << QString::number(i);
        QCOMPARE(fakes.messages.shown.at(1).text, errorText(unnumbered, paths));
        QCOMPARE(fakes.messages.shown.last().text, QStringLiteral("終了しました"));
        QCOMPARE(fakes.list.column(livTrackNo), QStringList{"3"});

        // Kalvo wrote the listed file itself, so a save of its row writes
        // the row's values back over the number.
        launcher.Save(SaveAll);
        QCOMPARE(fakes.messages.shown.size(), 3);
        QCOMPARE(static_cast<int>(static_cast<quint8>(readFile(paths[0]).at(64 + 128 - 2))), 3);
    }

    void dropWithoutFilesDoesNothing()
    {
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());
        launcher.lblRENBANDD_OLEDragDrop({});
        QVERIFY(fakes.messages.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDropNumbering)
#include "tst_DropNumbering.moc"
