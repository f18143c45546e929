#include "TagWriteBatch.h"

#include "SyncMany.h"

#include <fcntl.h>
#include <utility>

TagWriteBatch::TagWriteBatch(SyncFile syncFile) : syncFile_(std::move(syncFile)), maxHeld_(maxHeldFiles()) {}

// A batch left unfinished still makes its files durable or undoes them.
TagWriteBatch::~TagWriteBatch()
{
    finish();
}

bool TagWriteBatch::add(const QString &path, const TagRecord &fields, const std::optional<FileIdentity> &expected)
{
    Entry entry;
    entry.file = openRegularFile(path, O_RDWR, entry.before.length);
    if (!entry.file.isOpen() && outOfDescriptors() && !entries_.empty()) {
        finishHeld();
        entry.file = openRegularFile(path, O_RDWR, entry.before.length);
    }
    if (!entry.file.isOpen())
        return false;
    const int fd = entry.file.get();
    if (expected && !isFile(fd, *expected))
        return false;
    const TagState state = CheckMp3File(fd, entry.before.length, entry.before.oldBlock);
    if (state == TagState::NotMp3)
        return false;
    entry.before.hadBlock = state == TagState::TagPresent;
    const TagBlock block = savedBlock(fields, entry.before);
    if (!writeAt(fd, block.data(), kTagBlockSize, savedBlockOffset(entry.before))) {
        undoTailWrite(fd, entry.before);
        return false;
    }
    entries_.push_back(std::move(entry));
    if (entries_.size() >= maxHeld_)
        finishHeld();
    return true;
}

QList<int> TagWriteBatch::finish()
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
    const std::vector<bool> durable = syncMany(files, syncFile_);

    // Undone from the last entry back, so a file written twice in one batch
    // ends up as it was before the first write.
    const qsizetype undoneBefore = undone_.size();
    for (std::size_t i = count; i-- > 0;) {
        if (!durable[i]) {
            undoTailWrite(entries_[i].file.get(), entries_[i].before);
            undone_.insert(undoneBefore, finishedEntries_ + static_cast<int>(i));
        }
    }
    finishedEntries_ += static_cast<int>(count);
    entries_.clear();
}
