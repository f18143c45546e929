// Times the whole kalvo-cli process, as a script runs it, giving 99 files of
// 8 MB (half with a tag, half without) a track number: start, reading,
// writing and making the files durable, and the end. Each run gives another
// number, so that every file is written every time. Prints the file system,
// the time of each run, and "kalvo-cli set --track on 99 files: X ms" with
// the median of the runs. Then it lists folders of 1,000 and 10,000 small
// files with show, which must take about ten times as long for ten times the
// files, and prints "kalvo-cli show on 10000 files: X ms" and "… on 1000
// files: Y ms", the medians of their runs.
// Run: bench_kalvo_cli [folder] (default: a fresh temporary folder, removed
// afterwards).

#include "BenchFiles.h"
#include "tagfiles/classID3_V11.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kRuns = 11;
constexpr int kShowRuns = 5;

// Runs the program with the arguments, its standard output thrown away when
// quiet; its exit status, or -1 when it could not be started or did not end
// normally.
int runProgram(const QList<QByteArray> &arguments, bool quiet = false)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (quiet)
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A folder of count small files of a kilobyte with a tag; empty when one
// cannot be written.
QString makeSmallMp3Files(const QString &parent, int count)
{
    const QString folder = QDir(parent).filePath(QStringLiteral("show%1").arg(count));
    QByteArray bytes = QByteArray("\xFF\xFB\x90\x00", 4) + QByteArray(1020, '\0') + "TAG" + QByteArray(122, ' ');
    bytes.append('\0').append('\x01').append('\x11');
    if (!QDir().mkpath(folder))
        return QString();
    for (int i = 0; i < count; ++i) {
        QFile file(QDir(folder).filePath(QStringLiteral("%1.mp3").arg(i, 5, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return QString();
    }
    return folder;
}

// The median time of show on the folder, or a negative time when a run
// failed.
double showMedian(const QString &folder)
{
    std::vector<double> times;
    for (int run = 0; run < kShowRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (runProgram({KALVO_CLI, "show", QFile::encodeName(folder)}, true) != 0)
            return -1;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[kShowRuns / 2];
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

    double shown[2] = {};
    const int counts[2] = {10000, 1000};
    for (int i = 0; i < 2; ++i) {
        const QString files = makeSmallMp3Files(folder, counts[i]);
        shown[i] = files.isEmpty() ? -1 : showMedian(files);
        if (shown[i] < 0) {
            std::fprintf(stderr, "show on %d files failed\n", counts[i]);
            return 1;
        }
    }
    std::printf("kalvo-cli show on %d files: %.1f ms\n", counts[0], shown[0]);
    std::printf("kalvo-cli show on %d files: %.1f ms\n", counts[1], shown[1]);
    std::printf("ratio: %.1f\n", shown[0] / shown[1]);
    return 0;
}
