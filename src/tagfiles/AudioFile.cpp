#include "tagfiles/AudioFile.h"

#include "files/FileDescriptor.h"

#include <QByteArray>

#include <cstring>
#include <fcntl.h>

namespace {

constexpr qint64 kWindowBytes = 256 * 1024;

// The file's bytes through a window read whole when a read falls outside.
class FileAudioBytes : public AudioBytes
{
public:
    FileAudioBytes(int fd, qint64 size) : fd_(fd), size_(size) {}

    qint64 size() const override { return size_; }
    qint64 read(qint64 offset, char *out, qint64 count) override
    {
        qint64 done = 0;
        while (done < count && offset + done < size_) {
            const qint64 at = offset + done;
            if (at < windowStart_ || at >= windowStart_ + window_.size()) {
                if (!fill(at))
                    return -1;
                if (window_.isEmpty())
                    break;
            }
            const qint64 piece = qMin(count - done, windowStart_ + window_.size() - at);
            std::memcpy(out + done, window_.constData() + (at - windowStart_), static_cast<std::size_t>(piece));
            done += piece;
        }
        return done;
    }

private:
    bool fill(qint64 at)
    {
        window_.resize(kWindowBytes);
        const qint64 got = readAt(fd_, reinterpret_cast<unsigned char *>(window_.data()), kWindowBytes, at);
        if (got < 0) {
            window_.clear();
            return false;
        }
        window_.truncate(static_cast<qsizetype>(got));
        windowStart_ = at;
        return true;
    }

    int fd_;
    qint64 size_;
    QByteArray window_;
    qint64 windowStart_ = 0;
};

}  // namespace

FileAudioLength readAudioLength(const QString &path)
{
    qint64 size = 0;
    FileResult why;
    const FileDescriptor fd = openRegularFile(path, O_RDONLY, size, why);
    if (!fd.isOpen())
        return {.file = why, .audio = {.problem = AudioProblem::Unreadable}};
    FileAudioBytes bytes(fd.get(), size);
    return {.file = {}, .audio = measureAudio(bytes)};
}
