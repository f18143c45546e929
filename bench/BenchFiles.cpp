#include "BenchFiles.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace {

QByteArray bigEndian(qint64 n)
{
    const char bytes[] = {char(n >> 24 & 0xFF), char(n >> 16 & 0xFF), char(n >> 8 & 0xFF), char(n & 0xFF)};
    return QByteArray(bytes, 4);
}

QByteArray syncsafe(qint64 n)
{
    const char bytes[] = {char(n >> 21 & 0x7F), char(n >> 14 & 0x7F), char(n >> 7 & 0x7F), char(n & 0x7F)};
    return QByteArray(bytes, 4);
}

QByteArray frame(const char *id, const QByteArray &data)
{
    return QByteArray(id, 4) + bigEndian(data.size()) + QByteArray(2, '\0') + data;
}

// A text frame in UTF-16 with a byte order mark, as rippers write v2.3.
QByteArray textFrame(const char *id, const QString &text)
{
    QByteArray data("\x01\xFF\xFE", 3);
    for (const QChar c : text)
        data.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return frame(id, data);
}

}  // namespace

QString benchFolder(int argc, char **argv, std::unique_ptr<QTemporaryDir> &folderOwner)
{
    if (argc > 1) {
        const QString folder = QString::fromLocal8Bit(argv[1]);
        if (QDir().mkpath(folder))
            return folder;
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return QString();
    }
    folderOwner = std::make_unique<QTemporaryDir>();
    if (folderOwner->isValid())
        return folderOwner->path();
    std::fprintf(stderr, "cannot create a temporary folder\n");
    return QString();
}

QStringList makeBenchMp3Files(const QString &folder, bool (*withTag)(int i))
{
    QByteArray audio(kBenchFileSize, '\0');
    for (qint64 i = 0; i < kBenchFileSize; ++i)
        audio[i] = static_cast<char>((i * 131) & 0xFF);
    audio[0] = '\xFF';
    audio[1] = '\xFB';
    QByteArray tag = QByteArray("TAG") + QByteArray(122, ' ');
    tag.append('\0').append('\x05').append('\x11');

    QStringList paths;
    for (int i = 0; i < kBenchFiles; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("bench%1.mp3").arg(i, 2, 10, QLatin1Char('0')));
        const QByteArray tail = withTag(i) ? tag : QByteArray();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(audio.left(kBenchFileSize - tail.size())) != kBenchFileSize - tail.size()
            || file.write(tail) != tail.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return {};
        }
        paths << path;
    }
    ::sync();
    return paths;
}

QByteArray benchId3v2Tag(int i, bool pictureFirst)
{
    const QByteArray texts = textFrame("TIT2", QStringLiteral("夜明けの歌 %1").arg(i + 1))
                        + textFrame("TPE1", QStringLiteral("山田太郎")) + textFrame("TALB", QStringLiteral("ベスト盤"))
                        + textFrame("TYER", QStringLiteral("1998")) + textFrame("TRCK", QStringLiteral("%1/99").arg(i + 1))
                        + textFrame("TCON", QStringLiteral("(17)"))
                        + frame("COMM", QByteArray("\x01jpn\xFF\xFE\0\0\xFF\xFE", 10) + QByteArray("g\0o\0o\0d\0", 8));
    const QByteArray pictureHead("\x00image/jpeg\x00\x03\x00\xFF\xD8\xFF\xE0", 17);
    const qint64 pictureSize = kBenchId3v2TagSize - 10 - texts.size() - 10;
    QByteArray picture = pictureHead;
    picture.reserve(pictureSize);
    for (qint64 k = pictureHead.size(); k < pictureSize; ++k)
        picture.append(char((k * 131 + i) & 0x7F));
    const QByteArray frames = pictureFirst ? frame("APIC", picture) + texts : texts + frame("APIC", picture);
    return QByteArray("ID3\x03\x00\x00", 6) + syncsafe(frames.size()) + frames;
}
