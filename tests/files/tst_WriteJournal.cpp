// What a write in place through a journal leaves when it is cut off at any
// point, and what the recovery makes of it: a file torn by the write is put
// back, one written whole is kept, one changed since (or gone) is left
// alone; a journal that never was whole is ignored and removed, one that a
// running program holds is passed by; hidden copies left behind go.

#include "common/FileBytes.h"
#include "files/FileLock.h"
#include "files/FolderEntry.h"
#include "files/JournalRecovery.h"
#include "files/WriteJournal.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>

namespace {

// A file of 3000 bytes whose bytes 100..1600 are rewritten (three pieces
// and parts of two) and which gets 128 bytes appended.
QByteArray oldFile()
{
    QByteArray bytes(3000, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i % 23);
    return bytes;
}

const qint64 kOffset = 100;
const QByteArray kNewMiddle(1500, 'N');
const QByteArray kAppended(128, 'T');

JournalFile journalFile()
{
    const QByteArray old = oldFile();
    return {.name = "song.mp3",
            .oldSize = old.size(),
            .newSize = old.size() + kAppended.size(),
            .regions = {{.offset = kOffset, .oldBytes = old.mid(kOffset, kNewMiddle.size()), .newBytes = kNewMiddle},
                        {.offset = old.size(), .oldBytes = {}, .newBytes = kAppended}}};
}

// The file with the middle written up to end (a piece boundary or not),
// and appended bytes of that count.
QByteArray partlyWritten(qint64 middleEnd, qsizetype appended)
{
    QByteArray bytes = oldFile();
    bytes.replace(kOffset, middleEnd - kOffset, kNewMiddle.first(middleEnd - kOffset));
    return bytes + kAppended.first(appended);
}

QByteArray wholeNew()
{
    return partlyWritten(kOffset + kNewMiddle.size(), kAppended.size());
}

QStringList hiddenNames(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral(".kalvo-*")}, QDir::Files | QDir::Hidden);
}

FileDescriptor openFolder(const QString &folder)
{
    return FileDescriptor(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

class TestWriteJournal : public QObject
{
    Q_OBJECT

private slots:
    void recovery_data()
    {
        QTest::addColumn<QByteArray>("now");     // the file as the cut left it; empty: gone
        QTest::addColumn<QString>("outcome");    // "" for nothing told
        QTest::addColumn<QByteArray>("after");

        const QByteArray old = oldFile();
        QTest::newRow("untouched") << old << "" << old;
        QTest::newRow("first piece written") << partlyWritten(512, 0) << "put back" << old;
        QTest::newRow("middle written, nothing appended") << partlyWritten(1600, 0) << "put back" << old;
        QTest::newRow("appended, middle not written") << old + kAppended << "put back" << old;
        QTest::newRow("appended in part") << partlyWritten(1600, 64) << "put back" << old;
        QTest::newRow("written whole") << wholeNew() << "finished" << wholeNew();
        // Bytes that are neither old nor new in a piece: another program.
        QByteArray other = old;
        other[700] = '!';
        QTest::newRow("changed in a piece") << other << "left alone" << other;
        QTest::newRow("changed outside, other size") << old + "xx" << "left alone" << old + "xx";
        QTest::newRow("cut short") << old.first(1000) << "left alone" << old.first(1000);
        QTest::newRow("gone") << QByteArray() << "left alone" << QByteArray();
    }
    void recovery()
    {
        QFETCH(QByteArray, now);
        QFETCH(QString, outcome);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        QVERIFY(writeFile(path, oldFile()));
        {
            WriteJournal journal;
            QVERIFY(journal.begin(openFolder(dir.path()).get(), {journalFile()}, syncData, syncAll).ok());
            QCOMPARE(hiddenNames(dir.path()).size(), 1);
            // Killed here: the journal is never ended.
        }
        if (now.isEmpty())
            QVERIFY(QFile::remove(path));
        else
            QVERIFY(writeFile(path, now));

        const FolderRecovery recovery = recoverFolder(dir.path());
        static const char *const kOutcomes[] = {"put back", "finished", "left alone", "not put back"};
        QStringList told;
        for (const RecoveredFile &file : recovery.files)
            told << file.path + u' ' + QString::fromLatin1(kOutcomes[int(file.outcome)]);
        QCOMPARE(told.join(u','), outcome.isEmpty() ? QString() : dir.path() + QStringLiteral("/song.mp3 ") + outcome);
        QCOMPARE(readFile(path), after);
        QCOMPARE(hiddenNames(dir.path()), QStringList());
    }

    // A journal cut short was never whole, so no file was written by it: it
    // is ignored, even where the file now reads torn, and removed. One of
    // another version is left for the program that wrote it.
    void incompleteJournal_data()
    {
        QTest::addColumn<int>("cut");          // bytes taken off the end; -1: version 2
        QTest::addColumn<bool>("removed");
        QTest::newRow("last byte missing") << 1 << true;
        QTest::newRow("a byte changed") << 2 << true;
        QTest::newRow("half of it") << -2 << true;
        QTest::newRow("empty") << -3 << true;
        QTest::newRow("another version") << -1 << false;
    }
    void incompleteJournal()
    {
        QFETCH(int, cut);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        const QByteArray torn = partlyWritten(1024, 0);
        QVERIFY(writeFile(path, torn));
        QByteArray journal = journalBytes({journalFile()});
        QVERIFY(readJournal(journal).has_value());
        if (cut == 1)
            journal.chop(1);
        else if (cut == 2)
            journal[40] = char(journal[40] ^ 1);
        else if (cut == -2)
            journal.truncate(journal.size() / 2);
        else if (cut == -3)
            journal.clear();
        else
            journal[8] = 2;
        const QString journalPath = dir.filePath(QStringLiteral(".kalvo-1.journal"));
        QVERIFY(writeFile(journalPath, journal));

        QVERIFY(recoverFolder(dir.path()).isEmpty());
        QCOMPARE(readFile(path), torn);
        QCOMPARE(QFile::exists(journalPath), !removed);
    }

    // A journal or a hidden copy a running program holds locked is in use.
    void lockedAreInUse_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("locked");
        QTest::newRow("copy") << ".kalvo-2.tmp" << false;
        QTest::newRow("copy in use") << ".kalvo-2.tmp" << true;
        QTest::newRow("journal in use") << ".kalvo-3.journal" << true;
        QTest::newRow("no name of Kalvo's") << ".kalvo-.tmp" << false;
    }
    void lockedAreInUse()
    {
        QFETCH(QString, name);
        QFETCH(bool, locked);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const bool journal = name.endsWith(u".journal");
        const QByteArray bytes = journal ? journalBytes({journalFile()}) : oldFile();
        QVERIFY(writeFile(path, bytes));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("song.mp3")), partlyWritten(1024, 0)));
        const FileDescriptor holder(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC));
        if (locked)
            QVERIFY(lockForWriting(holder.get()).ok());

        const FolderRecovery recovery = recoverFolder(dir.path());
        const bool removable = !locked && isKalvoName(QFile::encodeName(name), kCopySuffix);
        QCOMPARE(recovery.removedCopies, removable ? QStringList{dir.path() + u'/' + name} : QStringList());
        QVERIFY(recovery.files.isEmpty());
        QCOMPARE(QFile::exists(path), !removable);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("song.mp3"))), partlyWritten(1024, 0));
    }
};

QTEST_GUILESS_MAIN(TestWriteJournal)
#include "tst_WriteJournal.moc"
