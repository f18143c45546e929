#include "tagfiles/Id3v2WriteBatch.h"

#include "files/FileLock.h"
#include "files/StopSignals.h"
#include "files/SyncMany.h"
#include "files/WriteCalls.h"
#include "id3v2/Id3v2Edit.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2InPlace.h"
#include "id3v2/Id3v2InStep.h"
#include "id3v2/Id3v2Text.h"
#include "tagfiles/Id3v2File.h"
#include "tagfiles/TailFile.h"

#include <QHash>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

// Audio is copied in pieces of this size.
constexpr qint64 kCopyPiece = 1024 * 1024;

// The file system has no copy in the kernel between these files (as
// copy_file_range(2) says it).
bool lacksKernelCopy()
{
    return errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP;
}

// Copies size bytes of from at offset to `to` at toOffset: with inKernel,
// inside the kernel as far as the file system can (no copy through this
// process, extents shared where the file system can share them), the rest
// through a buffer. False when from ends early or a call fails.
bool copyBytes(int from, qint64 offset, qint64 size, int to, qint64 toOffset, bool inKernel)
{
    qint64 done = 0;
    while (inKernel && done < size) {
        loff_t in = offset + done;
        loff_t out = toOffset + done;
        noteWriteCall();
        const ssize_t n = ::copy_file_range(from, &in, to, &out, static_cast<size_t>(size - done), 0);
        if (n > 0)
            done += n;
        else if (n == 0)
            return false;
        else if (lacksKernelCopy())
            break;
        else if (errno != EINTR)
            return false;
    }
    if (done == size)
        return true;
    QByteArray piece(static_cast<qsizetype>(std::min(size - done, kCopyPiece)), Qt::Uninitialized);
    auto *buffer = reinterpret_cast<unsigned char *>(piece.data());
    while (done < size) {
        const qint64 n = std::min(size - done, kCopyPiece);
        if (readAt(from, buffer, n, offset + done) != n)
            return false;
        if (!writeAt(to, buffer, n, toOffset + done))
            return false;
        done += n;
    }
    return true;
}

bool sameState(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size && a.st_nlink == b.st_nlink
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The region of a tag that an edit of the same size changes: from the first
// byte that differs to the last; nothing when none does.
std::optional<JournalRegion> changedRegion(const QByteArray &old, const QByteArray &edited)
{
    qsizetype first = 0;
    while (first < old.size() && old[first] == edited[first])
        ++first;
    if (first == old.size())
        return std::nullopt;
    qsizetype end = old.size();
    while (end > first && old[end - 1] == edited[end - 1])
        --end;
    return JournalRegion{.offset = first, .oldBytes = old.sliced(first, end - first),
                         .newBytes = edited.sliced(first, end - first)};
}

bool writeRegions(int fd, const JournalFile &file, bool newBytes)
{
    for (const JournalRegion &region : file.regions) {
        const QByteArray &bytes = newBytes ? region.newBytes : region.oldBytes;
        if (!writeAt(fd, reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size(), region.offset))
            return false;
    }
    return true;
}

// Puts a file written in place back as it was, durably; false when it
// cannot be (its journal then stays, for the recovery).
bool putBack(int fd, const JournalFile &file, const std::optional<FileTimes> &times, const SyncFile &sync)
{
    const bool back = writeRegions(fd, file, false)
                      && (file.newSize == file.oldSize || truncateFile(fd, file.oldSize));
    if (times)
        (void)putFileTimes(fd, *times);
    return back && sync(fd);
}

}  // namespace

Id3v2WriteBatch::Id3v2WriteBatch() : Id3v2WriteBatch(Options{}) {}

Id3v2WriteBatch::Id3v2WriteBatch(Options options)
    : options_(std::move(options)),
      blocks_(options_.syncFile, options_.keepTimes),
      // An entry holds the old file, the new one and their folder open.
      maxHeld_(std::max<std::size_t>(1, maxHeldFiles() / 3))
{
}

Id3v2WriteBatch::~Id3v2WriteBatch()
{
    finish();
}

FileResult Id3v2WriteBatch::add(const QString &path, const TagRecord &fields, const QList<Id3v2Field> &given,
                                const std::optional<FileSnapshot> &expected)
{
    if (stopRequested())
        return {FileProblem::Interrupted, 0};
    // Opened for writing, as a save opens it: a file the user may not write
    // is not replaced either.
    TailBefore before;
    FileResult opened;
    FileDescriptor old = openRegularFile(path, O_RDWR, before.length, opened);
    if (!old.isOpen() && outOfDescriptors() && heldFiles() > 0) {
        finishHeld();
        old = openRegularFile(path, O_RDWR, before.length, opened);
    }
    if (!old.isOpen())
        return opened;
    if (const FileResult locked = lockForWriting(old.get()); !locked.ok())
        return locked;
    if (expected) {
        if (const FileResult check = checkSnapshot(old.get(), *expected); !check.ok())
            return check;
    }
    // The length again, under the lock.
    struct stat info {};
    if (::fstat(old.get(), &info) != 0)
        return lastSystemFailure();
    before.length = info.st_size;
    const TagState state = CheckMp3File(old.get(), before.length, before.oldBlock);
    if (state == TagState::NotMp3)
        return {expected ? FileProblem::Changed : FileProblem::NotMp3, 0};
    before.hadBlock = state == TagState::TagPresent;
    const qint64 audioEnd = savedBlockOffset(before);

    // The tag as far as its reading and edit look into it: a cover picture
    // is read only when the whole tag is to be written.
    QByteArray tag;
    bool complete = true;
    if (const FileResult read = readId3v2Sparse(old.get(), audioEnd, tag, complete); !read.ok())
        return read;
    Id3v2Edit edit = editId3v2Tag(tag, fields, given);
    switch (edit.state) {
    case Id3v2EditState::Unreadable:
        return {FileProblem::TagUnreadable, 0};
    case Id3v2EditState::CutShort:
        return {FileProblem::TagCutShort, 0};
    case Id3v2EditState::FrameNotCarried:
        return {FileProblem::FrameNotCarried, 0};
    case Id3v2EditState::Edited:
        break;
    case Id3v2EditState::Unchanged: {
        TagWriteBatch::Written written = blocks_.add(std::move(old), before.length, fields, expected);
        if (!written.result.ok())
            return written.result;
        blockEntries_.push_back(static_cast<int>(outcomes_.size()));
        outcomes_.append(Outcome{.result = {}, .snapshot = std::move(written.snapshot), .reading = edit.reading});
        return {};
    }
    }
    const qint64 needed = kId3v2HeaderSize + editedFramesSize(edit);
    const bool fits = !edit.frames.isEmpty() && needed <= tag.size();
    const TagBlock block = savedBlock(fields, before);
    if (fits) {
        // The frames that change written around those that stay where
        // they are, when the tag that comes out reads in step.
        if (const std::optional<QList<Id3v2Span>> spans = id3v2EditInPlace(edit)) {
            QList<JournalRegion> regions;
            for (const Id3v2Span &span : *spans) {
                if (std::optional<JournalRegion> changed = changedRegion(
                        tag.sliced(static_cast<qsizetype>(span.offset), span.bytes.size()), span.bytes)) {
                    changed->offset += span.offset;
                    regions << std::move(*changed);
                }
            }
            edit = {};  // the tag's bytes are this function's alone again, and written over without a copy
            for (const JournalRegion &region : regions)
                std::copy(region.newBytes.begin(), region.newBytes.end(), tag.begin() + region.offset);
            Id3v2Text reading = parseId3v2Text(tag);
            if (reading.state == Id3v2State::Read && id3v2FieldsOutOfStep(fields, reading, given).isEmpty())
                return addInPlace(path, std::move(old), std::move(regions), std::move(reading), before, block,
                                  expected);
            complete = false;
        }
    }
    if (!complete) {
        if (const FileResult read = readId3v2Region(old.get(), audioEnd, tag); !read.ok())
            return read;
        edit = editId3v2Tag(tag, fields, given);
        if (edit.state != Id3v2EditState::Edited)
            return {FileProblem::Changed, 0};
    }
    const QByteArray newTag = editedTagBytes(edit, fits ? tag.size() : needed + kNewTagPadding);
    if (fits) {
        QList<JournalRegion> regions;
        if (std::optional<JournalRegion> changed = changedRegion(tag, newTag))
            regions << std::move(*changed);
        return addInPlace(path, std::move(old), std::move(regions), parseId3v2Text(newTag), before, block, expected);
    }

    Replacement entry;
    entry.entry = static_cast<int>(outcomes_.size());
    entry.old = std::move(old);
    entry.expected = expected;
    if (options_.keepTimes)
        entry.times = FileTimes{.access = expected ? expected->times.access : info.st_atim, .modification = info.st_mtim};
    if (const FileResult made = replace(entry, path, newTag, tag.size(), block, audioEnd); !made.ok())
        return made;
    outcomes_.append(Outcome{.result = {}, .snapshot = std::nullopt, .reading = parseId3v2Text(newTag)});
    held_.push_back(std::move(entry));
    if (heldFiles() >= maxHeld_)
        finishHeld();
    return {};
}

// The regions of the tag that change and the block, to be written in place.
FileResult Id3v2WriteBatch::addInPlace(const QString &path, FileDescriptor file, QList<JournalRegion> tagRegions,
                                       Id3v2Text reading, const TailBefore &before, const TagBlock &block,
                                       const std::optional<FileSnapshot> &expected)
{
    InPlace entry{.entry = static_cast<int>(outcomes_.size()), .file = std::move(file), .folder = {}, .journal = {},
                  .times = std::nullopt, .before = {}};
    if (::fstat(entry.file.get(), &entry.before) != 0)
        return lastSystemFailure();
    const struct stat &info = entry.before;
    const FileIdentity identity{info.st_dev, info.st_ino};
    if (const FileResult found = openFolderEntry(path, identity, entry.folder, folders_); !found.ok())
        return found;
    if (options_.keepTimes)
        entry.times = FileTimes{.access = expected ? expected->times.access : info.st_atim, .modification = info.st_mtim};
    entry.journal = {.name = entry.folder.name,
                     .oldSize = before.length,
                     .newSize = savedBlockOffset(before) + kTagBlockSize,
                     .regions = std::move(tagRegions)};
    const QByteArray newBlock(reinterpret_cast<const char *>(block.data()), kTagBlockSize);
    const QByteArray oldBlock = before.hadBlock ? QByteArray(reinterpret_cast<const char *>(before.oldBlock.data()),
                                                             kTagBlockSize)
                                                : QByteArray();
    if (newBlock != oldBlock)
        entry.journal.regions << JournalRegion{.offset = savedBlockOffset(before), .oldBytes = oldBlock,
                                               .newBytes = newBlock};
    outcomes_.append(Outcome{.result = {},
                             .snapshot = FileSnapshot{.identity = identity, .size = entry.journal.newSize,
                                                      .tail = newBlock, .times = entry.times.value_or(FileTimes{})},
                             .reading = std::move(reading)});
    inPlace_.push_back(std::move(entry));
    if (heldFiles() >= maxHeld_)
        finishHeld();
    else if (inPlace_.size() >= options_.inPlaceLot)
        startLot();
    return {};
}

// The new file: the new tag, the audio, the block.
FileResult Id3v2WriteBatch::replace(Replacement &entry, const QString &path, const QByteArray &newTag,
                                    qint64 oldTagSize, const TagBlock &block, qint64 audioEnd)
{
    if (const FileResult begun = entry.replacement.begin(path, entry.old.get(), options_.methods); !begun.ok())
        return begun;
    const int to = entry.replacement.file();
    const qint64 audioSize = audioEnd - oldTagSize;
    if (!writeAt(to, reinterpret_cast<const unsigned char *>(newTag.constData()), newTag.size(), 0)
        || !copyBytes(entry.old.get(), oldTagSize, audioSize, to, newTag.size(), options_.copyInKernel)
        || !writeAt(to, block.data(), kTagBlockSize, newTag.size() + audioSize))
        return lastSystemFailure();
    if (entry.times && !putFileTimes(to, *entry.times))
        return {FileProblem::TimesNotKept, errno};
    // Known without reading it again, which would change its access time.
    struct stat made {};
    if (::fstat(to, &made) != 0)
        return lastSystemFailure();
    entry.written = {.identity = {made.st_dev, made.st_ino},
                     .size = made.st_size,
                     .tail = QByteArray(reinterpret_cast<const char *>(block.data()), kTagBlockSize),
                     .times = {.access = made.st_atim, .modification = made.st_mtim}};
    return ::fstat(entry.old.get(), &entry.before) == 0 ? FileResult{} : lastSystemFailure();
}

QList<Id3v2WriteBatch::Outcome> Id3v2WriteBatch::finish()
{
    finishHeld();
    for (const TagWriteBatch::Undone &undone : blocks_.finish()) {
        Outcome &outcome = outcomes_[blockEntries_[static_cast<std::size_t>(undone.entry)]];
        outcome = Outcome{.result = undone.why, .snapshot = std::nullopt, .reading = std::nullopt};
    }
    blockEntries_.clear();
    return std::exchange(outcomes_, {});
}

std::size_t Id3v2WriteBatch::heldFiles() const
{
    std::size_t files = held_.size() + inPlace_.size();
    for (const std::unique_ptr<Lot> &lot : lots_)
        files += lot->files;
    return files;
}

void Id3v2WriteBatch::startLot()
{
    auto lot = std::make_unique<Lot>();
    lot->entries = std::exchange(inPlace_, {});
    lot->files = lot->entries.size();
    Lot &started = *lot;
    try {
        lot->thread = std::thread([this, &started] { writeLot(started); });
    } catch (const std::system_error &) {
        writeLot(started);
    }
    lots_.push_back(std::move(lot));
}

void Id3v2WriteBatch::finishLots()
{
    for (const std::unique_ptr<Lot> &lot : lots_) {
        if (lot->thread.joinable())
            lot->thread.join();
        for (const auto &[entry, why] : lot->failures)
            outcomes_[entry] = Outcome{.result = why, .snapshot = std::nullopt, .reading = std::nullopt};
    }
    lots_.clear();
}

void Id3v2WriteBatch::writeThroughJournal(const std::vector<InPlace *> &entries, WriteJournal &journal,
                                          Lot &lot) const
{
    QList<JournalFile> files;
    for (const InPlace *entry : entries)
        files << entry->journal;
    if (const FileResult begun = journal.begin(entries.front()->folder.folder.get(), files, options_.syncFile,
                                               options_.syncFolder);
        !begun.ok()) {
        for (InPlace *entry : entries) {
            lot.failures.push_back({entry->entry, begun});
            entry->file = FileDescriptor();
        }
        return;
    }
    for (InPlace *entry : entries) {
        const int fd = entry->file.get();
        FileResult failure;
        // Another program may have written it since (one that takes no
        // lock): then it is left as it is now.
        struct stat now {};
        if (::fstat(fd, &now) != 0 || !sameState(now, entry->before)) {
            lot.failures.push_back({entry->entry, {FileProblem::Changed, 0}});
            entry->file = FileDescriptor();
            continue;
        }
        if (!writeRegions(fd, entry->journal, true))
            failure = lastSystemFailure();
        else if (entry->times && !putFileTimes(fd, *entry->times))
            failure = {FileProblem::TimesNotKept, errno};
        if (failure.ok())
            continue;
        if (!putBack(fd, entry->journal, entry->times, options_.syncFile))
            journal = WriteJournal();  // left for the recovery
        lot.failures.push_back({entry->entry, failure});
        entry->file = FileDescriptor();
    }
}

void Id3v2WriteBatch::writeLot(Lot &lot) const
{
    // The files of each folder, through one journal.
    std::map<FileIdentity, std::vector<InPlace *>> folders;
    for (InPlace &entry : lot.entries) {
        struct stat info {};
        if (::fstat(entry.folder.folder.get(), &info) == 0) {
            folders[FileIdentity{info.st_dev, info.st_ino}].push_back(&entry);
        } else {
            lot.failures.push_back({entry.entry, lastSystemFailure()});
            entry.file = FileDescriptor();
        }
    }
    std::vector<WriteJournal> journals(folders.size());
    std::size_t next = 0;
    for (const auto &[folder, entries] : folders)
        writeThroughJournal(entries, journals[next++], lot);

    std::vector<int> files;
    for (const InPlace &entry : lot.entries) {
        if (entry.file.isOpen())
            files.push_back(entry.file.get());
    }
    const std::vector<int> errors = syncMany(files, options_.syncFile);
    std::map<int, int> errorOf;
    for (std::size_t i = 0; i < files.size(); ++i)
        errorOf[files[i]] = errors[i];

    // A file whose sync failed is put back; a journal goes once each of
    // its files is durable, new or old.
    next = 0;
    for (const auto &[folder, entries] : folders) {
        bool settled = true;
        for (InPlace *entry : entries) {
            if (!entry->file.isOpen())
                continue;
            const int error = errorOf[entry->file.get()];
            if (error == 0)
                continue;
            if (!putBack(entry->file.get(), entry->journal, entry->times, options_.syncFile))
                settled = false;
            lot.failures.push_back({entry->entry, systemFailure(error)});
        }
        if (settled)
            journals[next].end();
        ++next;
    }
}

void Id3v2WriteBatch::finishHeld()
{
    // The last files in place are written while the new files are synced.
    if (!inPlace_.empty())
        startLot();
    std::vector<int> files;
    for (const Replacement &entry : held_)
        files.push_back(entry.replacement.file());
    const std::vector<int> errors = syncMany(files, options_.syncNewFile);
    std::map<int, int> errorOf;
    for (std::size_t i = 0; i < files.size(); ++i)
        errorOf[files[i]] = errors[i];
    finishLots();

    // The entries put in place, by their folder.
    std::map<FileIdentity, std::vector<std::size_t>> folders;
    for (std::size_t i = 0; i < held_.size(); ++i) {
        Replacement &entry = held_[i];
        Outcome &outcome = outcomes_[entry.entry];
        const int error = errorOf[entry.replacement.file()];
        if (error != 0) {
            outcome = Outcome{.result = systemFailure(error), .snapshot = std::nullopt, .reading = std::nullopt};
            continue;
        }
        // The old file must still be the one expected, as it was while the
        // new one was made.
        struct stat now {};
        if ((entry.expected && !checkSnapshot(entry.old.get(), *entry.expected).ok())
            || ::fstat(entry.old.get(), &now) != 0 || !sameState(now, entry.before)) {
            outcome = Outcome{.result = {FileProblem::Changed, 0}, .snapshot = std::nullopt, .reading = std::nullopt};
            continue;
        }
        outcome.result = entry.replacement.commit();
        if (!outcome.result.ok()) {
            outcome.reading.reset();
            continue;
        }
        // The new file holds the name now, as written.
        outcome.snapshot = entry.written;
        struct stat info {};
        if (::fstat(entry.replacement.folder(), &info) == 0)
            folders[FileIdentity{info.st_dev, info.st_ino}].push_back(i);
    }
    for (const auto &[folder, entries] : folders) {
        if (options_.syncFolder(held_[entries.front()].replacement.folder()))
            continue;
        for (const std::size_t i : entries)
            outcomes_[held_[i].entry].result = {FileProblem::FolderNotSynced, errno};
    }
    held_.clear();
}
