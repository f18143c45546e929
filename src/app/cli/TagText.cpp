#include "app/cli/TagText.h"

#include "id3v1/GenreTable.h"
#include "id3v2/Id3v2InStep.h"
#include "services/FileRow.h"
#include "text/ByteEscape.h"

#include <QStringList>

#include <array>
#include <tuple>

namespace {

QString shownText(QString text)
{
    for (QChar &character : text) {
        if (ByteEscape::isEscape(character))
            character = QChar::ReplacementCharacter;
    }
    return text;
}

QString column(QString text)
{
    for (QChar &character : text) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7F)
            character = u' ';
    }
    return shownText(text);
}

QString genreShown(quint8 genre)
{
    const QString name = GenreTable::name(genre);
    return name.isEmpty() ? QString::number(genre) : name;
}

QString header(FileRowColumn column)
{
    return QString::fromUtf16(kFileRowColumns[static_cast<std::size_t>(column)].header);
}

QString change(FileRowColumn field, const QString &from, const QString &to)
{
    return header(field) + u'「' + column(from) + QStringLiteral("」 → 「") + column(to) + u'」';
}

// A field's text as the tag gives it: the track as its number, the genre as
// its name; "" for none.
QString tagTextOf(const TagUpdate &tag, Id3v2Field field)
{
    switch (field) {
    case Id3v2Field::Title: return tag.Title.value_or(QString());
    case Id3v2Field::Artist: return tag.Artist.value_or(QString());
    case Id3v2Field::Album: return tag.Album.value_or(QString());
    case Id3v2Field::Year: return tag.Year.value_or(QString());
    case Id3v2Field::Comment: return tag.Comment.value_or(QString());
    case Id3v2Field::TrackNumber: return tag.TrackNumber.value_or(0) == 0 ? QString() : QString::number(*tag.TrackNumber);
    case Id3v2Field::Genre: return tag.GenreID ? GenreTable::name(*tag.GenreID) : QString();
    }
    return {};
}

}  // namespace

QString tagLine(const QString &file, const TagRecord &fields)
{
    const QStringList columns = {file,
                                 fields.Title,
                                 fields.Artist,
                                 fields.Album,
                                 fields.Year,
                                 fields.Comment,
                                 QString::number(fields.TrackNumber),
                                 QString::number(fields.GenreID),
                                 GenreTable::name(fields.GenreID)};
    QStringList shown;
    for (const QString &text : columns)
        shown << column(text);
    return shown.join(u'\t');
}

QJsonObject tagObject(const QString &file, const TagRecord &fields)
{
    return {
        {QStringLiteral("file"), shownText(file)},
        {QStringLiteral("title"), shownText(fields.Title)},
        {QStringLiteral("artist"), shownText(fields.Artist)},
        {QStringLiteral("album"), shownText(fields.Album)},
        {QStringLiteral("year"), shownText(fields.Year)},
        {QStringLiteral("comment"), shownText(fields.Comment)},
        {QStringLiteral("track"), fields.TrackNumber},
        {QStringLiteral("genre"), fields.GenreID},
        {QStringLiteral("genreName"), GenreTable::name(fields.GenreID)},
    };
}

QString tagChange(const TagRecord &before, const TagRecord &after)
{
    const std::array<std::tuple<FileRowColumn, QString, QString>, 7> fields = {{
        {livTitle, before.Title, after.Title},
        {livGenre, genreShown(before.GenreID), genreShown(after.GenreID)},
        {livComment, before.Comment, after.Comment},
        {livTrackNo, QString::number(before.TrackNumber), QString::number(after.TrackNumber)},
        {livAirtist, before.Artist, after.Artist},
        {livAlbum, before.Album, after.Album},
        {livYear, before.Year, after.Year},
    }};
    QStringList changes;
    for (const auto &[field, from, to] : fields) {
        if (from != to)
            changes << change(field, from, to);
    }
    return changes.isEmpty() ? QStringLiteral("変更なし") : changes.join(u'、');
}

QString id3v2Change(const TagRecord &after, const Id3v2Text &reading, const QList<Id3v2Field> &given)
{
    if (reading.state == Id3v2State::Unreadable)
        return QStringLiteral("ID3v2タグを読めないためファイルに書き込みません");
    if (reading.cutShort)
        return QStringLiteral("ID3v2タグの途中から先を読めないためファイルに書き込みません");
    QStringList changes;
    for (const Id3v2Field field : id3v2FieldsOutOfStep(after, reading, given)) {
        changes << change(kId3v2FieldColumns[static_cast<std::size_t>(field)], tagTextOf(reading.fields, field),
                          id3v2TextOf(after, field));
    }
    return (reading.state == Id3v2State::NoTag ? QStringLiteral("ID3v2タグ（新規）: ") : QStringLiteral("ID3v2タグ: "))
           + (changes.isEmpty() ? QStringLiteral("変更なし") : changes.join(u'、'));
}
