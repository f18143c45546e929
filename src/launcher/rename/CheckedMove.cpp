#include "launcher/rename/CheckedMove.h"

#include "files/FileDescriptor.h"
#include "files/FileIdentity.h"
#include "services/FileMoveService.h"

#include <fcntl.h>

#include <utility>

namespace {

// The file at path opened, when it is the file expected; else why not.
FileDescriptor openFileAsRead(const QString &path, const FileSnapshot &expected, FileResult &why)
{
    qint64 length = 0;
    FileDescriptor file = openRegularFile(path, O_RDONLY, length, why);
    if (file.isOpen())
        why = checkSnapshot(file.get(), expected);
    return why.ok() ? std::move(file) : FileDescriptor();
}

}  // namespace

FileResult checkFileAsRead(const QString &path, const FileSnapshot &expected)
{
    FileResult why;
    (void)openFileAsRead(path, expected, why);
    return why;
}

FileResult moveCheckedFile(FileMoveService &mover, const QString &from, const QString &to,
                           const FileSnapshot &expected)
{
    // Open while the file moves, so its inode cannot go to another file.
    FileResult check;
    const FileDescriptor file = openFileAsRead(from, expected, check);
    if (!check.ok())
        return check;
    const FileResult moved = mover.moveFile(from, to);
    if (!moved.ok())
        return moved;
    // The descriptor's file is the file expected: the check said so.
    if (fileIdentity(to) == expected.identity)
        return {};
    (void)mover.moveFile(to, from);
    return {FileProblem::Changed, 0};
}
