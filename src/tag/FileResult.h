#pragma once

// Why a file operation left a file as it was, as a value the callers turn
// into words: the file is not the one read (or not as it was read), is no
// regular file or no MP3 file, is gone, or the system refused (no
// permission, a full disk, its name taken, or any other error by its code).

enum class FileProblem {
    None,
    Changed,         // another file, or the file with other bytes, since Kalvo last read or wrote it
    NotRegularFile,  // a folder, FIFO, device or socket is at the path
    Missing,         // nothing is at the path
    NotMp3,          // the file does not start as an MP3 file
    NoPermission,    // EACCES, EPERM, EROFS
    DiskFull,        // ENOSPC, EDQUOT
    NameTaken,       // a move's destination exists (EEXIST)
    System,          // any other error; systemError says which
};

struct FileResult {
    FileProblem problem = FileProblem::None;
    int systemError = 0;  // the errno behind the problem, 0 when none was given

    bool ok() const { return problem == FileProblem::None; }
};

// True when the problem means the path no longer leads to the file as it
// was read (changed, no regular file, gone): whatever the command, that file
// is left alone, and nothing else there is touched in its place.
bool isNotTheFileRead(const FileResult &result);

// The problem an errno stands for; System (with the code kept) for those
// without a problem of their own, and for 0.
FileResult systemFailure(int error);
