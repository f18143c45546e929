// Files built to hurt a tag reader, read as the I key reads them, each in a
// child process: the reading must come back with what the tag gives and what
// it could not read, within 1 s and 100 MB above what the process held
// before, and leave the file as it was.

#include "common/FileBytes.h"
#include "common/ForkedCheck.h"
#include "common/Id3v2Bytes.h"
#include "common/ResourceBudget.h"
#include "id3v2/Id3v2Text.h"
#include "tagfiles/Id3v2File.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

enum class Verdict { InBudget, WrongReading, OverBudget, Died };

// Reads path in this (child) process and judges the reading.
Verdict readWithinBudget(const QString &path, const QString &expected)
{
    Id3v2Text text;
    const Spent spent = spentBy(QTest::currentDataTag(), [&] { text = readId3v2Text(path); });
    if (id3v2Reading(text) != expected) {
        std::fprintf(stderr, "read: %s\n", qPrintable(id3v2Reading(text)));
        return Verdict::WrongReading;
    }
    return spent.withinBudget() ? Verdict::InBudget : Verdict::OverBudget;
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
