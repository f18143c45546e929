#include "KnownFiles.h"

void KnownFiles::remember(const std::optional<FileIdentity> &identity, const TagRecord &fields)
{
    if (identity)
        fields_[*identity] = fields;
}

bool KnownFiles::differs(const std::optional<FileIdentity> &identity, const TagRecord &fields) const
{
    const auto known = identity ? fields_.find(*identity) : fields_.end();
    return known == fields_.end() || known->second != fields;
}
