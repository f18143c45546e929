#pragma once

#include "files/FileDescriptor.h"
#include "files/FileIdentity.h"
#include "files/FileReplacement.h"
#include "files/FileResult.h"
#include "files/FileSnapshot.h"
#include "id3v1/TagRecord.h"
#include "tagfiles/TagWriteBatch.h"

#include <QList>
#include <QString>

#include <optional>
#include <sys/stat.h>
#include <vector>

// Saves files as the W key does: the fields go into each file's ID3v1
// block exactly as a save writes it, and into its ID3v2 tag (Id3v2Edit).
//
// A file whose ID3v2 tag is in step with the fields, or would come out the
// same, keeps it, and its block is written in place by a TagWriteBatch. Any other file is written
// anew as a whole (FileReplacement): the new tag, in the old tag's space
// when it fits (padding included), else with kNewTagPadding bytes to spare;
// then the audio byte for byte; then the block. The audio is never written
// in place, so a crash leaves the old file or the new one. All new files
// are synced together, then each is put in place, then each folder synced
// once.
//
// A file is refused, and left as it was, when it is not the file expected
// (checkSnapshot, on the descriptor that is read and replaced), is no MP3,
// cannot be written (as a save opens it), its tag cannot be walked or
// carried over, or it has more than one name; a new file is not put in
// place when the old one was written by another program while it was made
// (checked again, with its size, modification time and names).
class Id3v2WriteBatch
{
public:
    // Bytes left free after the frames of a tag that did not fit its space.
    static constexpr qint64 kNewTagPadding = 1024;

    struct Options {
        SyncFile syncFile = syncData;     // a block written in place
        SyncFile syncNewFile = syncAll;   // a new file, with its owner and permissions
        SyncFile syncFolder = syncAll;    // a folder, once its new files have their names
        FileReplacement::Methods methods{};
        bool copyInKernel = true;  // the audio copied by copy_file_range(2) where the file system can
    };

    // What became of a file added: ok, or why it is not durably written.
    // snapshot is the file as written, when it was (also when a new file's
    // folder could not be synced).
    struct Outcome {
        FileResult result;
        std::optional<FileSnapshot> snapshot;
    };

    Id3v2WriteBatch();
    explicit Id3v2WriteBatch(Options options);
    ~Id3v2WriteBatch();
    Id3v2WriteBatch(const Id3v2WriteBatch &) = delete;
    Id3v2WriteBatch &operator=(const Id3v2WriteBatch &) = delete;

    // Writes the fields into the MP3 file at path, not yet durably. Ok
    // makes it the next entry; anything else says why the file is left as
    // it was. When expected is given, only that file, as it was then, is
    // written.
    FileResult add(const QString &path, const TagRecord &fields,
                   const std::optional<FileSnapshot> &expected = std::nullopt);

    // Makes every entry durable, or takes it back, and gives the outcome of
    // each, in the order they were added. The batch is empty afterwards.
    QList<Outcome> finish();

private:
    struct Replacement {
        int entry = 0;
        FileDescriptor old;
        FileReplacement replacement;
        std::optional<FileSnapshot> expected;
        struct stat before {};  // of old, once the new file was written
    };

    // Syncs the new files held now, puts them in place and syncs their
    // folders.
    void finishHeld();
    FileResult addBlock(const QString &path, const TagRecord &fields, const std::optional<FileSnapshot> &expected,
                        FileDescriptor old);
    FileResult replace(Replacement &entry, const QString &path, const QByteArray &newTag, qint64 oldTagSize,
                       const TagBlock &block, qint64 audioEnd);

    Options options_;
    TagWriteBatch blocks_;
    std::vector<int> blockEntries_;  // the entries blocks_ holds, in its order
    std::vector<Replacement> held_;
    std::size_t maxHeld_;
    QList<Outcome> outcomes_;
};
