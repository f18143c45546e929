// Feeds arbitrary bytes to the tag block's reading and building and checks
// what must hold for any block: what is read fits its slots, a built block is
// well formed, a block built from what was read over the block it came from
// is that block byte for byte, and a new block reads back the same from the
// second reading on. The bytes as text go through the tag class's setters.

#include "FuzzCheck.h"
#include "id3v1/TagBlock.h"
#include "tagfiles/classID3_V11.h"
#include "text/Cp932.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A read text has no trailing space, no NUL and fits its slot.
void checkReadText(const QString &text, qsizetype width)
{
    check(text.size() <= width, "read text longer than its slot");
    check(!text.endsWith(QLatin1Char(' ')), "read text keeps a trailing space");
    check(!text.contains(QChar(0)), "read text holds a NUL");
}

void checkRead(const TagRecord &fields, const TagBlock &block)
{
    checkReadText(fields.Title, 30);
    checkReadText(fields.Artist, 30);
    checkReadText(fields.Album, 30);
    checkReadText(fields.Year, 4);
    checkReadText(fields.Comment, 28);
    quint8 track = block[126];
    if ((block[125] == ' ' && block[126] == ' ') || track > 100)
        track = 0;
    check(fields.TrackNumber == track, "track number not as the rules give");
    check(fields.GenreID == block[127], "genre byte not kept");
}

// A built block: magic, no NUL in a text slot, then 0x00, track and genre as
// given.
void checkBuilt(const TagBlock &block, const TagRecord &fields)
{
    check(hasTagMagic(block), "built block lacks TAG");
    check(std::memchr(block.data() + 3, 0, 125 - 3) == nullptr, "built text slot holds 0x00");
    check(block[125] == 0x00, "byte 125 not zero");
    check(block[126] == fields.TrackNumber, "built track byte differs");
    check(block[127] == fields.GenreID, "built genre byte differs");
}

// Arbitrary text (the input read as UTF-16) through the tag class's setters:
// the built block stays well formed, and no double-byte character is split at
// the end of a slot (a split one would not read back whole).
void checkSetText(const std::uint8_t *data, std::size_t size)
{
    const std::size_t units = std::min<std::size_t>(size / 2, 64);
    std::vector<char16_t> utf16(units);
    std::memcpy(utf16.data(), data, units * 2);
    const QString text = QString::fromUtf16(utf16.data(), static_cast<qsizetype>(units));
    classID3_V11 tag;
    tag.SetTrackName(text);
    tag.SetComment(text);
    tag.SetReleaseYear(text);
    check(tag.GetTrackName().size() <= 30 && tag.GetComment().size() <= 28 && tag.GetReleaseYear().size() <= 4,
          "setter kept more characters than the slot width");
    const TagRecord fields = tagFields(tag);
    const TagBlock block = renderTagBlock(fields, TagBlock{});
    checkBuilt(block, fields);
    // A text is written up to its first U+0000, as a reader ends it there.
    const QString title = fields.Title.section(QChar(0), 0, 0);
    const QByteArray titleBytes = Cp932::encodeCut(title, 30);
    check(std::memcmp(block.data() + 3, titleBytes.constData(), static_cast<std::size_t>(titleBytes.size())) == 0,
          "title bytes not as encoded");
    check(std::all_of(block.begin() + 3 + titleBytes.size(), block.begin() + 33, [](std::uint8_t b) { return b == ' '; }),
          "title slot not padded with spaces");
    // The cut ends on a character boundary: the bytes are those of a whole
    // number of leading characters.
    const QString cut = Cp932::cutText(title, 30);
    const bool splitsPair = !cut.isEmpty() && cut.size() < title.size() && cut.back().isHighSurrogate()
                            && title.at(cut.size()).isLowSurrogate();
    check(title.startsWith(cut) && !splitsPair && Cp932::encode(cut) == titleBytes, "title cut inside a character");
    const QByteArray whole = Cp932::encode(title);
    check(whole.size() > 30 || whole == titleBytes, "title that fits was cut");
    checkRead(parseTagBlock(block), block);
}

// Building over an old block keeps the bytes of the fields that still read as
// they did, which must never change what the new block reads as.
void checkBuiltOver(const TagBlock &old, const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qMin<qsizetype>(qsizetype(size), 40));
    TagRecord fields = parseTagBlock(old);
    if (hasTagMagic(old))
        check(renderTagBlock(fields, old) == old, "a block nobody changed was not kept byte for byte");
    const auto fresh = [](const TagRecord &f) { return parseTagBlock(renderTagBlock(f, TagBlock{})); };
    classID3_V11 tag;
    putTagFields(tag, fields);
    tag.SetComment(text);
    check(parseTagBlock(renderTagBlock(tagFields(tag), old)) == fresh(tagFields(tag)), "kept bytes changed a comment");
    putTagFields(tag, fields);
    tag.SetTrackNumber(static_cast<quint8>(size));
    check(parseTagBlock(renderTagBlock(tagFields(tag), old)) == fresh(tagFields(tag)), "kept bytes changed a track");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The input's last 128 bytes as the block at the end of a file; a shorter
    // input is the block's start, 0x00 after it.
    TagBlock block{};
    const std::size_t taken = std::min<std::size_t>(size, block.size());
    if (taken > 0)
        std::memcpy(block.data(), data + size - taken, taken);
    const TagRecord first = parseTagBlock(block);
    checkRead(first, block);

    checkBuiltOver(block, data, size);

    // read -> build -> read -> build -> read: the second and third reads agree.
    const TagBlock built = renderTagBlock(first, TagBlock{});
    checkBuilt(built, first);
    const TagRecord second = parseTagBlock(built);
    checkRead(second, built);
    const TagBlock rebuilt = renderTagBlock(second, TagBlock{});
    checkBuilt(rebuilt, second);
    check(parseTagBlock(rebuilt) == second, "tag not stable after a build and read");

    if (size >= 2)
        checkSetText(data, size);
    return 0;
}
