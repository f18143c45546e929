#include "tagfiles/Id3v2WriteBatch.h"

#include "files/SyncMany.h"
#include "id3v2/Id3v2Edit.h"
#include "id3v2/Id3v2Frames.h"
#include "id3v2/Id3v2Text.h"
#include "tagfiles/Id3v2File.h"
#include "tagfiles/TailFile.h"

#include <QHash>

#include <cerrno>
#include <fcntl.h>
#include <map>
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

}  // namespace

Id3v2WriteBatch::Id3v2WriteBatch() : Id3v2WriteBatch(Options{}) {}

Id3v2WriteBatch::Id3v2WriteBatch(Options options)
    : options_(std::move(options)),
      blocks_(options_.syncFile),
      // An entry holds the old file, the new one and their folder open.
      maxHeld_(std::max<std::size_t>(1, maxHeldFiles() / 3))
{
}

Id3v2WriteBatch::~Id3v2WriteBatch()
{
    finish();
}

FileResult Id3v2WriteBatch::add(const QString &path, const TagRecord &fields,
                                const std::optional<FileSnapshot> &expected)
{
    // Opened for writing, as a save opens it: a file the user may not write
    // is not replaced either.
    TailBefore before;
    FileResult opened;
    FileDescriptor old = openRegularFile(path, O_RDWR, before.length, opened);
    if (!old.isOpen() && outOfDescriptors() && !held_.empty()) {
        finishHeld();
        old = openRegularFile(path, O_RDWR, before.length, opened);
    }
    if (!old.isOpen())
        return opened;
    if (expected) {
        if (const FileResult check = checkSnapshot(old.get(), *expected); !check.ok())
            return check;
    }
    const TagState state = CheckMp3File(old.get(), before.length, before.oldBlock);
    if (state == TagState::NotMp3)
        return {expected ? FileProblem::Changed : FileProblem::NotMp3, 0};
    before.hadBlock = state == TagState::TagPresent;
    const qint64 audioEnd = savedBlockOffset(before);

    QByteArray tag;
    if (const FileResult read = readId3v2Region(old.get(), audioEnd, tag); !read.ok())
        return read;
    const Id3v2Edit edit = editId3v2Tag(tag, fields);
    switch (edit.state) {
    case Id3v2EditState::Unreadable:
        return {FileProblem::TagUnreadable, 0};
    case Id3v2EditState::CutShort:
        return {FileProblem::TagCutShort, 0};
    case Id3v2EditState::FrameNotCarried:
        return {FileProblem::FrameNotCarried, 0};
    case Id3v2EditState::Edited:
        break;
    case Id3v2EditState::Unchanged:
        return addBlock(path, fields, expected, std::move(old));
    }
    const qint64 needed = kId3v2HeaderSize + edit.frames.size();
    const QByteArray newTag = editedTagBytes(edit, needed <= tag.size() ? tag.size() : needed + kNewTagPadding);
    if (newTag == tag)
        return addBlock(path, fields, expected, std::move(old));

    Replacement entry;
    entry.entry = static_cast<int>(outcomes_.size());
    entry.old = std::move(old);
    entry.expected = expected;
    if (const FileResult made = replace(entry, path, newTag, tag.size(), savedBlock(fields, before), audioEnd);
        !made.ok())
        return made;
    outcomes_.append(Outcome{});
    held_.push_back(std::move(entry));
    if (held_.size() >= maxHeld_)
        finishHeld();
    return {};
}

// Only the block, in place, for a file whose tag stays as it is.
FileResult Id3v2WriteBatch::addBlock(const QString &path, const TagRecord &fields,
                                     const std::optional<FileSnapshot> &expected, FileDescriptor old)
{
    old.close();
    TagWriteBatch::Written written = blocks_.add(path, fields, expected);
    if (!written.result.ok())
        return written.result;
    blockEntries_.push_back(static_cast<int>(outcomes_.size()));
    outcomes_.append(Outcome{.result = {}, .snapshot = std::move(written.snapshot)});
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
    return ::fstat(entry.old.get(), &entry.before) == 0 ? FileResult{} : lastSystemFailure();
}

QList<Id3v2WriteBatch::Outcome> Id3v2WriteBatch::finish()
{
    finishHeld();
    for (const TagWriteBatch::Undone &undone : blocks_.finish()) {
        Outcome &outcome = outcomes_[blockEntries_[static_cast<std::size_t>(undone.entry)]];
        outcome = Outcome{.result = undone.why, .snapshot = std::nullopt};
    }
    blockEntries_.clear();
    return std::exchange(outcomes_, {});
}

void Id3v2WriteBatch::finishHeld()
{
    std::vector<int> files;
    for (const Replacement &entry : held_)
        files.push_back(entry.replacement.file());
    const std::vector<int> errors = syncMany(files, options_.syncNewFile);

    // The entries put in place, by their folder.
    std::map<FileIdentity, std::vector<std::size_t>> folders;
    for (std::size_t i = 0; i < held_.size(); ++i) {
        Replacement &entry = held_[i];
        Outcome &outcome = outcomes_[entry.entry];
        if (errors[i] != 0) {
            outcome.result = systemFailure(errors[i]);
            continue;
        }
        // The old file must still be the one expected, as it was while the
        // new one was made.
        struct stat now {};
        if ((entry.expected && !checkSnapshot(entry.old.get(), *entry.expected).ok())
            || ::fstat(entry.old.get(), &now) != 0 || !sameState(now, entry.before)) {
            outcome.result = {FileProblem::Changed, 0};
            continue;
        }
        outcome.result = entry.replacement.commit();
        if (!outcome.result.ok())
            continue;
        // The new file holds the name now, as written.
        outcome.snapshot = takeSnapshot(entry.replacement.file());
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
