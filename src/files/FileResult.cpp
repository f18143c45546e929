#include "files/FileResult.h"

#include <cerrno>

bool isNotTheFileRead(const FileResult &result)
{
    return result.problem == FileProblem::Changed || result.problem == FileProblem::NotRegularFile
           || result.problem == FileProblem::Missing;
}

FileResult systemFailure(int error)
{
    switch (error) {
    case ENOENT:
        return {FileProblem::Missing, error};
    case EACCES:
    case EPERM:
        return {FileProblem::NoPermission, error};
    case EROFS:
        return {FileProblem::ReadOnly, error};
    case ENOSPC:
    case EDQUOT:
        return {FileProblem::DiskFull, error};
    case EEXIST:
        return {FileProblem::NameTaken, error};
    case EISDIR:
        return {FileProblem::NotRegularFile, error};
    default:
        return {FileProblem::System, error};
    }
}

FileResult lastSystemFailure()
{
    return systemFailure(errno != 0 ? errno : EIO);
}
