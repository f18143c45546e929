#pragma once

#include <QString>
#include <QStringList>

class FileAdder;
class FileList;
class FolderService;

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
    // full, nothing more is looked at.
    void add(const QStringList &arguments, const QString &currentFolder);

private:
    FileList &rows_;
    FileAdder &adder_;
    FolderService &folders_;
};
