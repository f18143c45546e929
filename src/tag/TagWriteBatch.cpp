#include "TagWriteBatch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Threads that sync at once, the calling one included. A sync mostly waits on
// the disk, so more threads than cores pay off: on two cores a save of 99
// files took about 6 ms with 8 threads, 7 ms with 6 and 8 ms with 4.
constexpr std::size_t kSyncThreads = 8;

// A quarter of the descriptors the process may open: the rest stay for
// loading the next file, the window and its messages.
std::size_t maxHeldFiles()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 256;
    return std::max<std::size_t>(1, static_cast<std::size_t>(limit.rlim_cur / 4));
}

bool outOfDescriptors()
{
    return errno == EMFILE || errno == ENFILE;
}

}  // namespace

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
    const qint64 offset = entry.before.length - (entry.before.hadBlock ? kTagBlockSize : 0);
    const TagBlock replaced = entry.before.hadBlock ? entry.before.oldBlock : TagBlock{};
    const TagBlock block = renderTagBlock(fields, replaced);
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
    std::vector<char> durable(count, 0);
    std::vector<int> errors(count, 0);
    std::atomic<std::size_t> next{0};
    const auto syncEntries = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            errno = 0;
            durable[i] = syncFile_(entries_[i].file.get()) ? 1 : 0;
            errors[i] = errno;
        }
    };
    // The calling thread syncs too, and does all the work alone when no
    // thread can be started.
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < std::min(kSyncThreads, count); ++t) {
        try {
            helpers.emplace_back(syncEntries);
        } catch (const std::system_error &) {
            break;
        }
    }
    syncEntries();
    for (std::thread &helper : helpers)
        helper.join();

    // Undone from the last entry back, so a file written twice in one batch
    // ends up as it was before the first write.
    const qsizetype undoneBefore = undone_.size();
    for (std::size_t i = count; i-- > 0;) {
        if (!durable[i]) {
            undoTailWrite(entries_[i].file.get(), entries_[i].before);
            undone_.insert(undoneBefore, {.entry = finishedEntries_ + static_cast<int>(i),
                                          .why = systemFailure(errors[i] != 0 ? errors[i] : EIO)});
        }
    }
    finishedEntries_ += static_cast<int>(count);
    entries_.clear();
}
