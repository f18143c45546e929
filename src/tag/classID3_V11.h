#pragma once

#include "TagRecord.h"
#include "TailFile.h"

#include <QString>
#include <QtGlobal>

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

    static constexpr int kBlockSize = kTagBlockSize;
    using Block = TagBlock;

private:
    enum TagState { NotMp3 = 0, TagPresent = 1, NoTag = 2 };

    TagState CheckMp3File(int fd, qint64 length, Block &tail);
    static bool IsMp3Header(unsigned char b0, unsigned char b1, unsigned char b2);
    bool ReadTag(const QString &path);
    void NormalizeTag(const Block &block);
    static QString TrimRightSpace(const QString &text);
    void ClearTag();
    bool WriteTagBlock(const QString &path, FileDescriptor &file, TailBefore &before);
    bool WriteTag(const QString &path);
    Block BuildBlock() const;

    // Writes many files first and makes them durable together afterwards.
    friend class TagWriteBatch;

    QString Mp3FileName;
    QString ErrorCode = QStringLiteral("0");
    TagRecord ID3Tag;
};
