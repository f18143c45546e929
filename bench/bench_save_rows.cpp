// Loads 99 MP3 files of 8 MB, half of them with a tag and half without, into
// the main window's list, gives every row a new track number, and saves all
// rows with Shift+S, through the real window offscreen. Then it measures the
// floor on the same files, put back as they were: the same 99 blocks written
// at the same offsets with pwrite(2) (opening included) and synced by
// fdatasync(2) from 4 threads. Prints the file system and, on lines of their
// own, "load 99 rows: X ms", "save 99 rows: Y ms" and "floor: Z ms".
// Run: bench_save_rows [folder] (default: a fresh temporary folder, removed
// afterwards), with QT_QPA_PLATFORM=offscreen.

#include "BenchFiles.h"
#include "files/FileDescriptor.h"
#include "id3v1/TagBlock.h"
#include "launcher/frmID3Launcher.h"
#include "platform/LauncherWindow.h"
#include "services/FileRow.h"

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

bool hasTag(int i)
{
    return i % 2 == 0;
}

double milliseconds(qint64 nsecs)
{
    return double(nsecs) / 1e6;
}

// A block the save wrote, and where.
struct SavedBlock {
    TagBlock block{};
    qint64 offset = 0;
};

// Reads back the block each file got from the save, and puts every file back
// as it was before: a block appended to a file without a tag is cut off again.
// False when a file cannot be read or cut.
bool takeBackSavedBlocks(const QStringList &paths, std::vector<SavedBlock> &saved)
{
    for (int i = 0; i < paths.size(); ++i) {
        qint64 length = 0;
        const FileDescriptor file = openRegularFile(paths.at(i), O_RDWR, length);
        SavedBlock block;
        block.offset = length - kTagBlockSize;
        if (!file.isOpen() || readAt(file.get(), block.block.data(), kTagBlockSize, block.offset) != kTagBlockSize)
            return false;
        if (!hasTag(i) && ::ftruncate(file.get(), static_cast<off_t>(block.offset)) != 0)
            return false;
        saved.push_back(block);
    }
    ::sync();
    return true;
}

// Opens each file, writes its block where the save wrote it, syncs all files
// from kFloorThreads threads, and gives the time taken; -1 on a failure.
qint64 floorNs(const QStringList &paths, const std::vector<SavedBlock> &saved)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<FileDescriptor> files;
    for (int i = 0; i < paths.size(); ++i) {
        qint64 length = 0;
        const SavedBlock &block = saved.at(std::size_t(i));
        files.push_back(openRegularFile(paths.at(i), O_RDWR, length));
        if (!files.back().isOpen() || !writeAt(files.back().get(), block.block.data(), kTagBlockSize, block.offset))
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
    const QStringList paths = makeBenchMp3Files(folder, hasTag);
    if (paths.isEmpty())
        return 1;
    std::printf("%d files of %lld bytes, %d with a tag, in %s (%s on %s)\n", kBenchFiles, kBenchFileSize,
                (kBenchFiles + 1) / 2, qPrintable(folder), QStorageInfo(folder).fileSystemType().constData(),
                QStorageInfo(folder).device().constData());

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

    std::vector<SavedBlock> saved;
    const qint64 floor = takeBackSavedBlocks(paths, saved) ? floorNs(paths, saved) : -1;
    if (floor < 0) {
        std::fprintf(stderr, "the floor could not be measured\n");
        return 1;
    }
    std::printf("load %d rows: %.1f ms\n", kBenchFiles, milliseconds(loadNs));
    std::printf("save %d rows: %.1f ms\n", kBenchFiles, milliseconds(saveNs));
    std::printf("floor: %.1f ms\n", milliseconds(floor));
    return 0;
}
