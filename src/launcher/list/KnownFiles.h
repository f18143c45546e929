#pragma once

#include "files/FileIdentity.h"
#include "files/FileSnapshot.h"
#include "id3v1/TagRecord.h"

#include <map>
#include <optional>

// What each file held when Kalvo last read or wrote it, by the file's
// identity: its snapshot and the tag fields it held. Loading, saving and
// drop numbering tell it; saves, renames and undo ask it whether a file is
// still as Kalvo left it, and undo and redo whether a row they bring back
// holds what its file holds.
class KnownFiles
{
public:
    // The file was read or written as the snapshot says, holding these
    // fields.
    void remember(const FileSnapshot &snapshot, const TagRecord &fields);

    // The file of that identity as Kalvo last read or wrote it; nothing for
    // a file it has not.
    std::optional<FileSnapshot> snapshot(const std::optional<FileIdentity> &identity) const;

    // True unless the file is known to hold exactly these fields.
    bool differs(const std::optional<FileIdentity> &identity, const TagRecord &fields) const;

private:
    struct Known {
        FileSnapshot snapshot;
        TagRecord fields;
    };
    std::map<FileIdentity, Known> files_;
};
