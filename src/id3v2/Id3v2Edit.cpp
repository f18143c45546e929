#include "id3v2/Id3v2Edit.h"

#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2From22.h"
#include "id3v2/Id3v2InStep.h"
#include "id3v2/Id3v2Text.h"

#include <taglib/commentsframe.h>
#include <taglib/textidentificationframe.h>

#include <algorithm>
#include <optional>

namespace {

// The id each field is written under in a tag of that version.
QByteArray frameIdOf(Id3v2Field field, quint8 version)
{
    switch (field) {
    case Id3v2Field::Title: return "TIT2";
    case Id3v2Field::Artist: return "TPE1";
    case Id3v2Field::Album: return "TALB";
    case Id3v2Field::Year: return version == 4 ? "TDRC" : "TYER";
    case Id3v2Field::Comment: return "COMM";
    case Id3v2Field::TrackNumber: return "TRCK";
    case Id3v2Field::Genre: return "TCON";
    }
    return {};
}

// TagLib's rendering of a frame's data, which its frames keep to
// themselves.
template <typename Frame>
struct RenderedFrame : Frame {
    using Frame::Frame;
    TagLib::ByteVector data() const { return this->renderFields(); }
};

TagLib::String tagLibText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return TagLib::String(TagLib::ByteVector(utf8.constData(), static_cast<unsigned>(utf8.size())),
                          TagLib::String::UTF8);
}

// The frame a field is written as; nothing when its text is blank.
QByteArray newFrame(Id3v2Field field, const QString &text, quint8 version)
{
    if (text.trimmed().isEmpty())
        return {};
    const TagLib::String::Type encoding = version == 4 ? TagLib::String::UTF8 : TagLib::String::UTF16;
    const QByteArray id = frameIdOf(field, version);
    TagLib::ByteVector data;
    if (field == Id3v2Field::Comment) {
        RenderedFrame<TagLib::ID3v2::CommentsFrame> frame(encoding);
        frame.setLanguage("jpn");
        frame.setText(tagLibText(text));
        data = frame.data();
    } else {
        RenderedFrame<TagLib::ID3v2::TextIdentificationFrame> frame(TagLib::ByteVector(id.constData(), 4), encoding);
        frame.setText(tagLibText(text));
        data = frame.data();
    }
    return id3v2FrameBytes(version, id, QByteArrayView(data.data(), data.size()));
}

// The field whose frames the frame is among, under its 2.3 or 2.4 id. A
// COMM frame is the comment's when it has no description, or cannot be read
// as one: as the ID3v2 reading counts it.
std::optional<Id3v2Field> fieldOfFrame(const Id3v2Tag &tag, const Id3v2Frame &frame, QByteArrayView id)
{
    if (id == "TIT2")
        return Id3v2Field::Title;
    if (id == "TPE1")
        return Id3v2Field::Artist;
    if (id == "TALB")
        return Id3v2Field::Album;
    if (id == "TYER" || id == "TDRC")
        return Id3v2Field::Year;
    if (id == "TRCK")
        return Id3v2Field::TrackNumber;
    if (id == "TCON")
        return Id3v2Field::Genre;
    if (id != "COMM")
        return std::nullopt;
    const Id3v2FrameContent content = id3v2FrameContent(tag, frame, kMaxId3v2FrameContent);
    if (content.state != Id3v2ContentState::Read || content.data.isEmpty() || content.data[0] < 0 || content.data[0] > 3
        || !id3v2CommentHasDescription(content.data))
        return Id3v2Field::Comment;
    return std::nullopt;
}

}  // namespace

Id3v2Edit editId3v2Tag(const QByteArray &bytes, const TagRecord &row, const QList<Id3v2Field> &given)
{
    const Id3v2Tag tag = walkId3v2Tag(bytes);
    switch (tag.state) {
    case Id3v2WalkState::NoTag:
    case Id3v2WalkState::Walked:
        break;
    case Id3v2WalkState::Malformed:
    case Id3v2WalkState::TooManyFrames:
        return {.state = Id3v2EditState::Unreadable};
    }
    if (tag.state == Id3v2WalkState::Walked && tag.end != Id3v2FramesEnd::Padding)
        return {.state = Id3v2EditState::CutShort};
    Id3v2Text reading = id3v2TextOfWalk(tag);
    if (reading.state == Id3v2State::Unreadable)
        return {.state = Id3v2EditState::Unreadable};
    const QList<Id3v2Field> outOfStep = id3v2FieldsOutOfStep(row, reading, given);
    if (outOfStep.isEmpty())
        return {.state = Id3v2EditState::Unchanged, .reading = std::move(reading)};

    const quint8 oldVersion = tag.state == Id3v2WalkState::NoTag ? 0 : tag.header.version;
    Id3v2Edit edit{.state = Id3v2EditState::Edited,
                   .version = static_cast<quint8>(oldVersion == 4 ? 4 : 3),
                   .flags = static_cast<quint8>(oldVersion == 4 ? tag.header.flags & 0x80 : 0)};
    QList<Id3v2Field> written;
    const auto write = [&](Id3v2Field field, qsizetype at) {
        QByteArray frame = newFrame(field, id3v2TextOf(row, field), edit.version);
        if (!frame.isEmpty())
            edit.frames << Id3v2EditFrame{.kept = -1, .bytes = std::move(frame), .at = at};
        written << field;
    };
    for (qsizetype i = 0; i < tag.frames.size(); ++i) {
        const Id3v2Frame &frame = tag.frames[i];
        QByteArray carried22;
        QByteArrayView id = frame.id;
        if (oldVersion == 2) {
            std::optional<QByteArray> carried = id3v2FrameFrom22(frame.id,
                                                                 tag.frameBytes(frame).sliced(id3v2FrameHeaderSize(2)));
            if (!carried)
                return {.state = Id3v2EditState::FrameNotCarried, .frameId = frame.id};
            carried22 = std::move(*carried);
            id = QByteArrayView(carried22).first(4);
        }
        const std::optional<Id3v2Field> field = fieldOfFrame(tag, frame, id);
        if (!field || !outOfStep.contains(*field)) {
            if (oldVersion == 2)
                edit.frames << Id3v2EditFrame{.kept = -1, .bytes = std::move(carried22), .at = i};
            else
                edit.frames << Id3v2EditFrame{.kept = i, .bytes = {}, .at = i};
        } else if (!written.contains(*field)) {
            write(*field, i);
        }
    }
    for (const Id3v2Field field : outOfStep) {
        if (!written.contains(field))
            write(field, -1);
    }
    edit.old = tag;
    return edit;
}

QByteArrayView editedFrameBytes(const Id3v2Edit &edit, const Id3v2EditFrame &frame)
{
    return frame.kept < 0 ? QByteArrayView(frame.bytes) : edit.old.frameBytes(edit.old.frames[frame.kept]);
}

qint64 editedFramesSize(const Id3v2Edit &edit)
{
    qint64 size = 0;
    for (const Id3v2EditFrame &frame : edit.frames)
        size += editedFrameBytes(edit, frame).size();
    return size;
}

QByteArray editedTagBytes(const Id3v2Edit &edit, qint64 size)
{
    if (edit.frames.isEmpty())
        return {};
    // The frames as they are, a cover picture of megabytes included, are
    // copied once: into the new tag.
    const qint64 framesSize = editedFramesSize(edit);
    const qint64 padding = std::max<qint64>(0, size - kId3v2HeaderSize - framesSize);
    QByteArray tag = id3v2TagHeader(edit.version, framesSize + padding);
    tag[5] = static_cast<char>(edit.flags);
    tag.reserve(kId3v2HeaderSize + framesSize + padding);
    for (const Id3v2EditFrame &frame : edit.frames)
        tag.append(editedFrameBytes(edit, frame));
    return tag.append(static_cast<qsizetype>(padding), '\0');
}
