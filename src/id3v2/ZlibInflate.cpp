#include "id3v2/ZlibInflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

Inflated inflateAtMost(QByteArrayView bytes, qint64 limit)
{
    // zlib counts its input in 32-bit units; a longer input is no stream
    // Kalvo is given (frames are far smaller).
    if (limit < 0 || bytes.size() > std::numeric_limits<uInt>::max())
        return {};
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());

    // One byte past the limit tells a stream of exactly limit bytes from a
    // longer one. The buffer grows by doubling, so a small stream costs
    // little whatever the limit.
    const qint64 capacity = limit + 1;
    QByteArray out(static_cast<qsizetype>(std::min<qint64>(capacity, 16 * 1024)), Qt::Uninitialized);
    qint64 produced = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        if (produced == out.size()) {
            if (out.size() == capacity)
                break;
            out.resize(static_cast<qsizetype>(std::min<qint64>(capacity, out.size() * 2)));
        }
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + produced);
        stream.avail_out = static_cast<uInt>(out.size() - produced);
        result = inflate(&stream, Z_NO_FLUSH);
        produced = out.size() - stream.avail_out;
    }
    inflateEnd(&stream);
    if (produced > limit)
        return {.state = InflateState::TooLarge, .data = {}};
    if (result != Z_STREAM_END)
        return {};
    out.truncate(static_cast<qsizetype>(produced));
    return {.state = InflateState::Inflated, .data = std::move(out)};
}
