#pragma once

#include "id3v1/TagRecord.h"
#include "id3v1/TagUpdate.h"
#include "services/FileRow.h"
#include "text/ForeignText.h"

#include <QString>
#include <QStringList>

// What a command that fills rows from existing text gives one row: the
// fields the row is to hold, and what it could not take, as the short
// reasons the user is shown.
struct RowFill {
    int row = 0;
    TagRecord fields;
    QStringList problems;
};

// The five text fields: their place in a record and in an update, their
// slot's width in bytes and their column.
struct TextField {
    QString TagRecord::*record;
    std::optional<QString> TagUpdate::*update;
    int width;
    FileRowColumn column;
};
extern const std::array<TextField, 5> kTextFields;

// The name of a field as its column's header shows it.
QString fieldName(const TextField &field);

// The fields `row` holds now (current) with what the source gives put in:
// each text cut to its slot's width in CP932 bytes, never inside a
// character. Fields cut, and fields holding a character CP932 lacks (saved
// as "?"), are noted.
RowFill fillRow(int row, const TagRecord &current, const TagUpdate &update);

// The fields `row` holds now, kept whole, with the reason why nothing came.
RowFill unchangedRow(int row, const TagRecord &current, const char16_t *reason);

// The fields `row` holds now with each text field's CP932 bytes read in the
// code page, cut as fillRow cuts. A field whose bytes are not valid there
// shows the row was not written in it: the whole row keeps its text, and
// those fields are noted.
RowFill readAgainAs(int row, const TagRecord &current, ForeignCodePage codePage);

// The reasons, "%1" standing for the fields named.
namespace FillReason {
inline constexpr char16_t kNoId3v2[] = u"ID3v2タグがない";
inline constexpr char16_t kUnreadableId3v2[] = u"ID3v2タグを読めない";
inline constexpr char16_t kUnreadableId3v2Fields[] = u"ID3v2タグの%1を読めない";
inline constexpr char16_t kId3v2CutShort[] = u"ID3v2タグの途中から先を読めない";
inline constexpr char16_t kNameDoesNotFit[] = u"ファイル名がフォーマットに合わない";
inline constexpr char16_t kCut[] = u"%1を切り詰めた";
inline constexpr char16_t kNoCp932Form[] = u"%1のCP932にない文字は「?」として保存される";
inline constexpr char16_t kNotUtf8[] = u"%1がUTF-8でない";
inline constexpr char16_t kNotEucJp[] = u"%1がEUC-JPでない";
inline constexpr char16_t kMoreLines[] = u"%1行が余った";
inline constexpr char16_t kNoTrack[] = u"リリースにこの曲がない";
inline constexpr char16_t kMoreTracks[] = u"リリースの%1曲が余った";
}  // namespace FillReason

// "%1" of a reason filled in with the names, joined by "・".
QString fillReason(const char16_t *reason, const QStringList &names);
