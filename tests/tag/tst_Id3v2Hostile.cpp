// Files built to hurt a tag reader, read as the I key reads them, each in a
// child process: the reading must come back with what the tag gives and what
// it could not read, within 1 s and 100 MB above what the process held
// before, and leave the file as it was.

#include "FileBytes.h"
#include "ForkedCheck.h"
#include "Id3v2Bytes.h"
#include "Id3v2Text.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

constexpr qint64 kTimeBudgetMs = 1000;
constexpr qint64 kMemoryBudget = 100LL * 1024 * 1024;

enum class Verdict { InBudget, WrongReading, OverTime, OverMemory, Died };

// The process's resident memory now, from /proc.
qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * getpagesize() : -1;
}

// The most resident memory the process has held.
qint64 peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

// Reads path in this (child) process and judges the reading.
Verdict readWithinBudget(const QString &path, const QString &expected)
{
    const qint64 before = residentBytes();
    QElapsedTimer timer;
    timer.start();
    const Id3v2Text text = readId3v2Text(path);
    const qint64 elapsed = timer.elapsed();
    const qint64 grown = peakResidentBytes() - before;
    std::fprintf(stderr, "%s: %lld ms, %lld MB\n", qPrintable(QFileInfo(path).fileName()),
                 static_cast<long long>(elapsed), static_cast<long long>(grown >> 20));
    if (id3v2Reading(text) != expected) {
        std::fprintf(stderr, "read: %s\n", qPrintable(id3v2Reading(text)));
        return Verdict::WrongReading;
    }
    if (elapsed > kTimeBudgetMs)
        return Verdict::OverTime;
    return before < 0 || grown > kMemoryBudget ? Verdict::OverMemory : Verdict::InBudget;
}

// The file's bytes and time of change, read in small pieces so this process
// stays small.
QByteArray fingerprint(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result() + QFileInfo(file).lastModified().toString(Qt::ISODateWithMs).toUtf8();
}

using Maker = std::function<QByteArray()>;

}  // namespace

Q_DECLARE_METATYPE(Maker)

class TestId3v2Hostile : public QObject
{
    Q_OBJECT

private slots:
    void readInBudget_data()
    {
        QTest::addColumn<Maker>("make");
        QTest::addColumn<QString>("reading");
        const QString texts = QStringLiteral("title=%1 artist=%2 album=%3").arg(kHostileTitle, kHostileArtist, kHostileAlbum);
        QTest::newRow("chapter frames nested 20,000 deep")
            << Maker([] { return HostileId3v2::nestedChapters(20000); }) << "read " + texts;
        QTest::newRow("four frames inflating to 256 MB each")
            << Maker([] { return HostileId3v2::zlibBomb(256LL * 1024 * 1024); })
            << "read !title !artist !album !comment";
        QTest::newRow("three million tiny frames in 32 MB")
            << Maker([] { return HostileId3v2::tinyFrames(3000000); }) << "unreadable";
        QTest::newRow("a 20 MB title")
            << Maker([] { return HostileId3v2::hugeTitle(20 * 1024 * 1024); })
            << QStringLiteral("read artist=%1 album=%2 !title").arg(kHostileArtist, kHostileAlbum);
        QTest::newRow("extended header") << Maker(HostileId3v2::extendedHeader) << "read " + texts;
        QTest::newRow("encoding byte 0x07")
            << Maker(HostileId3v2::unknownEncoding)
            << QStringLiteral("read artist=%1 album=%2 !title").arg(kHostileArtist, kHostileAlbum);
        QTest::newRow("empty TENC first") << Maker(HostileId3v2::leadingEmptyFrame) << "read " + texts;
    }
    void readInBudget()
    {
        QFETCH(Maker, make);
        QFETCH(QString, reading);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("hostile.mp3"));
        // Made in a child of its own, so this process does not grow by the
        // file and the reading child starts as small as a list would.
        QCOMPARE(exitCodeInChild([&] { return writeFile(path, make()) ? 0 : 1; }, 60), 0);
        const QByteArray before = fingerprint(path);

        const Verdict verdict = resultInChild<Verdict>([&] { return readWithinBudget(path, reading); },
                                                       Verdict::Died, 20);
        QCOMPARE(verdict, Verdict::InBudget);
        QCOMPARE(fingerprint(path), before);
    }
};

QTEST_GUILESS_MAIN(TestId3v2Hostile)
#include "tst_Id3v2Hostile.moc"
