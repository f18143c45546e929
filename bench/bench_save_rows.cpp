// Loads 99 tagged MP3 files of 8 MB into the main window's list, gives every
// row a new track number, and saves all rows with Shift+S, through the real
// window offscreen. Then, on the same files, it measures the floor: the same
// 99 blocks written with pwrite(2) (opening included) and then synced by
// fdatasync(2) from 4 threads. Prints the file system and, on lines of their
// own, "load 99 rows: X ms", "save 99 rows: Y ms" and "floor: Z ms".
// Run: bench_save_rows [folder] (default: a fresh temporary folder, removed
// afterwards), with QT_QPA_PLATFORM=offscreen.

#include "BenchFiles.h"
#include "FileRow.h"
#include "LauncherWindow.h"
#include "TailFile.h"
#include "frmID3Launcher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QTreeWidget>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFloorThreads = 4;

double milliseconds(qint64 nsecs)
{
    return double(nsecs) / 1e6;
}

// The last 128 bytes of each file; false when one cannot be read.
bool readTails(const QStringList &paths, std::vector<TagBlock> &tails)
{
    for (const QString &path : paths) {
        qint64 length = 0;
        const FileDescriptor file = openRegularFile(path, O_RDONLY, length);
        TagBlock tail{};
        if (!file.isOpen() || readAt(file.get(), tail.data(), kTagBlockSize, length - kTagBlockSize) != kTagBlockSize)
            return false;
        tails.push_back(tail);
    }
    return true;
}

// Opens each file, writes its block back over its last 128 bytes, syncs all
// files from kFloorThreads threads, and gives the time taken; -1 on a failure.
qint64 floorNs(const QStringList &paths, const std::vector<TagBlock> &blocks)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<FileDescriptor> files;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        qint64 length = 0;
        files.push_back(openRegularFile(paths.at(i), O_RDWR, length));
        if (!files.back().isOpen() || !writeAt(files.back().get(), blocks.at(std::size_t(i)), length - kTagBlockSize))
            return -1;
    }
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    const auto syncFiles = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            if (::fdatasync(files[i].get()) != 0)
                failed = true;
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < kFloorThreads; ++t)
        threads.emplace_back(syncFiles);
    for (std::thread &thread : threads)
        thread.join();
    files.clear();
    return failed ? -1 : timer.nsecsElapsed();
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<QTemporaryDir> temp;
    const QString folder = benchFolder(argc, argv, temp);
    if (folder.isEmpty())
        return 1;
    const QStringList paths = makeBenchMp3Files(folder, [](int) { return true; });
    if (paths.isEmpty())
        return 1;
    std::printf("%d tagged files of %lld bytes in %s (%s on %s)\n", kBenchFiles, kBenchFileSize, qPrintable(folder),
                QStorageInfo(folder).fileSystemType().constData(), QStorageInfo(folder).device().constData());

    LauncherWindow window(QDir(folder).filePath(QStringLiteral("program")));
    window.show();
    QCoreApplication::processEvents();
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("lvMP3List"));

    QElapsedTimer timer;
    timer.start();
    window.logic().lvMP3List_OLEDragDrop(paths);
    const qint64 loadNs = timer.nsecsElapsed();
    QCoreApplication::processEvents();
    if (list->topLevelItemCount() != kBenchFiles) {
        std::fprintf(stderr, "only %d rows loaded\n", list->topLevelItemCount());
        return 1;
    }

    for (int row = 0; row < kBenchFiles; ++row) {
        list->topLevelItem(row)->setText(livTrackNo, QString::number(row + 1));
        list->topLevelItem(row)->setText(livChanged, QStringLiteral("*"));
    }
    QCoreApplication::processEvents();
    QKeyEvent shiftS(QEvent::KeyPress, Qt::Key_S, Qt::ShiftModifier, QStringLiteral("S"));
    timer.start();
    QCoreApplication::sendEvent(list, &shiftS);
    const qint64 saveNs = timer.nsecsElapsed();
    for (int row = 0; row < kBenchFiles; ++row) {
        if (!list->topLevelItem(row)->text(livChanged).isEmpty()) {
            std::fprintf(stderr, "row %d was not saved\n", row + 1);
            return 1;
        }
    }

    std::vector<TagBlock> blocks;
    const qint64 floor = readTails(paths, blocks) ? floorNs(paths, blocks) : -1;
    if (floor < 0) {
        std::fprintf(stderr, "the floor could not be measured\n");
        return 1;
    }
    std::printf("load %d rows: %.1f ms\n", kBenchFiles, milliseconds(loadNs));
    std::printf("save %d rows: %.1f ms\n", kBenchFiles, milliseconds(saveNs));
    std::printf("floor: %.1f ms\n", milliseconds(floor));
    return 0;
}
