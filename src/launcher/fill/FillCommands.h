#pragma once

#include "id3v1/TagUpdate.h"
#include "text/ForeignText.h"

#include <QList>
#include <QString>

class FileList;
class ReportService;
struct RowFill;

// Filling rows from text that exists already: the files' ID3v2 tags, their
// names read by the rename format, a pasted track list, and the rows' own tag
// text read in the code page it was written in. Each command works out every
// row's new fields first (RowFill); then the rows change, and one report
// names each file that could not take everything.
class FillCommands
{
public:
    FillCommands(FileList &rows, ReportService &reports);

    // Each row from its file's ID3v2 tag.
    void fromId3v2(const QList<int> &rows);
    // Each row from its file's name read by the format (readFileName); a
    // refused format is reported and fills nothing.
    void fromFileNames(const QString &format, const QList<int> &rows);
    // The titles of a pasted track list (pastedTitles), one a row from the
    // first of the rows given down; lines left over are reported.
    void pasteTitles(const QString &text, const QList<int> &rows);
    // Each row's text fields read again in the code page.
    void readAgainAs(ForeignCodePage codePage, const QList<int> &rows);
    // The same fields given to every row, as a fill gives them; what a row
    // could not take of them is reported under a heading of its own.
    void setFields(const TagUpdate &update, const QList<int> &rows);
    // Each row the fields of its own update, from the top (a release's
    // tracks); rows past the last update keep theirs, and tracks left over
    // past the last row are reported.
    void fillRows(const QList<TagUpdate> &updates, const QList<int> &rows, int tracksLeft);

private:
    void apply(const QList<RowFill> &fills, const QString &heading);

    FileList &rows_;
    ReportService &reports_;
};
