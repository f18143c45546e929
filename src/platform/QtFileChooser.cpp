#include "platform/QtFileChooser.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>

#include <algorithm>

namespace {

// The first opening's height, in lines of the dialog's font; its width is
// fitted to the folder once listed.
constexpr int kFirstHeightLines = 40;

// Qt's own dialog is made of widgets by these names; a platform's native
// dialog (a desktop portal's) has none, and is left as it comes.
struct DialogParts
{
    QTreeView *details = nullptr;
    QSplitter *splitter = nullptr;  // the places, then the folder's views
    QAbstractItemView *places = nullptr;
    QFileSystemModel *model = nullptr;
};

QSize withinScreen(const QWidget &window, const QSize &size)
{
    return size.boundedTo(window.screen()->availableGeometry().size());
}

DialogParts partsOf(const QFileDialog &dialog)
{
    DialogParts parts{dialog.findChild<QTreeView *>(QStringLiteral("treeView")),
                      dialog.findChild<QSplitter *>(QStringLiteral("splitter")), nullptr,
                      dialog.findChild<QFileSystemModel *>()};
    if (parts.splitter && parts.splitter->count() == 2)
        parts.places = qobject_cast<QAbstractItemView *>(parts.splitter->widget(0));
    if (!parts.details || !parts.places || !parts.model)
        return {};
    return parts;
}

// Each column as wide as its heading and its widest text in sight, the places
// as wide as their longest name, and the dialog widened by what they lack,
// within its screen.
void fitToListing(QFileDialog &dialog, const DialogParts &parts)
{
    QHeaderView *header = parts.details->header();
    // The tree view hides the base's public size hint.
    const QAbstractItemView *details = parts.details;
    int columnsWidth = 0;
    // Every column shown, and ticked in the header's menu of columns.
    for (QAction *shown : header->actions())
        shown->setChecked(true);
    for (int column = 0; column < header->count(); ++column) {
        header->showSection(column);
        const int width = std::max(details->sizeHintForColumn(column), header->sectionSizeHint(column));
        header->resizeSection(column, width);
        columnsWidth += width;
    }
    const int placesWidth = parts.places->sizeHintForColumn(0) + parts.places->width()
                            - parts.places->viewport()->width();
    const int lacking = std::max(0, placesWidth - parts.places->width())
                        + std::max(0, columnsWidth - parts.details->viewport()->width());
    dialog.resize(withinScreen(dialog, dialog.size() + QSize(lacking, 0)));
    const QList<int> sizes = parts.splitter->sizes();
    parts.splitter->setSizes({placesWidth, sizes[0] + sizes[1] - placesWidth});
}

}  // namespace

QStringList QtFileChooser::chooseExistingFiles(const QString &title, const QString &filter)
{
    // No start folder: the dialog opens where the platform chooses.
    QFileDialog dialog(owner_, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // What Qt restored from its own saved state is replaced: at the first
    // opening by the sizes fitted to the folder, later by what the user left.
    const DialogParts parts = partsOf(dialog);
    if (!size_.isValid()) {
        dialog.resize(withinScreen(dialog, QSize(dialog.width(), kFirstHeightLines * dialog.fontMetrics().height())));
        dialog.setViewMode(QFileDialog::Detail);
        if (parts.model) {
            QObject::connect(parts.model, &QFileSystemModel::directoryLoaded, &dialog,
                             [&dialog, parts, fitted = false](const QString &folder) mutable {
                                 if (fitted || folder != parts.model->rootPath())
                                     return;
                                 fitted = true;
                                 fitToListing(dialog, parts);
                             });
        }
    } else {
        dialog.restoreState(state_);
        dialog.resize(size_);
    }
    const bool chosen = dialog.exec() == QDialog::Accepted;
    size_ = dialog.size();
    state_ = dialog.saveState();
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
