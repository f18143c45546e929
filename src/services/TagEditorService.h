#pragma once

#include "id3v1/TagRecord.h"

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
    // Closes the window as its Close button does: the input check, SetID3 when
    // the check passes, then LostForm; the window is then destroyed. Does
    // nothing when the window is not loaded.
    virtual void unload() = 0;

    // The values the window holds now: the texts of its fields as they stand;
    // the number the track field starts with (0 when it holds none or one
    // outside 0 to 255); the position of the selected genre entry, or with
    // none selected the genre number last shown.
    virtual TagRecord fields() const = 0;
    // Shows one row: its values, its file name (red on black for row 1, white
    // on black otherwise), and the row number the window then holds (ReadID).
    // A genre number without an entry selects none and is remembered.
    virtual void show(const TagRecord &fields, const QString &fileName, qint16 row) = 0;
    // Appends a genre name as the next entry, up to 256 entries.
    virtual void GenreSet(const QString &newGenreString) = 0;
};
