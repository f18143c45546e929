#include "QtFileChooser.h"

#include <QFileDialog>

QStringList QtFileChooser::chooseExistingFiles(const QString &title, const QString &filter)
{
    // No start folder: the dialog opens where the platform chooses. A path
    // with a zero character would be cut short on its way to the system.
    QStringList paths = QFileDialog::getOpenFileNames(owner_, title, QString(), filter);
    paths.removeIf([](const QString &path) { return path.contains(QChar(0)); });
    return paths;
}
