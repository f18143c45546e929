#pragma once

#include "disc/MpegFrame.h"

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

// The information frame an encoder puts first in an MP3 file: a frame of
// silence whose side information is followed by "Xing" (variable bitrate) or
// "Info" (constant), flags, the number of frames and of bytes, a seek table
// and a quality; LAME (and FFmpeg, as "Lavc"/"Lavf") then add their own
// extension with the encoder's delay and the padding at the end, in samples.
//
// As LAME 3.100 writes it: the frame count is of the audio frames, the
// information frame not counted, and the byte count is of the whole stream,
// the information frame counted, tags not. So the track's exact length is
// frames × samples per frame − delay − padding. LAME writes the frame at the
// offset it has without a CRC even when its header says a CRC follows, so
// both places are looked at.

struct LameExtension {
    int delay = 0;    // samples at the start that are the encoder's, not the track's
    int padding = 0;  // samples added at the end to fill the last frame
};

struct XingFrame {
    std::optional<quint32> frames{};  // audio frames after this one
    std::optional<quint32> bytes{};   // the stream's bytes, this frame included
    std::optional<LameExtension> lame{};
};

// The information frame in frame (the whole first frame, whose header is
// header), or nothing when it is an ordinary frame of audio.
std::optional<XingFrame> readXingFrame(QByteArrayView frame, const MpegFrameHeader &header);
