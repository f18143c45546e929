#pragma once

#include "files/FileIdentity.h"
#include "id3v1/TagRecord.h"
#include "id3v2/Id3v2Text.h"

#include <QList>

#include <array>
#include <optional>

// Cell positions of a row of the file list; a header click reports the same
// positions.
enum FileRowColumn : int {
    livFilename = 0,          // file name without folder (the row's label)
    livChanged = 1,           // "*" while the row holds unsaved values, "2" beside it (kId3v2Mark)
    livTitle = 2,
    livGenre = 3,             // genre name, display only
    livComment = 4,
    livTrackNo = 5,           // decimal 0 to 255
    livAirtist = 6,
    livAlbum = 7,
    livYear = 8,
    livFileNamewithPath = 9,  // folder ending in the separator, hidden
    livGenreID = 10,          // decimal 0 to 255, hidden
};

inline constexpr int kFileRowColumnCount = 11;

struct FileRowColumnInfo {
    const char16_t *header;
    int widthTwips;  // 0: hidden, carries data only
};

inline constexpr std::array<FileRowColumnInfo, kFileRowColumnCount> kFileRowColumns = {{
    {u"ファイル名", 2440},
    {u"U", 200},
    {u"曲名", 1440},
    {u"ジャンル", 1240},
    {u"コメント", 1400},
    {u"No", 450},
    {u"アーティスト", 1440},
    {u"アルバム", 1440},
    {u"製作年", 756},
    {u"ファイル名withパス", 0},
    {u"ジャンルID", 0},
}};

// The column of each field an ID3v2 tag gives, in the order of Id3v2Field.
inline constexpr std::array<FileRowColumn, 7> kId3v2FieldColumns = {
    livTitle, livAirtist, livAlbum, livYear, livComment, livTrackNo, livGenre};

// The eleven cells of a row, by position.
using FileRowCells = std::array<QString, kFileRowColumnCount>;

// What a row carries beside its cells; it travels with the row.
struct RowInfo {
    // The identity of the file the row was loaded from: a save writes only
    // that file, even when the row's path has come to name another since (a
    // symlink or another file put in its place). A rename keeps it, as the
    // file stays the same. A row added without a file knows none.
    std::optional<FileIdentity> identity;
    // Which row this is, never the same for two rows of one run of the
    // program, so undo and redo find a row again whatever its name has become.
    quint64 serial = 0;
    // What the file's ID3v2 tag gave when it was last read (on loading, by
    // a fill from it, after it was written), for the list's ID3v2 mark.
    Id3v2Text id3v2{};
    // Whether the file had an ID3v1 block when the row was loaded: the
    // blank values of a row whose file had none stand for nothing, and are
    // never written into its ID3v2 tag (id3v2GivenFields).
    bool hadTagBlock = true;
};

// The marks of livChanged: the row holds unsaved values; the file's ID3v2
// tag says other than the row (Id3v2InStep). Both may show, in this order.
inline constexpr char16_t kChangeMark[] = u"*";
inline constexpr char16_t kId3v2Mark[] = u"2";

// One row as a value: its cells and what it carries beside them.
struct ListRow {
    FileRowCells cells;
    RowInfo info;
};
using ListRows = QList<ListRow>;
