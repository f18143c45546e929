// What a save costs on the same 99 files of 8 MB, each with a v2.3 tag of
// 2 MB (seven text frames and a cover picture) and an ID3v1 block, every
// write durable:
//   S, the 128-byte blocks only (TagWriteBatch);
//   W where the edited tags fit the files' padding: in place, journal
//   included (Id3v2WriteBatch); the cover follows the texts and stays where
//   it is, the texts before it laid out again; then again with the cover
//   first, the texts after it;
//   W where they do not (no padding): every file written anew;
//   and, as the yardstick for the last, copying the same files with
//   `dd bs=1M conv=fdatasync`.
// The files are made again (and flushed) before each kind of write, then
// dropped from the page cache and read as Kalvo loads them, so that each
// write finds them as a save after loading does. Prints
// the medians of five runs as "save 99 files (S): X ms", "write ID3v2 of 99
// files in place: Y ms", "… in place, cover first: Y2 ms", "write ID3v2 of
// 99 files anew: Z ms" and "copy 99 files with dd conv=fdatasync: D ms",
// with the load average.
// Run: bench_write_id3v2 [folder] (default: a fresh temporary folder,
// removed afterwards).

#include "BenchFiles.h"
#include "files/FileIdentity.h"
#include "id3v2/Id3v2InStep.h"
#include "tagfiles/Id3v2WriteBatch.h"
#include "tagfiles/Id3v2File.h"
#include "tagfiles/TagWriteBatch.h"
#include "tagfiles/classID3_V11.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr qint64 kPadding = 4096;

// The bench tag with padding bytes after its frames.
QByteArray withPadding(QByteArray tag, qint64 padding)
{
    if (padding == 0)
        return tag;
    const qint64 size = tag.size() - 10 + padding;
    for (int k = 0; k < 4; ++k)
        tag[6 + k] = static_cast<char>((size >> (7 * (3 - k))) & 0x7F);
    return tag + QByteArray(padding, '\0');
}

QStringList makeFiles(const QString &folder, qint64 padding, bool pictureFirst = false)
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
        const QByteArray tag = withPadding(benchId3v2Tag(i, pictureFirst), padding);
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

// Puts the files in the state a save finds them in: read from the disk as
// Kalvo loads them (the block at the end, the ID3v2 tag at the front), not
// as the page cache holds files just written. False on a failure.
bool loadAsKalvoDoes(const QStringList &paths)
{
    for (const QString &path : paths) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        const bool dropped = fd >= 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
        if (fd >= 0)
            ::close(fd);
        classID3_V11 tag;
        if (!dropped || !tag.LoadMp3File(path) || readId3v2Text(path).state != Id3v2State::Read)
            return false;
    }
    return true;
}

// New fields for track i: a new title each run; a title longer than the
// old one by more than the tag's other changes free when grows.
TagRecord fields(int i, int run, bool grows = false)
{
    const QString title = grows ? QStringLiteral("夜明けの歌と朝の光 第%1回の%2").arg(run + 1).arg(i + 1)
                                : QStringLiteral("夜明けの歌 第%1回の%2").arg(run + 1).arg(i + 1);
    return {.Title = title, .Artist = "山田太郎", .Album = "ベスト盤", .Year = "1998", .Comment = "good",
            .TrackNumber = static_cast<quint8>(i + 1), .GenreID = 17};
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

// S on every file; the milliseconds, or a negative number on a failure.
double saveBlocks(const QStringList &paths, int run)
{
    QElapsedTimer timer;
    timer.start();
    TagWriteBatch batch;
    for (int i = 0; i < paths.size(); ++i)
        if (!batch.add(paths.at(i), fields(i, run)).result.ok())
            return -1;
    if (!batch.finish().isEmpty())
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

// W on every file; the milliseconds, or a negative number on a failure or
// when a file was (or was not) written anew against what inPlace says.
double writeId3v2(const QStringList &paths, int run, bool inPlace)
{
    std::vector<std::optional<FileIdentity>> before;
    for (const QString &path : paths)
        before.push_back(fileIdentity(path));
    QElapsedTimer timer;
    timer.start();
    {
        Id3v2WriteBatch batch;
        for (int i = 0; i < paths.size(); ++i)
            if (!batch.add(paths.at(i), fields(i, run, !inPlace), kAllId3v2Fields).ok())
                return -1;
        for (const Id3v2WriteBatch::Outcome &outcome : batch.finish())
            if (!outcome.result.ok())
                return -1;
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    for (int i = 0; i < paths.size(); ++i)
        if ((fileIdentity(paths.at(i)) == before[static_cast<std::size_t>(i)]) != inPlace)
            return -1;
    return elapsed;
}

// Each file copied with dd, synced; the milliseconds, or a negative number.
double copyWithDd(const QStringList &paths)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : paths) {
        const int code = QProcess::execute(QStringLiteral("dd"), {QStringLiteral("if=") + path,
                                                                  QStringLiteral("of=") + path + QStringLiteral(".copy"),
                                                                  QStringLiteral("bs=1M"), QStringLiteral("conv=fdatasync"),
                                                                  QStringLiteral("status=none")});
        if (code != 0)
            return -1;
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    for (const QString &path : paths)
        QFile::remove(path + QStringLiteral(".copy"));
    return elapsed;
}

}  // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QTemporaryDir> temp;
    const QString folder = benchFolder(argc, argv, temp);
    if (folder.isEmpty())
        return 1;
    std::printf("load average before: %s\n", loadAverage().constData());

    std::vector<double> save, inPlace, coverFirst, anew, copy;
    for (int run = 0; run < kRuns; ++run) {
        // S, then W, on the same files with room for the edited tags.
        QStringList paths = makeFiles(folder, kPadding);
        if (paths.isEmpty() || !loadAsKalvoDoes(paths))
            return 1;
        save.push_back(saveBlocks(paths, run));
        inPlace.push_back(writeId3v2(paths, run, true));
        paths = makeFiles(folder, kPadding, true);
        if (paths.isEmpty() || !loadAsKalvoDoes(paths))
            return 1;
        coverFirst.push_back(writeId3v2(paths, run, true));
        paths = makeFiles(folder, 0);
        if (paths.isEmpty() || !loadAsKalvoDoes(paths))
            return 1;
        anew.push_back(writeId3v2(paths, run, false));
        copy.push_back(copyWithDd(paths));
        if (std::min({save.back(), inPlace.back(), coverFirst.back(), anew.back(), copy.back()}) < 0) {
            std::fprintf(stderr, "run %d: a write failed, or was not the kind measured\n", run + 1);
            return 1;
        }
        std::printf("run %d: S %.1f ms, in place %.1f ms (cover first %.1f ms), anew %.1f ms, dd %.1f ms\n", run + 1,
                    save.back(), inPlace.back(), coverFirst.back(), anew.back(), copy.back());
    }
    std::printf("save %d files (S): %.1f ms\n", kBenchFiles, median(save));
    std::printf("write ID3v2 of %d files in place: %.1f ms\n", kBenchFiles, median(inPlace));
    std::printf("write ID3v2 of %d files in place, cover first: %.1f ms\n", kBenchFiles, median(coverFirst));
    std::printf("write ID3v2 of %d files anew: %.1f ms\n", kBenchFiles, median(anew));
    std::printf("copy %d files with dd conv=fdatasync: %.1f ms\n", kBenchFiles, median(copy));
    std::printf("(medians of %d runs)\nload average after: %s\n", kRuns, loadAverage().constData());
    return 0;
}
