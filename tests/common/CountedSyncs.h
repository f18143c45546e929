#pragma once

// Counts the syncs the code under test makes. Included in one source file of
// a test executable, it defines that executable's own fdatasync(2) and
// fsync(2), which stand in front of the C library's: each notes the file it
// syncs, then calls the C library's.

#include <QFile>
#include <QStringList>

#include <dlfcn.h>
#include <mutex>
#include <utility>

namespace CountedSyncs {

inline std::mutex mutex;
inline QStringList calls;  // "<function> <path>", in order

// The calls on files below the folder so far; all calls are forgotten.
inline QStringList take(const QString &folder)
{
    const std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(calls, {}).filter(u' ' + folder + u'/');
}

inline int call(const char *function, int fd)
{
    const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    {
        const std::lock_guard<std::mutex> lock(mutex);
        calls << QString::fromLatin1(function) + u' ' + path;
    }
    return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, function))(fd);
}

}  // namespace CountedSyncs

extern "C" int fdatasync(int fd) { return CountedSyncs::call("fdatasync", fd); }
extern "C" int fsync(int fd) { return CountedSyncs::call("fsync", fd); }
