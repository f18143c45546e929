#pragma once

// Real MP3 files for tests and benchmarks, encoded by LAME (Debian package
// lame, needed by the tests only) from PCM of known length.

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Encodes samples of a stereo tone, 16-bit at 44.1 kHz, into path with
// lame and its options ("-V", "2"; "-m", "m"; "-t"; "--resample", "48"…); false
// when lame is missing or fails. The PCM goes through a WAV file beside it,
// removed afterwards.
bool writeLameMp3(const QString &path, qint64 samples, const QStringList &options = {});
