#include "platform/QtFileChooser.h"

#include <QFileDialog>
#include <QScreen>


namespace {

// The first opening's size, in lines of the dialog's font. Qt's own dialog
// fits its columns and the names of its places to their texts when it has the
// room; at its default size it cuts the types and the place names short.
constexpr int kFirstWidthLines = 64, kFirstHeightLines = 40;

}  // namespace

QStringList QtFileChooser::chooseExistingFiles(const QString &title, const QString &filter)
{
    // No start folder: the dialog opens where the platform chooses.
    QFileDialog dialog(owner_, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (!size_.isValid()) {
        const int line = dialog.fontMetrics().height();
        size_ = QSize(kFirstWidthLines * line, kFirstHeightLines * line)
                    .boundedTo(dialog.screen()->availableGeometry().size());
    }
    dialog.resize(size_);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    size_ = dialog.size();
    if (!chosen)
        return {};

    // A path with a zero character would be cut short on its way to the
    // system. The dialog reads a name that is not UTF-8 with U+FFFD in place
    // of its bytes; such a path may name another file than the one chosen
    // (one whose name holds U+FFFD), so it is left out: such files are
    // dropped on the list or named on the command line.
    QStringList paths = dialog.selectedFiles();
    paths.removeIf([](const QString &path) {
        return path.contains(QChar(0)) || path.contains(QChar::ReplacementCharacter);
    });
    return paths;
}
