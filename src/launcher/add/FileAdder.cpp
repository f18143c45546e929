#include "launcher/add/FileAdder.h"

#include "id3v2/Id3v2Text.h"
#include "launcher/add/LeftoverRecovery.h"
#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/text/PathParts.h"
#include "tagfiles/classID3_V11.h"
#include "tagfiles/Id3v2File.h"

FileAdder::FileAdder(FileList &rows, KnownFiles &known, classID3_V11 &tag, LeftoverRecovery &recovery)
    : rows_(rows), known_(known), clsID3Tag(tag), recovery_(recovery)
{
}

AddResult FileAdder::AddMp3File(const QString &path)
{
    if (rows_.isFull())
        return AddResult::ListFull;
    // The file is read before it is looked for among the rows: most files of
    // a large folder are no MP3 files, and so cost no more than the read.
    recovery_.beforeReading(path);
    clsID3Tag.SetMP3File(path);
    if (!clsID3Tag.LoadMp3File(QString()))
        return AddResult::Unreadable;
    // A file already listed, under this path or any other spelling of it,
    // keeps its one row: two rows of one file would overwrite each other's
    // saves.
    // The identity is the one of the file the tag was read from.
    const FileSnapshot snapshot = *clsID3Tag.loadedFile();
    if (GetFileNamePart(path).isEmpty())
        return AddResult::Unreadable;
    if (rows_.holds(path, snapshot.identity))
        return AddResult::Listed;
    const TagRecord fields = tagFields(clsID3Tag);
    rows_.append(path, snapshot.identity, fields, clsID3Tag.loadedBlock());
    if (readsId3v2_)
        rows_.setId3v2(rows_.count(), readId3v2Text(path));
    known_.remember(snapshot, fields);
    return AddResult::Added;
}

void FileAdder::addFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        AddMp3File(path);
}
