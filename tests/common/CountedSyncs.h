#pragma once

// Counts the syncs the code under test makes on its files. This header
// defines the executable's own fdatasync(2) and fsync(2), which stand in
// front of the C library's: each notes the file it syncs and then calls the C
// library's. Include it in one source file of a test executable only.

#include <QFile>
#include <QStringList>

#include <dlfcn.h>
#include <mutex>

namespace CountedSyncs {

inline std::mutex mutex;
inline QStringList calls;  // "<function> <path>", in order

// The calls on files below the folder so far, forgotten afterwards.
inline QStringList take(const QString &folder)
{
    const std::lock_guard<std::mutex> lock(mutex);
    QStringList taken = calls.filter(u' ' + folder + u'/');
    calls.clear();
    return taken;
}

inline int call(const char *function, int fd)
{
    const QString path = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd));
    {
        const std::lock_guard<std::mutex> lock(mutex);
        calls << QString::fromLatin1(function) + u' ' + path;
    }
    const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, function));
    return real(fd);
}

}  // namespace CountedSyncs

extern "C" int fdatasync(int fd)
{
    return CountedSyncs::call("fdatasync", fd);
}

extern "C" int fsync(int fd)
{
    return CountedSyncs::call("fsync", fd);
}
