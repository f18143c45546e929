#pragma once

#include <QString>
#include <QStringList>

class FileList;
class KnownFiles;
class classID3_V11;

// Adding files to the list: each path becomes a bottom row filled from the
// file's tag, unless the list is full, the file is listed already or it is
// no MP3 file that can be read. Refusals are silent.
class FileAdder
{
public:
    // tag: the shared tag object the files are read with.
    FileAdder(FileList &rows, KnownFiles &known, classID3_V11 &tag);

    void AddMp3File(const QString &path);
    // The paths in order, as the chooser or a drop gives them.
    void addFiles(const QStringList &paths);

private:
    FileList &rows_;
    KnownFiles &known_;
    classID3_V11 &clsID3Tag;
};
