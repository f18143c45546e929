#pragma once

// The disc id libdiscid gives for a table of contents, to check Kalvo's
// against.

#include "disc/Toc.h"

#include <discid/discid.h>

#include <QString>

inline QString libdiscidId(const Toc &toc)
{
    int offsets[100] = {};
    offsets[0] = int(toc.leadOut);
    for (qsizetype i = 0; i < toc.offsets.size() && i < 99; ++i)
        offsets[i + 1] = int(toc.offsets[i]);
    DiscId *disc = discid_new();
    const QString id = discid_put(disc, 1, int(toc.offsets.size()), offsets) ? QString::fromLatin1(discid_get_id(disc))
                                                                            : QStringLiteral("refused");
    discid_free(disc);
    return id;
}
