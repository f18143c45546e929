#pragma once

#include "files/FileDescriptor.h"
#include "files/FileIdentity.h"
#include "files/FileReplacement.h"
#include "files/FileResult.h"
#include "files/FileSnapshot.h"
#include "files/FileTimes.h"
#include "files/FolderEntry.h"
#include "files/WriteJournal.h"
#include "id3v1/TagRecord.h"
#include "id3v2/Id3v2Text.h"
#include "tagfiles/TagWriteBatch.h"
#include "tagfiles/TailFile.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <vector>

// Saves files as the W key does: the fields go into each file's ID3v1
// block exactly as a save writes it, and into its ID3v2 tag (Id3v2Edit).
// Each file is opened once, and its tag walked once (twice when the tag must
// be written whole after all, and its cover is read then).
//
// A file whose ID3v2 tag is in step with the fields, or would come out the
// same, keeps it, and its block is written in place by a TagWriteBatch. A
// file whose edited tag fits the old tag's space (padding included) gets
// the bytes of the tag that change and its block written in place, in the
// file itself: only those around a cover that stays where it is
// (id3v2EditInPlace), whose data is then never read (readId3v2Sparse), or
// else the tag's from the first byte that changes; through a journal
// (WriteJournal): the journal of all such
// files of a folder is made durable first, then the files are written and
// synced together, then the journal goes; a lot of such files is written
// so, by a thread of its own, while the next are read and edited. Any other file is written anew as
// a whole (FileReplacement): the new tag with kNewTagPadding bytes to spare,
// the audio byte for byte, the block; all new files are synced together,
// then each is put in place, then each folder synced once. So a crash or a
// kill at any moment leaves, once the journals are settled
// (JournalRecovery), each file old or new, never a mix, and the audio is
// never written.
//
// A file is refused, and left as it was, when it is not the file expected
// (checkSnapshot, on the descriptor that is read and written, under its
// write lock, FileLock), is no MP3, cannot be written (as a save opens it),
// its tag cannot be walked or carried over, or, to be written anew, it has
// more than one name; a new file is not put in place when the old one was
// written by another program while it was made (checked again, with its
// size, modification time and names). Once the user asked to stop
// (StopSignals) no further file is taken; those taken are finished. With
// keepTimes every file keeps its access and modification times.
class Id3v2WriteBatch
{
public:
    // Bytes left free after the frames of a tag that did not fit its space.
    static constexpr qint64 kNewTagPadding = 1024;

    struct Options {
        SyncFile syncFile = syncData;     // a file written in place, and its journal
        SyncFile syncNewFile = syncAll;   // a new file, with its owner and permissions
        SyncFile syncFolder = syncAll;    // a folder, once its journal or new files have their names
        FileReplacement::Methods methods{};
        bool copyInKernel = true;  // the audio copied by copy_file_range(2) where the file system can
        bool keepTimes = false;    // files keep their access and modification times
        // Files in place are written and synced, through journals of their
        // own, this many at a time, each lot while the next files are read.
        std::size_t inPlaceLot = 48;
    };

    // What became of a file added: ok, or why it is not durably written.
    // snapshot is the file as written, when it was (also when a new file's
    // folder could not be synced); reading, what its ID3v2 tag gives then.
    struct Outcome {
        FileResult result;
        std::optional<FileSnapshot> snapshot;
        std::optional<Id3v2Text> reading;
    };

    Id3v2WriteBatch();
    explicit Id3v2WriteBatch(Options options);
    ~Id3v2WriteBatch();
    Id3v2WriteBatch(const Id3v2WriteBatch &) = delete;
    Id3v2WriteBatch &operator=(const Id3v2WriteBatch &) = delete;

    // Writes the fields into the MP3 file at path, not yet durably: all of
    // them into its ID3v1 block, the given ones (id3v2GivenFields) into its
    // ID3v2 tag. Ok makes it the next entry; anything else says why the
    // file is left as it was. When expected is given, only that file, as it
    // was then, is written.
    FileResult add(const QString &path, const TagRecord &fields, const QList<Id3v2Field> &given,
                   const std::optional<FileSnapshot> &expected = std::nullopt);

    // Makes every entry durable, or takes it back, and gives the outcome of
    // each, in the order they were added. The batch is empty afterwards.
    QList<Outcome> finish();

private:
    struct InPlace {
        int entry = 0;
        FileDescriptor file;
        FolderEntry folder;
        JournalFile journal;
        std::optional<FileTimes> times;
        struct stat before {};  // when it was read
    };
    struct Replacement {
        int entry = 0;
        FileDescriptor old;
        FileReplacement replacement;
        std::optional<FileSnapshot> expected;
        struct stat before {};  // of old, once the new file was written
        std::optional<FileTimes> times;
        FileSnapshot written;   // the new file as written
    };

    // Files in place written by a thread of their own, and those of them
    // that failed, with why.
    struct Lot {
        std::vector<InPlace> entries;  // the thread's alone until it is joined
        std::size_t files = 0;
        std::vector<std::pair<int, FileResult>> failures;
        std::thread thread;
    };

    // Writes and syncs the files held now, puts the new ones in place and
    // syncs their folders.
    void finishHeld();
    // Starts writing the files in place held now, as a lot.
    void startLot();
    // Waits for the lots started, and takes their failures.
    void finishLots();
    // Writes the files in place of a lot, each folder's through its journal,
    // and syncs them; those that cannot be are put back.
    void writeLot(Lot &lot) const;
    void writeThroughJournal(const std::vector<InPlace *> &entries, WriteJournal &journal, Lot &lot) const;
    // The files the batch holds open, in lots too.
    std::size_t heldFiles() const;
    FileResult addInPlace(const QString &path, FileDescriptor file, QList<JournalRegion> tagRegions, Id3v2Text reading,
                          const TailBefore &before, const TagBlock &block, const std::optional<FileSnapshot> &expected);
    FileResult replace(Replacement &entry, const QString &path, const QByteArray &newTag, qint64 oldTagSize,
                       const TagBlock &block, qint64 audioEnd);

    Options options_;
    TagWriteBatch blocks_;
    std::vector<int> blockEntries_;  // the entries blocks_ holds, in its order
    std::vector<InPlace> inPlace_;
    FolderCache folders_;  // where the last file in place was found
    std::vector<std::unique_ptr<Lot>> lots_;
    std::vector<Replacement> held_;
    std::size_t maxHeld_;
    QList<Outcome> outcomes_;
};
