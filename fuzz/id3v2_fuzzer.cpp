// Feeds arbitrary bytes, as the start of a file, to the ID3v2 reading. The
// frame walk must stay inside the tag: frames follow one another from the
// end of the headers to where the walk stopped, no more of them than the
// limit, and a frame's content is never over the limit asked. A tag rebuilt
// of the walked frames walks the same. The fields read must have the forms
// the ID3v1.1 fields take, none of them reported unreadable. TagLib reads
// the frames one by one as its tag reader reads them all in one tag: the
// title, album and track read agree with what it reads of the same frames
// put in one tag.

#include "FuzzCheck.h"
#include "id3v1/GenreTable.h"
#include "id3v1/TagBlock.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2Text.h"
#include "text/Cp932.h"

#include <QByteArray>
#include <QString>

#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

constexpr qint64 kContentLimit = 4096;

void checkWalk(const QByteArray &bytes)
{
    const Id3v2Tag tag = walkId3v2Tag(bytes);
    if (tag.state != Id3v2WalkState::Walked) {
        check(tag.frames.isEmpty(), "frames from a tag not walked");
        return;
    }
    const qint64 headerSize = id3v2FrameHeaderSize(tag.header.version);
    check(tag.frames.size() <= kMaxId3v2Frames, "more frames than the limit");
    check(kId3v2HeaderSize <= tag.framesStart && tag.framesStart <= tag.framesEnd
              && tag.framesEnd <= kId3v2HeaderSize + tag.header.size && tag.framesEnd <= tag.bytes.size(),
          "frames outside the tag");
    qint64 at = tag.framesStart;
    QByteArray rebuilt;
    for (const Id3v2Frame &frame : tag.frames) {
        check(frame.offset == at && frame.size >= 0, "frames do not follow one another");
        at += headerSize + frame.size;
        check(std::all_of(frame.id.begin(), frame.id.end(), [](char c) {
                  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
              }),
              "frame id of other characters");
        rebuilt += tag.frameBytes(frame);
        const Id3v2FrameContent content = id3v2FrameContent(tag, frame, kContentLimit);
        check(content.state == Id3v2ContentState::Read ? content.data.size() <= kContentLimit : content.data.isEmpty(),
              "frame content over the limit, or given when not read");
    }
    check(at == tag.framesEnd, "the frames do not end where the walk stopped");

    const Id3v2Tag again = walkId3v2Tag(id3v2TagBytes(tag.header.version, rebuilt));
    check(again.state == Id3v2WalkState::Walked && again.frames.size() == tag.frames.size(),
          "a rebuilt tag walks otherwise");
    for (qsizetype i = 0; i < again.frames.size(); ++i) {
        const Id3v2Frame &frame = tag.frames[i];
        check(again.frames[i] == Id3v2Frame{.id = frame.id, .flags = frame.flags,
                                            .offset = frame.offset - tag.framesStart + kId3v2HeaderSize,
                                            .size = frame.size},
              "a rebuilt tag's frame differs");
    }
}

class BytesFile : public TagLib::File
{
public:
    explicit BytesFile(TagLib::IOStream *stream) : TagLib::File(stream) {}
    TagLib::Tag *tag() const override { return nullptr; }
    TagLib::AudioProperties *audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

// The text of the first frame with that id, as TagLib reads the frames the
// reading reads put in one tag; nothing when it is empty.
std::optional<QString> wholeTagText(const TagLib::ID3v2::Tag &tag, const char *id)
{
    const TagLib::ID3v2::FrameList frames = tag.frameList(id);
    if (frames.isEmpty())
        return std::nullopt;
    const QString text = QString::fromStdWString(frames.front()->toString().toWString()).trimmed();
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

void checkAsOneTag(QByteArrayView bytes, const Id3v2Text &reading)
{
    const Id3v2Tag tag = walkId3v2Tag(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (reading.state != Id3v2State::Read || !reading.unreadable.isEmpty() || tag.state != Id3v2WalkState::Walked)
        return;
    QByteArray frames;
    for (const Id3v2Frame &frame : tag.frames) {
        if (!id3v2FrameIsRead(tag.header.version, frame.id))
            continue;
        const Id3v2FrameContent content = id3v2FrameContent(tag, frame, kContentLimit);
        if (content.state != Id3v2ContentState::Read || content.data.isEmpty())
            continue;
        frames += id3v2FrameBytes(tag.header.version, frame.id, content.data);
    }
    if (frames.size() > kContentLimit)
        return;  // the reading's limits may then leave frames out
    const QByteArray whole = id3v2TagBytes(tag.header.version, frames);
    const TagLib::ByteVector data(whole.constData(), static_cast<unsigned>(whole.size()));
    TagLib::ByteVectorStream stream(data);
    BytesFile file(&stream);
    const TagLib::ID3v2::Tag oneTag(&file, 0);
    const std::optional<QString> track = wholeTagText(oneTag, "TRCK");
    check(reading.fields.Title == wholeTagText(oneTag, "TIT2") && reading.fields.Album == wholeTagText(oneTag, "TALB")
              && reading.fields.TrackNumber == (track ? trackNumberOf(*track) : std::nullopt),
          "frames read one by one read otherwise than in one tag");
}

// A text taken from the tag: not empty, without surrounding blanks.
void checkTaken(const std::optional<QString> &text)
{
    check(!text || (!text->isEmpty() && *text == text->trimmed()), "taken text empty or with surrounding blanks");
}

void checkText(QByteArrayView bytes)
{
    const Id3v2Text tag = parseId3v2Text(bytes);
    const TagUpdate &fields = tag.fields;
    if (tag.state != Id3v2State::Read) {
        check(!fields.Title && !fields.Artist && !fields.Album && !fields.Year && !fields.Comment
                  && !fields.TrackNumber && !fields.GenreID && tag.unreadable.isEmpty() && !tag.cutShort,
              "fields from a tag that was not read");
        return;
    }
    for (const std::optional<QString> *text : {&fields.Title, &fields.Artist, &fields.Album, &fields.Comment})
        checkTaken(*text);
    if (fields.Year)
        check(fields.Year->size() == 4 && std::all_of(fields.Year->begin(), fields.Year->end(), [](QChar c) {
                  return c >= u'0' && c <= u'9';
              }),
              "year is not four digits");
    check(!fields.TrackNumber || *fields.TrackNumber >= 1, "track 0 taken");
    check(!fields.GenreID || !GenreTable::name(*fields.GenreID).isEmpty(), "genre without a name taken");
    check(std::is_sorted(tag.unreadable.begin(), tag.unreadable.end())
              && std::adjacent_find(tag.unreadable.begin(), tag.unreadable.end()) == tag.unreadable.end(),
          "unreadable fields not in order, or twice");
    const auto given = [&fields](Id3v2Field field) {
        switch (field) {
        case Id3v2Field::Title: return fields.Title.has_value();
        case Id3v2Field::Artist: return fields.Artist.has_value();
        case Id3v2Field::Album: return fields.Album.has_value();
        case Id3v2Field::Year: return fields.Year.has_value();
        case Id3v2Field::Comment: return fields.Comment.has_value();
        case Id3v2Field::TrackNumber: return fields.TrackNumber.has_value();
        case Id3v2Field::Genre: return fields.GenreID.has_value();
        }
        return true;
    };
    check(std::none_of(tag.unreadable.begin(), tag.unreadable.end(), given), "an unreadable field was given");
    checkAsOneTag(bytes, tag);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkWalk(QByteArray::fromRawData(bytes.data(), bytes.size()));
    checkText(bytes);
    return 0;
}
