#include "files/FileReplacement.h"

#include "files/FileAttributes.h"
#include "files/FileLock.h"
#include "files/FolderEntry.h"
#include "files/WriteCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Tries for a free hidden name; another program would need to take a
// hundred random names in a row to make it fail.
constexpr int kNameTries = 100;

// A new file or name that cannot be made in the folder.
FileResult failureOfCreate()
{
    const FileResult failure = systemFailure(errno);
    return failure.problem == FileProblem::NoPermission ? FileResult{FileProblem::FolderNotWritable, failure.systemError}
                                                        : failure;
}

// The file system has no such means (as the calls say it).
bool lacksMeans()
{
    return errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS || errno == EISDIR;
}

}  // namespace

FileReplacement::~FileReplacement()
{
    removeNamedFile();
}

void FileReplacement::removeNamedFile()
{
    if (!newName_.isEmpty()) {
        noteWriteCall();
        (void)::unlinkat(folder_.get(), newName_.constData(), 0);
    }
    newName_.clear();
}

FileResult FileReplacement::begin(const QString &path, int old, Methods methods)
{
    methods_ = methods;
    struct stat info {};
    if (::fstat(old, &info) != 0)
        return lastSystemFailure();
    old_ = {info.st_dev, info.st_ino};
    if (info.st_nlink > 1)
        return {FileProblem::HardLinks, 0};

    FolderEntry entry;
    if (const FileResult opened = openFolderEntry(path, old_, entry); !opened.ok())
        return opened;
    folder_ = std::move(entry.folder);
    name_ = std::move(entry.name);

    if (methods_.unnamedFile) {
        noteWriteCall();
        file_ = FileDescriptor(::openat(folder_.get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        if (!file_.isOpen() && !lacksMeans())
            return failureOfCreate();
        methods_.unnamedFile = file_.isOpen();
    }
    for (int i = 0; !file_.isOpen() && i < kNameTries; ++i) {
        const QByteArray name = newKalvoName(kCopySuffix);
        noteWriteCall();
        file_ = FileDescriptor(::openat(folder_.get(), name.constData(),
                                        O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (file_.isOpen())
            newName_ = name;
        else if (errno != EEXIST)
            return failureOfCreate();
    }
    if (!file_.isOpen())
        return {FileProblem::System, EEXIST};
    // Held until the new file is in place: the search for copies a killed
    // run left behind passes it by.
    (void)lockForWriting(file_.get());

    // The owner first: changing it may clear the set-user-ID bits. The
    // permissions only where they differ, as a file system that gives every
    // file the same (exFAT) may refuse to set them.
    struct stat made {};
    if (::fstat(file_.get(), &made) != 0)
        return lastSystemFailure();
    noteWriteCall();
    if ((made.st_uid != info.st_uid || made.st_gid != info.st_gid)
        && ::fchown(file_.get(), info.st_uid, info.st_gid) != 0)
        return {FileProblem::OwnerNotKept, errno};
    noteWriteCall();
    if ((made.st_mode & 07777) != (info.st_mode & 07777) && ::fchmod(file_.get(), info.st_mode & 07777) != 0)
        return {FileProblem::OwnerNotKept, errno};
    // The ACL after the permissions: it sets the group's bits to its mask,
    // as they were on the old file.
    if (const FileResult kept = copyFileAttributes(old, file_.get()); !kept.ok())
        return kept;
    // Nobody may do more with the new file than with the old one.
    if (::fstat(file_.get(), &made) != 0)
        return lastSystemFailure();
    if ((made.st_mode & 07777) != (info.st_mode & 07777) || made.st_uid != info.st_uid || made.st_gid != info.st_gid)
        return {FileProblem::OwnerNotKept, EPERM};
    return {};
}

FileResult FileReplacement::commit()
{
    const int folder = folder_.get();
    if (methods_.unnamedFile) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(file_.get());
        for (int i = 0; newName_.isEmpty() && i < kNameTries; ++i) {
            const QByteArray name = newKalvoName(kCopySuffix);
            noteWriteCall();
            if (::linkat(AT_FDCWD, self.constData(), folder, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                newName_ = name;
            else if (errno != EEXIST)
                return failureOfCreate();
        }
        if (newName_.isEmpty())
            return {FileProblem::System, EEXIST};
    }
    if (methods_.exchange) {
        noteWriteCall();
        if (::renameat2(folder, newName_.constData(), folder, name_.constData(), RENAME_EXCHANGE) == 0) {
            if (!holdsFile(folder, newName_, old_)) {
                // Another file had been put at the name: it gets it back.
                noteWriteCall();
                if (::renameat2(folder, newName_.constData(), folder, name_.constData(), RENAME_EXCHANGE) == 0)
                    removeNamedFile();
                else
                    newName_.clear();  // it is the other file's now: never removed
                return {FileProblem::Changed, 0};
            }
            // The new file is in place whatever this gives: the hidden name
            // was made a moment ago in this folder.
            removeNamedFile();
            return {};
        }
        if (!lacksMeans()) {
            const FileResult failure = errno == ENOENT ? FileResult{FileProblem::Changed, 0} : lastSystemFailure();
            removeNamedFile();
            return failure;
        }
    }
    if (!holdsFile(folder, name_, old_)) {
        removeNamedFile();
        return {FileProblem::Changed, 0};
    }
    noteWriteCall();
    if (::renameat(folder, newName_.constData(), folder, name_.constData()) != 0) {
        const FileResult failure = lastSystemFailure();
        removeNamedFile();
        return failure;
    }
    newName_.clear();
    return {};
}
