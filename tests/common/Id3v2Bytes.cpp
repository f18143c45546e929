#include "common/Id3v2Bytes.h"

#include <QList>
#include <QStringList>

#include <zlib.h>

namespace {

QByteArray bigEndianBytes(qint64 n, int count)
{
    QByteArray bytes;
    for (int i = count - 1; i >= 0; --i)
        bytes.append(char(n >> (8 * i) & 0xFF));
    return bytes;
}

// TIT2, TPE1 and TALB in ISO-8859-1.
QByteArray textFrames()
{
    return frame23("TIT2", textData(kHostileTitle)) + frame23("TPE1", textData(kHostileArtist))
           + frame23("TALB", textData(kHostileAlbum));
}

QByteArray withAudio(const QByteArray &tag)
{
    return tag + QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(400, '\x55');
}

}  // namespace

QString id3v2Reading(const Id3v2Text &text)
{
    static const char *const kStates[] = {"read", "no tag", "unreadable"};
    static const char *const kFields[] = {"title", "artist", "album", "year", "comment", "track", "genre"};
    QStringList parts{kStates[static_cast<int>(text.state)]};
    const TagUpdate &f = text.fields;
    const std::pair<const char *, std::optional<QString>> texts[] = {
        {"title", f.Title}, {"artist", f.Artist}, {"album", f.Album}, {"year", f.Year}, {"comment", f.Comment}};
    for (const auto &[name, value] : texts) {
        if (value)
            parts << QStringLiteral("%1=%2").arg(name, *value);
    }
    if (f.TrackNumber)
        parts << QStringLiteral("track=%1").arg(*f.TrackNumber);
    if (f.GenreID)
        parts << QStringLiteral("genre=%1").arg(*f.GenreID);
    for (const Id3v2Field field : text.unreadable)
        parts << QStringLiteral("!%1").arg(kFields[static_cast<int>(field)]);
    if (text.cutShort)
        parts << QStringLiteral("cut short");
    return parts.join(u' ');
}

QByteArray syncsafe(qint64 n)
{
    const char bytes[] = {char(n >> 21 & 0x7F), char(n >> 14 & 0x7F), char(n >> 7 & 0x7F), char(n & 0x7F)};
    return QByteArray(bytes, 4);
}

QByteArray bigEndian32(qint64 n)
{
    return bigEndianBytes(n, 4);
}

QByteArray frame22(const char *id, const QByteArray &data)
{
    return QByteArray(id, 3) + bigEndianBytes(data.size(), 3) + data;
}

QByteArray frame23(const char *id, const QByteArray &data, quint16 flags)
{
    return QByteArray(id, 4) + bigEndian32(data.size()) + bigEndianBytes(flags, 2) + data;
}

QByteArray frame24(const char *id, const QByteArray &data, quint16 flags)
{
    return QByteArray(id, 4) + syncsafe(data.size()) + bigEndianBytes(flags, 2) + data;
}

QByteArray id3v2Tag(quint8 version, const QByteArray &body, quint8 flags)
{
    return QByteArray("ID3") + char(version) + '\0' + char(flags) + syncsafe(body.size()) + body;
}

QByteArray textData(const QByteArray &text, char encoding)
{
    return encoding + text;
}

QByteArray commentData(const QByteArray &description, const QByteArray &text)
{
    return QByteArray("\0eng", 4) + description + '\0' + text;
}

QByteArray zlibStream(const QByteArray &bytes)
{
    // qCompress puts the length in four bytes before the stream.
    return qCompress(bytes).sliced(4);
}

QByteArray zlibStreamOfZeros(qint64 size)
{
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    const QByteArray zeros(1024 * 1024, '\0');
    QByteArray out;
    char buffer[64 * 1024];
    qint64 left = size;
    int flush = Z_NO_FLUSH;
    do {
        if (stream.avail_in == 0 && flush == Z_NO_FLUSH) {
            const qint64 piece = std::min<qint64>(left, zeros.size());
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zeros.constData()));
            stream.avail_in = static_cast<uInt>(piece);
            left -= piece;
            if (left == 0)
                flush = Z_FINISH;
        }
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        deflate(&stream, flush);
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
    } while (!(flush == Z_FINISH && stream.avail_out != 0));
    deflateEnd(&stream);
    return out;
}

namespace HostileId3v2 {

QByteArray nestedChapters(int depth)
{
    // A CTOC: element id, flags, no entries, then the frames it holds.
    QByteArray inner;
    for (int level = 0; level < depth; ++level)
        inner = frame23("CTOC", QByteArray("t\0\x03\0", 4) + inner);
    return withAudio(id3v2Tag(3, inner + textFrames()));
}

QByteArray zlibBomb(qint64 inflated)
{
    const QByteArray bomb = bigEndian32(100) + zlibStreamOfZeros(inflated);
    QByteArray frames;
    for (const char *id : {"TIT2", "TPE1", "TALB", "COMM"})
        frames += frame23(id, bomb, 0x0080);
    return withAudio(id3v2Tag(3, frames));
}

QByteArray tinyFrames(qint64 count)
{
    const QByteArray frame = frame23("PRIV", QByteArray(1, 'x'));
    QByteArray frames;
    frames.reserve(frame.size() * count);
    for (qint64 i = 0; i < count; ++i)
        frames += frame;
    return withAudio(id3v2Tag(3, frames));
}

QByteArray hugeTitle(qint64 size)
{
    return withAudio(id3v2Tag(3, frame23("TIT2", textData(QByteArray(size - 1, 'a'))) + frame23("TPE1", textData(kHostileArtist))
                                     + frame23("TALB", textData(kHostileAlbum))));
}

QByteArray extendedHeader()
{
    // Its size (10: flags, padding size, CRC) leaves out the size itself.
    const QByteArray extended = bigEndian32(10) + QByteArray("\x80\0", 2) + bigEndian32(0) + bigEndian32(0x12345678);
    return withAudio(id3v2Tag(3, extended + textFrames(), 0x40));
}

QByteArray unknownEncoding()
{
    return withAudio(id3v2Tag(3, frame23("TIT2", textData("garbage", '\x07')) + frame23("TPE1", textData(kHostileArtist))
                                     + frame23("TALB", textData(kHostileAlbum))));
}

QByteArray leadingEmptyFrame()
{
    return withAudio(id3v2Tag(3, frame23("TENC", QByteArray()) + textFrames()));
}

}  // namespace HostileId3v2
