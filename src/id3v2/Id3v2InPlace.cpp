#include "id3v2/Id3v2InPlace.h"

#include "id3v2/Id3v2Frames.h"

#include <QtEndian>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// The most frames a space between still frames is laid out with: real tags
// hold tens, and the search for frames to move grows with their square.
constexpr qsizetype kMaxSpaceFrames = 64;

// A space between still frames, and the frames laid out in it.
struct Space {
    qint64 start = 0;
    qint64 end = 0;
    QList<QByteArray> frames;  // in order
    bool changed = false;
};

qint64 sizeOf(const QList<QByteArray> &frames)
{
    return std::accumulate(frames.begin(), frames.end(), qint64(0),
                           [](qint64 sum, const QByteArray &frame) { return sum + frame.size(); });
}

// Whether a new frame can take slack bytes: a 2.3 text frame in UTF-16
// with byte order mark, as edits write them, which reads the same when two
// zero bytes (its terminator) and then any bytes (which 2.3 says to
// ignore) follow its text.
bool takesSlack(quint8 version, const QByteArray &frame)
{
    return version == 3 && frame.startsWith('T') && frame.size() > 10 && frame[10] == 1;
}

bool slackFits(qint64 slack)
{
    return slack >= 2;
}

QByteArray withSlack(const QByteArray &frame, qint64 slack)
{
    return id3v2FrameBytes(3, QByteArrayView(frame).first(4),
                           QByteArray(frame.sliced(10)).append(static_cast<qsizetype>(slack), '\0'));
}

// Lays the frames of a space out to fill it exactly: as they are, or with
// a new text frame (newFrames marks them) taking the slack, moving
// frames (those movable marks) to moved where the space is short: one, the smallest that will
// do, or else as many as it takes, largest first. False when no such
// layout is found.
bool fill(Space &space, const QList<bool> &newFrames, const QList<bool> &movable, quint8 version,
          QList<QByteArray> &moved)
{
    const qint64 room = space.end - space.start;
    QList<QByteArray> &frames = space.frames;
    if (frames.size() > kMaxSpaceFrames)
        return false;
    const auto laidOut = [&](QList<qsizetype> movers) {
        qint64 size = sizeOf(frames);
        for (const qsizetype m : movers)
            size -= frames[m].size();
        if (size > room)
            return false;
        for (qsizetype a = 0; size < room && a < frames.size(); ++a) {
            if (!newFrames[a] || movers.contains(a) || !takesSlack(version, frames[a]) || !slackFits(room - size))
                continue;
            frames[a] = withSlack(frames[a], room - size);
            size = room;
        }
        if (size != room)
            return false;
        std::sort(movers.begin(), movers.end(), std::greater<>());
        QList<QByteArray> leaving;
        for (const qsizetype m : movers) {
            leaving.prepend(frames[m]);
            frames.removeAt(m);
        }
        moved += leaving;
        return true;
    };
    if (laidOut({}))
        return true;
    QList<qsizetype> order;
    for (qsizetype m = 0; m < frames.size(); ++m) {
        if (movable[m])
            order << m;
    }
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return frames[a].size() < frames[b].size(); });
    for (const qsizetype m : order) {
        if (laidOut({m}))
            return true;
    }
    // Then the largest first, a frame that can take slack last.
    const auto absorbs = [&](qsizetype a) { return newFrames[a] && takesSlack(version, frames[a]); };
    std::reverse(order.begin(), order.end());
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return !absorbs(a) && absorbs(b); });
    QList<qsizetype> movers;
    for (const qsizetype m : order) {
        movers << m;
        if (laidOut(movers))
            return true;
    }
    return false;
}

}  // namespace

std::optional<QList<Id3v2Span>> id3v2EditInPlace(const Id3v2Edit &edit)
{
    const Id3v2Tag &old = edit.old;
    const quint8 version = old.header.version;
    if (edit.state != Id3v2EditState::Edited || edit.frames.isEmpty() || old.state != Id3v2WalkState::Walked
        || version < 3 || version != edit.version || old.header.flags != edit.flags
        || (old.header.flags & (version == 3 ? 0xFF : 0x7F)) != 0)
        return std::nullopt;

    // The still frames part the tag into spaces; the last one ends where
    // the tag's body does, padding included.
    QList<qsizetype> still;
    QList<bool> isStill(old.frames.size(), false);
    QList<bool> isKept(old.frames.size(), false);
    for (const Id3v2EditFrame &frame : edit.frames) {
        if (frame.kept < 0)
            continue;
        isKept[frame.kept] = true;
        if (id3v2FrameHeaderSize(version) + old.frames[frame.kept].size >= kStillFrame) {
            still << frame.kept;
            isStill[frame.kept] = true;
        }
    }
    QList<Space> spaces;
    qint64 start = old.framesStart;
    for (const qsizetype s : still) {
        spaces << Space{.start = start, .end = old.frames[s].offset, .frames = {}, .changed = false};
        start = old.frames[s].offset + id3v2FrameHeaderSize(version) + old.frames[s].size;
    }
    spaces << Space{.start = start, .end = kId3v2HeaderSize + old.header.size, .frames = {}, .changed = false};
    const auto spaceAt = [&](qint64 offset) {
        return std::upper_bound(spaces.begin(), spaces.end(), offset,
                                [](qint64 at, const Space &space) { return at < space.end; });
    };

    // A frame whose id another frame has too never moves: which of them
    // comes first is what a reader reads.
    const auto idOf = [&](const Id3v2EditFrame &frame) {
        return qFromBigEndian<quint32>(editedFrameBytes(edit, frame).data());
    };
    std::vector<quint32> ids;
    for (const Id3v2EditFrame &frame : edit.frames)
        ids.push_back(idOf(frame));
    std::sort(ids.begin(), ids.end());
    const auto alone = [&](quint32 id) {
        const auto [first, last] = std::equal_range(ids.begin(), ids.end(), id);
        return last - first == 1;
    };
    QList<QList<bool>> newFrames(spaces.size());
    QList<QList<bool>> movable(spaces.size());
    for (const Id3v2EditFrame &frame : edit.frames) {
        if (frame.kept >= 0 && isStill[frame.kept])
            continue;
        const auto space = frame.at < 0 ? spaces.end() - 1 : spaceAt(old.frames[frame.at].offset);
        // Not copied: the frames are read only here, and joined into spans.
        const QByteArrayView bytes = editedFrameBytes(edit, frame);
        space->frames << QByteArray::fromRawData(bytes.data(), bytes.size());
        newFrames[space - spaces.begin()] << (frame.kept < 0);
        movable[space - spaces.begin()] << alone(idOf(frame));
        // A space changes when a frame leaves it or comes into it, or
        // another frame takes its place.
        if (frame.kept < 0)
            space->changed = true;
    }
    for (qsizetype i = 0; i < old.frames.size(); ++i) {
        if (!isKept[i])
            spaceAt(old.frames[i].offset)->changed = true;
    }

    QList<QByteArray> moved;
    for (qsizetype s = 0; s + 1 < spaces.size(); ++s) {
        if (spaces[s].changed && !fill(spaces[s], newFrames[s], movable[s], version, moved))
            return std::nullopt;
    }
    Space &last = spaces.back();
    last.frames += moved;
    last.changed = last.changed || !moved.isEmpty();
    if (sizeOf(last.frames) > last.end - last.start)
        return std::nullopt;

    QList<Id3v2Span> spans;
    for (const Space &space : spaces) {
        if (!space.changed)
            continue;
        QByteArray bytes = space.frames.join();
        bytes.append(static_cast<qsizetype>(space.end - space.start - bytes.size()), '\0');
        spans << Id3v2Span{.offset = space.start, .bytes = std::move(bytes)};
    }
    return spans;
}
