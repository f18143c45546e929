// Feeds arbitrary bytes, as a file's ID3v2 tag, to W's editing of it. An
// edited tag must walk, and must read back in step with the row it was
// edited for: editing it again for the same row changes nothing. A row with
// every field blank leaves a tag that walks, or none.

#include "FuzzCheck.h"
#include "id3v2/Id3v2Edit.h"
#include "id3v2/Id3v2Frames.h"
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
