#pragma once

#include "services/FileChooserService.h"

#include <QByteArray>
#include <QSize>

class QWidget;

// The open-file dialog, modal over its owner, for several existing files. At
// its first opening, once the folder is listed, its columns (name, size, type,
// date) and the places are fitted to their texts and the dialog widened to
// show them, within the screen; later it opens as the user last left it (size,
// columns, view), for as long as the chooser lasts. What Qt keeps of its
// dialogs in the user's settings changes none of this.
class QtFileChooser : public FileChooserService
{
public:
    explicit QtFileChooser(QWidget *owner) : owner_(owner) {}
    QStringList chooseExistingFiles(const QString &title, const QString &filter) override;

private:
    QWidget *owner_;
    QSize size_;
    QByteArray state_;  // QFileDialog::saveState() at the last closing
};
