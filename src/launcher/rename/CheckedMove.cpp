#include "launcher/rename/CheckedMove.h"

#include "files/FileDescriptor.h"
#include "files/FileIdentity.h"
#include "services/FileMoveService.h"

#include <fcntl.h>

FileResult moveCheckedFile(FileMoveService &mover, const QString &from, const QString &to,
                           const FileSnapshot &expected)
{
    qint64 length = 0;
    FileResult opened;
    const FileDescriptor file = openRegularFile(from, O_RDONLY, length, opened);
    if (!file.isOpen())
        return opened;
    const FileResult check = checkSnapshot(file.get(), expected);
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
