#include "id3v2/Id3v2Frames.h"

#include "id3v2/ZlibInflate.h"

#include <algorithm>
#include <optional>

namespace {

quint8 byteAt(QByteArrayView bytes, qint64 at)
{
    return static_cast<quint8>(bytes[static_cast<qsizetype>(at)]);
}

// count bytes from at, most significant first, in 8 or 7 bits each.
qint64 bigEndian(QByteArrayView bytes, qint64 at, int count, int bits = 8)
{
    qint64 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << bits | byteAt(bytes, at + i);
    return value;
}

bool isSyncsafe(QByteArrayView bytes, qint64 at)
{
    for (int i = 0; i < 4; ++i) {
        if (byteAt(bytes, at + i) & 0x80)
            return false;
    }
    return true;
}

bool isFrameIdCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

QByteArray bigEndianBytes(qint64 value, int count, int bits = 8)
{
    QByteArray bytes(count, '\0');
    const qint64 mask = (qint64(1) << bits) - 1;
    for (int i = count - 1; i >= 0; --i, value >>= bits)
        bytes[i] = static_cast<char>(value & mask);
    return bytes;
}

// Where the frames start: after the header and the extended header, which
// gives its own size (2.3 without its size field, 2.4 with it). Nothing
// when that size does not fit the body.
std::optional<qint64> framesStart(const Id3v2Tag &tag, qint64 bodyEnd)
{
    if (!tag.header.hasExtendedHeader())
        return kId3v2HeaderSize;
    if (bodyEnd - kId3v2HeaderSize < 4)
        return std::nullopt;
    qint64 size = 0;
    if (tag.header.version == 3) {
        size = 4 + bigEndian(tag.bytes, kId3v2HeaderSize, 4);
    } else {
        if (!isSyncsafe(tag.bytes, kId3v2HeaderSize))
            return std::nullopt;
        size = bigEndian(tag.bytes, kId3v2HeaderSize, 4, 7);
        if (size < 6)
            return std::nullopt;
    }
    if (size > bodyEnd - kId3v2HeaderSize)
        return std::nullopt;
    return kId3v2HeaderSize + size;
}

}  // namespace

Id3v2HeaderState readId3v2Header(QByteArrayView start, Id3v2Header &header)
{
    if (!start.startsWith("ID3"))
        return Id3v2HeaderState::NoTag;
    if (start.size() < kId3v2HeaderSize)
        return Id3v2HeaderState::Malformed;
    const quint8 version = byteAt(start, 3);
    if (version < 2 || version > 4 || byteAt(start, 4) == 0xFF || !isSyncsafe(start, 6))
        return Id3v2HeaderState::Malformed;
    header = {.version = version,
              .revision = byteAt(start, 4),
              .flags = byteAt(start, 5),
              .size = bigEndian(start, 6, 4, 7)};
    return Id3v2HeaderState::Tag;
}

Id3v2FrameFormat id3v2FrameFormat(quint8 version, quint16 flags)
{
    if (version == 3)
        return {.compressed = (flags & 0x0080) != 0,
                .encrypted = (flags & 0x0040) != 0,
                .grouped = (flags & 0x0020) != 0};
    if (version == 4)
        return {.compressed = (flags & 0x0008) != 0,
                .encrypted = (flags & 0x0004) != 0,
                .grouped = (flags & 0x0040) != 0,
                .unsynchronised = (flags & 0x0002) != 0,
                .hasDataLength = (flags & 0x0001) != 0};
    return {};
}

qint64 id3v2FrameHeaderSize(quint8 version)
{
    return version == 2 ? 6 : 10;
}

qint64 id3v2FrameSize(quint8 version, QByteArrayView header)
{
    const bool syncsafe = version == 4 && isSyncsafe(header, 4);
    return syncsafe ? bigEndian(header, 4, 4, 7) : bigEndian(header, 4, 4);
}

QByteArrayView Id3v2Tag::frameBytes(const Id3v2Frame &frame) const
{
    return QByteArrayView(bytes).sliced(static_cast<qsizetype>(frame.offset),
                                        static_cast<qsizetype>(id3v2FrameHeaderSize(header.version) + frame.size));
}

Id3v2Tag walkId3v2Tag(const QByteArray &bytes)
{
    Id3v2Tag tag;
    switch (readId3v2Header(bytes, tag.header)) {
    case Id3v2HeaderState::Tag:
        break;
    case Id3v2HeaderState::NoTag:
        return tag;
    case Id3v2HeaderState::Malformed:
        tag.state = Id3v2WalkState::Malformed;
        return tag;
    }
    const Id3v2Header &header = tag.header;
    if (bytes.size() < header.tagSize() || header.compressed()) {
        tag.state = Id3v2WalkState::Malformed;
        return tag;
    }
    qint64 bodyEnd = kId3v2HeaderSize + header.size;
    if (header.unsynchronised() && header.version < 4) {
        tag.bytes = bytes.first(kId3v2HeaderSize)
                    + resynchronised(QByteArrayView(bytes).sliced(kId3v2HeaderSize, static_cast<qsizetype>(header.size)));
        bodyEnd = tag.bytes.size();
    } else {
        tag.bytes = bytes;
    }
    const std::optional<qint64> start = framesStart(tag, bodyEnd);
    if (!start) {
        tag.state = Id3v2WalkState::Malformed;
        return tag;
    }
    tag.state = Id3v2WalkState::Walked;
    tag.framesStart = *start;

    // Read through a view: indexing the array itself would copy it.
    const QByteArrayView walked(tag.bytes);
    const qint64 headerSize = id3v2FrameHeaderSize(header.version);
    const int idSize = header.version == 2 ? 3 : 4;
    qint64 at = *start;
    while (at < bodyEnd) {
        if (walked[at] == '\0')
            break;
        if (bodyEnd - at < headerSize) {
            tag.end = Id3v2FramesEnd::Truncated;
            break;
        }
        const QByteArray id = walked.sliced(at, idSize).toByteArray();
        if (!std::all_of(id.begin(), id.end(), isFrameIdCharacter)) {
            tag.end = Id3v2FramesEnd::Unrecognised;
            break;
        }
        qint64 size = 0;
        quint16 flags = 0;
        if (header.version == 2) {
            size = bigEndian(walked, at + 3, 3);
        } else {
            size = id3v2FrameSize(header.version, walked.sliced(at, headerSize));
            flags = static_cast<quint16>(bigEndian(walked, at + 8, 2));
        }
        if (size > bodyEnd - at - headerSize) {
            tag.end = Id3v2FramesEnd::Truncated;
            break;
        }
        if (tag.frames.size() == kMaxId3v2Frames) {
            tag.state = Id3v2WalkState::TooManyFrames;
            tag.frames.clear();
            break;
        }
        tag.frames.append({.id = id, .flags = flags, .offset = at, .size = size});
        at += headerSize + size;
    }
    tag.framesEnd = at;
    return tag;
}

Id3v2FrameContent id3v2FrameContent(const Id3v2Tag &tag, const Id3v2Frame &frame, qint64 limit)
{
    const quint8 version = tag.header.version;
    const Id3v2FrameFormat format = id3v2FrameFormat(version, frame.flags);
    if (format.encrypted)
        return {.state = Id3v2ContentState::Encrypted, .data = {}};
    QByteArrayView data = tag.frameBytes(frame).sliced(static_cast<qsizetype>(id3v2FrameHeaderSize(version)));

    // The bytes the flags add come first, in the order of the flags: in
    // 2.3 inflated size, encryption method, group; in 2.4 group, encryption
    // method, data length.
    std::optional<qint64> inflatedSize;
    const qint64 added = (format.grouped ? 1 : 0) + (version == 3 && format.compressed ? 4 : 0)
                         + (format.hasDataLength ? 4 : 0);
    if (data.size() < added)
        return {};
    if (version == 3 && format.compressed)
        inflatedSize = bigEndian(data, 0, 4);
    if (format.hasDataLength) {
        if (!isSyncsafe(data, added - 4))
            return {};
        if (format.compressed)
            inflatedSize = bigEndian(data, added - 4, 4, 7);
    }
    data = data.sliced(static_cast<qsizetype>(added));

    const bool unsynchronised = version == 4 && (format.unsynchronised || tag.header.unsynchronised());
    // Only resynchronised data is a copy; other data is read where it
    // stands, so a frame too large is never copied.
    const QByteArray resynchronisedData = unsynchronised ? resynchronised(data) : QByteArray();
    const QByteArrayView stored = unsynchronised ? QByteArrayView(resynchronisedData) : data;
    if (!format.compressed) {
        if (stored.size() > limit)
            return {.state = Id3v2ContentState::TooLarge, .data = {}};
        return {.state = Id3v2ContentState::Read, .data = stored.toByteArray()};
    }
    if (!inflatedSize || *inflatedSize > limit)
        return {.state = Id3v2ContentState::TooLarge, .data = {}};
    Inflated inflated = inflateAtMost(stored, limit);
    switch (inflated.state) {
    case InflateState::Inflated:
        return {.state = Id3v2ContentState::Read, .data = std::move(inflated.data)};
    case InflateState::TooLarge:
        return {.state = Id3v2ContentState::TooLarge, .data = {}};
    case InflateState::Broken:
        break;
    }
    return {};
}

QByteArray resynchronised(QByteArrayView bytes)
{
    QByteArray out(bytes.size(), Qt::Uninitialized);
    char *to = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        *to++ = bytes[i];
        if (static_cast<quint8>(bytes[i]) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == '\0')
            ++i;
    }
    out.truncate(to - out.constData());
    return out;
}

QByteArray id3v2FrameBytes(quint8 version, QByteArrayView id, QByteArrayView data)
{
    QByteArray frame = id.toByteArray();
    if (version == 2)
        frame += bigEndianBytes(data.size(), 3);
    else if (version == 3)
        frame += bigEndianBytes(data.size(), 4) + QByteArray(2, '\0');
    else
        frame += bigEndianBytes(data.size(), 4, 7) + QByteArray(2, '\0');
    return frame.append(data);
}

QByteArray id3v2TagHeader(quint8 version, qint64 size)
{
    return QByteArray("ID3") + char(version) + QByteArray(2, '\0') + bigEndianBytes(size, 4, 7);
}

QByteArray id3v2TagBytes(quint8 version, QByteArrayView frames)
{
    QByteArray tag = id3v2TagHeader(version, frames.size());
    tag.reserve(kId3v2HeaderSize + frames.size());
    return tag.append(frames);
}
