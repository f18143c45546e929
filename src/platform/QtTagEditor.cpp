#include "platform/QtTagEditor.h"

#include "editor/frmID3Edit.h"
#include "launcher/frmID3Launcher.h"
#include "platform/Fonts.h"
#include "platform/QtMessageBox.h"
#include "platform/Twips.h"

#include <QWidget>
#include <QWindow>

namespace {

// How far the editor's outer bottom-right corner lies right of and below the
// main window's.
constexpr int kCornerOffsetTwips = 100;

}  // namespace

QtTagEditor::QtTagEditor(QWidget *mainWindow) : mainWindow_(mainWindow) {}

QtTagEditor::~QtTagEditor()
{
    delete window_.data();
}

void QtTagEditor::open(const QString &caption)
{
    if (!loaded_)
        load();
    place();
    window_->setWindowTitle(caption);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void QtTagEditor::load()
{
    // A window closed a moment ago may still wait for its deferred deletion.
    delete window_.data();
    auto *window = new frmID3Edit(*this, gothicFont(9));
    window_ = window;
    loaded_ = true;

    QObject::connect(
        window, &frmID3Edit::SetID3, window, [this](qint16 KeyID) { logic_->frmID3EditerWindow_SetID3(KeyID); },
        Qt::DirectConnection);
    QObject::connect(
        window, &frmID3Edit::PutID3, window, [this](qint16 KeyID) { logic_->frmID3EditerWindow_PutID3(KeyID); },
        Qt::DirectConnection);
    QObject::connect(
        window, &frmID3Edit::LostForm, window,
        [this, window] {
            loaded_ = false;
            logic_->frmID3EditerWindow_LostForm();
            // The window is still inside its own close handling.
            window->deleteLater();
        },
        Qt::DirectConnection);

    // Kept above the main window by the window manager, yet not its child:
    // disabling the main window leaves the editor usable.
    window->winId();
    if (QWindow *handle = window->windowHandle())
        handle->setTransientParent(mainWindow_->windowHandle());
}

void QtTagEditor::place()
{
    // The editor's frame is not known before it is shown; it gets the same
    // decorations as the main window.
    const QRect outer = mainWindow_->frameGeometry();
    const QRect inner = mainWindow_->geometry();
    const QSize frame(outer.width() - inner.width(), outer.height() - inner.height());
    const QSize editorOuter = window_->size() + frame;
    const int offset = twipsToPixels(kCornerOffsetTwips);
    window_->move(outer.left() + outer.width() - editorOuter.width() + offset,
                  outer.top() + outer.height() - editorOuter.height() + offset);
}

void QtTagEditor::unload()
{
    if (loaded_)
        window_->close();
}

QtTagEditor::Answer QtTagEditor::showMessage(const QString &text, Buttons buttons, Icon icon, const QString &title)
{
    return QtMessageBox(window_.data()).showMessage(text, buttons, icon, title);
}

TagRecord QtTagEditor::fields() const
{
    if (!loaded_)
        return {};
    return {.Title = window_->GetTrackName(),
            .Artist = window_->GetAirtistName(),
            .Album = window_->GetAlbumName(),
            .Year = window_->GetReleaseYear(),
            .Comment = window_->GetComment(),
            .TrackNumber = window_->GetTrackNumber(),
            .GenreID = window_->GetGenreID()};
}

void QtTagEditor::show(const TagRecord &fields, const QString &fileName, qint16 row)
{
    if (!loaded_)
        return;
    window_->SetAirtistName(fields.Artist);
    window_->SetAlbumName(fields.Album);
    window_->SetComment(fields.Comment);
    window_->SetFileName(fileName);
    window_->SetGenreID(fields.GenreID);
    window_->SetReleaseYear(fields.Year);
    window_->SetTrackName(fields.Title);
    window_->SetTrackNumber(fields.TrackNumber);
    window_->SetReadID(row);
}

void QtTagEditor::GenreSet(const QString &newGenreString)
{
    if (loaded_)
        window_->GenreSet(newGenreString);
}
