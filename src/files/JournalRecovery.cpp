#include "files/JournalRecovery.h"

#include "files/FileDescriptor.h"
#include "files/FileLock.h"
#include "files/FolderEntry.h"
#include "files/NativePath.h"
#include "files/WriteCalls.h"
#include "files/WriteJournal.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A journal larger than this is none Kalvo wrote (its regions are tags).
constexpr qint64 kMaxJournalSize = qint64(1) << 30;

// The version 1 header's start, so that a journal of another version is
// left for the program that wrote it.
const QByteArray kJournalStart("KalvoJnl\x01\0\0\0", 12);

enum class FileState { Untouched, Written, Torn, Changed };

// Where each region of the file stands, piece by piece.
FileState stateOf(int fd, qint64 size, const JournalRecord &record)
{
    const qint64 smaller = std::min(record.oldSize, record.newSize);
    const qint64 larger = std::max(record.oldSize, record.newSize);
    if (size < smaller || size > larger)
        return FileState::Changed;
    bool allOld = size == record.oldSize;
    bool allNew = size == record.newSize;
    for (const JournalRecord::Region &region : record.regions) {
        QByteArray now(static_cast<qsizetype>(region.length), '\0');
        const qint64 got = readAt(fd, reinterpret_cast<unsigned char *>(now.data()), region.length, region.offset);
        if (got < 0)
            return FileState::Changed;
        const qint64 oldEnd = region.offset + region.oldBytes.size();  // the old bytes end here
        const auto pieces = journalPieces(region.offset, region.length);
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const auto [start, end] = pieces.at(i);
            if (start < oldEnd && end > oldEnd)
                return FileState::Changed;  // no piece Kalvo records
            const bool hadBytes = end <= oldEnd;  // else it lay past the old end
            bool isOld = false, isNew = false;
            if (end <= region.offset + got) {
                const QByteArrayView bytes = QByteArrayView(now).sliced(start - region.offset, end - start);
                isOld = hadBytes && bytes == QByteArrayView(region.oldBytes).sliced(start - region.offset, end - start);
                isNew = journalChecksum(bytes) == region.newPieces.at(i);
            } else if (start >= region.offset + got) {
                isOld = !hadBytes;  // not appended yet
            } else if (!hadBytes) {
                // Appended in part, if those are the first bytes of the append.
                const qsizetype from = start - oldEnd;
                const qsizetype count = region.offset + got - start;
                if (QByteArrayView(now).sliced(start - region.offset, count)
                    != QByteArrayView(region.newBeyondOld).sliced(from, count))
                    return FileState::Changed;
                allOld = allNew = false;
                continue;
            }
            if (!isOld && !isNew)
                return FileState::Changed;
            allOld = allOld && isOld;
            allNew = allNew && isNew;
        }
    }
    if (allOld)
        return FileState::Untouched;
    return allNew ? FileState::Written : FileState::Torn;
}

bool putBack(int fd, const JournalRecord &record)
{
    for (const JournalRecord::Region &region : record.regions) {
        if (!writeAt(fd, reinterpret_cast<const unsigned char *>(region.oldBytes.constData()), region.oldBytes.size(),
                     region.offset))
            return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || (info.st_size != record.oldSize && !truncateFile(fd, record.oldSize)))
        return false;
    return syncData(fd);
}

// What becomes of one file the journal names; nothing for one untouched.
std::optional<RecoveredFile> settle(int folder, const QString &folderPath, const JournalRecord &record)
{
    RecoveredFile file{.path = folderPath + pathText(record.name)};
    const FileDescriptor fd(::openat(folder, record.name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.isOpen() && errno != ENOENT && errno != ELOOP) {
        file.outcome = RecoveryOutcome::NotPutBack;
        file.why = lastSystemFailure();
        return file;
    }
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return file;  // gone, or no regular file now: left alone
    if (const FileResult locked = lockForWriting(fd.get()); !locked.ok()) {
        file.outcome = RecoveryOutcome::NotPutBack;
        file.why = locked;
        return file;
    }
    switch (stateOf(fd.get(), info.st_size, record)) {
    case FileState::Untouched:
        return std::nullopt;
    case FileState::Changed:
        return file;
    case FileState::Written:
        file.outcome = syncData(fd.get()) ? RecoveryOutcome::Finished : RecoveryOutcome::NotPutBack;
        break;
    case FileState::Torn:
        file.outcome = putBack(fd.get(), record) ? RecoveryOutcome::PutBack : RecoveryOutcome::NotPutBack;
        break;
    }
    if (file.outcome == RecoveryOutcome::NotPutBack)
        file.why = lastSystemFailure();
    return file;
}

bool readWhole(int fd, qint64 size, QByteArray &bytes)
{
    if (size > kMaxJournalSize)
        return false;
    bytes.resize(static_cast<qsizetype>(size));
    return readAt(fd, reinterpret_cast<unsigned char *>(bytes.data()), size, 0) == size;
}

void removeName(int folder, const QByteArray &name)
{
    noteWriteCall();
    (void)::unlinkat(folder, name.constData(), 0);
}

void settleJournal(int folder, const QString &folderPath, const QByteArray &name, FolderRecovery &recovery)
{
    const FileDescriptor fd(::openat(folder, name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || !tryLockForWriting(fd.get()))
        return;
    QByteArray bytes;
    if (!readWhole(fd.get(), info.st_size, bytes))
        return;
    const std::optional<QList<JournalRecord>> records = readJournal(bytes);
    if (!records) {
        // Never whole, so never used: unless another version wrote it.
        if (bytes.size() < kJournalStart.size() ? kJournalStart.startsWith(bytes) : bytes.startsWith(kJournalStart))
            removeName(folder, name);
        return;
    }
    bool settled = true;
    for (const JournalRecord &record : *records) {
        if (const std::optional<RecoveredFile> file = settle(folder, folderPath, record)) {
            settled = settled && file->outcome != RecoveryOutcome::NotPutBack;
            recovery.files << *file;
        }
    }
    if (settled)
        removeName(folder, name);
}

void removeCopy(int folder, const QString &folderPath, const QByteArray &name, FolderRecovery &recovery)
{
    const FileDescriptor fd(::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || lockedByAnother(fd.get()))
        return;
    noteWriteCall();
    if (::unlinkat(folder, name.constData(), 0) == 0)
        recovery.removedCopies << folderPath + pathText(name);
}

}  // namespace

FolderRecovery recoverFolder(const QString &folder)
{
    FolderRecovery recovery;
    const QByteArray native = nativePath(folder);
    if (native.isEmpty())
        return recovery;
    const FileDescriptor fd(::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int listed = fd.isOpen() ? ::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0) : -1;
    DIR *entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!entries) {
        if (listed >= 0)
            ::close(listed);
        return recovery;
    }
    QList<QByteArray> journals, copies;
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArrayView name(entry->d_name, qsizetype(std::strlen(entry->d_name)));
        if (isKalvoName(name, kJournalSuffix))
            journals << name.toByteArray();
        else if (isKalvoName(name, kCopySuffix))
            copies << name.toByteArray();
    }
    ::closedir(entries);
    const QString folderPath = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QByteArray &name : std::as_const(journals))
        settleJournal(fd.get(), folderPath, name, recovery);
    for (const QByteArray &name : std::as_const(copies))
        removeCopy(fd.get(), folderPath, name, recovery);
    return recovery;
}
