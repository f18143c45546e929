#pragma once

#include "services/FileChooserService.h"

#include <QSize>

class QWidget;

// The open-file dialog, modal over its owner, for several existing files. It
// first opens large enough that names, sizes, types and dates read whole, and
// then at the size the user last left it, for as long as the chooser lasts.
class QtFileChooser : public FileChooserService
{
public:
    explicit QtFileChooser(QWidget *owner) : owner_(owner) {}
    QStringList chooseExistingFiles(const QString &title, const QString &filter) override;

private:
    QWidget *owner_;
    QSize size_;
};
