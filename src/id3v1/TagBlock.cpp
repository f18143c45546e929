#include "id3v1/TagBlock.h"

#include "text/Cp932.h"

#include <cstring>

namespace {

// Where the slots start inside the block.
constexpr int kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93, kCommentAt = 97;
constexpr int kZeroAt = 125, kTrackAt = 126, kGenreAt = 127;

QString TrimRightSpace(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

// Text of one slot: it ends at its first 0x00 byte.
QString slotText(const TagBlock &block, int offset, int width)
{
    const auto *begin = reinterpret_cast<const char *>(block.data()) + offset;
    const auto *nul = static_cast<const char *>(std::memchr(begin, 0, static_cast<size_t>(width)));
    return Cp932::decode(QByteArrayView(begin, nul ? nul - begin : width));
}

// Writes the text into a space-filled slot. A U+0000 in the text would become
// a 0x00 byte, where a reader ends the text, so the text is written only up
// to it: what is written reads back the same, and no text slot ever holds
// 0x00.
void putSlot(TagBlock &block, int offset, int width, const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    const QByteArray bytes = Cp932::encodeCut(nul < 0 ? QStringView(text) : QStringView(text).left(nul), width);
    std::memcpy(block.data() + offset, bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Trailing spaces are padding. Two spaces at bytes 125 and 126 are the end of
// a space-padded ID3v1.0 comment, not a track.
void NormalizeTag(TagRecord &fields, const TagBlock &block)
{
    for (QString *text : {&fields.Title, &fields.Artist, &fields.Album, &fields.Year, &fields.Comment})
        *text = TrimRightSpace(*text);
    if ((block[kZeroAt] == ' ' && block[kTrackAt] == ' ') || fields.TrackNumber > 100)
        fields.TrackNumber = 0;
}

}  // namespace

bool hasTagMagic(const TagBlock &block)
{
    return std::memcmp(block.data(), "TAG", 3) == 0;
}

bool IsMp3Header(unsigned char b0, unsigned char b1, unsigned char b2)
{
    const bool mpeg1Layer3 = b0 == 0xFF && (b1 & 0xF0) == 0xF0 && (b1 & 0x08) == 0x08 && (b1 & 0x06) == 0x02;
    const bool id3v2 = b0 == 'I' && b1 == 'D' && b2 == '3';
    return mpeg1Layer3 || id3v2;
}

TagRecord parseTagBlock(const TagBlock &block)
{
    TagRecord fields{.Title = slotText(block, kTitleAt, kTitleWidth),
                     .Artist = slotText(block, kArtistAt, kArtistWidth),
                     .Album = slotText(block, kAlbumAt, kAlbumWidth),
                     .Year = slotText(block, kYearAt, kYearWidth),
                     .Comment = slotText(block, kCommentAt, kCommentWidth),
                     .TrackNumber = block[kTrackAt],
                     .GenreID = block[kGenreAt]};
    NormalizeTag(fields, block);
    return fields;
}

TagBlock renderTagBlock(const TagRecord &fields, const TagBlock &old)
{
    TagBlock block;
    block.fill(' ');
    std::memcpy(block.data(), "TAG", 3);
    putSlot(block, kTitleAt, kTitleWidth, fields.Title);
    putSlot(block, kArtistAt, kArtistWidth, fields.Artist);
    putSlot(block, kAlbumAt, kAlbumWidth, fields.Album);
    putSlot(block, kYearAt, kYearWidth, fields.Year);
    putSlot(block, kCommentAt, kCommentWidth, fields.Comment);
    block[kZeroAt] = 0x00;
    block[kTrackAt] = fields.TrackNumber;
    block[kGenreAt] = fields.GenreID;
    if (!hasTagMagic(old))
        return block;

    const TagRecord was = parseTagBlock(old);
    const auto keep = [&](int at, int width) {
        std::memcpy(block.data() + at, old.data() + at, static_cast<size_t>(width));
    };
    if (fields.Title == was.Title)
        keep(kTitleAt, kTitleWidth);
    if (fields.Artist == was.Artist)
        keep(kArtistAt, kArtistWidth);
    if (fields.Album == was.Album)
        keep(kAlbumAt, kAlbumWidth);
    if (fields.Year == was.Year)
        keep(kYearAt, kYearWidth);
    if (fields.Comment == was.Comment)
        keep(kCommentAt, kCommentWidth);
    // Bytes 125 and 126 hold either the zero byte and the track, or the end
    // of an ID3v1.0 comment; they stay while neither field changed. Otherwise
    // the block becomes an ID3v1.1 one, which keeps the track byte while it
    // still reads as the track (a byte over 100 reads as none).
    if (fields.Comment == was.Comment && fields.TrackNumber == was.TrackNumber)
        keep(kZeroAt, 2);
    else if (old[kTrackAt] > 100 && fields.TrackNumber == 0)
        keep(kTrackAt, 1);
    return block;
}
