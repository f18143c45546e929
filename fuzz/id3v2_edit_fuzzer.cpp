// Feeds arbitrary bytes, as a file's ID3v2 tag, to W's editing of it. An
// edited tag must walk, and must read back in step with the row it was
// edited for: editing it again for the same row changes nothing. A row with
// every field blank leaves a tag that walks, or none. Laid over the old
// tag in place, the edit must give a tag of the old size that walks to its
// padding, keeps the frames that stay where they were, and reads as the
// edited tag does.

#include "FuzzCheck.h"
#include "id3v2/Id3v2Edit.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2InPlace.h"
#include "id3v2/Id3v2InStep.h"
#include "id3v2/Id3v2Text.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

const TagRecord kRow{.Title = QStringLiteral("夜明けの歌"),
                     .Artist = QStringLiteral("Café"),
                     .Album = QStringLiteral("ベスト盤"),
                     .Year = QStringLiteral("2003"),
                     .Comment = QStringLiteral("コメント"),
                     .TrackNumber = 7,
                     .GenreID = 17};
// Genre 255 is none.
const TagRecord kBlankRow{.GenreID = 255};

void checkInPlace(const Id3v2Edit &edit, const TagRecord &row, bool everyField)
{
    const std::optional<QList<Id3v2Span>> spans = id3v2EditInPlace(edit);
    if (!spans)
        return;
    const Id3v2Tag &old = edit.old;
    QByteArray laid = old.bytes.first(static_cast<qsizetype>(old.header.tagSize()));
    for (const Id3v2Span &span : *spans) {
        check(span.offset >= kId3v2HeaderSize && span.offset + span.bytes.size() <= laid.size(), "a span out of the tag");
        laid.replace(static_cast<qsizetype>(span.offset), span.bytes.size(), span.bytes);
    }
    const Id3v2Tag walked = walkId3v2Tag(laid);
    check(walked.state == Id3v2WalkState::Walked && walked.end == Id3v2FramesEnd::Padding, "a tag laid in place does not walk");
    for (const Id3v2EditFrame &frame : edit.frames) {
        if (frame.kept < 0)
            continue;
        const QByteArrayView bytes = editedFrameBytes(edit, frame);
        const qint64 offset = old.frames[frame.kept].offset;
        check(bytes.size() < kStillFrame || QByteArrayView(laid).sliced(offset, bytes.size()) == bytes,
              "a large frame moved");
        check(laid.contains(bytes), "a kept frame lost");
    }
    if (!everyField)
        return;
    const Id3v2Text reading = parseId3v2Text(laid);
    check(reading.state == Id3v2State::Read && !id3v2OutOfStep(row, reading, kAllId3v2Fields),
          "a tag laid in place is out of step with its row");
}

void checkEdit(const QByteArray &tag, const TagRecord &row, bool everyField)
{
    const Id3v2Edit edit = editId3v2Tag(tag, row, kAllId3v2Fields);
    if (edit.state != Id3v2EditState::Edited)
        return;
    const QByteArray edited = editedTagBytes(edit, 0);
    if (edited.isEmpty()) {
        check(!everyField, "a row with every field left no tag");
        return;
    }
    check(walkId3v2Tag(edited).state == Id3v2WalkState::Walked, "an edited tag does not walk");
    checkInPlace(edit, row, everyField);
    if (!everyField)
        return;
    const Id3v2Text reading = parseId3v2Text(edited);
    check(reading.state == Id3v2State::Read, "an edited tag cannot be read");
    check(!id3v2OutOfStep(row, reading, kAllId3v2Fields), "an edited tag is out of step with its row");
    check(editId3v2Tag(edited, row, kAllId3v2Fields).state == Id3v2EditState::Unchanged, "an edited tag is edited again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray tag(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkEdit(tag, kRow, true);
    checkEdit(tag, kBlankRow, false);
    return 0;
}
