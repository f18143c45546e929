#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// Frames of an ID3v2.2 tag carried into a tag of version 2.3, which names
// them with four characters and gives them ten-byte headers. The data of a
// frame stays byte for byte, but for the picture frame: PIC names its image
// format in three characters ("JPG"), APIC by a MIME type ("image/jpeg").

// The 2.3 id of a 2.2 frame id; nothing when 2.3 has no frame of that
// meaning and layout (CRM, LNK, experimental ids, ids no version defines).
std::optional<QByteArray> id3v2IdFrom22(QByteArrayView id);

// A 2.2 frame's id and data as a whole 2.3 frame without flags; nothing
// when the id has no 2.3 counterpart or a picture frame is shorter than its
// fixed fields.
std::optional<QByteArray> id3v2FrameFrom22(QByteArrayView id, QByteArrayView data);
