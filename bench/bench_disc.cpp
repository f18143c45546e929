// Times working out the disc of a CD's files, as a lookup does before it
// asks: 12 MP3 files of about 8 MB (LAME, 320 kbit/s, 3 min 20 s each, made
// once with lame and copied), each file's every frame walked and LAME's
// frame checked, then the table of contents and the disc id. Prints the
// time of each run and "disc of 12 files of 8 MB: X ms" with the median.
// The files are read from the page cache after the first run.
// Run: bench_disc [folder] (default: a fresh temporary folder, removed
// afterwards); needs lame.

#include "BenchFiles.h"
#include "common/LameFiles.h"
#include "disc/Toc.h"
#include "tagfiles/AudioFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 11;
constexpr int kTracks = 12;
// 200 s at 320 kbit/s is 8 MB.
constexpr qint64 kTrackSectors = 200 * 75;

}  // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QTemporaryDir> owner;
    const QString folder = benchFolder(argc, argv, owner);
    const QString first = folder + QStringLiteral("/01.mp3");
    if (!QFileInfo::exists(first) && !writeLameMp3(first, kTrackSectors * kSamplesPerSector, {"-b", "320"})) {
        std::fprintf(stderr, "cannot encode %s with lame\n", qPrintable(first));
        return 1;
    }
    QStringList paths{first};
    for (int track = 2; track <= kTracks; ++track) {
        paths << folder + QStringLiteral("/%1.mp3").arg(track, 2, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(paths.last()) && !QFile::copy(first, paths.last()))
            return 1;
    }
    std::printf("%d files of %lld bytes\n", kTracks, static_cast<long long>(QFileInfo(first).size()));
    std::vector<qint64> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        QList<AudioLength> lengths;
        for (const QString &path : paths)
            lengths << readAudioLength(path).audio;
        const std::optional<Disc> disc = discOf(lengths);
        const qint64 ms = timer.elapsed();
        if (!disc || !disc->exact) {
            std::fprintf(stderr, "no exact disc\n");
            return 1;
        }
        std::printf("run %d: %lld ms, %s\n", run + 1, static_cast<long long>(ms), qPrintable(disc->id));
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("disc of %d files of 8 MB: %lld ms\n", kTracks, static_cast<long long>(times[kRuns / 2]));
    return 0;
}
