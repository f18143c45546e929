#include "TagRecord.h"

#include "classID3_V11.h"

TagRecord tagFields(const classID3_V11 &tag)
{
    return {.Title = tag.GetTrackName(),
            .Artist = tag.GetAirtistName(),
            .Album = tag.GetAlbumName(),
            .Year = tag.GetReleaseYear(),
            .Comment = tag.GetComment(),
            .TrackNumber = tag.GetTrackNumber(),
            .GenreID = tag.GetGenreID()};
}

void putTagFields(classID3_V11 &tag, const TagRecord &fields)
{
    tag.SetAirtistName(fields.Artist);
    tag.SetAlbumName(fields.Album);
    tag.SetComment(fields.Comment);
    tag.SetGenreID(fields.GenreID);
    tag.SetReleaseYear(fields.Year);
    tag.SetTrackName(fields.Title);
    tag.SetTrackNumber(fields.TrackNumber);
}
