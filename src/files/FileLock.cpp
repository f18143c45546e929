#include "files/FileLock.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <thread>

namespace {

// How long a writer waits for another one: a whole CD written anew takes
// a few seconds, its blocks a few milliseconds.
constexpr auto kLockWait = std::chrono::seconds(5);
constexpr auto kLockRetry = std::chrono::milliseconds(5);

enum class Lock { Taken, Busy, Unsupported };

// Without waiting: two writers each waiting for a file the other holds would
// wait for ever, as the system looks for no such deadlock between these locks.
Lock tryLock(int fd)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;  // the whole file, however it grows
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
            return Lock::Taken;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EACCES ? Lock::Busy : Lock::Unsupported;
    }
}

}  // namespace

FileResult lockForWriting(int fd)
{
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        switch (tryLock(fd)) {
        case Lock::Taken:
        case Lock::Unsupported:
            return {};
        case Lock::Busy:
            break;
        }
        if (std::chrono::steady_clock::now() >= until)
            return {FileProblem::InUse, EAGAIN};
        std::this_thread::sleep_for(kLockRetry);
    }
}

bool tryLockForWriting(int fd)
{
    return tryLock(fd) != Lock::Busy;
}

bool lockedByAnother(int fd)
{
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}
