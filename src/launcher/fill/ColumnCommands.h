#pragma once

class FileList;
class ReportService;

// Filling whole columns of the list, each after a question: serial track
// numbers from the top, or the top row's value copied to every row.
class ColumnCommands
{
public:
    ColumnCommands(FileList &rows, ReportService &reports);

    // A click on a column's header: the track column numbers the rows, the
    // title, genre, comment, artist, album and year columns unify; the other
    // columns, and an empty list, do nothing.
    void headerClicked(int column);

    // Gives the rows the track numbers first, first + 1 … from the top and
    // marks them; the last number is at most 255 (a header click numbers
    // at most 99 rows from 1).
    void numberRowsFromTheTop(int first = 1);
    // Gives every row below the top one the top row's value in the column
    // (the genre with its number) and marks them.
    void unifyColumn(int column);

private:
    FileList &rows_;
    ReportService &reports_;
};
