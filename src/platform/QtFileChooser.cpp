#include "QtFileChooser.h"

#include <QFileDialog>

QStringList QtFileChooser::chooseExistingFiles(const QString &title, const QString &filter)
{
    // No start folder: the dialog opens where the platform chooses.
    return QFileDialog::getOpenFileNames(owner_, title, QString(), filter);
}
