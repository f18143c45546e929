// Feeds arbitrary bytes to classID3_V11 as the whole content of a file and
// checks what must hold for any file the codec accepts: a save touches only
// the last 128 bytes (or appends them), writes a well-formed block, and a
// saved tag reads back the same from the second load on. The same bytes read
// as CP932 text must encode back to themselves. Any violation aborts so the
// fuzzer records the input.

#include "Cp932.h"
#include "classID3_V11.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBlock = 128;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "tag_fuzzer: invariant violated: %s\n", what);
        std::abort();
    }
}

// One in-memory file reused for every input, named through /proc so the codec
// opens it by path like any other file.
struct MemFile {
    int fd = -1;
    QString path;

    MemFile()
    {
        fd = ::memfd_create("kalvo-tag-fuzz", MFD_CLOEXEC);
        check(fd >= 0, "memfd_create");
        path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    }

    void replace(const std::uint8_t *data, std::size_t size) const
    {
        check(::ftruncate(fd, 0) == 0, "ftruncate");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            check(n > 0, "pwrite");
            done += static_cast<std::size_t>(n);
        }
    }

    std::vector<std::uint8_t> contents() const
    {
        struct stat info {};
        check(::fstat(fd, &info) == 0, "fstat");
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            check(n > 0, "pread");
            done += static_cast<std::size_t>(n);
        }
        return bytes;
    }
};

// A loaded text has no trailing space, no NUL and fits its slot.
void checkLoadedText(const QString &text, qsizetype width)
{
    check(text.size() <= width, "loaded text longer than its slot");
    check(!text.endsWith(QLatin1Char(' ')), "loaded text keeps a trailing space");
    check(!text.contains(QChar(0)), "loaded text holds a NUL");
}

void checkLoaded(const classID3_V11 &tag)
{
    check(tag.ErrorString() == QLatin1String("NO ERROR"), "load succeeded without NO ERROR");
    const TagRecord f = tagFields(tag);
    checkLoadedText(f.Title, 30);
    checkLoadedText(f.Artist, 30);
    checkLoadedText(f.Album, 30);
    checkLoadedText(f.Year, 4);
    checkLoadedText(f.Comment, 28);
    check(f.TrackNumber <= 100, "loaded track number above 100");
}

bool startsWithTag(const std::uint8_t *p)
{
    return p[0] == 'T' && p[1] == 'A' && p[2] == 'G';
}

// The block written by a save: magic, no NUL in a text slot, then 0x00, track
// and genre as held.
void checkWrittenBlock(const std::uint8_t *block, const TagRecord &held)
{
    check(startsWithTag(block), "saved block lacks TAG");
    check(std::memchr(block + 3, 0, 125 - 3) == nullptr, "saved text slot holds 0x00");
    check(block[125] == 0x00, "byte 125 not zero");
    check(block[126] == held.TrackNumber, "saved track byte differs");
    check(block[127] == held.GenreID, "saved genre byte differs");
}

// Saves the held fields and checks the file changed only where it may.
// Returns the new contents.
std::vector<std::uint8_t> saveAndCheck(classID3_V11 &tag, const MemFile &file,
                                       const std::vector<std::uint8_t> &before)
{
    const bool hadTag = before.size() >= kBlock && startsWithTag(before.data() + before.size() - kBlock);
    const std::size_t keep = hadTag ? before.size() - kBlock : before.size();
    check(tag.SaveMp3File(QString()), "save of a loadable file failed");
    check(tag.ErrorString() == QLatin1String("NO ERROR"), "save succeeded without NO ERROR");
    std::vector<std::uint8_t> after = file.contents();
    check(after.size() == keep + kBlock, "length after save is neither old nor old + 128");
    check(std::memcmp(after.data(), before.data(), keep) == 0, "save changed bytes before the block");
    checkWrittenBlock(after.data() + keep, tagFields(tag));
    return after;
}

// What a load must give for the original bytes, apart from the texts.
void checkNumbersAgainstInput(const classID3_V11 &tag, const std::uint8_t *data, std::size_t size)
{
    if (size >= kBlock && startsWithTag(data + size - kBlock)) {
        const std::uint8_t *block = data + size - kBlock;
        quint8 track = block[126];
        if ((block[125] == ' ' && block[126] == ' ') || track > 100)
            track = 0;
        check(tag.GetTrackNumber() == track, "track number not as the rules give");
        check(tag.GetGenreID() == block[127], "genre byte not kept");
    } else {
        check(tagFields(tag) == TagRecord{}, "file without a tag did not load blank");
    }
}

// Any bytes read as text give the same bytes back.
void checkTextRoundTrip(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = Cp932::decode(bytes);
    check(Cp932::encode(text) == bytes, "decoded bytes do not encode back");
    check(Cp932::byteLength(text) == bytes.size(), "byte length of decoded bytes differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    checkTextRoundTrip(data, size);

    static const MemFile file;
    file.replace(data, size);
    const std::vector<std::uint8_t> original(data, data + size);

    classID3_V11 tag;
    if (!tag.LoadMp3File(file.path)) {
        check(tag.ErrorString() == QLatin1String("FILE NOT FOUND or FILE NOT MP3( ID3 over V2 NOT SUPPORT)"),
              "failed load without code 2");
        check(!tag.SaveMp3File(QString()), "save succeeded on a file that does not load");
        check(file.contents() == original, "failed save changed the file");
        return 0;
    }
    checkLoaded(tag);
    checkNumbersAgainstInput(tag, data, size);

    // load -> save -> load -> save -> load: the second and third loads agree.
    const std::vector<std::uint8_t> first = saveAndCheck(tag, file, original);
    check(tag.LoadMp3File(QString()), "load after save failed");
    checkLoaded(tag);
    const TagRecord second = tagFields(tag);
    const std::vector<std::uint8_t> again = saveAndCheck(tag, file, first);
    check(again.size() == first.size(), "second save changed the length");
    check(tag.LoadMp3File(QString()), "second load after save failed");
    check(tagFields(tag) == second, "tag not stable after a save and load");

    // Arbitrary text (the input read as UTF-16) through the setters: the block
    // stays well formed, the length stays, and no double-byte character is
    // split at the end of a slot (a split one would not read back whole).
    if (size >= 2) {
        const std::size_t units = std::min<std::size_t>(size / 2, 64);
        std::vector<char16_t> utf16(units);
        std::memcpy(utf16.data(), data, units * 2);
        const QString text = QString::fromUtf16(utf16.data(), static_cast<qsizetype>(units));
        tag.SetTrackName(text);
        tag.SetComment(text);
        tag.SetReleaseYear(text);
        check(tag.GetTrackName().size() <= 30 && tag.GetComment().size() <= 28 && tag.GetReleaseYear().size() <= 4,
              "setter kept more characters than the slot width");
        const std::vector<std::uint8_t> third = saveAndCheck(tag, file, again);
        check(third.size() == again.size(), "save over a tag changed the length");
        const std::uint8_t *block = third.data() + third.size() - kBlock;
        // A text is written up to its first U+0000, as a reader ends it there.
        const QString title = tag.GetTrackName().section(QChar(0), 0, 0);
        const QByteArray titleBytes = Cp932::encodeCut(title, 30);
        check(std::memcmp(block + 3, titleBytes.constData(), static_cast<std::size_t>(titleBytes.size())) == 0,
              "title bytes not as encoded");
        check(std::all_of(block + 3 + titleBytes.size(), block + 33, [](std::uint8_t b) { return b == ' '; }),
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
        check(tag.LoadMp3File(QString()), "load after saving arbitrary text failed");
        checkLoaded(tag);
    }
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
