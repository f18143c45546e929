#pragma once

#include "files/FileIdentity.h"
#include "id3v1/TagRecord.h"
#include "services/FileRow.h"

#include <QList>
#include <QString>

#include <QSet>

#include <functional>
#include <limits>
#include <map>
#include <optional>

class KnownFiles;
class ListViewService;

// The list's rows, 1 to count() from the top, each the working copy of one
// file's tag. The commands reach rows only through here, so they run on the
// window's list or on rows a program keeps in memory alike.
class FileList
{
public:
    // The window's list holds at most this many rows.
    static constexpr int kMaxRows = 99;
    // For rows that are not shown, kept by a program in memory.
    static constexpr int kNoRowLimit = std::numeric_limits<int>::max();

    // How reports name a file of a row's folder, given its whole path.
    using ReportedPath = std::function<QString(const QString &path)>;

    // maxRows: the most rows the list takes; adding stops there.
    // reportedPath: how reports name the rows' files; none: by their names
    // alone, as the list shows them.
    explicit FileList(ListViewService &view, int maxRows = kMaxRows, ReportedPath reportedPath = nullptr);

    int count() const;
    bool isEmpty() const { return count() == 0; }
    bool isFull() const { return count() >= maxRows_; }
    // All rows, or the selected ones, from the top.
    QList<int> allRows() const;
    QList<int> selectedRows() const;
    // The row that has the list's focus, or 0 when there is none.
    int currentRow() const;
    // Gives the row the list's focus. One selected row (or none) becomes
    // that row; several, picked for a save or a rename, stay selected.
    void moveCurrentRow(int row);

    // The full path of the row's file: its folder followed by its name.
    QString path(int row) const;
    QString fileName(int row) const;
    // The row's file, or a file of that name in the row's folder, as
    // reports name it (ReportedPath).
    QString reportedName(int row) const { return reportedFile(row, fileName(row)); }
    QString reportedFile(int row, const QString &name) const;
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    QString headerText(int column) const;
    FileRowCells cells(int row) const;
    RowInfo info(int row) const;

    // The tag fields the row holds: the texts as they stand, the track and
    // genre numbers as their cells read (livGenre only shows the genre's name).
    TagRecord fields(int row) const;
    // Puts tag fields into the row's cells, the numbers as decimal text, and
    // the genre's name beside its number.
    void putFields(int row, const TagRecord &fields);
    // Sets or clears the row's change mark. The ID3v2 mark beside it shows
    // whenever the row's fields are out of step with what its file's ID3v2
    // tag gave when last read (id3v2OutOfStep); it follows every change of
    // the fields made here.
    void setChanged(int row, bool changed);
    bool isChanged(int row) const;
    // What the row's file's ID3v2 tag gives, read now.
    void setId3v2(int row, const Id3v2Text &reading);
    // The row's file was replaced by a new one of that identity (W writes a
    // file anew): the row, and the row brought back by an undo, follow it.
    void setIdentity(int row, const FileIdentity &identity);

    // True when a row holds the file at path: its path is that text, or it
    // was loaded from the file of that identity and its path still names it
    // (the row's file may have been deleted since, and a new file given its
    // inode number). It looks the path and the identity up, so adding many
    // thousand files costs each the same.
    bool holds(const QString &path, const FileIdentity &identity) const;
    // Adds a bottom row for the file at path, loaded with the fields (from
    // its ID3v1 block, or blank when hadTagBlock is false) and not marked,
    // with a serial no other row of this run has had.
    void append(const QString &path, const std::optional<FileIdentity> &identity, const TagRecord &fields,
                bool hadTagBlock = true);
    // The fields of the row that stand for a value (id3v2GivenFields).
    QList<Id3v2Field> givenFields(int row) const;
    // Removes the rows given (from the top), working from the bottom up.
    void remove(const QList<int> &rows);
    // Gives the row of that serial a new file name; no row has it: nothing.
    void renameRow(quint64 serial, const QString &fileName);

    // Every row as a value, from the top.
    ListRows snapshot() const;
    // Makes the list hold the rows given, in their order: rows not among them
    // go, missing ones come back where they stand, and the others get their
    // cells. The name of a row that stays is left alone, as it follows its
    // file, which only a rename moves. A row that comes back or changes is
    // marked when its values differ from what its file held when last read or
    // written. A row that comes back carries what it carried last: its
    // file's identity and ID3v2 reading as they are now.
    void restore(const ListRows &rows, const KnownFiles &known);

private:
    void showMarks(int row, bool changed);
    void setInfo(int row, const RowInfo &info);
    // The rows' paths and identities as holds() looks them up. Adding a row
    // adds it; any other change to a row's path or identity, or to the rows,
    // has them gathered again at the next look-up.
    void indexRow(int row) const;
    void forgetIndex() { indexed_ = false; }

    ListViewService &view_;
    int maxRows_;
    ReportedPath reportedPath_;
    quint64 lastSerial_ = 0;
    // What each row carries as last set, by serial, so that a row an undo
    // brings back carries what its file is now, not what it was.
    std::map<quint64, RowInfo> latestInfo_;
    // Whether the look-up holds the rows as they are.
    mutable bool indexed_ = true;
    mutable QSet<QString> indexedPaths_;
    mutable std::multimap<FileIdentity, QString> indexedIdentities_;  // with the row's path
};
