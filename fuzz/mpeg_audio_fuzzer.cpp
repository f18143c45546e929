// Feeds arbitrary bytes to the measuring of an MP3 file's audio: a length
// is of a stream of one sample rate, neither empty nor longer than a disc,
// and exact only when LAME's frame gave it; its sectors make a table of
// contents whose id is 28 characters. Every frame header read sizes a frame
// within Layer III's bounds.

#include "disc/AudioLength.h"
#include "disc/MpegFrame.h"
#include "disc/Toc.h"
#include "disc/XingFrame.h"
#include "FuzzCheck.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (const std::optional<MpegFrameHeader> header = readMpegFrameHeader(bytes)) {
        check(header->frameBytes() > kMpegHeaderBytes + header->sideInfoBytes() && header->frameBytes() <= kMaxMpegFrameBytes,
              "frame size out of Layer III's bounds");
        (void)readXingFrame(bytes, *header);
    }
    MemoryAudioBytes audio(bytes);
    const AudioLength length = measureAudio(audio);
    if (length.problem != AudioProblem::None)
        return 0;
    check(length.samples > 0, "a length of no sample");
    check(length.sampleRate >= 8000 && length.sampleRate <= 48000, "no sample rate of MPEG audio");
    check(length.frames * 1152 >= length.samples, "more samples than the frames hold");
    const TrackSectors track = trackSectors(length);
    check(track.sectors >= 0 && track.sectors < kMaxDiscSectors, "a track longer than a disc");
    if (const std::optional<Disc> disc = discOf({length}))
        check(disc->id.size() == 28, "a disc id not of 28 characters");
    return 0;
}
