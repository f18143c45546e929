#include "disc/AudioLength.h"

#include "disc/MpegFrame.h"
#include "disc/XingFrame.h"

#include "id3v2/Id3v2Frames.h"

#include <QByteArray>

#include <cstring>
#include <optional>

qint64 MemoryAudioBytes::read(qint64 offset, char *out, qint64 count)
{
    if (offset < 0 || count < 0)
        return -1;
    const qint64 available = qMax<qint64>(0, qMin(count, bytes_.size() - offset));
    if (available > 0)
        std::memcpy(out, bytes_.data() + offset, static_cast<std::size_t>(available));
    return available;
}

namespace {

constexpr qint64 kId3v1Bytes = 128;
constexpr qint64 kApeFooterBytes = 32;
// The sectors before track 1: a track is at most what a disc holds after them.
constexpr qint64 kLeadInSectors = 150;
constexpr int kSectorsPerSecond = 75;
// The most delay and padding LAME can record, 12 bits each.
constexpr qint64 kMaxDelayAndPadding = 2 * 4095;

// The walk over one file's frames. A read that fails reads as no bytes, so
// the walk ends soon after, and the file is unreadable.
class FrameWalk
{
public:
    explicit FrameWalk(AudioBytes &bytes) : bytes_(bytes) {}

    AudioLength measure();
    bool failed() const { return failed_; }

private:
    QByteArray readAt(qint64 offset, qint64 count);
    std::optional<MpegFrameHeader> headerAt(qint64 offset, const MpegFrameHeader *stream);
    bool streamStartsAt(qint64 offset, qint64 end, const MpegFrameHeader *stream);
    std::optional<qint64> findStream(qint64 from, qint64 end, qint64 limit, const MpegFrameHeader *stream);
    qint64 audioStart();
    qint64 audioEnd(qint64 start);

    AudioBytes &bytes_;
    bool failed_ = false;
};

QByteArray FrameWalk::readAt(qint64 offset, qint64 count)
{
    QByteArray buffer(static_cast<qsizetype>(count), Qt::Uninitialized);
    const qint64 got = bytes_.read(offset, buffer.data(), count);
    failed_ |= got < 0;
    buffer.truncate(static_cast<qsizetype>(qMax<qint64>(got, 0)));
    return buffer;
}

std::optional<MpegFrameHeader> FrameWalk::headerAt(qint64 offset, const MpegFrameHeader *stream)
{
    char bytes[kMpegHeaderBytes];
    const qint64 got = bytes_.read(offset, bytes, kMpegHeaderBytes);
    failed_ |= got < 0;
    std::optional<MpegFrameHeader> header = readMpegFrameHeader(QByteArrayView(bytes, qMax<qint64>(got, 0)));
    if (header && stream && !header->sameStream(*stream))
        return std::nullopt;
    return header;
}

// A stream starts at offset when a frame does there and either ends the
// audio or is followed by another of its stream: one header alone is too
// easily found in bytes that are no audio.
bool FrameWalk::streamStartsAt(qint64 offset, qint64 end, const MpegFrameHeader *stream)
{
    const std::optional<MpegFrameHeader> header = headerAt(offset, stream);
    if (!header)
        return false;
    const qint64 next = offset + header->frameBytes();
    return next == end || (next < end && headerAt(next, &*header));
}

// The first offset in [from, from + limit) where a stream starts.
std::optional<qint64> FrameWalk::findStream(qint64 from, qint64 end, qint64 limit, const MpegFrameHeader *stream)
{
    const qint64 last = qMin(from + limit, end);
    if (last <= from)
        return std::nullopt;
    // One byte more, for the second byte of a header at the last offset.
    const QByteArray window = readAt(from, last - from + 1);
    for (qsizetype i = 0; i + 1 < window.size() && from + i < last; ++i) {
        if (static_cast<unsigned char>(window[i]) == 0xFF && (static_cast<unsigned char>(window[i + 1]) & 0xE0) == 0xE0
            && streamStartsAt(from + i, end, stream))
            return from + i;
    }
    return std::nullopt;
}

// Where the audio starts: after the ID3v2 tag, if the file has one. -1 when
// its header is malformed, so nothing tells where the audio is.
qint64 FrameWalk::audioStart()
{
    Id3v2Header header;
    switch (readId3v2Header(readAt(0, kId3v2HeaderSize), header)) {
    case Id3v2HeaderState::Tag:
        return header.tagSize();
    case Id3v2HeaderState::NoTag:
        return 0;
    case Id3v2HeaderState::Malformed:
        break;
    }
    return -1;
}

// Where the audio ends: before an ID3v1 block and an APE tag before it.
qint64 FrameWalk::audioEnd(qint64 start)
{
    qint64 end = bytes_.size();
    if (end - start >= kId3v1Bytes && readAt(end - kId3v1Bytes, 3) == "TAG")
        end -= kId3v1Bytes;
    if (end - start >= kApeFooterBytes) {
        const QByteArray footer = readAt(end - kApeFooterBytes, kApeFooterBytes);
        if (footer.size() == kApeFooterBytes && footer.startsWith("APETAGEX")) {
            const auto le32 = [&](qsizetype at) {
                quint32 value = 0;
                for (qsizetype i = 3; i >= 0; --i)
                    value = (value << 8) | static_cast<unsigned char>(footer[at + i]);
                return qint64(value);
            };
            // The size counts the items and the footer (a header before
            // them is left to the stray bytes allowed).
            const qint64 size = le32(12);
            if (size >= kApeFooterBytes && size <= end - start)
                end -= size;
        }
    }
    return end;
}

AudioLength FrameWalk::measure()
{
    const qint64 start = audioStart();
    if (start < 0 || start >= bytes_.size())
        return {.problem = AudioProblem::NoMpegAudio};
    const qint64 end = audioEnd(start);
    const std::optional<qint64> first = findStream(start, end, kMaxStrayBytes, nullptr);
    if (!first)
        return {.problem = AudioProblem::NoMpegAudio};
    const std::optional<MpegFrameHeader> firstHeader = headerAt(*first, nullptr);
    if (!firstHeader)
        return {.problem = AudioProblem::NoMpegAudio};
    const MpegFrameHeader stream = *firstHeader;
    const std::optional<XingFrame> xing = readXingFrame(readAt(*first, stream.frameBytes()), stream);

    const qint64 perFrame = stream.samplesPerFrame();
    const qint64 maxSamples = (kMaxDiscSectors - kLeadInSectors) * stream.sampleRate / kSectorsPerSecond;
    // Past this many frames the file is too long whatever its delay and padding.
    const qint64 maxFrames = (maxSamples + kMaxDelayAndPadding) / perFrame + 2;
    qint64 stray = *first - start;
    qint64 frames = 0;
    qint64 at = *first;
    while (at < end) {
        if (const std::optional<MpegFrameHeader> header = headerAt(at, &stream)) {
            if (at + header->frameBytes() > end)
                break;  // the last frame cut short
            at += header->frameBytes();
            if (++frames > maxFrames)
                return {.problem = AudioProblem::TooLong};
            continue;
        }
        const std::optional<qint64> next = findStream(at + 1, end, kMaxStrayBytes - stray, &stream);
        stray += (next ? *next : end) - at;
        if (!next)
            break;
        at = *next;
    }
    if (stray > kMaxStrayBytes)
        return {.problem = AudioProblem::NoMpegAudio};

    AudioLength length{.sampleRate = stream.sampleRate, .frames = xing ? frames - 1 : frames};
    if (xing && xing->lame && xing->frames) {
        const qint64 samples = qint64(*xing->frames) * perFrame - xing->lame->delay - xing->lame->padding;
        if (qint64(*xing->frames) != length.frames || samples < 0)
            return {.problem = AudioProblem::FramesDisagree};
        length.samples = samples;
        length.exact = true;
    } else {
        length.samples = length.frames * perFrame;
    }
    if (length.samples == 0)
        return {.problem = AudioProblem::Empty};
    if (length.samples > maxSamples)
        return {.problem = AudioProblem::TooLong};
    return length;
}

}  // namespace

AudioLength measureAudio(AudioBytes &bytes)
{
    FrameWalk walk(bytes);
    const AudioLength length = walk.measure();
    return walk.failed() ? AudioLength{.problem = AudioProblem::Unreadable} : length;
}

const char16_t *audioProblemReason(AudioProblem problem)
{
    switch (problem) {
    case AudioProblem::None:
        return u"";
    case AudioProblem::Unreadable:
        return u"ファイルを読めない";
    case AudioProblem::NoMpegAudio:
        return u"MP3の音声でない";
    case AudioProblem::FramesDisagree:
        return u"LAMEの情報フレームが音声のフレーム数と合わない";
    case AudioProblem::TooLong:
        return u"CD1枚に収まらないほど長い";
    case AudioProblem::Empty:
        return u"音声がない";
    }
    return u"";
}
