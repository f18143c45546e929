#include "TagRecord.h"

#include "classID3_V11.h"

TagRecord tagFields(const classID3_V11 &tag)
{
    return {tag.GetTrackName(), tag.GetAirtistName(), tag.GetAlbumName(), tag.GetReleaseYear(),
            tag.GetComment(),   tag.GetTrackNumber(), tag.GetGenreID()};
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
