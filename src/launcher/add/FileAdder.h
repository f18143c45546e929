#pragma once

#include <QString>
#include <QStringList>

class FileList;
class KnownFiles;
class LeftoverRecovery;
class classID3_V11;

// What became of a file handed to the list.
enum class AddResult {
    Added,
    ListFull,
    Unreadable,  // missing, unreadable, or no MP3 file
    Listed,      // a row holds that file already
};

// Adding files to the list: each path becomes a bottom row filled from the
// file's tag, with what its ID3v2 tag gives for the list's mark, unless the
// list is full, the file is listed already or it is no MP3 file that can be
// read. Refusals are silent: the window tells nobody, a program may. What a
// killed run left in a file's folder is settled before the file is read
// (LeftoverRecovery).
class FileAdder
{
public:
    // tag: the shared tag object the files are read with.
    FileAdder(FileList &rows, KnownFiles &known, classID3_V11 &tag, LeftoverRecovery &recovery);

    AddResult AddMp3File(const QString &path);
    // Whether a row added gets what its file's ID3v2 tag gives, for its
    // mark and for writing both tags (the default); a program that uses
    // neither need not read it.
    void setReadsId3v2(bool reads) { readsId3v2_ = reads; }
    // The paths in order, as the chooser or a drop gives them.
    void addFiles(const QStringList &paths);

private:
    FileList &rows_;
    KnownFiles &known_;
    classID3_V11 &clsID3Tag;
    LeftoverRecovery &recovery_;
    bool readsId3v2_ = true;
};
