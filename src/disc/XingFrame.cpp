#include "disc/XingFrame.h"

namespace {

constexpr quint32 kFramesFlag = 0x1;
constexpr quint32 kBytesFlag = 0x2;
constexpr quint32 kSeekTableFlag = 0x4;
constexpr quint32 kQualityFlag = 0x8;
constexpr qsizetype kSeekTableBytes = 100;
// The extension: 9 bytes of encoder name, then revision, lowpass, peak,
// two gains, flags and bitrate (12 bytes), then 12 bits of delay and 12 of
// padding, and 12 more bytes.
constexpr qsizetype kLameBytes = 36;
constexpr qsizetype kLameDelayAt = 21;

quint32 bigEndian32(QByteArrayView bytes, qsizetype at)
{
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::optional<XingFrame> readAt(QByteArrayView frame, qsizetype at)
{
    if (at + 8 > frame.size())
        return std::nullopt;
    const QByteArrayView tag = frame.sliced(at, 4);
    if (tag != "Xing" && tag != "Info")
        return std::nullopt;
    const quint32 flags = bigEndian32(frame, at + 4);
    qsizetype next = at + 8;
    XingFrame xing;
    const auto field = [&](quint32 flag) -> std::optional<quint32> {
        if ((flags & flag) == 0 || next + 4 > frame.size())
            return std::nullopt;
        next += 4;
        return bigEndian32(frame, next - 4);
    };
    xing.frames = field(kFramesFlag);
    xing.bytes = field(kBytesFlag);
    if ((flags & kSeekTableFlag) != 0)
        next += kSeekTableBytes;
    if ((flags & kQualityFlag) != 0)
        next += 4;
    if (next + kLameBytes <= frame.size()) {
        const QByteArrayView encoder = frame.sliced(next, 4);
        if (encoder == "LAME" || encoder == "Lavc" || encoder == "Lavf") {
            const auto byte = [&](qsizetype i) { return static_cast<int>(static_cast<unsigned char>(frame[next + i])); };
            const int first = byte(kLameDelayAt);
            const int middle = byte(kLameDelayAt + 1);
            const int last = byte(kLameDelayAt + 2);
            xing.lame = LameExtension{.delay = (first << 4) | (middle >> 4), .padding = ((middle & 0x0F) << 8) | last};
        }
    }
    return xing;
}

}  // namespace

std::optional<XingFrame> readXingFrame(QByteArrayView frame, const MpegFrameHeader &header)
{
    const qsizetype withoutCrc = kMpegHeaderBytes + header.sideInfoBytes();
    if (header.hasCrc) {
        if (std::optional<XingFrame> xing = readAt(frame, withoutCrc + 2))
            return xing;
    }
    return readAt(frame, withoutCrc);
}
