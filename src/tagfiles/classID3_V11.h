#pragma once

#include "files/FileSnapshot.h"
#include "id3v1/TagRecord.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// Reads and writes the 128-byte ID3v1.1 block at the end of one MP3 file and
// holds its fields in between. Bind a path, then load and read the getters, or
// set the fields and save. No error escapes: file operations return false and
// leave a one-digit code whose text ErrorString gives.
class classID3_V11
{
public:
    void SetMP3File(const QString &setMP3filename);

    // An empty path uses the bound one; any other path is bound first.
    bool LoadMp3File(const QString &path);
    bool SaveMp3File(const QString &path);

    // The file as the last successful LoadMp3File found it, taken on the
    // descriptor the tag was read from; nothing after a failed load.
    const std::optional<FileSnapshot> &loadedFile() const { return loadedFile_; }
    // Whether the file the last successful LoadMp3File read had a tag
    // block; without one the fields read as the blank tag.
    bool loadedBlock() const { return loadedBlock_; }
    // Why the last LoadMp3File failed: the file is missing, no regular file,
    // not readable or no MP3 file.
    const FileResult &loadProblem() const { return loadProblem_; }

    QString ErrorString() const;
    qint16 Version() const;

    QString GetTrackName() const;
    QString GetAirtistName() const;
    QString GetAlbumName() const;
    QString GetReleaseYear() const;
    QString GetComment() const;
    quint8 GetTrackNumber() const;
    quint8 GetGenreID() const;

    void SetTrackName(const QString &newTrackName);
    void SetAirtistName(const QString &newAirtistName);
    void SetAlbumName(const QString &newAlbumName);
    void SetReleaseYear(const QString &newReleaseYear);
    void SetComment(const QString &newComment);
    void SetTrackNumber(quint8 newTrackNumber);
    void SetGenreID(quint8 newGenreID);

    // Name of genre number gID, empty for a number without a name. Needs no
    // bound file.
    static QString GetGenreString(qint16 gID);

private:
    bool ReadTag(const QString &path);
    bool WriteTag(const QString &path);

    QString Mp3FileName;
    QString ErrorCode = QStringLiteral("0");
    TagRecord ID3Tag;
    std::optional<FileSnapshot> loadedFile_;
    bool loadedBlock_ = false;
    FileResult loadProblem_;
};

// The fields a tag object holds, through its getters.
TagRecord tagFields(const classID3_V11 &tag);

// Sets all seven fields of a tag object through its setters, so nothing of a
// file loaded earlier stays in it.
void putTagFields(classID3_V11 &tag, const TagRecord &fields);
