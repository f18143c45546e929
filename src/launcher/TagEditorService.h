#pragma once

#include <QString>
#include <QtGlobal>

// The tag editor window object frmID3EditerWindow as the main window's logic
// sees it. The object lasts as long as the main window; the window behind it
// is loaded at each opening and unloaded at each closing, so every opening
// starts from fresh controls.
//
// The window raises three events, delivered synchronously to the logic's
// handlers: SetID3(KeyID) to take its values into row KeyID, PutID3(KeyID) to
// load row KeyID into it, and LostForm when it closes.
class TagEditorService
{
public:
    virtual ~TagEditorService() = default;

    // Loads the window unless it is loaded (empty fields and genre list, ReadID
    // 0, whole-text selection on the next focus), gives it the caption, places
    // its outer bottom-right corner 100 twips right of and below the main
    // window's outer bottom-right corner, and shows it modeless.
    virtual void open(const QString &caption) = 0;
    virtual bool isLoaded() const = 0;
    // Closes the window as its Close button does: the input check, SetID3 when
    // the check passes, then LostForm; the window is then destroyed. Does
    // nothing when the window is not loaded.
    virtual void unload() = 0;

    // Current texts of the title, comment, artist, album and year fields.
    virtual QString GetTrackName() const = 0;
    virtual QString GetComment() const = 0;
    virtual QString GetAirtistName() const = 0;
    virtual QString GetAlbumName() const = 0;
    virtual QString GetReleaseYear() const = 0;
    // The number the track field starts with; 0 when it holds none or one
    // outside 0 to 255.
    virtual quint8 GetTrackNumber() const = 0;
    // Position of the selected genre entry; with none selected, the number
    // last given to SetGenreID.
    virtual quint8 GetGenreID() const = 0;

    virtual void SetFileName(const QString &newFileName) = 0;
    virtual void SetTrackName(const QString &newTrackName) = 0;
    virtual void SetComment(const QString &newComment) = 0;
    virtual void SetAirtistName(const QString &newAirtistName) = 0;
    virtual void SetAlbumName(const QString &newAlbumName) = 0;
    virtual void SetReleaseYear(const QString &newReleaseYear) = 0;
    virtual void SetTrackNumber(quint8 newTrackNumber) = 0;
    // Selects the entry of that number; a number without an entry selects
    // none and is remembered (as 0 when outside 0 to 255).
    virtual void SetGenreID(qint16 newGenreID) = 0;
    // Appends a genre name as the next entry, up to 256 entries.
    virtual void GenreSet(const QString &newGenreString) = 0;
    // The row the window holds; the file name shows red on black for row 1,
    // white on black otherwise.
    virtual void SetReadID(qint16 newReadID) = 0;
};
