// Times the whole kalvo-cli process, as a script runs it, giving 99 files of
// 8 MB (half with a tag, half without) a track number: start, reading,
// writing and making the files durable, and the end. Each run gives another
// number, so that every file is written every time. Prints the file system,
// the time of each run, and "kalvo-cli set --track on 99 files: X ms" with
// the median of the runs.
// Run: bench_kalvo_cli [folder] (default: a fresh temporary folder, removed
// afterwards).

#include "BenchFiles.h"
#include "tagfiles/classID3_V11.h"

#include <QElapsedTimer>
#include <QStorageInfo>

#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kRuns = 11;

// Runs the program with the arguments; its exit status, or -1 when it could
// not be started or did not end normally.
int runProgram(const QList<QByteArray> &arguments)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
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
    std::printf("%d files of %lld bytes in %s (%s on %s)\n", kBenchFiles, kBenchFileSize, qPrintable(folder),
                QStorageInfo(folder).fileSystemType().constData(), QStorageInfo(folder).device().constData());

    std::vector<double> times;
    for (int run = 1; run <= kRuns; ++run) {
        QList<QByteArray> arguments = {KALVO_CLI, "set", "--track", QByteArray::number(run)};
        for (const QString &path : paths)
            arguments << path.toLocal8Bit();
        QElapsedTimer timer;
        timer.start();
        const int status = runProgram(arguments);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        classID3_V11 tag;
        if (status != 0 || !tag.LoadMp3File(paths.back()) || tag.GetTrackNumber() != run) {
            std::fprintf(stderr, "run %d: status %d, the files do not have track %d\n", run, status, run);
            return 1;
        }
        std::printf("run %2d: %.1f ms\n", run, times.back());
    }
    std::sort(times.begin(), times.end());
    std::printf("kalvo-cli set --track on %d files: %.1f ms\n", kBenchFiles, times[kRuns / 2]);
    return 0;
}
