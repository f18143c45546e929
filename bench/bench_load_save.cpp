// Loads and then saves the tag of 99 files of 8 MB each, half of them with a
// tag and half without, and prints the time per file. Load reads only the
// first 4 and the last 128 bytes and save writes only 128, so the figures
// should not depend on the file size. Run: bench_load_save [folder]
// (default: a fresh temporary folder, removed afterwards).

#include "BenchFiles.h"
#include "tagfiles/classID3_V11.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

void report(const char *what, qint64 nsecs, int count)
{
    std::printf("%-5s total %9.3f ms   per file %8.1f us\n", what, double(nsecs) / 1e6,
                double(nsecs) / 1e3 / count);
}

}  // namespace

int main(int argc, char **argv)
{
    std::unique_ptr<QTemporaryDir> temp;
    const QString folder = benchFolder(argc, argv, temp);
    if (folder.isEmpty())
        return 1;
    const QStringList paths = makeBenchMp3Files(folder, [](int i) { return i % 2 == 0; });
    if (paths.isEmpty())
        return 1;
    std::printf("%d files of %lld bytes in %s (%d with a tag)\n", kBenchFiles, kBenchFileSize, qPrintable(folder),
                (kBenchFiles + 1) / 2);

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
    report("load", loadNs, kBenchFiles);
    report("save", saveNs, kBenchFiles);
    report("both", loadNs + saveNs, kBenchFiles);
    if (failures > 0) {
        std::fprintf(stderr, "%d operations failed\n", failures);
        return 1;
    }
    return 0;
}
