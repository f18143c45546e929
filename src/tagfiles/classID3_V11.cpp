#include "tagfiles/classID3_V11.h"

#include "files/FileDescriptor.h"
#include "id3v1/GenreTable.h"
#include "id3v1/TagBlock.h"
#include "tagfiles/TagWriteBatch.h"
#include "tagfiles/TailFile.h"

#include <cerrno>
#include <fcntl.h>

namespace {

// The first count characters, without splitting a surrogate pair.
QString firstCharacters(const QString &text, qsizetype count)
{
    if (text.size() <= count)
        return text;
    if (count > 0 && text.at(count - 1).isHighSurrogate())
        --count;
    return text.left(count);
}

}  // namespace

void classID3_V11::SetMP3File(const QString &setMP3filename)
{
    Mp3FileName = setMP3filename;
}

bool classID3_V11::LoadMp3File(const QString &path)
{
    if (!path.isEmpty())
        Mp3FileName = path;
    if (Mp3FileName.isEmpty()) {
        ErrorCode = QStringLiteral("1");
        loadedFile_.reset();
        loadProblem_ = {FileProblem::Missing, 0};
        return false;
    }
    if (ReadTag(Mp3FileName)) {
        ErrorCode = QStringLiteral("0");
        return true;
    }
    ErrorCode = QStringLiteral("2");
    return false;
}

bool classID3_V11::SaveMp3File(const QString &path)
{
    if (!path.isEmpty())
        Mp3FileName = path;
    if (Mp3FileName.isEmpty()) {
        ErrorCode = QStringLiteral("1");
        return false;
    }
    if (WriteTag(Mp3FileName)) {
        ErrorCode = QStringLiteral("0");
        return true;
    }
    ErrorCode = QStringLiteral("2");
    return false;
}

QString classID3_V11::ErrorString() const
{
    if (ErrorCode == QLatin1String("0"))
        return QStringLiteral("NO ERROR");
    if (ErrorCode == QLatin1String("1"))
        return QStringLiteral("FILE NOT SET");
    if (ErrorCode == QLatin1String("2"))
        return QStringLiteral("FILE NOT FOUND or FILE NOT MP3( ID3 over V2 NOT SUPPORT)");
    return QStringLiteral("HAPPENING");
}

qint16 classID3_V11::Version() const
{
    return 100;
}

QString classID3_V11::GetTrackName() const { return ID3Tag.Title; }
QString classID3_V11::GetAirtistName() const { return ID3Tag.Artist; }
QString classID3_V11::GetAlbumName() const { return ID3Tag.Album; }
QString classID3_V11::GetReleaseYear() const { return ID3Tag.Year; }
QString classID3_V11::GetComment() const { return ID3Tag.Comment; }
quint8 classID3_V11::GetTrackNumber() const { return ID3Tag.TrackNumber; }
quint8 classID3_V11::GetGenreID() const { return ID3Tag.GenreID; }

void classID3_V11::SetTrackName(const QString &newTrackName) { ID3Tag.Title = firstCharacters(newTrackName, kTitleWidth); }
void classID3_V11::SetAirtistName(const QString &newAirtistName) { ID3Tag.Artist = firstCharacters(newAirtistName, kArtistWidth); }
void classID3_V11::SetAlbumName(const QString &newAlbumName) { ID3Tag.Album = firstCharacters(newAlbumName, kAlbumWidth); }
void classID3_V11::SetReleaseYear(const QString &newReleaseYear) { ID3Tag.Year = firstCharacters(newReleaseYear, kYearWidth); }
void classID3_V11::SetComment(const QString &newComment) { ID3Tag.Comment = firstCharacters(newComment, kCommentWidth); }
void classID3_V11::SetTrackNumber(quint8 newTrackNumber) { ID3Tag.TrackNumber = newTrackNumber; }
void classID3_V11::SetGenreID(quint8 newGenreID) { ID3Tag.GenreID = newGenreID; }

QString classID3_V11::GetGenreString(qint16 gID)
{
    return GenreTable::name(gID);
}

bool classID3_V11::ReadTag(const QString &path)
{
    loadedFile_.reset();
    qint64 length = 0;
    const FileDescriptor file = openRegularFile(path, O_RDONLY, length, loadProblem_);
    if (!file.isOpen())
        return false;
    // Taken on the same descriptor, before the tag is read, so that the tag
    // comes from the file and the bytes the snapshot holds.
    std::optional<FileSnapshot> snapshot = takeSnapshot(file.get());
    if (!snapshot) {
        loadProblem_ = systemFailure(errno);
        return false;
    }
    TagBlock block{};
    const TagState state = CheckMp3File(file.get(), snapshot->size, block);
    // A tag rewritten between the two reads fails the load rather than pair
    // the fields with bytes they were not read from.
    if (state == TagState::NotMp3
        || (state == TagState::TagPresent
            && QByteArrayView(block.data(), kTagBlockSize) != QByteArrayView(snapshot->tail))) {
        loadProblem_ = {FileProblem::NotMp3, 0};
        return false;
    }
    ID3Tag = state == TagState::TagPresent ? parseTagBlock(block) : TagRecord{};
    loadedBlock_ = state == TagState::TagPresent;
    loadedFile_ = std::move(snapshot);
    return true;
}

// Saved as a batch of one, the way the program saves every file.
bool classID3_V11::WriteTag(const QString &path)
{
    TagWriteBatch batch;
    return batch.add(path, ID3Tag).result.ok() && batch.finish().isEmpty();
}

TagRecord tagFields(const classID3_V11 &tag)
{
    return {.Title = tag.GetTrackName(),
            .Artist = tag.GetAirtistName(),
            .Album = tag.GetAlbumName(),
            .Year = tag.GetReleaseYear(),
            .Comment = tag.GetComment(),
            .TrackNumber = tag.GetTrackNumber(),
            .GenreID = tag.GetGenreID()};
}

void putTagFields(classID3_V11 &tag, const TagRecord &fields)
{
    tag.SetAirtistName(fields.Artist);
    tag.SetAlbumName(fields.Album);
    tag.SetComment(fields.Comment);
    tag.SetGenreID(fields.GenreID);
    tag.SetReleaseYear(fields.Year);
    tag.SetTrackName(fields.Title);
    tag.SetTrackNumber(fields.TrackNumber);
}
