#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Where the bytes of one file come from while its audio is measured: the
// file itself (AudioFile), or bytes in memory for tests and fuzzing.
class AudioBytes
{
public:
    virtual ~AudioBytes() = default;
    virtual qint64 size() const = 0;
    // Up to count bytes at offset, into out: the count read (short only at
    // the end), or -1 when they cannot be read.
    virtual qint64 read(qint64 offset, char *out, qint64 count) = 0;
};

// Bytes held in memory (not copied: they must outlive it).
class MemoryAudioBytes : public AudioBytes
{
public:
    explicit MemoryAudioBytes(QByteArrayView bytes) : bytes_(bytes) {}
    qint64 size() const override { return bytes_.size(); }
    qint64 read(qint64 offset, char *out, qint64 count) override;

private:
    QByteArrayView bytes_;
};
