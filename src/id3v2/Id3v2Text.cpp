#include "id3v2/Id3v2Text.h"

#include "id3v1/GenreTable.h"
#include "id3v2/Id3v2Frames.h"
#include "text/CellNumber.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfile.h>


#include <algorithm>

namespace {

// The bytes of a tag as the file TagLib's tag reader asks for. It has no tag
// or properties of its own and refuses to save.
class RegionFile : public TagLib::File
{
public:
    explicit RegionFile(TagLib::IOStream *stream) : TagLib::File(stream) {}
    TagLib::Tag *tag() const override { return nullptr; }
    TagLib::AudioProperties *audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

// The frames Kalvo reads, by their ids in 2.3 and 2.4 and in 2.2, and the
// field each gives. All begin with a text encoding byte.
struct ReadFrame {
    const char *id;
    const char *id22;
    Id3v2Field field;
};
constexpr ReadFrame kReadFrames[] = {
    {"TIT2", "TT2", Id3v2Field::Title},   {"TPE1", "TP1", Id3v2Field::Artist},
    {"TPE2", "TP2", Id3v2Field::Artist},  {"TALB", "TAL", Id3v2Field::Album},
    {"TDRC", "", Id3v2Field::Year},       {"TYER", "TYE", Id3v2Field::Year},
    {"COMM", "COM", Id3v2Field::Comment}, {"TRCK", "TRK", Id3v2Field::TrackNumber},
    {"TCON", "TCO", Id3v2Field::Genre},
};

std::optional<Id3v2Field> fieldOf(quint8 version, QByteArrayView id)
{
    for (const ReadFrame &frame : kReadFrames) {
        if (id == (version == 2 ? frame.id22 : frame.id))
            return frame.field;
    }
    return std::nullopt;
}

// ISO-8859-1, UTF-16 with byte order mark, UTF-16BE, UTF-8.
bool isTextEncoding(char byte)
{
    return byte >= 0 && byte <= 3;
}

// The tag TagLib is given: the frames Kalvo reads from the walked tag, each
// as its content reads (no flags, resynchronised, inflated), of the same
// version; no extended header, no padding. Frames that cannot be read name
// their fields in unreadable, but for the album artist, which is read only
// in want of an artist: albumArtistUnreadable tells of it.
QByteArray tagToParse(const Id3v2Tag &tag, QList<Id3v2Field> &unreadable, bool &albumArtistUnreadable)
{
    const quint8 version = tag.header.version;
    QByteArray frames;
    qint64 total = 0;
    for (const Id3v2Frame &frame : tag.frames) {
        const std::optional<Id3v2Field> field = fieldOf(version, frame.id);
        if (!field || frame.size == 0)
            continue;
        const qint64 limit = std::min(kMaxId3v2FrameContent, kMaxId3v2ContentTotal - total);
        const Id3v2FrameContent content = id3v2FrameContent(tag, frame, limit);
        if (content.state != Id3v2ContentState::Read || (!content.data.isEmpty() && !isTextEncoding(content.data[0]))) {
            if (frame.id == (version == 2 ? "TP2" : "TPE2"))
                albumArtistUnreadable = true;
            else if (!unreadable.contains(*field))
                unreadable << *field;
            continue;
        }
        if (content.data.isEmpty())
            continue;
        total += content.data.size();
        frames += id3v2FrameBytes(version, frame.id, content.data);
    }
    return id3v2TagBytes(version, frames);
}

TagLib::ID3v2::FrameList framesOf(const TagLib::ID3v2::Tag &tag, const char *id)
{
    const TagLib::ID3v2::FrameListMap &frames = tag.frameListMap();
    const auto found = frames.find(id);
    return found == frames.end() ? TagLib::ID3v2::FrameList() : found->second;
}

QString toQString(const TagLib::String &text)
{
    return QString::fromStdWString(text.toWString()).trimmed();
}

// The text of the first frame with that id; nothing when it is empty.
std::optional<QString> firstText(const TagLib::ID3v2::Tag &tag, const char *id)
{
    const TagLib::ID3v2::FrameList frames = framesOf(tag, id);
    if (frames.isEmpty())
        return std::nullopt;
    QString text = toQString(frames.front()->toString());
    return text.isEmpty() ? std::nullopt : std::optional<QString>(std::move(text));
}

// A comment frame read from its content alone, as TagLib reads it in a tag.
struct CommentContent : TagLib::ID3v2::CommentsFrame {
    explicit CommentContent(QByteArrayView content)
    {
        parseFields(TagLib::ByteVector(content.data(), static_cast<unsigned>(content.size())));
    }
};

std::optional<QString> commentOf(const TagLib::ID3v2::Tag &tag)
{
    const TagLib::ID3v2::FrameList frames = framesOf(tag, "COMM");
    for (TagLib::ID3v2::Frame *frame : frames) {
        const auto *comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame *>(frame);
        // The first comment without a description that has text: one
        // without text (TagLib reads a description with no text after it
        // as a text) hides none that follows.
        if (comment && comment->description().isEmpty()) {
            QString text = toQString(comment->text());
            if (!text.isEmpty())
                return text;
        }
    }
    return firstText(tag, "COMM");
}

std::optional<QString> yearOf(const TagLib::ID3v2::Tag &tag)
{
    std::optional<QString> date = firstText(tag, "TDRC");
    if (!date)
        date = firstText(tag, "TYER");
    if (!date || date->size() < 4)
        return std::nullopt;
    const QString year = date->left(4);
    if (!std::all_of(year.begin(), year.end(), isAsciiDigit))
        return std::nullopt;
    return year;
}

// The genre a number names, when the table has a name for it.
std::optional<quint8> namedGenre(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 3 || !std::all_of(digits.begin(), digits.end(), isAsciiDigit))
        return std::nullopt;
    const int id = digits.toInt();
    return id < GenreTable::kCount ? std::optional<quint8>(static_cast<quint8>(id)) : std::nullopt;
}

// The genre number that one value of TCON names: "(17)" with anything after
// it, "17", or a name of the table.
std::optional<quint8> genreOf(QStringView text)
{
    text = text.trimmed();
    const qsizetype close = text.startsWith(u'(') ? text.indexOf(u')') : -1;
    if (close > 0) {
        if (const std::optional<quint8> genre = namedGenre(text.sliced(1, close - 1)))
            return genre;
        text = text.sliced(close + 1).trimmed();
    }
    if (const std::optional<quint8> genre = namedGenre(text))
        return genre;
    const std::optional<int> id = GenreTable::find(text);
    return id ? std::optional<quint8>(static_cast<quint8>(*id)) : std::nullopt;
}

std::optional<quint8> genreOf(const TagLib::ID3v2::Tag &tag)
{
    for (TagLib::ID3v2::Frame *frame : framesOf(tag, "TCON")) {
        const auto *text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame *>(frame);
        const TagLib::StringList values = text ? text->fieldList() : TagLib::StringList(frame->toString());
        for (const TagLib::String &value : values) {
            if (const std::optional<quint8> genre = genreOf(toQString(value)))
                return genre;
        }
    }
    return std::nullopt;
}

// TagLib reads v2.2 and v2.3 frames under their v2.4 names (TT2 as TIT2, TYER
// as TDRC), and TagLib 1.13 already splits "(17)Rock" into its values; the
// genre forms are still read whole in case a TagLib leaves them so.
TagUpdate fieldsOf(const QByteArray &tagBytes)
{
    const TagLib::ByteVector bytes(tagBytes.constData(), static_cast<unsigned>(tagBytes.size()));
    TagLib::ByteVectorStream stream(bytes);
    RegionFile file(&stream);
    const TagLib::ID3v2::Tag tag(&file, 0);
    std::optional<QString> artist = firstText(tag, "TPE1");
    if (!artist)
        artist = firstText(tag, "TPE2");
    const std::optional<QString> track = firstText(tag, "TRCK");
    return {.Title = firstText(tag, "TIT2"),
            .Artist = artist,
            .Album = firstText(tag, "TALB"),
            .Year = yearOf(tag),
            .Comment = commentOf(tag),
            .TrackNumber = track ? trackNumberOf(*track) : std::nullopt,
            .GenreID = genreOf(tag)};
}

void leaveOut(TagUpdate &fields, Id3v2Field field)
{
    switch (field) {
    case Id3v2Field::Title: fields.Title.reset(); break;
    case Id3v2Field::Artist: fields.Artist.reset(); break;
    case Id3v2Field::Album: fields.Album.reset(); break;
    case Id3v2Field::Year: fields.Year.reset(); break;
    case Id3v2Field::Comment: fields.Comment.reset(); break;
    case Id3v2Field::TrackNumber: fields.TrackNumber.reset(); break;
    case Id3v2Field::Genre: fields.GenreID.reset(); break;
    }
}

}  // namespace

Id3v2Text id3v2TextOfWalk(const Id3v2Tag &tag)
{
    // The reading is bounded by the region's size as the file's is.
    if (tag.state != Id3v2WalkState::NoTag && tag.header.tagSize() > kMaxId3v2Size)
        return {.state = Id3v2State::Unreadable};
    switch (tag.state) {
    case Id3v2WalkState::Walked:
        break;
    case Id3v2WalkState::NoTag:
        return {.state = Id3v2State::NoTag};
    case Id3v2WalkState::Malformed:
    case Id3v2WalkState::TooManyFrames:
        return {.state = Id3v2State::Unreadable};
    }
    Id3v2Text text{.state = Id3v2State::Read, .cutShort = tag.end != Id3v2FramesEnd::Padding};
    bool albumArtistUnreadable = false;
    text.fields = fieldsOf(tagToParse(tag, text.unreadable, albumArtistUnreadable));
    // An album artist that cannot be read matters only where no artist is.
    if (albumArtistUnreadable && !text.fields.Artist && !text.unreadable.contains(Id3v2Field::Artist))
        text.unreadable << Id3v2Field::Artist;
    std::sort(text.unreadable.begin(), text.unreadable.end());
    for (const Id3v2Field field : std::as_const(text.unreadable))
        leaveOut(text.fields, field);
    return text;
}

Id3v2Text parseId3v2Text(QByteArrayView bytes)
{
    // The reading is bounded by the region's size as the file's is: a
    // larger region is not walked at all.
    Id3v2Header header;
    if (readId3v2Header(bytes.first(std::min(bytes.size(), kId3v2HeaderSize)), header) == Id3v2HeaderState::Tag
        && header.tagSize() > kMaxId3v2Size)
        return {.state = Id3v2State::Unreadable};
    return id3v2TextOfWalk(walkId3v2Tag(QByteArray::fromRawData(bytes.data(), bytes.size())));
}

bool id3v2FrameIsRead(quint8 version, QByteArrayView id)
{
    return fieldOf(version, id).has_value();
}

bool id3v2CommentHasDescription(QByteArrayView content)
{
    return !CommentContent(content).description().isEmpty();
}
