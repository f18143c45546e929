#pragma once

#include "FileChooserService.h"

class QWidget;

// The open-file dialog, modal over its owner, for several existing files.
class QtFileChooser : public FileChooserService
{
public:
    explicit QtFileChooser(QWidget *owner) : owner_(owner) {}
    QStringList chooseExistingFiles(const QString &title, const QString &filter) override;

private:
    QWidget *owner_;
};
