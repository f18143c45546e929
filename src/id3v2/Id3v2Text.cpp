#include "id3v2/Id3v2Text.h"

#include "id3v1/GenreTable.h"
#include "id3v2/Id3v2Frames.h"
#include "text/CellNumber.h"

#include <QCache>
#include <QMutex>
#include <QStringList>

#include <taglib/commentsframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/textidentificationframe.h>

#include <algorithm>
#include <memory>

namespace {

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

// What TagLib reads of one frame, as its tag reader would in a tag of that
// version: TagLib files 2.2 and 2.3 frames under their 2.4 ids (TT2 as TIT2,
// TYER as TDRC), and TagLib 1.13 already splits "(17)Rock" into its values.
struct FrameReading {
    bool read = false;  // TagLib made a frame of the bytes; its tag reader stops at one it cannot
    QByteArray id;
    QString text;        // trimmed
    QStringList values;  // a text frame's values, else its text; each trimmed
    bool isComment = false;
    bool described = false;  // a comment with a description
    QString commentText;     // trimmed
};

QString toQString(const TagLib::String &text)
{
    return QString::fromStdWString(text.toWString()).trimmed();
}

FrameReading parseFrame(quint8 version, const QByteArray &frameBytes)
{
    TagLib::ID3v2::Header header;
    header.setMajorVersion(version);
    const std::unique_ptr<TagLib::ID3v2::Frame> frame(TagLib::ID3v2::FrameFactory::instance()->createFrame(
        TagLib::ByteVector(frameBytes.constData(), static_cast<unsigned>(frameBytes.size())), &header));
    if (!frame || frame->size() == 0)
        return {};
    FrameReading reading;
    reading.read = true;
    reading.id = QByteArray(frame->frameID().data(), static_cast<qsizetype>(frame->frameID().size()));
    reading.text = toQString(frame->toString());
    if (const auto *text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame *>(frame.get())) {
        for (const TagLib::String &value : text->fieldList())
            reading.values << toQString(value);
    } else {
        reading.values << reading.text;
    }
    if (const auto *comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame *>(frame.get())) {
        reading.isComment = true;
        reading.described = !comment->description().isEmpty();
        reading.commentText = toQString(comment->text());
    }
    return reading;
}

// The frames read lately are remembered by their bytes: a tag read when its
// file is loaded is read again before it is written, and a tag just written
// is read again to check it, which shares all frames but the changed ones.
// The memory they take is bounded.
constexpr qsizetype kRememberedBytes = 1024 * 1024;
// What a remembered reading takes besides its key, about: its texts and
// the cache's own bookkeeping.
constexpr qsizetype kReadingOverhead = 256;

using SharedReading = std::shared_ptr<const FrameReading>;

SharedReading readFrame(quint8 version, const QByteArray &id, QByteArrayView content)
{
    static QMutex mutex;
    static QCache<QByteArray, SharedReading> remembered(kRememberedBytes);
    QByteArray key;  // a copy: the content may lie in the caller's bytes
    key.reserve(1 + id.size() + content.size());
    key.append(static_cast<char>(version)).append(id).append(content);
    {
        const QMutexLocker lock(&mutex);
        if (const SharedReading *known = remembered.object(key))
            return *known;
    }
    auto reading = std::make_shared<const FrameReading>(parseFrame(version, id3v2FrameBytes(version, id, content)));
    const QMutexLocker lock(&mutex);
    // A frame larger than the bound is not kept at all.
    remembered.insert(key, new SharedReading(reading), key.size() + kReadingOverhead);
    return reading;
}

// The frames Kalvo reads from the walked tag, each as its content reads (no
// flags, resynchronised, inflated), read by TagLib one by one. Frames that
// cannot be read name their fields in unreadable, but for the album
// artist, which is read only in want of an artist: albumArtistUnreadable
// tells of it.
QList<SharedReading> readFrames(const Id3v2Tag &tag, QList<Id3v2Field> &unreadable, bool &albumArtistUnreadable)
{
    const quint8 version = tag.header.version;
    QList<SharedReading> frames;
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
        SharedReading reading = readFrame(version, frame.id, content.data);
        // As in TagLib's tag reader, a frame it cannot make ends the frames.
        if (!reading->read)
            break;
        frames << std::move(reading);
    }
    return frames;
}

// The text of the first frame with that id; nothing when it is empty.
std::optional<QString> firstText(const QList<SharedReading> &frames, QByteArrayView id)
{
    const auto found = std::find_if(frames.begin(), frames.end(), [&](const SharedReading &f) { return f->id == id; });
    if (found == frames.end() || (*found)->text.isEmpty())
        return std::nullopt;
    return (*found)->text;
}

std::optional<QString> commentOf(const QList<SharedReading> &frames)
{
    // The first comment without a description that has text: one without
    // text (TagLib reads a description with no text after it as a text)
    // hides none that follows.
    for (const SharedReading &frame : frames) {
        if (frame->id == "COMM" && frame->isComment && !frame->described && !frame->commentText.isEmpty())
            return frame->commentText;
    }
    return firstText(frames, "COMM");
}

std::optional<QString> yearOf(const QList<SharedReading> &frames)
{
    std::optional<QString> date = firstText(frames, "TDRC");
    if (!date)
        date = firstText(frames, "TYER");
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
// it, "17", or a name of the table. The forms are read whole in case a
// TagLib leaves them so.
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

std::optional<quint8> genreOf(const QList<SharedReading> &frames)
{
    for (const SharedReading &frame : frames) {
        if (frame->id != "TCON")
            continue;
        for (const QString &value : frame->values) {
            if (const std::optional<quint8> genre = genreOf(value))
                return genre;
        }
    }
    return std::nullopt;
}

TagUpdate fieldsOf(const QList<SharedReading> &frames)
{
    std::optional<QString> artist = firstText(frames, "TPE1");
    if (!artist)
        artist = firstText(frames, "TPE2");
    const std::optional<QString> track = firstText(frames, "TRCK");
    return {.Title = firstText(frames, "TIT2"),
            .Artist = artist,
            .Album = firstText(frames, "TALB"),
            .Year = yearOf(frames),
            .Comment = commentOf(frames),
            .TrackNumber = track ? trackNumberOf(*track) : std::nullopt,
            .GenreID = genreOf(frames)};
}

// A comment frame read from its content alone, as TagLib reads it in a tag.
struct CommentContent : TagLib::ID3v2::CommentsFrame {
    explicit CommentContent(QByteArrayView content)
    {
        parseFields(TagLib::ByteVector(content.data(), static_cast<unsigned>(content.size())));
    }
};

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
    text.fields = fieldsOf(readFrames(tag, text.unreadable, albumArtistUnreadable));
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
