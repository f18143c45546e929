#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// Inflating a zlib stream from bytes someone else wrote, never past a limit:
// a few kilobytes can stand for gigabytes, so the output stops growing as
// soon as it would pass the limit.

enum class InflateState {
    Inflated,  // data holds the whole stream inflated
    TooLarge,  // the stream inflates to more than the limit
    Broken,    // no zlib stream, or one cut short
};

struct Inflated {
    InflateState state = InflateState::Broken;
    QByteArray data;  // only when Inflated
};

// The zlib stream at the start of bytes (bytes after its end are ignored),
// inflated to at most limit bytes.
Inflated inflateAtMost(QByteArrayView bytes, qint64 limit);
