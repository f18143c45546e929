#include "FileRow.h"

#include "CellNumber.h"
#include "ListViewService.h"
#include "classID3_V11.h"

TagRecord rowFields(const ListViewService &list, int row)
{
    return {list.cell(row, livTitle),   list.cell(row, livAirtist),
            list.cell(row, livAlbum),   list.cell(row, livYear),
            list.cell(row, livComment), cellNumber(list.cell(row, livTrackNo)),
            cellNumber(list.cell(row, livGenreID))};
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
