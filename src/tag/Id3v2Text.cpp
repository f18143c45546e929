#include "Id3v2Text.h"

#include "CellNumber.h"
#include "FileDescriptor.h"
#include "GenreTable.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfile.h>

#include <fcntl.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 kHeaderSize = 10;

// The bytes of a tag region as the file TagLib's tag reader asks for. It has
// no tag or properties of its own and refuses to save.
class RegionFile : public TagLib::File
{
public:
    explicit RegionFile(TagLib::IOStream *stream) : TagLib::File(stream) {}
    TagLib::Tag *tag() const override { return nullptr; }
    TagLib::AudioProperties *audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

// Whether the start of a file holds a v2 tag TagLib may be given, and the
// size of its region: the header (major version 2 to 4, a revision below
// 0xFF, a size of four 7-bit bytes), the size, and a v2.4 footer.
Id3v2State checkHeader(QByteArrayView start, qint64 fileLength, qint64 &regionSize)
{
    if (start.size() < 3 || std::memcmp(start.data(), "ID3", 3) != 0)
        return Id3v2State::NoTag;
    if (start.size() < kHeaderSize)
        return Id3v2State::Unreadable;
    const auto byte = [&start](int i) { return static_cast<unsigned char>(start[i]); };
    if (byte(3) < 2 || byte(3) > 4 || byte(4) == 0xFF)
        return Id3v2State::Unreadable;
    qint64 size = 0;
    for (int i = 6; i < kHeaderSize; ++i) {
        if (byte(i) & 0x80)
            return Id3v2State::Unreadable;
        size = size << 7 | byte(i);
    }
    const bool footer = byte(3) == 4 && (byte(5) & 0x10);
    regionSize = kHeaderSize + size + (footer ? kHeaderSize : 0);
    return regionSize <= kMaxId3v2Size && regionSize <= fileLength ? Id3v2State::Read : Id3v2State::Unreadable;
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

std::optional<QString> commentOf(const TagLib::ID3v2::Tag &tag)
{
    const TagLib::ID3v2::FrameList frames = framesOf(tag, "COMM");
    for (TagLib::ID3v2::Frame *frame : frames) {
        const auto *comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame *>(frame);
        if (comment && comment->description().isEmpty()) {
            QString text = toQString(comment->text());
            return text.isEmpty() ? std::nullopt : std::optional<QString>(std::move(text));
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
TagUpdate fieldsOf(const TagLib::ByteVector &region)
{
    TagLib::ByteVectorStream stream(region);
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

}  // namespace

Id3v2Text readId3v2Text(const QString &path)
{
    qint64 length = 0;
    const FileDescriptor file = openRegularFile(path, O_RDONLY, length);
    if (!file.isOpen())
        return {.state = Id3v2State::Unreadable};
    unsigned char header[kHeaderSize]{};
    const qint64 got = readAt(file.get(), header, kHeaderSize, 0);
    if (got < 0)
        return {.state = Id3v2State::Unreadable};
    qint64 size = 0;
    const Id3v2State state = checkHeader(QByteArrayView(header, got), length, size);
    if (state != Id3v2State::Read)
        return {.state = state};
    // Read straight into TagLib's buffer: a region may hold megabytes of
    // pictures.
    TagLib::ByteVector region(static_cast<unsigned>(size), '\0');
    if (readAt(file.get(), reinterpret_cast<unsigned char *>(region.data()), size, 0) != size)
        return {.state = Id3v2State::Unreadable};
    return {.state = Id3v2State::Read, .fields = fieldsOf(region)};
}

Id3v2Text parseId3v2Text(QByteArrayView bytes)
{
    qint64 size = 0;
    const Id3v2State state = checkHeader(bytes.first(qMin(bytes.size(), kHeaderSize)), bytes.size(), size);
    if (state != Id3v2State::Read)
        return {.state = state};
    return {.state = Id3v2State::Read,
            .fields = fieldsOf(TagLib::ByteVector(bytes.data(), static_cast<unsigned>(size)))};
}
