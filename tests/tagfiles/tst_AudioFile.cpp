// Real MP3 files encoded by LAME from PCM of known lengths: each file's
// length in CD sectors, exact from LAME's information frame and close
// without it, files that lie about their frames, and the disc of twelve
// files, whose id must be the one libdiscid gives for their table.

#include "disc/Toc.h"
#include "tagfiles/AudioFile.h"

#include "common/FileBytes.h"
#include "common/LameFiles.h"
#include "common/Libdiscid.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

using Edit = std::function<void(QByteArray &)>;

QString reading(const FileAudioLength &length)
{
    if (!length.file.ok())
        return QStringLiteral("file problem %1").arg(int(length.file.problem));
    if (length.audio.problem != AudioProblem::None)
        return QString::fromUtf16(audioProblemReason(length.audio.problem));
    const TrackSectors track = trackSectors(length.audio);
    return QString::number(track.sectors) + (track.exact ? " exact" : "");
}

// LAME's frame count, one more: the file now says it holds a frame it lacks.
void countOneMore(QByteArray &bytes)
{
    const qsizetype at = bytes.indexOf("Info") + 8;
    bytes[at + 3] = char(bytes[at + 3] + 1);
}

}  // namespace

Q_DECLARE_METATYPE(Edit)

class TestAudioFile : public QObject
{
    Q_OBJECT

private slots:
    void length_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<qint64>("samples");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("expected");
        const Edit none = [](QByteArray &) {};
        QTest::newRow("CBR") << QStringList{} << qint64(58800) << none << "100 exact";
        QTest::newRow("VBR") << QStringList{"-V", "2"} << qint64(58800) << none << "100 exact";
        QTest::newRow("mono") << QStringList{"-m", "m"} << qint64(58800) << none << "100 exact";
        QTest::newRow("CRC") << QStringList{"-p"} << qint64(58800) << none << "100 exact";
        QTest::newRow("48 kHz") << QStringList{"--resample", "48"} << qint64(58800) << none << "100 exact";
        QTest::newRow("MPEG-2") << QStringList{"--resample", "22.05"} << qint64(58800) << none << "100 exact";
        QTest::newRow("MPEG-2.5") << QStringList{"--resample", "11.025"} << qint64(58800) << none << "100 exact";
        QTest::newRow("ID3v2 and ID3v1 tags")
            << QStringList{"--add-id3v2", "--tt", "夜明けの歌", "--ta", "山田"} << qint64(58800) << none << "100 exact";
        QTest::newRow("one sector") << QStringList{} << qint64(588) << none << "1 exact";
        QTest::newRow("a long track") << QStringList{} << qint64(588 * 2000) << none << "2000 exact";
        // 53 frames of 1152 samples: LAME's delay of 576 and padding in them.
        QTest::newRow("no information frame") << QStringList{"-t"} << qint64(58800) << none << "104";
        QTest::newRow("cut short") << QStringList{} << qint64(58800)
                                   << Edit([](QByteArray &bytes) { bytes.chop(2000); })
                                   << "LAMEの情報フレームが音声のフレーム数と合わない";
        QTest::newRow("a frame counted more") << QStringList{} << qint64(58800) << Edit(countOneMore)
                                              << "LAMEの情報フレームが音声のフレーム数と合わない";
        QTest::newRow("no MP3") << QStringList{} << qint64(58800)
                                << Edit([](QByteArray &bytes) { bytes.fill('x'); }) << "MP3の音声でない";
    }
    void length()
    {
        QFETCH(QStringList, options);
        QFETCH(qint64, samples);
        QFETCH(Edit, edit);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("track.mp3"));
        QVERIFY(writeLameMp3(path, samples, options));
        QByteArray bytes = readFile(path);
        edit(bytes);
        QVERIFY(writeFile(path, bytes));
        QCOMPARE(reading(readAudioLength(path)), expected);
    }

    void missingFile()
    {
        QTemporaryDir dir;
        const FileAudioLength length = readAudioLength(dir.filePath(QStringLiteral("gone.mp3")));
        QCOMPARE(length.file.problem, FileProblem::Missing);
        QCOMPARE(length.audio.problem, AudioProblem::Unreadable);
    }

    // Twelve tracks of 4 to 12 seconds, whole sectors each: their disc is the
    // table of those lengths, and its id is libdiscid's.
    void twelveTracks()
    {
        QTemporaryDir dir;
        QList<qint64> sectors;
        QList<AudioLength> lengths;
        for (int track = 1; track <= 12; ++track) {
            sectors << 300 + 53 * track + (track % 3) * 7;
            const QString path = dir.filePath(QStringLiteral("%1.mp3").arg(track));
            QVERIFY(writeLameMp3(path, sectors.last() * kSamplesPerSector, track % 2 ? QStringList{} : QStringList{"-V", "4"}));
            lengths << readAudioLength(path).audio;
        }
        const std::optional<Disc> disc = discOf(lengths);
        QVERIFY(disc && disc->exact);
        QCOMPARE(tocParameter(disc->toc), tocParameter(*tocOf(sectors)));
        QCOMPARE(disc->id, libdiscidId(disc->toc));
    }
};

QTEST_GUILESS_MAIN(TestAudioFile)
#include "tst_AudioFile.moc"
