#pragma once

// Why a file could not be written, as the user is told: the file is left
// as it was in every case but FolderSyncFailed.
enum class WriteFailure {
    None,
    CannotOpen,         // missing, no regular file, or no permission to read it
    Changed,            // not the file loaded, or written by another program since
    NotMp3,
    TagUnreadable,      // its ID3v2 tag cannot be walked
    TagCutShort,        // its ID3v2 frames stop at bytes that are no frame
    FrameNotCarried,    // its ID3v2.2 tag holds a frame 2.3 has no counterpart of
    HardLinks,          // it has more than one name: replacing one would split them
    FolderNotWritable,  // no new file can be made in its folder
    OwnerNotKept,       // the new file cannot be given its owner, group or permissions
    NoSpace,            // the disk, or the user's quota, is full
    WriteFailed,        // any other error while writing or putting the file in place
    SyncFailed,         // it could not be made durable
    FolderSyncFailed,   // written, but its folder could not be made durable
};
