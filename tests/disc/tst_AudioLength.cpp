// The length of an MP3 file's audio from its bytes: frame headers, LAME's
// information frame, and files that are no audio or lie about their frames,
// on bytes built here frame by frame.

#include "disc/AudioLength.h"
#include "disc/MpegFrame.h"

#include "common/Id3v2Bytes.h"

#include <QTest>

namespace {

// A frame of silence: its four header bytes, then zeros to its size.
QByteArray frame(const char *header = "\xFF\xFB\x90\x64")
{
    QByteArray bytes(header, kMpegHeaderBytes);
    bytes.resize(readMpegFrameHeader(bytes)->frameBytes(), '\0');
    return bytes;
}

QByteArray frames(int count, const char *header = "\xFF\xFB\x90\x64")
{
    return frame(header).repeated(count);
}

// LAME's information frame: "Info" where LAME puts it (after the side
// information, at `at`), all four fields, and its extension.
QByteArray infoFrame(quint32 count, int delay, int padding, const char *header = "\xFF\xFB\x90\x64", int at = 36,
                     const char *encoder = "LAME3.100")
{
    QByteArray info = "Info" + bigEndian32(15) + bigEndian32(count) + bigEndian32(0) + QByteArray(104, '\0');
    QByteArray lame = QByteArray(encoder).leftJustified(21, '\0');
    lame += char(delay >> 4);
    lame += char(((delay & 0xF) << 4) | (padding >> 8));
    lame += char(padding & 0xFF);
    QByteArray bytes = frame(header);
    bytes.replace(at, info.size() + lame.size() + 12, info + lame.leftJustified(lame.size() + 12, '\0'));
    return bytes;
}

QByteArray junk(int size)
{
    return QByteArray(size, 'x');
}

// An APE tag with a header, an item of size bytes, and its footer.
QByteArray apeTag(int size)
{
    const auto part = [&](bool header) {
        QByteArray bytes = "APETAGEX" + QByteArray("\xD0\x07\0\0", 4);
        const quint32 length = quint32(size) + 32;
        for (int i = 0; i < 4; ++i)
            bytes += char((length >> (8 * i)) & 0xFF);
        bytes += QByteArray("\1\0\0\0", 4) + QByteArray("\0\0\0", 3) + char(header ? 0xA0 : 0x80) + QByteArray(8, '\0');
        return bytes;
    };
    return part(true) + QByteArray(size, 'a') + part(false);
}

// An ID3v1 block whose title holds a frame header ending at the block's end.
QByteArray id3v1WithHeader()
{
    QByteArray block = "TAG" + QByteArray(125, '\0');
    block.replace(24, 4, "\xFF\xFB\x10\x64");
    return block;
}

QString reading(const AudioLength &length)
{
    if (length.problem != AudioProblem::None)
        return QString::fromUtf16(audioProblemReason(length.problem));
    return QStringLiteral("%1 at %2%3").arg(length.samples).arg(length.sampleRate).arg(length.exact ? " exact" : "");
}

// Bytes that fail to read past a point, and count the reads.
class WatchedBytes : public MemoryAudioBytes
{
public:
    WatchedBytes(QByteArrayView bytes, qint64 failFrom) : MemoryAudioBytes(bytes), failFrom_(failFrom) {}
    qint64 read(qint64 offset, char *out, qint64 count) override
    {
        if (offset + count > failFrom_)
            return -1;
        ++reads;
        const qint64 read = MemoryAudioBytes::read(offset, out, count);
        bytesRead += read;
        return read;
    }
    qint64 reads = 0;
    qint64 bytesRead = 0;

private:
    qint64 failFrom_;
};

constexpr int kLameSamples = 10 * 1152 - 576 - 1000;

}  // namespace

class TestAudioLength : public QObject
{
    Q_OBJECT

private slots:
    void header_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("header");
        const auto row = [](const char *name, const char *bytes, const char *header) {
            QTest::newRow(name) << QByteArray(bytes, 4) << QString::fromLatin1(header);
        };
        row("MPEG-1 128 kbit/s 44.1 kHz", "\xFF\xFB\x90\x64", "44100 128000 417 1152 32");
        row("padded", "\xFF\xFB\x92\x64", "44100 128000 418 1152 32");
        row("mono", "\xFF\xFB\x90\xC4", "44100 128000 417 1152 17");
        row("with CRC", "\xFF\xFA\x90\x64", "44100 128000 417 1152 32 crc");
        row("MPEG-2", "\xFF\xF3\x90\x64", "22050 80000 261 576 17");
        row("MPEG-2 mono", "\xFF\xF3\x90\xC4", "22050 80000 261 576 9");
        row("MPEG-2.5 8 kHz", "\xFF\xE3\x98\x64", "8000 80000 720 576 17");
        row("largest frame", "\xFF\xFB\xEA\x64", "32000 320000 1441 1152 32");
        row("free format", "\xFF\xFB\x00\x64", "none");
        row("bitrate index 15", "\xFF\xFB\xF0\x64", "none");
        row("sample rate index 3", "\xFF\xFB\x9C\x64", "none");
        row("reserved version", "\xFF\xEB\x90\x64", "none");
        row("Layer II", "\xFF\xFD\x90\x64", "none");
        row("Layer I", "\xFF\xFF\x90\x64", "none");
        row("reserved emphasis", "\xFF\xFB\x90\x66", "none");
        row("no sync", "\xFF\x7B\x90\x64", "none");
        QTest::newRow("three bytes") << QByteArray("\xFF\xFB\x90") << QStringLiteral("none");
    }
    void header()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, header);
        const std::optional<MpegFrameHeader> read = readMpegFrameHeader(bytes);
        const QString text = !read ? QStringLiteral("none")
                                   : QStringLiteral("%1 %2 %3 %4 %5%6")
                                         .arg(read->sampleRate)
                                         .arg(read->bitrate)
                                         .arg(read->frameBytes())
                                         .arg(read->samplesPerFrame())
                                         .arg(read->sideInfoBytes())
                                         .arg(read->hasCrc ? " crc" : "");
        QCOMPARE(text, header);
        QVERIFY(!read || read->frameBytes() <= kMaxMpegFrameBytes);
    }

    void length_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("length");
        const QString lame = QStringLiteral("%1 at 44100 exact").arg(kLameSamples);
        const QByteArray stream = infoFrame(10, 576, 1000) + frames(10);
        QTest::newRow("LAME: frames × 1152 − delay − padding") << stream << lame;
        QTest::newRow("no information frame: every frame") << frames(10) << "11520 at 44100";
        QTest::newRow("Xing of another encoder: its frame is no audio")
            << infoFrame(10, 576, 1000, "\xFF\xFB\x90\x64", 36, "XYZ") + frames(10) << "11520 at 44100";
        QTest::newRow("LAME counts a frame more") << infoFrame(11, 576, 1000) + frames(10) << "LAMEの情報フレームが音声のフレーム数と合わない";
        QTest::newRow("LAME counts its own frame") << infoFrame(10, 576, 1000) + frames(9) << "LAMEの情報フレームが音声のフレーム数と合わない";
        QTest::newRow("delay and padding past the samples") << infoFrame(1, 4095, 4095) + frames(1) << "LAMEの情報フレームが音声のフレーム数と合わない";
        QTest::newRow("CRC, LAME's place") << infoFrame(1, 576, 0, "\xFF\xFA\x90\x64", 36) + frames(1, "\xFF\xFA\x90\x64") << "576 at 44100 exact";
        QTest::newRow("CRC, after it") << infoFrame(1, 576, 0, "\xFF\xFA\x90\x64", 38) + frames(1, "\xFF\xFA\x90\x64") << "576 at 44100 exact";
        QTest::newRow("mono") << infoFrame(1, 576, 0, "\xFF\xFB\x90\xC4", 21) + frames(1, "\xFF\xFB\x90\xC4") << "576 at 44100 exact";
        QTest::newRow("MPEG-2: 576 a frame") << infoFrame(2, 576, 0, "\xFF\xF3\x90\x64", 21) + frames(2, "\xFF\xF3\x90\x64") << "576 at 22050 exact";
        QTest::newRow("after an ID3v2 tag holding frames") << id3v2Tag(3, frames(3) + QByteArray(3000, '\0')) + stream << lame;
        QTest::newRow("malformed ID3v2 header") << "ID3\x05" + QByteArray(6, '\0') + stream << "MP3の音声でない";
        QTest::newRow("ID3v1 holding a frame header") << stream + id3v1WithHeader() << lame;
        QTest::newRow("APE tag larger than the stray bytes allowed") << stream + apeTag(kMaxStrayBytes) + id3v1WithHeader() << lame;
        QTest::newRow("last frame cut short") << stream + frame().left(200) << lame;
        QTest::newRow("stray bytes between frames") << infoFrame(10, 576, 1000) + frames(5) + junk(1000) + frames(5) << lame;
        QTest::newRow("stray bytes, all allowed") << stream + junk(kMaxStrayBytes) << lame;
        QTest::newRow("stray bytes, one too many") << stream + junk(kMaxStrayBytes + 1) << "MP3の音声でない";
        QTest::newRow("first frame at the allowance") << junk(kMaxStrayBytes - 1) + stream << lame;
        QTest::newRow("first frame past it") << junk(kMaxStrayBytes + 1) + stream << "MP3の音声でない";
        QTest::newRow("one header alone") << junk(10) + QByteArray("\xFF\xFB\x90\x64") + junk(1000) << "MP3の音声でない";
        QTest::newRow("frames of another sample rate") << frames(10) + frames(10, "\xFF\xF3\x90\x64") << "11520 at 44100";
        QTest::newRow("no sample") << infoFrame(1, 576, 576) + frames(1) << "音声がない";
        QTest::newRow("empty file") << QByteArray() << "MP3の音声でない";
        // 8 kHz, 8 kbit/s: 72-byte frames of 576 samples; a disc holds
        // 404,850 sectors after the lead-in, 43,184,000 samples at 8 kHz.
        QTest::newRow("longest a disc holds") << frames(74972, "\xFF\xE3\x18\x64") << "43183872 at 8000";
        QTest::newRow("a frame longer") << frames(74973, "\xFF\xE3\x18\x64") << "CD1枚に収まらないほど長い";
    }
    void length()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, length);
        MemoryAudioBytes audio(bytes);
        QCOMPARE(reading(measureAudio(audio)), length);
    }

    // A file of frames without end is read only as far as a CD could be long
    // (a frame header a read), one of no frames only as far as the stray
    // bytes allowed, and a file that fails to read is unreadable, whatever
    // it held before.
    void readingStops()
    {
        const QByteArray tooLong = frames(2 * 74973, "\xFF\xE3\x18\x64");
        WatchedBytes watched(tooLong, tooLong.size() + 1);
        QCOMPARE(measureAudio(watched).problem, AudioProblem::TooLong);
        QVERIFY2(watched.reads < 74973 + 100, qPrintable(QString::number(watched.reads)));

        const QByteArray noFrames = junk(4 * kMaxStrayBytes);
        WatchedBytes scanned(noFrames, noFrames.size() + 1);
        QCOMPARE(measureAudio(scanned).problem, AudioProblem::NoMpegAudio);
        QVERIFY2(scanned.bytesRead < 2 * kMaxStrayBytes, qPrintable(QString::number(scanned.bytesRead)));

        const QByteArray stream = infoFrame(10, 576, 1000) + frames(10);
        WatchedBytes failing(stream, stream.size() / 2);
        QCOMPARE(measureAudio(failing).problem, AudioProblem::Unreadable);
    }
};

QTEST_GUILESS_MAIN(TestAudioLength)
#include "tst_AudioLength.moc"
