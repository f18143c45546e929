#include "launcher/list/KnownFiles.h"

void KnownFiles::remember(const FileSnapshot &snapshot, const TagRecord &fields)
{
    files_[snapshot.identity] = {snapshot, fields};
}

std::optional<FileSnapshot> KnownFiles::snapshot(const std::optional<FileIdentity> &identity) const
{
    const auto known = identity ? files_.find(*identity) : files_.end();
    if (known == files_.end())
        return std::nullopt;
    return known->second.snapshot;
}

bool KnownFiles::differs(const std::optional<FileIdentity> &identity, const TagRecord &fields) const
{
    const auto known = identity ? files_.find(*identity) : files_.end();
    return known == files_.end() || known->second.fields != fields;
}
