#include "id3v2/Id3v2InStep.h"

#include "id3v1/GenreTable.h"
#include "id3v1/TagBlock.h"
#include "text/Cp932.h"

const QList<Id3v2Field> kAllId3v2Fields = {Id3v2Field::Title,   Id3v2Field::Artist,      Id3v2Field::Album,
                                            Id3v2Field::Year,    Id3v2Field::Comment, Id3v2Field::TrackNumber,
                                            Id3v2Field::Genre};

namespace {

bool textInStep(const QString &row, const std::optional<QString> &tag, int width)
{
    const QString shown = row.trimmed();
    const QString text = tag.value_or(QString());
    // No character takes more than two bytes: a text of half the width
    // needs no cutting, and the same text is in step either way.
    const QString cut = (text.size() * 2 <= width ? text : Cp932::cutText(text, width)).trimmed();
    if (cut == shown)
        return true;
    if (Cp932::hasCharacterWithoutForm(shown))
        return cut == shown;
    return Cp932::encode(cut) == Cp932::encode(shown);
}

bool inStep(const TagRecord &row, const TagUpdate &tag, Id3v2Field field)
{
    switch (field) {
    case Id3v2Field::Title: return textInStep(row.Title, tag.Title, kTitleWidth);
    case Id3v2Field::Artist: return textInStep(row.Artist, tag.Artist, kArtistWidth);
    case Id3v2Field::Album: return textInStep(row.Album, tag.Album, kAlbumWidth);
    case Id3v2Field::Year: return textInStep(row.Year, tag.Year, kYearWidth);
    case Id3v2Field::Comment: return textInStep(row.Comment, tag.Comment, kCommentWidth);
    case Id3v2Field::TrackNumber: return tag.TrackNumber.value_or(0) == row.TrackNumber;
    case Id3v2Field::Genre: return GenreTable::name(tag.GenreID ? *tag.GenreID : -1) == GenreTable::name(row.GenreID);
    }
    return false;
}

}  // namespace

QList<Id3v2Field> id3v2GivenFields(const TagRecord &row, bool fileHadBlock)
{
    if (fileHadBlock)
        return kAllId3v2Fields;
    // The blank values a row of a file without a block was loaded with.
    const TagRecord blank{};
    QList<Id3v2Field> given;
    for (const Id3v2Field field : kAllId3v2Fields) {
        const bool isBlank = field == Id3v2Field::TrackNumber ? row.TrackNumber == blank.TrackNumber
                             : field == Id3v2Field::Genre     ? row.GenreID == blank.GenreID
                                                              : id3v2TextOf(row, field).isEmpty();
        if (!isBlank)
            given << field;
    }
    return given;
}

QList<Id3v2Field> id3v2FieldsOutOfStep(const TagRecord &row, const Id3v2Text &reading,
                                       const QList<Id3v2Field> &given)
{
    static const TagUpdate none;
    const TagUpdate &tag = reading.state == Id3v2State::Read ? reading.fields : none;
    QList<Id3v2Field> fields;
    for (const Id3v2Field field : kAllId3v2Fields) {
        if (!given.contains(field))
            continue;
        if (reading.state == Id3v2State::Unreadable || reading.unreadable.contains(field) || !inStep(row, tag, field))
            fields << field;
    }
    return fields;
}

bool id3v2OutOfStep(const TagRecord &row, const Id3v2Text &reading, const QList<Id3v2Field> &given)
{
    switch (reading.state) {
    case Id3v2State::NoTag:
        return false;
    case Id3v2State::Unreadable:
        return true;
    case Id3v2State::Read:
        break;
    }
    return reading.cutShort || !id3v2FieldsOutOfStep(row, reading, given).isEmpty();
}

QString id3v2TextOf(const TagRecord &row, Id3v2Field field)
{
    switch (field) {
    case Id3v2Field::Title: return row.Title;
    case Id3v2Field::Artist: return row.Artist;
    case Id3v2Field::Album: return row.Album;
    case Id3v2Field::Year: return row.Year;
    case Id3v2Field::Comment: return row.Comment;
    case Id3v2Field::TrackNumber: return row.TrackNumber == 0 ? QString() : QString::number(row.TrackNumber);
    case Id3v2Field::Genre: return GenreTable::name(row.GenreID);
    }
    return {};
}
