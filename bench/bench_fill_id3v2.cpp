// Fills 99 rows from the files' ID3v2 tags, as the I key does, through the
// real window offscreen. Each file starts with a v2.3 tag of 2 MB: seven
// text frames and a cover picture, written here byte by byte. Between runs
// the rows get their old titles back, so every run changes every row; the
// files stay in the page cache. Prints the median of the runs as
// "fill 99 rows from ID3v2: X ms" and the fastest and slowest beside it.
// Run: bench_fill_id3v2 [folder] (default: a fresh temporary folder, removed
// afterwards), with QT_QPA_PLATFORM=offscreen.

#include "BenchFiles.h"
#include "launcher/frmID3Launcher.h"
#include "platform/LauncherWindow.h"
#include "services/FileRow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 9;

QStringList makeFiles(const QString &folder)
{
    const QByteArray audio = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(64 * 1024, '\x55');
    QStringList paths;
    for (int i = 0; i < kBenchFiles; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("fill%1.mp3").arg(i, 2, 10, QLatin1Char('0')));
        QFile file(path);
        const QByteArray bytes = benchId3v2Tag(i) + audio;
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return {};
        }
        paths << path;
    }
    ::sync();
    return paths;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<QTemporaryDir> temp;
    const QString folder = benchFolder(argc, argv, temp);
    if (folder.isEmpty())
        return 1;
    const QStringList paths = makeFiles(folder);
    if (paths.isEmpty())
        return 1;
    std::printf("%d files with a %lld-byte ID3v2 tag in %s\n", kBenchFiles, kBenchId3v2TagSize, qPrintable(folder));

    LauncherWindow window(QDir(folder).filePath(QStringLiteral("program")));
    window.show();
    QCoreApplication::processEvents();
    auto *list = window.findChild<QTreeWidget *>(QStringLiteral("lvMP3List"));
    window.logic().lvMP3List_OLEDragDrop(paths);
    if (list->topLevelItemCount() != kBenchFiles) {
        std::fprintf(stderr, "only %d rows loaded\n", list->topLevelItemCount());
        return 1;
    }
    list->selectAll();

    std::vector<double> runs;
    QElapsedTimer timer;
    for (int run = 0; run < kRuns; ++run) {
        for (int row = 0; row < kBenchFiles; ++row) {
            list->topLevelItem(row)->setText(livTitle, QStringLiteral("old"));
            list->topLevelItem(row)->setText(livChanged, QString());
        }
        QCoreApplication::processEvents();
        timer.start();
        window.logic().FillFromId3v2();
        runs.push_back(double(timer.nsecsElapsed()) / 1e6);
        for (int row = 0; row < kBenchFiles; ++row) {
            if (list->topLevelItem(row)->text(livTitle) != QStringLiteral("夜明けの歌 %1").arg(row + 1)) {
                std::fprintf(stderr, "row %d was not filled\n", row + 1);
                return 1;
            }
        }
    }
    std::sort(runs.begin(), runs.end());
    std::printf("fill %d rows from ID3v2: %.1f ms (median of %d; fastest %.1f, slowest %.1f)\n", kBenchFiles,
                runs[runs.size() / 2], kRuns, runs.front(), runs.back());
    return 0;
}
