#pragma once

#include "services/MessageBoxService.h"
#include "services/TagEditorService.h"

#include <QPointer>

class QWidget;
class frmID3Edit;
class frmID3Launcher;

// The editor window object frmID3EditerWindow over frmID3Edit: it creates a
// fresh window at each opening, hands the window's events to the main
// window's logic, and destroys the window when it has closed. It also serves
// the window's message boxes, owned by the editor window itself, since the
// main window is disabled while the editor is open.
class QtTagEditor : public TagEditorService, public MessageBoxService
{
public:
    explicit QtTagEditor(QWidget *mainWindow);
    ~QtTagEditor() override;
    QtTagEditor(const QtTagEditor &) = delete;
    QtTagEditor &operator=(const QtTagEditor &) = delete;

    // The logic whose handlers receive the events; set before the first open.
    void setHandler(frmID3Launcher *logic) { logic_ = logic; }

    // TagEditorService
    void open(const QString &caption) override;
    void unload() override;
    TagRecord fields() const override;
    void show(const TagRecord &fields, const QString &fileName, qint16 row) override;
    void GenreSet(const QString &newGenreString) override;

    // MessageBoxService, for the editor window's input check.
    Answer showMessage(const QString &text, Buttons buttons, Icon icon, const QString &title) override;

private:
    void load();
    void place();

    QWidget *mainWindow_;
    frmID3Launcher *logic_ = nullptr;
    // The current window; after its closing it lingers until its deferred
    // deletion.
    QPointer<frmID3Edit> window_;
    bool loaded_ = false;
};
