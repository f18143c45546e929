// Writes the ID3v1 block and the ID3v2 tag of 99 files as the W key does
// (Id3v2WriteBatch, durable), and the same new tags in place without any
// sync, for comparison. Each file is 8 MB: a v2.3 tag of 2 MB (seven text
// frames and a cover picture, no padding), the audio, an ID3v1 block. Each
// run gives every file a new title that does not fit the tag's space, so
// every file is written anew; the files are made again (and synced) before
// each run. Prints the medians as "write ID3v2 of 99 files: X ms" and
// "write the same tags in place, no sync: Y ms", with the load average.
// Run: bench_write_id3v2 [folder] (default: a fresh temporary folder,
// removed afterwards).

#include "BenchFiles.h"
#include "id3v2/Id3v2Edit.h"
#include "tagfiles/Id3v2WriteBatch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;

QStringList makeFiles(const QString &folder)
{
    QByteArray audio(kBenchFileSize - kBenchId3v2TagSize - 128, '\0');
    for (qint64 k = 0; k < audio.size(); ++k)
        audio[k] = static_cast<char>((k * 131) & 0xFF);
    audio[0] = '\xFF';
    audio[1] = '\xFB';
    const QByteArray block = QByteArray("TAG") + QByteArray(122, ' ') + QByteArray("\0\x05\x11", 3);
    QStringList paths;
    for (int i = 0; i < kBenchFiles; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("w%1.mp3").arg(i, 2, 10, QLatin1Char('0')));
        QFile file(path);
        const QByteArray tag = benchId3v2Tag(i);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(tag) != tag.size()
            || file.write(audio) != audio.size() || file.write(block) != block.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return {};
        }
        paths << path;
    }
    ::sync();
    return paths;
}

TagRecord fields(int i, int run)
{
    return {.Title = QStringLiteral("夜明けの歌 第%1回の%2").arg(run + 1).arg(i + 1), .Artist = "山田太郎",
            .Album = "ベスト盤", .Year = "1998", .TrackNumber = static_cast<quint8>(i + 1), .GenreID = 17};
}

double median(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("?");
}

}  // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QTemporaryDir> temp;
    const QString folder = benchFolder(argc, argv, temp);
    if (folder.isEmpty())
        return 1;
    std::printf("load average before: %s\n", loadAverage().constData());

    std::vector<double> durable;
    std::vector<double> inPlace;
    QElapsedTimer timer;
    for (int run = 0; run < kRuns; ++run) {
        QStringList paths = makeFiles(folder);
        if (paths.isEmpty())
            return 1;
        timer.start();
        {
            Id3v2WriteBatch batch;
            for (int i = 0; i < kBenchFiles; ++i) {
                if (!batch.add(paths.at(i), fields(i, run)).ok()) {
                    std::fprintf(stderr, "%s was refused\n", qPrintable(paths.at(i)));
                    return 1;
                }
            }
            for (const Id3v2WriteBatch::Outcome &outcome : batch.finish()) {
                if (!outcome.result.ok() || !outcome.snapshot) {
                    std::fprintf(stderr, "a file was not written anew\n");
                    return 1;
                }
            }
        }
        durable.push_back(double(timer.nsecsElapsed()) / 1e6);

        // The same new tags written over the front of fresh files, as if they
        // had room, and never synced.
        paths = makeFiles(folder);
        std::vector<QByteArray> tags;
        for (int i = 0; i < kBenchFiles; ++i)
            tags.push_back(editedTagBytes(editId3v2Tag(benchId3v2Tag(i), fields(i, run)), 0));
        timer.start();
        for (int i = 0; i < kBenchFiles; ++i) {
            const QByteArray &tag = tags[static_cast<std::size_t>(i)];
            const int fd = ::open(QFile::encodeName(paths.at(i)).constData(), O_WRONLY | O_CLOEXEC);
            if (fd < 0 || ::pwrite(fd, tag.constData(), static_cast<size_t>(tag.size()), 0) != tag.size()) {
                std::fprintf(stderr, "cannot write %s in place\n", qPrintable(paths.at(i)));
                return 1;
            }
            ::close(fd);
        }
        inPlace.push_back(double(timer.nsecsElapsed()) / 1e6);
        std::printf("run %d: %.1f ms durable, %.1f ms in place\n", run + 1, durable.back(), inPlace.back());
    }
    std::printf("write ID3v2 of %d files: %.1f ms (median of %d)\n", kBenchFiles, median(durable), kRuns);
    std::printf("write the same tags in place, no sync: %.1f ms (median of %d)\n", median(inPlace), kRuns);
    std::printf("load average after: %s\n", loadAverage().constData());
    return 0;
}
