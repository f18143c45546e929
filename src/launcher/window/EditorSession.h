#pragma once

#include <QtGlobal>

class FileList;
class MainWindowService;
class TagEditorService;

// The main window's side of the tag editor window: opening it on the current
// row, the handlers of its events, which load a row into it and store its
// values into a row, and its closing. The main window is disabled while the
// editor is open, so row numbers exchanged with it stay valid.
class EditorSession
{
public:
    EditorSession(FileList &rows, TagEditorService &editor, MainWindowService &window);

    // Opens the editor on the current row with the genre names; false, and
    // nothing opened, when there is no current row.
    bool open();
    // Loads row KeyID into the editor; a move past either end lands on the
    // row at the other end.
    void PutID3(qint16 KeyID);
    // Stores the editor's values into row KeyID and marks it when they differ.
    void SetID3(qint16 KeyID);
    // The editor has closed: the main window takes input again, and the
    // list's current row is the last row the editor showed.
    void LostForm();

private:
    FileList &rows_;
    TagEditorService &editor_;
    MainWindowService &window_;
    // The row the editor shows.
    int shownRow_ = 0;
};
