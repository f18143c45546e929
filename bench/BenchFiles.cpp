#include "BenchFiles.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <unistd.h>

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
