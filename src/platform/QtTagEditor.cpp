#include "QtTagEditor.h"

#include "Fonts.h"
#include "QtMessageBox.h"
#include "Twips.h"
#include "frmID3Edit.h"
#include "frmID3Launcher.h"

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

QString QtTagEditor::GetTrackName() const
{
    return loaded_ ? window_->GetTrackName() : QString();
}

QString QtTagEditor::GetComment() const
{
    return loaded_ ? window_->GetComment() : QString();
}

QString QtTagEditor::GetAirtistName() const
{
    return loaded_ ? window_->GetAirtistName() : QString();
}

QString QtTagEditor::GetAlbumName() const
{
    return loaded_ ? window_->GetAlbumName() : QString();
}

QString QtTagEditor::GetReleaseYear() const
{
    return loaded_ ? window_->GetReleaseYear() : QString();
}

quint8 QtTagEditor::GetTrackNumber() const
{
    return loaded_ ? window_->GetTrackNumber() : 0;
}

quint8 QtTagEditor::GetGenreID() const
{
    return loaded_ ? window_->GetGenreID() : 0;
}

void QtTagEditor::SetFileName(const QString &newFileName)
{
    if (loaded_)
        window_->SetFileName(newFileName);
}

void QtTagEditor::SetTrackName(const QString &newTrackName)
{
    if (loaded_)
        window_->SetTrackName(newTrackName);
}

void QtTagEditor::SetComment(const QString &newComment)
{
    if (loaded_)
        window_->SetComment(newComment);
}

void QtTagEditor::SetAirtistName(const QString &newAirtistName)
{
    if (loaded_)
        window_->SetAirtistName(newAirtistName);
}

void QtTagEditor::SetAlbumName(const QString &newAlbumName)
{
    if (loaded_)
        window_->SetAlbumName(newAlbumName);
}

void QtTagEditor::SetReleaseYear(const QString &newReleaseYear)
{
    if (loaded_)
        window_->SetReleaseYear(newReleaseYear);
}

void QtTagEditor::SetTrackNumber(quint8 newTrackNumber)
{
    if (loaded_)
        window_->SetTrackNumber(newTrackNumber);
}

void QtTagEditor::SetGenreID(qint16 newGenreID)
{
    if (loaded_)
        window_->SetGenreID(newGenreID);
}

void QtTagEditor::GenreSet(const QString &newGenreString)
{
    if (loaded_)
        window_->GenreSet(newGenreString);
}

void QtTagEditor::SetReadID(qint16 newReadID)
{
    if (loaded_)
        window_->SetReadID(newReadID);
}
