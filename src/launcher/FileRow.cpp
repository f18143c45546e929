#include "FileRow.h"

#include "CellNumber.h"
#include "ListViewService.h"
#include "classID3_V11.h"

TagRecord rowFields(const ListViewService &list, int row)
{
    return {.Title = list.cell(row, livTitle),
            .Artist = list.cell(row, livAirtist),
            .Album = list.cell(row, livAlbum),
            .Year = list.cell(row, livYear),
            .Comment = list.cell(row, livComment),
            .TrackNumber = cellNumber(list.cell(row, livTrackNo)),
            .GenreID = cellNumber(list.cell(row, livGenreID))};
}

void putRowFields(ListViewService &list, int row, const TagRecord &fields)
{
    list.setCell(row, livAirtist, fields.Artist);
    list.setCell(row, livAlbum, fields.Album);
    list.setCell(row, livComment, fields.Comment);
    list.setCell(row, livGenreID, QString::number(fields.GenreID));
    list.setCell(row, livGenre, classID3_V11::GetGenreString(fields.GenreID));
    list.setCell(row, livYear, fields.Year);
    list.setCell(row, livTitle, fields.Title);
    list.setCell(row, livTrackNo, QString::number(fields.TrackNumber));
}
