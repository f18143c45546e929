#pragma once

#include "FileIdentity.h"
#include "TagRecord.h"

#include <map>
#include <optional>

// What each file held when Kalvo last read or wrote it, by the file's
// identity. Loading, saving and drop numbering tell it; undo and redo ask it
// whether a row they bring back holds what its file holds.
class KnownFiles
{
public:
    // The file of that identity holds these fields now; nothing is kept for
    // a file without an identity.
    void remember(const std::optional<FileIdentity> &identity, const TagRecord &fields);

    // True unless the file is known to hold exactly these fields.
    bool differs(const std::optional<FileIdentity> &identity, const TagRecord &fields) const;

private:
    std::map<FileIdentity, TagRecord> fields_;
};
