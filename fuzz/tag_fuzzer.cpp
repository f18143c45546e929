// Feeds arbitrary bytes to the tag block's reading and building and checks
// what must hold for any block: what is read fits its slots, a built block is
// well formed, a block built from what was read over the block it came from
// is that block byte for byte, and a new block reads back the same from the
// second reading on. The same bytes read as CP932 text must encode to the
// same text. The bytes as the start of a file go through the ID3v2 reading,
// whose fields must have the forms the ID3v1.1 fields take, and as a field's
// bytes through the reading as UTF-8 and EUC-JP. Any violation aborts so the
// fuzzer records the input.

#include "Cp932.h"
#include "ForeignText.h"
#include "GenreTable.h"
#include "Id3v2Text.h"
#include "TagBlock.h"
#include "classID3_V11.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "tag_fuzzer: invariant violated: %s\n", what);
        std::abort();
    }
}

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

// Any bytes read as text give bytes of the same length that read as the same
// text (a doubly coded character comes back in the code Windows writes).
void checkTextRoundTrip(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = Cp932::decode(bytes);
    check(Cp932::decode(Cp932::encode(text)) == text, "decoded bytes do not encode to the same text");
    check(Cp932::byteLength(text) == bytes.size(), "byte length of decoded bytes differs");
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
    bool boundary = titleBytes.isEmpty();
    for (qsizetype k = 1; k <= title.size() && !boundary; ++k) {
        if (k < title.size() && title.at(k - 1).isHighSurrogate() && title.at(k).isLowSurrogate())
            continue;
        boundary = Cp932::encode(QStringView(title).left(k)) == titleBytes;
    }
    check(boundary, "title cut inside a character");
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

// A text taken from another source, cut to a slot: the cut is a whole number
// of characters, and its bytes are those encodeCut gives.
void checkCut(const std::optional<QString> &text, qsizetype width)
{
    if (!text)
        return;
    check(!text->isEmpty() && *text == text->trimmed(), "taken text empty or with surrounding blanks");
    const QString cut = Cp932::cutText(*text, width);
    check(text->startsWith(cut), "cut text is no prefix");
    check(Cp932::encode(cut) == Cp932::encodeCut(*text, width), "cut text's bytes differ from encodeCut");
}

void checkId3v2(const std::uint8_t *data, std::size_t size)
{
    const Id3v2Text tag = parseId3v2Text(QByteArrayView(data, static_cast<qsizetype>(size)));
    const TagUpdate &fields = tag.fields;
    if (tag.state != Id3v2State::Read) {
        check(!fields.Title && !fields.Artist && !fields.Album && !fields.Year && !fields.Comment
                  && !fields.TrackNumber && !fields.GenreID,
              "fields from a tag that was not read");
        return;
    }
    checkCut(fields.Title, kTitleWidth);
    checkCut(fields.Artist, kArtistWidth);
    checkCut(fields.Album, kAlbumWidth);
    checkCut(fields.Comment, kCommentWidth);
    if (fields.Year)
        check(fields.Year->size() == 4 && std::all_of(fields.Year->begin(), fields.Year->end(), [](QChar c) {
                  return c >= u'0' && c <= u'9';
              }),
              "year is not four digits");
    check(!fields.TrackNumber || *fields.TrackNumber >= 1, "track 0 taken");
    check(!fields.GenreID || !GenreTable::name(*fields.GenreID).isEmpty(), "genre without a name taken");
}

// What is read as UTF-8 is the bytes (less a byte order mark) but for at
// most a cut character at their end, the bytes filling their slot.
void checkForeign(const std::uint8_t *data, std::size_t size)
{
    QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    (void)decodeForeign(ForeignCodePage::EucJp, bytes, bytes.size());
    const std::optional<QString> text = decodeForeign(ForeignCodePage::Utf8, bytes, bytes.size());
    if (!text)
        return;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const QByteArray back = text->toUtf8();
    check(bytes.startsWith(back) && bytes.size() - back.size() < 4, "UTF-8 reading is not the bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    checkTextRoundTrip(data, size);

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
    checkId3v2(data, size);
    checkForeign(data, size);
    return 0;
}

#ifdef KALVO_FUZZ_REPLAY
// Runs every file of the given folders through the target once, so the seed
// corpus and any saved crash inputs are checked with an ordinary build.
#include <filesystem>
#include <fstream>
#include <iterator>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s folder-or-file...\n", argv[0]);
        return 2;
    }
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> inputs;
        const std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto &entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.push_back(arg);
        }
        for (const auto &path : inputs) {
            std::ifstream in(path, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return count > 0 ? 0 : 1;
}
#endif
