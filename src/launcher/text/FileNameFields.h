#pragma once

#include "id3v1/TagUpdate.h"

#include <QString>

#include <optional>

// The fields a file name gives when it is read by the rename format, the
// other way round: the name without its extension must match the format,
// each token capturing text and everything else matching exactly. %T and %N
// capture a whole run of digits (%T fills the track when it is 1 to 255, %N
// nothing); %J fills the genre when its text is a genre name; %A, %K, %D, %C
// and %Y fill album, artist, title, comment and year. Where the name can be
// split more than one way, each token takes as little as it can, except the
// last, which takes the rest. Captured texts lose their surrounding blanks,
// and an empty one fills nothing. Nothing when the name does not fit; the
// caller refuses a format with a refused character first.
std::optional<TagUpdate> readFileName(const QString &format, const QString &fileName);
