#include "disc/MpegFrame.h"

#include <array>

namespace {

// Kilobits per second by the header's index 1..14, Layer III.
constexpr std::array<int, 15> kMpeg1Bitrates = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr std::array<int, 15> kMpeg2Bitrates = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
// Samples per second by the header's index 0..2.
constexpr std::array<int, 3> kMpeg1Rates = {44100, 48000, 32000};
constexpr std::array<int, 3> kMpeg2Rates = {22050, 24000, 16000};
constexpr std::array<int, 3> kMpeg25Rates = {11025, 12000, 8000};

}  // namespace

int MpegFrameHeader::samplesPerFrame() const
{
    return version == MpegVersion::Mpeg1 ? 1152 : 576;
}

int MpegFrameHeader::frameBytes() const
{
    // A slot is a byte in Layer III: samples / 8 bits of bitrate per sample rate.
    return static_cast<int>(static_cast<qint64>(samplesPerFrame() / 8) * bitrate / sampleRate) + (padded ? 1 : 0);
}

int MpegFrameHeader::sideInfoBytes() const
{
    if (version == MpegVersion::Mpeg1)
        return mono ? 17 : 32;
    return mono ? 9 : 17;
}

bool MpegFrameHeader::sameStream(const MpegFrameHeader &other) const
{
    return version == other.version && sampleRate == other.sampleRate;
}

std::optional<MpegFrameHeader> readMpegFrameHeader(QByteArrayView bytes)
{
    if (bytes.size() < kMpegHeaderBytes)
        return std::nullopt;
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    // Eleven bits of sync, the version (01 is reserved), the layer (01 is III).
    if (byte(0) != 0xFF || (byte(1) & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (byte(1) >> 3) & 3;
    const int layerBits = (byte(1) >> 1) & 3;
    const int bitrateIndex = byte(2) >> 4;
    const int rateIndex = (byte(2) >> 2) & 3;
    const int emphasis = byte(3) & 3;
    if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3
        || emphasis == 2)
        return std::nullopt;
    MpegFrameHeader header;
    const auto index = static_cast<std::size_t>(rateIndex);
    const auto bitrateAt = static_cast<std::size_t>(bitrateIndex);
    switch (versionBits) {
    case 3:
        header.version = MpegVersion::Mpeg1;
        header.sampleRate = kMpeg1Rates[index];
        header.bitrate = kMpeg1Bitrates[bitrateAt] * 1000;
        break;
    case 2:
        header.version = MpegVersion::Mpeg2;
        header.sampleRate = kMpeg2Rates[index];
        header.bitrate = kMpeg2Bitrates[bitrateAt] * 1000;
        break;
    default:
        header.version = MpegVersion::Mpeg25;
        header.sampleRate = kMpeg25Rates[index];
        header.bitrate = kMpeg2Bitrates[bitrateAt] * 1000;
        break;
    }
    header.hasCrc = (byte(1) & 1) == 0;
    header.padded = (byte(2) & 2) != 0;
    header.mono = (byte(3) >> 6) == 3;
    return header;
}
