#pragma once

#include <QByteArrayView>

#include <optional>

// The header of an MPEG audio frame, Layer III (MP3): MPEG-1, MPEG-2 and
// MPEG-2.5 at every bitrate the standard lists. Free-format frames (no
// bitrate given) and reserved values are no frame: their size cannot be told.

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct MpegFrameHeader {
    MpegVersion version = MpegVersion::Mpeg1;
    int bitrate = 0;     // bits per second
    int sampleRate = 0;  // samples per second, per channel
    bool padded = false;
    bool hasCrc = false;  // two bytes of CRC follow the header
    bool mono = false;

    // 1152 in MPEG-1, 576 in MPEG-2 and 2.5.
    int samplesPerFrame() const;
    // The frame's bytes, header included.
    int frameBytes() const;
    // The bytes of side information after the header (and its CRC).
    int sideInfoBytes() const;
    // True when a frame with this header belongs to the same stream as one
    // with other: the same version and sample rate (bitrate, padding and
    // channels may change from frame to frame).
    bool sameStream(const MpegFrameHeader &other) const;
};

inline constexpr int kMpegHeaderBytes = 4;
// The largest frame Layer III has: 320 kbit/s at 32 kHz, padded.
inline constexpr int kMaxMpegFrameBytes = 1441;

// The header in the first four bytes, or nothing when they hold none.
std::optional<MpegFrameHeader> readMpegFrameHeader(QByteArrayView bytes);
