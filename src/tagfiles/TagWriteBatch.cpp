#include "tagfiles/TagWriteBatch.h"

#include "files/FileLock.h"
#include "files/StopSignals.h"
#include "files/SyncMany.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

TagWriteBatch::TagWriteBatch(SyncFile syncFile, bool keepTimes)
    : syncFile_(std::move(syncFile)), keepTimes_(keepTimes), maxHeld_(maxHeldFiles())
{
}

// A batch left unfinished still makes its files durable or undoes them.
TagWriteBatch::~TagWriteBatch()
{
    finish();
}

TagWriteBatch::Written TagWriteBatch::add(const QString &path, const TagRecord &fields,
                                          const std::optional<FileSnapshot> &expected)
{
    if (stopRequested())
        return {.result = {FileProblem::Interrupted, 0}, .snapshot = {}};
    qint64 length = 0;
    FileResult opened;
    FileDescriptor file = openRegularFile(path, O_RDWR, length, opened);
    if (!file.isOpen() && outOfDescriptors() && !entries_.empty()) {
        finishHeld();
        file = openRegularFile(path, O_RDWR, length, opened);
    }
    if (!file.isOpen())
        return {.result = opened, .snapshot = {}};
    return add(std::move(file), length, fields, expected);
}

TagWriteBatch::Written TagWriteBatch::add(FileDescriptor file, qint64 length, const TagRecord &fields,
                                          const std::optional<FileSnapshot> &expected)
{
    if (stopRequested())
        return {.result = {FileProblem::Interrupted, 0}, .snapshot = {}};
    Entry entry{.file = std::move(file), .before = {.length = length}, .times = std::nullopt};
    const int fd = entry.file.get();
    if (const FileResult locked = lockForWriting(fd); !locked.ok())
        return {.result = locked, .snapshot = {}};
    if (expected) {
        const FileResult check = checkSnapshot(fd, *expected);
        if (!check.ok())
            return {.result = check, .snapshot = {}};
    }
    // The length again, under the lock: another writer may have grown the
    // file since it was opened.
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {.result = systemFailure(errno), .snapshot = {}};
    entry.before.length = info.st_size;
    const FileIdentity identity{info.st_dev, info.st_ino};
    // The access time before Kalvo read the file, where it knows it.
    if (keepTimes_)
        entry.times = FileTimes{.access = expected ? expected->times.access : info.st_atim, .modification = info.st_mtim};
    const TagState state = CheckMp3File(fd, entry.before.length, entry.before.oldBlock);
    if (state == TagState::NotMp3) {
        // A file read as an MP3 file whose start is no longer one has changed.
        return {.result = {expected ? FileProblem::Changed : FileProblem::NotMp3, 0}, .snapshot = {}};
    }
    entry.before.hadBlock = state == TagState::TagPresent;
    const qint64 offset = savedBlockOffset(entry.before);
    const TagBlock block = savedBlock(fields, entry.before);
    if (!writeAt(fd, block.data(), kTagBlockSize, offset)) {
        const FileResult failed = systemFailure(errno);
        undoTailWrite(fd, entry.before);
        return {.result = failed, .snapshot = {}};
    }
    // Before the sync, so that the times reach the disk with the block.
    if (entry.times && !putFileTimes(fd, *entry.times)) {
        const FileResult failed{FileProblem::TimesNotKept, errno};
        undoTailWrite(fd, entry.before);
        (void)putFileTimes(fd, *entry.times);
        return {.result = failed, .snapshot = {}};
    }
    const std::optional<FileTimes> now = fileTimes(fd);
    entries_.push_back(std::move(entry));
    if (entries_.size() >= maxHeld_)
        finishHeld();
    return {.result = {},
            .snapshot = {.identity = identity,
                         .size = offset + kTagBlockSize,
                         .tail = QByteArray(reinterpret_cast<const char *>(block.data()), kTagBlockSize),
                         .times = now.value_or(FileTimes{})}};
}

QList<TagWriteBatch::Undone> TagWriteBatch::finish()
{
    finishHeld();
    finishedEntries_ = 0;
    return std::exchange(undone_, {});
}

void TagWriteBatch::finishHeld()
{
    const std::size_t count = entries_.size();
    std::vector<int> files;
    for (const Entry &entry : entries_)
        files.push_back(entry.file.get());
    const std::vector<int> errors = syncMany(files, syncFile_);

    // Undone from the last entry back, so a file written twice in one batch
    // ends up as it was before the first write.
    const qsizetype undoneBefore = undone_.size();
    for (std::size_t i = count; i-- > 0;) {
        if (errors[i] != 0) {
            undoTailWrite(entries_[i].file.get(), entries_[i].before);
            if (entries_[i].times)
                (void)putFileTimes(entries_[i].file.get(), *entries_[i].times);
            undone_.insert(undoneBefore, {.entry = finishedEntries_ + static_cast<int>(i),
                                          .why = systemFailure(errors[i])});
        }
    }
    finishedEntries_ += static_cast<int>(count);
    entries_.clear();
}
