// Loads and then saves the tag of 99 files of 8 MB each, half of them with a
// tag and half without, and prints the time per file. Load reads only the
// first 4 and the last 128 bytes and save writes only 128, so the figures
// should not depend on the file size. Run: bench_load_save [folder]
// (default: a fresh temporary folder, removed afterwards).

#include "classID3_V11.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int kFiles = 99;
constexpr qint64 kFileSize = 8 * 1024 * 1024;

bool makeFile(const QString &path, bool withTag, const QByteArray &audio)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray tail;
    if (withTag) {
        tail = QByteArray("TAG") + QByteArray(122, ' ');
        tail.append('\0').append('\x05').append('\x11');
    }
    if (file.write(audio.left(kFileSize - tail.size())) != kFileSize - tail.size())
        return false;
    return file.write(tail) == tail.size();
}

void report(const char *what, qint64 nsecs, int count)
{
    std::printf("%-5s total %9.3f ms   per file %8.1f us\n", what, double(nsecs) / 1e6,
                double(nsecs) / 1e3 / count);
}

}  // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QTemporaryDir> temp;
    QString folder;
    if (argc > 1) {
        folder = QString::fromLocal8Bit(argv[1]);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "cannot create %s\n", argv[1]);
            return 1;
        }
    } else {
        temp = std::make_unique<QTemporaryDir>();
        if (!temp->isValid()) {
            std::fprintf(stderr, "cannot create a temporary folder\n");
            return 1;
        }
        folder = temp->path();
    }

    QByteArray audio(kFileSize, '\0');
    for (qint64 i = 0; i < kFileSize; ++i)
        audio[i] = static_cast<char>((i * 131) & 0xFF);
    audio[0] = '\xFF';
    audio[1] = '\xFB';

    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("bench%1.mp3").arg(i, 2, 10, QLatin1Char('0')));
        if (!makeFile(path, i % 2 == 0, audio)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        paths << path;
    }
    std::printf("%d files of %lld bytes in %s (%d with a tag)\n", kFiles, kFileSize, qPrintable(folder),
                (kFiles + 1) / 2);

    classID3_V11 tag;
    QElapsedTimer timer;
    qint64 loadNs = 0;
    qint64 saveNs = 0;
    int failures = 0;
    for (const QString &path : paths) {
        tag.SetMP3File(path);
        timer.start();
        const bool loaded = tag.LoadMp3File(QString());
        loadNs += timer.nsecsElapsed();
        if (!loaded) {
            ++failures;
            continue;
        }
        tag.SetTrackName(QStringLiteral("Benchmark"));
        timer.start();
        const bool saved = tag.SaveMp3File(QString());
        saveNs += timer.nsecsElapsed();
        if (!saved)
            ++failures;
    }
    report("load", loadNs, kFiles);
    report("save", saveNs, kFiles);
    report("both", loadNs + saveNs, kFiles);
    if (failures > 0) {
        std::fprintf(stderr, "%d operations failed\n", failures);
        return 1;
    }
    return 0;
}
