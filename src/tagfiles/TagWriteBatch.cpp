#include "tagfiles/TagWriteBatch.h"

#include "files/SyncMany.h"

#include <cerrno>
#include <fcntl.h>
#include <utility>

TagWriteBatch::TagWriteBatch(SyncFile syncFile) : syncFile_(std::move(syncFile)), maxHeld_(maxHeldFiles()) {}

// A batch left unfinished still makes its files durable or undoes them.
TagWriteBatch::~TagWriteBatch()
{
    finish();
}

TagWriteBatch::Written TagWriteBatch::add(const QString &path, const TagRecord &fields,
                                          const std::optional<FileSnapshot> &expected)
{
    Entry entry;
    FileResult opened;
    entry.file = openRegularFile(path, O_RDWR, entry.before.length, opened);
    if (!entry.file.isOpen() && outOfDescriptors() && !entries_.empty()) {
        finishHeld();
        entry.file = openRegularFile(path, O_RDWR, entry.before.length, opened);
    }
    if (!entry.file.isOpen())
        return {.result = opened, .snapshot = {}};
    const int fd = entry.file.get();
    if (expected) {
        const FileResult check = checkSnapshot(fd, *expected);
        if (!check.ok())
            return {.result = check, .snapshot = {}};
    }
    const std::optional<FileIdentity> identity = fileIdentity(fd);
    if (!identity)
        return {.result = systemFailure(errno), .snapshot = {}};
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
    entries_.push_back(std::move(entry));
    if (entries_.size() >= maxHeld_)
        finishHeld();
    return {.result = {},
            .snapshot = {.identity = *identity,
                         .size = offset + kTagBlockSize,
                         .tail = QByteArray(reinterpret_cast<const char *>(block.data()), kTagBlockSize)}};
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
            undone_.insert(undoneBefore, {.entry = finishedEntries_ + static_cast<int>(i),
                                          .why = systemFailure(errors[i])});
        }
    }
    finishedEntries_ += static_cast<int>(count);
    entries_.clear();
}
