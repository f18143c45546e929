// Starts the main window on a folder of 100,000 entries, 98 of them MP3 files
// and the rest other small files, as `kalvo FOLDER` does, through the real
// window offscreen. Prints "folder of 100000 entries: X ms" (from handing the
// folder over until the shown window has laid out its rows) and "peak memory:
// Y MB" (the process's largest resident set, getrusage(2) ru_maxrss, which
// includes making the files), beside the peak before the folder was opened.
// Run: bench_open_folder [folder] (default: a fresh temporary folder, removed
// afterwards; a folder given keeps its files for the next run), with
// QT_QPA_PLATFORM=offscreen.

#include "BenchFiles.h"
#include "launcher/frmID3Launcher.h"
#include "platform/LauncherWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTreeWidget>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kEntries = 100000;
constexpr int kMp3Files = 98;

// A file already there from an earlier run is left as it is.
bool writeSmallFile(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno == EEXIST;
    const bool written = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

// The MP3 files are spread evenly among the others; the files are flushed to
// the disk.
bool makeFolder(const QString &folder)
{
    const QByteArray mp3 = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(252, '\x55');
    const QByteArray other("not audio\n");
    const int every = kEntries / kMp3Files;
    for (int i = 0; i < kEntries; ++i) {
        const bool isMp3 = i % every == 0 && i / every < kMp3Files;
        const QString name = isMp3 ? QStringLiteral("track %1.mp3").arg(i) : QStringLiteral("note %1.txt").arg(i);
        if (!writeSmallFile(folder + u'/' + name, isMp3 ? mp3 : other))
            return false;
    }
    // Their write-back would disturb what is measured next.
    ::sync();
    return true;
}

double peakMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<QTemporaryDir> temp;
    const QString folder = benchFolder(argc, argv, temp);
    if (folder.isEmpty() || !makeFolder(folder)) {
        std::fprintf(stderr, "cannot make the folder's files\n");
        return 1;
    }
    LauncherWindow window(QDir(folder).filePath(QStringLiteral("program")));
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("lvMP3List"));
    const double peakBefore = peakMegabytes();

    QElapsedTimer timer;
    timer.start();
    window.logic().AddCommandLineFiles({folder}, QDir::currentPath());
    window.show();
    QCoreApplication::processEvents();
    const qint64 openNs = timer.nsecsElapsed();
    if (list->topLevelItemCount() != kMp3Files) {
        std::fprintf(stderr, "%d rows instead of %d\n", list->topLevelItemCount(), kMp3Files);
        return 1;
    }
    std::printf("folder of %d entries: %.0f ms\n", kEntries, double(openNs) / 1e6);
    std::printf("peak memory: %.1f MB (%.1f MB before the folder was opened)\n", peakMegabytes(), peakBefore);
    return 0;
}
