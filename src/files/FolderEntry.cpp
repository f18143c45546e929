#include "files/FolderEntry.h"

#include "files/NativePath.h"

#include <QRandomGenerator>

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr char kKalvoPrefix[] = ".kalvo-";

}  // namespace

FileResult openFolderEntry(const QString &path, const FileIdentity &file, FolderEntry &entry)
{
    const QByteArray native = nativePath(path);
    const std::unique_ptr<char, decltype(&std::free)> resolved(native.isEmpty() ? nullptr
                                                                                : ::realpath(native.constData(), nullptr),
                                                               &std::free);
    if (!resolved)
        return {FileProblem::Changed, 0};
    const QByteArray real(resolved.get());
    const qsizetype slash = real.lastIndexOf('/');
    entry.name = real.sliced(slash + 1);
    entry.folder = FileDescriptor(::open(slash == 0 ? "/" : real.first(slash).constData(),
                                         O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!entry.folder.isOpen())
        return lastSystemFailure();
    if (!holdsFile(entry.folder.get(), entry.name, file))
        return {FileProblem::Changed, 0};
    return {};
}

FileResult openFolderEntry(const QString &path, const FileIdentity &file, FolderEntry &entry, FolderCache &cache)
{
    const QByteArray native = nativePath(path);
    const qsizetype slash = native.lastIndexOf('/');
    const QByteArray pathFolder = slash < 0 ? QByteArray(".") : native.first(slash + 1);
    const QByteArray name = native.sliced(slash + 1);
    if (!native.isEmpty() && cache.folder.isOpen() && cache.pathFolder == pathFolder
        && holdsFile(cache.folder.get(), name, file)) {
        entry.folder = FileDescriptor(::fcntl(cache.folder.get(), F_DUPFD_CLOEXEC, 0));
        entry.name = name;
        return entry.folder.isOpen() ? FileResult{} : lastSystemFailure();
    }
    const FileResult found = openFolderEntry(path, file, entry);
    if (found.ok() && entry.name == name) {
        cache.pathFolder = pathFolder;
        cache.folder = FileDescriptor(::fcntl(entry.folder.get(), F_DUPFD_CLOEXEC, 0));
    }
    return found;
}

QString realFolderOf(const QString &path)
{
    const QByteArray native = nativePath(path);
    const std::unique_ptr<char, decltype(&std::free)> resolved(native.isEmpty() ? nullptr
                                                                                : ::realpath(native.constData(), nullptr),
                                                               &std::free);
    const QByteArray real = resolved ? QByteArray(resolved.get()) : native;
    const qsizetype slash = real.lastIndexOf('/');
    return slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : pathText(real.first(slash));
}

bool holdsFile(int folder, const QByteArrayView name, const FileIdentity &identity)
{
    struct stat info {};
    return ::fstatat(folder, name.toByteArray().constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
           && FileIdentity{info.st_dev, info.st_ino} == identity;
}

QByteArray newKalvoName(const char *suffix)
{
    return kKalvoPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 16) + suffix;
}

bool isKalvoName(QByteArrayView name, const char *suffix)
{
    const QByteArrayView end(suffix);
    return name.size() > qsizetype(sizeof kKalvoPrefix - 1) + end.size() && name.startsWith(kKalvoPrefix)
           && name.endsWith(end);
}
