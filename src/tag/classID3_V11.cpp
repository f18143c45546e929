#include "classID3_V11.h"

#include "Cp932.h"
#include "GenreTable.h"
#include "TailFile.h"

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Slot offsets and widths inside the block.
constexpr int kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93, kCommentAt = 97;
constexpr int kZeroAt = 125, kTrackAt = 126, kGenreAt = 127;
constexpr int kTitleWidth = 30, kArtistWidth = 30, kAlbumWidth = 30, kYearWidth = 4, kCommentWidth = 28;
constexpr int kHeaderSize = 4;

// Text of one slot: it ends at its first 0x00 byte, as other tag writers pad
// with 0x00; trailing spaces are trimmed by the caller.
QString slotText(const classID3_V11::Block &block, int offset, int width)
{
    const auto *begin = reinterpret_cast<const char *>(block.data()) + offset;
    const auto *nul = static_cast<const char *>(std::memchr(begin, 0, static_cast<size_t>(width)));
    return Cp932::decode(QByteArrayView(begin, nul ? nul - begin : width));
}

// Writes the text space-padded. A U+0000 in the text would become a 0x00 byte,
// where a reader ends the text, so the text is written only up to it: what is
// written reads back the same, and no text slot ever holds 0x00.
void putSlot(classID3_V11::Block &block, int offset, int width, const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    const QByteArray bytes = Cp932::encodeCut(nul < 0 ? QStringView(text) : QStringView(text).left(nul), width);
    std::memcpy(block.data() + offset, bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The first count characters, without splitting a surrogate pair.
QString firstCharacters(const QString &text, qsizetype count)
{
    if (text.size() <= count)
        return text;
    if (count > 0 && text.at(count - 1).isHighSurrogate())
        --count;
    return text.left(count);
}

}  // namespace

void classID3_V11::SetMP3File(const QString &setMP3filename)
{
    Mp3FileName = setMP3filename;
}

bool classID3_V11::LoadMp3File(const QString &path)
{
    if (!path.isEmpty())
        Mp3FileName = path;
    if (Mp3FileName.isEmpty()) {
        ErrorCode = QStringLiteral("1");
        return false;
    }
    if (ReadTag(Mp3FileName))
        return true;
    ErrorCode = QStringLiteral("2");
    return false;
}

bool classID3_V11::SaveMp3File(const QString &path)
{
    if (!path.isEmpty())
        Mp3FileName = path;
    if (Mp3FileName.isEmpty()) {
        ErrorCode = QStringLiteral("1");
        return false;
    }
    if (WriteTag(Mp3FileName))
        return true;
    ErrorCode = QStringLiteral("2");
    return false;
}

QString classID3_V11::ErrorString() const
{
    if (ErrorCode == QLatin1String("0"))
        return QStringLiteral("NO ERROR");
    if (ErrorCode == QLatin1String("1"))
        return QStringLiteral("FILE NOT SET");
    if (ErrorCode == QLatin1String("2"))
        return QStringLiteral("FILE NOT FOUND or FILE NOT MP3( ID3 over V2 NOT SUPPORT)");
    return QStringLiteral("HAPPENING");
}

qint16 classID3_V11::Version() const
{
    return 100;
}

QString classID3_V11::GetTrackName() const { return ID3Tag.Title; }
QString classID3_V11::GetAirtistName() const { return ID3Tag.Artist; }
QString classID3_V11::GetAlbumName() const { return ID3Tag.Album; }
QString classID3_V11::GetReleaseYear() const { return ID3Tag.Year; }
QString classID3_V11::GetComment() const { return ID3Tag.Comment; }
quint8 classID3_V11::GetTrackNumber() const { return ID3Tag.TrackNumber; }
quint8 classID3_V11::GetGenreID() const { return ID3Tag.GenreID; }

void classID3_V11::SetTrackName(const QString &newTrackName) { ID3Tag.Title = firstCharacters(newTrackName, kTitleWidth); }
void classID3_V11::SetAirtistName(const QString &newAirtistName) { ID3Tag.Artist = firstCharacters(newAirtistName, kArtistWidth); }
void classID3_V11::SetAlbumName(const QString &newAlbumName) { ID3Tag.Album = firstCharacters(newAlbumName, kAlbumWidth); }
void classID3_V11::SetReleaseYear(const QString &newReleaseYear) { ID3Tag.Year = firstCharacters(newReleaseYear, kYearWidth); }
void classID3_V11::SetComment(const QString &newComment) { ID3Tag.Comment = firstCharacters(newComment, kCommentWidth); }
void classID3_V11::SetTrackNumber(quint8 newTrackNumber) { ID3Tag.TrackNumber = newTrackNumber; }
void classID3_V11::SetGenreID(quint8 newGenreID) { ID3Tag.GenreID = newGenreID; }

QString classID3_V11::GetGenreString(qint16 gID)
{
    return GenreTable::name(gID);
}

// Tests the first bytes of the open file and fetches its last 128 bytes.
// Errors reading either leave the file counted as not an MP3, so a save never
// appends a second block to a file whose tail it could not see.
classID3_V11::TagState classID3_V11::CheckMp3File(int fd, qint64 length, Block &tail)
{
    std::array<unsigned char, kHeaderSize> header{};  // bytes past the end count as 0x00
    if (readAt(fd, header.data(), kHeaderSize, 0) < 0)
        return NotMp3;
    if (!IsMp3Header(header[0], header[1], header[2])) {
        ErrorCode = QStringLiteral("2");
        return NotMp3;
    }
    TagState state = TagPresent;
    if (length < kBlockSize) {
        state = NoTag;
    } else {
        if (readAt(fd, tail.data(), kBlockSize, length - kBlockSize) != kBlockSize)
            return NotMp3;
        if (std::memcmp(tail.data(), "TAG", 3) != 0)
            state = NoTag;
    }
    ErrorCode = QStringLiteral("0");
    return state;
}

bool classID3_V11::IsMp3Header(unsigned char b0, unsigned char b1, unsigned char b2)
{
    // MPEG-1 Layer III frame sync, or an ID3v2 tag in front of the audio.
    const bool mpeg1Layer3 = b0 == 0xFF && (b1 & 0xF0) == 0xF0 && (b1 & 0x08) == 0x08 && (b1 & 0x06) == 0x02;
    const bool id3v2 = b0 == 'I' && b1 == 'D' && b2 == '3';
    return mpeg1Layer3 || id3v2;
}

bool classID3_V11::ReadTag(const QString &path)
{
    qint64 length = 0;
    const FileDescriptor file = openRegularFile(path, O_RDONLY, length);
    if (!file.isOpen())
        return false;
    Block block{};
    switch (CheckMp3File(file.get(), length, block)) {
    case NotMp3:
        return false;
    case NoTag:
        ClearTag();
        return true;
    case TagPresent:
        NormalizeTag(block);
        return true;
    }
    return false;
}

void classID3_V11::NormalizeTag(const Block &block)
{
    ID3Tag.Title = TrimRightSpace(slotText(block, kTitleAt, kTitleWidth));
    ID3Tag.Artist = TrimRightSpace(slotText(block, kArtistAt, kArtistWidth));
    ID3Tag.Album = TrimRightSpace(slotText(block, kAlbumAt, kAlbumWidth));
    ID3Tag.Year = TrimRightSpace(slotText(block, kYearAt, kYearWidth));
    ID3Tag.Comment = TrimRightSpace(slotText(block, kCommentAt, kCommentWidth));
    ID3Tag.TrackNumber = block[kTrackAt];
    ID3Tag.GenreID = block[kGenreAt];
    // Two spaces here are the end of a space-padded 30-byte ID3v1.0 comment.
    if (block[kZeroAt] == ' ' && block[kTrackAt] == ' ')
        ID3Tag.TrackNumber = 0;
    if (ID3Tag.TrackNumber > 100)
        ID3Tag.TrackNumber = 0;
}

QString classID3_V11::TrimRightSpace(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

void classID3_V11::ClearTag()
{
    ID3Tag = TagRecord{};
}

classID3_V11::Block classID3_V11::BuildBlock() const
{
    Block block;
    block.fill(' ');
    std::memcpy(block.data(), "TAG", 3);
    putSlot(block, kTitleAt, kTitleWidth, ID3Tag.Title);
    putSlot(block, kArtistAt, kArtistWidth, ID3Tag.Artist);
    putSlot(block, kAlbumAt, kAlbumWidth, ID3Tag.Album);
    putSlot(block, kYearAt, kYearWidth, ID3Tag.Year);
    putSlot(block, kCommentAt, kCommentWidth, ID3Tag.Comment);
    block[kZeroAt] = 0x00;
    block[kTrackAt] = ID3Tag.TrackNumber;
    block[kGenreAt] = ID3Tag.GenreID;
    return block;
}

// Overwrites the block in place, or appends one to a file without it, and
// leaves making it durable to the caller. A write that fails is undone at
// once: an append is cut off again, an overwrite gets the old block back. The
// bytes before the block are never written.
bool classID3_V11::WriteTagBlock(const QString &path, FileDescriptor &file, TailBefore &before)
{
    file = openRegularFile(path, O_RDWR, before.length);
    if (!file.isOpen())
        return false;
    const TagState state = CheckMp3File(file.get(), before.length, before.oldBlock);
    if (state == NotMp3)
        return false;
    before.hadBlock = state == TagPresent;
    const qint64 offset = before.hadBlock ? before.length - kBlockSize : before.length;
    if (writeAt(file.get(), BuildBlock(), offset))
        return true;
    undoTailWrite(file.get(), before);
    return false;
}

// A block that cannot be made durable is undone as a failed write is, so a
// failed save leaves the file as it was.
bool classID3_V11::WriteTag(const QString &path)
{
    FileDescriptor file;
    TailBefore before;
    if (!WriteTagBlock(path, file, before))
        return false;
    if (::fdatasync(file.get()) == 0)
        return true;
    undoTailWrite(file.get(), before);
    return false;
}
