#pragma once

#include <QString>
#include <QStringList>

// A modal chooser for one or more existing files.
class FileChooserService
{
public:
    virtual ~FileChooserService() = default;
    // Full paths of the chosen files in the order the chooser gives them;
    // empty when the user cancels.
    virtual QStringList chooseExistingFiles(const QString &title, const QString &filter) = 0;
};
