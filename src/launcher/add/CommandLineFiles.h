#pragma once

#include "launcher/add/FileAdder.h"

#include <QList>
#include <QString>
#include <QStringList>

class FileList;
class FolderService;

// A file named on the command line that did not become a row.
struct RefusedFile {
    QString argument;  // as given
    AddResult result;
};

// Files named on the command line, added at start as a drop adds them.
class CommandLineFiles
{
public:
    CommandLineFiles(FileList &rows, FileAdder &adder, FolderService &folders);

    // Each argument is taken from currentFolder when relative; a folder
    // stands for the files directly inside it whose names end in ".mp3" (in
    // any letter case, as the file chooser shows them), in natural name
    // order.
    // Anything else is passed on to be added or skipped. Once the list is
    // full, nothing more is looked at. Gives the arguments naming a file
    // rather than a folder that were not added, with why; what a folder
    // holds besides MP3 files is no one's concern.
    QList<RefusedFile> add(const QStringList &arguments, const QString &currentFolder);

private:
    FileList &rows_;
    FileAdder &adder_;
    FolderService &folders_;
};
