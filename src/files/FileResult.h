#pragma once

// Why a file operation left a file as it was, as a value the callers turn
// into words: the file is not the one read (or not as it was read), is no
// regular file or no MP3 file, is gone, its ID3v2 tag cannot be carried into
// a new file, another program is writing it, the user stopped the command,
// or the system refused (no permission, a read-only file system, a full
// disk, its name taken, or any other error by its code).

enum class FileProblem {
    None,
    Changed,         // another file, or the file with other bytes, since Kalvo last read or wrote it
    NotRegularFile,  // a folder, FIFO, device or socket is at the path
    Missing,         // nothing is at the path
    NotMp3,          // the file does not start as an MP3 file
    NoPermission,    // EACCES, EPERM
    DiskFull,        // ENOSPC, EDQUOT
    NameTaken,       // a move's destination exists (EEXIST)
    TagUnreadable,   // its ID3v2 tag cannot be walked
    TagCutShort,     // its ID3v2 frames stop at bytes that are no frame
    FrameNotCarried, // its ID3v2.2 tag holds a frame 2.3 has no counterpart of
    HardLinks,       // it has more than one name: replacing it under one would split them
    FolderNotWritable,  // no new file can be made in its folder
    OwnerNotKept,    // a new file cannot be given the old one's owner, group or permissions
    FolderNotSynced, // written anew, but its folder could not be made durable
    UnusableName,    // a rename's new name would leave the folder, hide the file or be too long
    ReadOnly,        // EROFS: the file system is mounted read-only
    InUse,           // another program holds the file locked for writing, and kept it so
    Interrupted,     // the user stopped the command (Ctrl+C, SIGTERM) before this file
    AclNotKept,      // a new file cannot be given the old one's access control list
    AttributesNotKept,  // a new file cannot be given the old one's extended attributes
    TimesNotKept,    // the file's access and modification times cannot be put back
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

// The failure of the system call that has just failed, by its errno; EIO when
// errno says nothing, so a failure is never taken for success.
FileResult lastSystemFailure();
