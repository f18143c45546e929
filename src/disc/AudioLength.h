#pragma once

#include "disc/AudioBytes.h"

#include <QtGlobal>

// How long the audio of an MP3 file is, from its bytes. After the ID3v2 tag
// (if any) comes the first frame; when it is LAME's information frame, its
// frame count, delay and padding give the exact number of samples, and every
// frame of the file is counted to check that count. Without one, the frames
// counted give the length, close but not exact: the encoder's delay and
// padding are in it.
//
// A file is measured whole or not at all. Its audio ends before an ID3v1
// block and an APE tag at its end. It is no MPEG audio when no two frames
// follow each other near its start, or when more than a few bytes between
// or after its frames are no frame (a last frame cut short is let be). It
// lies about its frames when LAME's frame counts other frames than the file
// holds, or more delay and padding than samples. It is no track of a CD
// when it is longer than a disc holds, or holds no sample.

enum class AudioProblem {
    None,
    Unreadable,      // the bytes could not be read
    NoMpegAudio,     // no MP3 frames, or too many bytes that are no frame
    FramesDisagree,  // the information frame says other than the frames
    TooLong,         // longer than a CD holds
    Empty,           // no sample of audio
};

struct AudioLength {
    AudioProblem problem = AudioProblem::None;
    int sampleRate = 0;
    qint64 samples = 0;  // per channel, at sampleRate
    bool exact = false;  // from LAME's count, delay and padding
    qint64 frames = 0;   // the audio frames counted, the information frame not
};

// Bytes that are no frame a file may hold between and after its frames (a
// frame damaged here and there) and still count as MPEG audio; the first
// frame is looked for as far into the audio.
inline constexpr qint64 kMaxStrayBytes = 64 * 1024;

// The longest disc a table of contents may describe, in sectors of 1/75 s:
// 90 minutes, the lead-in of 150 sectors included (libdiscid takes no
// longer one).
inline constexpr qint64 kMaxDiscSectors = 90 * 60 * 75;

AudioLength measureAudio(AudioBytes &bytes);

// Why a file gave no length, as the user is shown it; empty for None.
const char16_t *audioProblemReason(AudioProblem problem);
