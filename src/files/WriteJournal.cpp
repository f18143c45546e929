#include "files/WriteJournal.h"

#include "files/FileLock.h"
#include "files/FolderEntry.h"
#include "files/WriteCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMagic[] = "KalvoJnl";
constexpr qsizetype kMagicSize = 8;
constexpr quint32 kVersion = 1;
// Magic, version, number of files, length of the records.
constexpr qsizetype kHeaderSize = kMagicSize + 4 + 4 + 8;
constexpr qsizetype kChecksumSize = 8;
constexpr int kNameTries = 100;

void putNumber(QByteArray &bytes, quint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads the journal's bytes front to back, never past their end.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}

    bool number(quint64 &value, int size)
    {
        if (bytes_.size() - at_ < size)
            return false;
        value = 0;
        for (int i = 0; i < size; ++i)
            value |= quint64(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
        at_ += size;
        return true;
    }
    bool size(qint64 &value)
    {
        quint64 raw = 0;
        if (!number(raw, 8) || raw > quint64(std::numeric_limits<qint64>::max()))
            return false;
        value = static_cast<qint64>(raw);
        return true;
    }
    bool bytes(QByteArray &value, quint64 count)
    {
        if (quint64(bytes_.size() - at_) < count)
            return false;
        value = bytes_.sliced(at_, static_cast<qsizetype>(count)).toByteArray();
        at_ += static_cast<qsizetype>(count);
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    QByteArrayView bytes_;
    qsizetype at_ = 0;
};

bool readRecord(Reader &reader, JournalRecord &record)
{
    quint64 nameSize = 0, regions = 0;
    if (!reader.number(nameSize, 4) || !reader.bytes(record.name, nameSize) || !reader.size(record.oldSize)
        || !reader.size(record.newSize) || !reader.number(regions, 4))
        return false;
    for (quint64 i = 0; i < regions; ++i) {
        JournalRecord::Region region;
        quint64 oldSize = 0, pieces = 0;
        if (!reader.size(region.offset) || !reader.size(region.length) || !reader.number(oldSize, 8)
            || oldSize > quint64(region.length) || !reader.bytes(region.oldBytes, oldSize) || !reader.number(pieces, 4)
            || qint64(pieces) != journalPieceCount(region.offset, region.length))
            return false;
        for (quint64 p = 0; p < pieces; ++p) {
            quint64 checksum = 0;
            if (!reader.number(checksum, 8))
                return false;
            region.newPieces << checksum;
        }
        if (!reader.bytes(region.newBeyondOld, quint64(region.length) - oldSize))
            return false;
        record.regions << region;
    }
    return true;
}

}  // namespace

qint64 journalPieceCount(qint64 offset, qint64 length)
{
    if (offset < 0 || length <= 0 || offset > std::numeric_limits<qint64>::max() - length)
        return 0;
    return (offset + length - 1) / kJournalPiece - offset / kJournalPiece + 1;
}

QList<std::pair<qint64, qint64>> journalPieces(qint64 offset, qint64 length)
{
    QList<std::pair<qint64, qint64>> pieces;
    if (journalPieceCount(offset, length) == 0)
        return pieces;
    for (qint64 start = offset; start < offset + length;) {
        const qint64 end = std::min(offset + length, (start / kJournalPiece + 1) * kJournalPiece);
        pieces.append({start, end});
        start = end;
    }
    return pieces;
}

quint64 journalChecksum(QByteArrayView bytes)
{
    quint64 hash = 0xcbf29ce484222325ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

QByteArray journalBytes(const QList<JournalFile> &files)
{
    QByteArray records;
    for (const JournalFile &file : files) {
        putNumber(records, quint64(file.name.size()), 4);
        records += file.name;
        putNumber(records, quint64(file.oldSize), 8);
        putNumber(records, quint64(file.newSize), 8);
        putNumber(records, quint64(file.regions.size()), 4);
        for (const JournalRegion &region : file.regions) {
            putNumber(records, quint64(region.offset), 8);
            putNumber(records, quint64(region.newBytes.size()), 8);
            putNumber(records, quint64(region.oldBytes.size()), 8);
            records += region.oldBytes;
            const auto pieces = journalPieces(region.offset, region.newBytes.size());
            putNumber(records, quint64(pieces.size()), 4);
            for (const auto &[start, end] : pieces)
                putNumber(records, journalChecksum(QByteArrayView(region.newBytes).sliced(start - region.offset, end - start)), 8);
            records += region.newBytes.sliced(region.oldBytes.size());
        }
    }
    QByteArray bytes(kMagic, kMagicSize);
    putNumber(bytes, kVersion, 4);
    putNumber(bytes, quint64(files.size()), 4);
    putNumber(bytes, quint64(records.size()), 8);
    bytes += records;
    putNumber(bytes, journalChecksum(bytes), kChecksumSize);
    return bytes;
}

std::optional<QList<JournalRecord>> readJournal(QByteArrayView bytes)
{
    if (bytes.size() < kHeaderSize + kChecksumSize || !bytes.startsWith(QByteArrayView(kMagic, kMagicSize)))
        return std::nullopt;
    const QByteArrayView body = bytes.first(bytes.size() - kChecksumSize);
    quint64 checksum = 0, version = 0, count = 0, length = 0;
    Reader tail(bytes.sliced(body.size()));
    Reader header(body.sliced(kMagicSize));
    if (!tail.number(checksum, kChecksumSize) || checksum != journalChecksum(body) || !header.number(version, 4)
        || version != kVersion || !header.number(count, 4) || !header.number(length, 8)
        || length != quint64(body.size() - kHeaderSize))
        return std::nullopt;
    Reader reader(body.sliced(kHeaderSize));
    QList<JournalRecord> records;
    for (quint64 i = 0; i < count; ++i) {
        JournalRecord record;
        if (!readRecord(reader, record))
            return std::nullopt;
        records << record;
    }
    if (!reader.atEnd())
        return std::nullopt;
    return records;
}

FileResult WriteJournal::begin(int folder, const QList<JournalFile> &files, const SyncFile &syncFile,
                               const SyncFile &syncFolder)
{
    const QByteArray bytes = journalBytes(files);
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    folder_ = FileDescriptor(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (!folder_.isOpen())
        return lastSystemFailure();

    // Where the file system can, the journal gets its name only once it is
    // whole, durable and locked.
    noteWriteCall();
    file_ = FileDescriptor(::openat(folder_.get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (file_.isOpen()) {
        if (!writeAt(file_.get(), data, bytes.size(), 0) || !syncFile(file_.get()))
            return lastSystemFailure();
        (void)lockForWriting(file_.get());
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(file_.get());
        for (int i = 0; name_.isEmpty() && i < kNameTries; ++i) {
            const QByteArray name = newKalvoName(kJournalSuffix);
            noteWriteCall();
            if (::linkat(AT_FDCWD, self.constData(), folder_.get(), name.constData(), AT_SYMLINK_FOLLOW) == 0)
                name_ = name;
            else if (errno != EEXIST)
                return lastSystemFailure();
        }
    } else {
        // Named at once: locked before it holds anything, and still the
        // file at its name once locked (a search for journals left behind
        // removes an empty one it finds unlocked).
        for (int i = 0; name_.isEmpty() && i < kNameTries; ++i) {
            const QByteArray name = newKalvoName(kJournalSuffix);
            noteWriteCall();
            file_ = FileDescriptor(::openat(folder_.get(), name.constData(),
                                            O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600));
            if (!file_.isOpen()) {
                if (errno != EEXIST)
                    return lastSystemFailure();
                continue;
            }
            struct stat info {};
            if (!lockForWriting(file_.get()).ok() || ::fstat(file_.get(), &info) != 0
                || !holdsFile(folder_.get(), name, {info.st_dev, info.st_ino}))
                continue;
            name_ = name;
        }
        if (!name_.isEmpty() && (!writeAt(file_.get(), data, bytes.size(), 0) || !syncFile(file_.get()))) {
            const FileResult failure = lastSystemFailure();
            end();
            return failure;
        }
    }
    if (name_.isEmpty())
        return {FileProblem::System, EEXIST};
    if (!syncFolder(folder_.get())) {
        const FileResult failure = lastSystemFailure();
        end();
        return failure;
    }
    return {};
}

void WriteJournal::end()
{
    if (!name_.isEmpty()) {
        noteWriteCall();
        (void)::unlinkat(folder_.get(), name_.constData(), 0);
    }
    name_.clear();
    file_ = FileDescriptor();
    folder_ = FileDescriptor();
}
