#include "QtFileChooser.h"

#include <QFileDialog>

QStringList QtFileChooser::chooseExistingFiles(const QString &title, const QString &filter)
{
    // No start folder: the dialog opens where the platform chooses. A path
    // with a zero character would be cut short on its way to the system. The
    // dialog reads a name that is not UTF-8 with U+FFFD in place of its
    // bytes; such a path may name another file than the one chosen (one whose
    // name holds U+FFFD), so it is left out: such files are dropped on the
    // list or named on the command line.
    QStringList paths = QFileDialog::getOpenFileNames(owner_, title, QString(), filter);
    paths.removeIf([](const QString &path) {
        return path.contains(QChar(0)) || path.contains(QChar::ReplacementCharacter);
    });
    return paths;
}
