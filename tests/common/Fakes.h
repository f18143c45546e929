#pragma once

// In-memory stand-ins for the window services, so the main window's logic runs
// and can be inspected without a display.

#include "common/FakeMessageBox.h"
#include "common/MusicBrainzAnswers.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/list/MemoryList.h"
#include "services/ClipboardService.h"
#include "services/FileChooserService.h"
#include "services/FileMoveService.h"
#include "services/FileRow.h"
#include "services/FolderService.h"
#include "services/ListMenuService.h"
#include "services/ListViewService.h"
#include "services/LookupWindowService.h"
#include "services/MainWindowService.h"
#include "services/RenamePreviewService.h"
#include "services/SettingsFileService.h"
#include "services/TagEditorService.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPoint>
#include <QMap>
#include <QStringList>

#include <array>
#include <cerrno>
#include <functional>
#include <mutex>
#include <utility>

using FakeRow = MemoryList::Row;

// The rows in memory, open to the tests.
class FakeListView : public MemoryList
{
public:
    FakeListView() = default;
    FakeListView(const FakeListView &) = delete;
    FakeListView &operator=(const FakeListView &) = delete;

    QList<FakeRow> &rows = rows_;
    int &current = current_;

    // Test helpers.
    QStringList column(int column) const
    {
        QStringList values;
        for (const FakeRow &row : rows)
            values << row.cells.at(static_cast<std::size_t>(column));
        return values;
    }
    void select(std::initializer_list<int> positions)
    {
        for (int position : positions)
            rows[position - 1].selected = true;
    }
};

class FakeFileChooser : public FileChooserService
{
public:
    QStringList result;
    QString askedTitle;
    QString askedFilter;
    int calls = 0;

    QStringList chooseExistingFiles(const QString &title, const QString &filter) override
    {
        ++calls;
        askedTitle = title;
        askedFilter = filter;
        return result;
    }
};

class FakeSettingsFile : public SettingsFileService
{
public:
    // file path -> "section/key" -> value
    QMap<QString, QMap<QString, QString>> files;
    QStringList calls;  // "read <path>" / "write <path>" in order
    bool failWrites = false;

    QString readString(const QString &section, const QString &key, const QString &filePath) override
    {
        calls << QStringLiteral("read ") + filePath;
        return files.value(filePath).value(section + u'/' + key);
    }
    FileResult writeString(const QString &section, const QString &key, const QString &value,
                           const QString &filePath) override
    {
        calls << QStringLiteral("write ") + filePath;
        if (failWrites)
            return {FileProblem::NoPermission, EACCES};
        files[filePath][section + u'/' + key] = value;
        return {};
    }
};

class FakeMainWindow : public MainWindowService
{
public:
    QString configFolder = QStringLiteral("/opt/kalvo");  // holds the settings file
    QString format;
    QString toolTip;
    int closeRequests = 0;
    bool enabled = true;

    QString caption() const override { return QStringLiteral("Kalvo"); }
    QString settingsFolder() const override { return configFolder; }
    QString renameFormat() const override { return format; }
    void setRenameFormat(const QString &newFormat) override { format = newFormat; }
    void setRenameFormatToolTip(const QString &newToolTip) override { toolTip = newToolTip; }
    void setWindowEnabled(bool newEnabled) override { enabled = newEnabled; }
    void closeWindow() override { ++closeRequests; }
};

// Records the moves asked for; realMover, when set, carries them out.
// beforeMove, when set, runs first, as another program could between
// Kalvo's check of a file and its move.
class FakeFileMover : public FileMoveService
{
public:
    QStringList moves;  // "source -> destination"
    FileMoveService *realMover = nullptr;
    std::function<void()> beforeMove;

    FileResult moveFile(const QString &source, const QString &destination) override
    {
        moves << source + QStringLiteral(" -> ") + destination;
        if (beforeMove)
            std::exchange(beforeMove, nullptr)();
        return realMover ? realMover->moveFile(source, destination) : FileResult{};
    }
};

// The editor window as fields in memory. It records what the logic does to it
// and raises the window's events into the logic as the window would, with an
// input check that passes unless told otherwise.
class FakeTagEditor : public TagEditorService
{
public:
    frmID3Launcher *logic = nullptr;  // receives the events
    bool loaded = false;
    bool checkPasses = true;
    QStringList calls;  // "open <caption>", "show <row>" and "unload", in order
    QStringList genres;
    TagRecord values;  // as last shown; a test edits them as the user would
    QString fileName;
    qint16 readID = 0;

    void open(const QString &newCaption) override
    {
        if (!loaded) {
            loaded = true;
            genres.clear();
            readID = 0;
        }
        calls << QStringLiteral("open ") + newCaption;
    }
    void unload() override
    {
        if (!loaded)
            return;
        calls << QStringLiteral("unload");
        if (checkPasses)
            logic->frmID3EditerWindow_SetID3(readID);
        loaded = false;
        logic->frmID3EditerWindow_LostForm();
    }

    TagRecord fields() const override { return values; }
    void show(const TagRecord &newValues, const QString &newFileName, qint16 row) override
    {
        values = newValues;
        fileName = newFileName;
        readID = row;
        calls << QStringLiteral("show %1").arg(row);
    }
    void GenreSet(const QString &value) override { genres << value; }

    // A row move by Up (step -1) or Down (step +1) after a passing check.
    void move(int step)
    {
        logic->frmID3EditerWindow_SetID3(readID);
        logic->frmID3EditerWindow_PutID3(static_cast<qint16>(readID + step));
    }
};

// The pop-up menu's state: enabled items, captions, and where it popped up.
class FakeListMenu : public ListMenuService
{
public:
    QMap<Item, bool> enabled;
    QMap<Item, QString> captions;
    QMap<Item, bool> checked;
    QList<QPoint> popups;

    void setItemEnabled(Item item, bool newEnabled) override { enabled[item] = newEnabled; }
    void setItemCaption(Item item, const QString &caption) override { captions[item] = caption; }
    void setItemChecked(Item item, bool newChecked) override { checked[item] = newChecked; }
    void popup(int x, int y) override { popups << QPoint(x, y); }
};

// A stand-in for the sync of the logic's write batches: it fails for the
// files named, with errno set to error, and succeeds for the others without
// touching the disk, and records the name of every file it was asked to sync.
class FakeSync
{
public:
    QStringList failing;  // file names, without folder
    int error = 0;        // 0: the sync gives no reason

    SyncFile function()
    {
        return [this](int fd) {
            const QString name = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd))).fileName();
            const std::lock_guard<std::mutex> lock(mutex_);
            synced_ << name;
            if (!failing.contains(name))
                return true;
            errno = error;
            return false;
        };
    }

    // The names synced so far, sorted.
    QStringList synced()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        QStringList names = synced_;
        names.sort();
        return names;
    }

private:
    std::mutex mutex_;
    QStringList synced_;
};

// Folders as the names they hold, by path; any other path is no folder.
class FakeFolders : public FolderService
{
public:
    QMap<QString, QStringList> names;

    std::optional<QStringList> fileNames(const QString &path) override
    {
        return names.contains(path) ? std::optional(names.value(path)) : std::nullopt;
    }
};

class FakeClipboard : public ClipboardService
{
public:
    QString contents;

    QString text() const override { return contents; }
};

// The rename preview: records what it was shown and answers as told.
class FakeRenamePreview : public RenamePreviewService
{
public:
    bool answer = true;
    QString title;
    QList<Line> lines;  // as last shown
    int calls = 0;

    bool confirmRenames(const QString &newTitle, const QList<Line> &newLines) override
    {
        ++calls;
        title = newTitle;
        lines = newLines;
        return answer;
    }
};

// The lookup's window: the web service's canned answers, and the release
// the user picks (-1: none). Notes what the window was shown.
class FakeLookupWindow : public LookupWindowService
{
public:
    CannedService web;
    int pick = 0;
    QStringList asking;
    QString heading;
    QStringList releases;

    void whileAsking(const QString &text, const std::function<void(WebService &web)> &ask) override
    {
        asking << text;
        ask(web);
    }
    int chooseRelease(const QString &shownHeading, const QStringList &shownReleases) override
    {
        heading = shownHeading;
        releases = shownReleases;
        return pick;
    }
};

// The logic wired to a full set of fakes.
struct FakeWindowServices {
    FakeListView list;
    FakeMessageBox messages;
    FakeFileChooser chooser;
    FakeSettingsFile settings;
    FakeMainWindow window;
    FakeFileMover mover;
    FakeTagEditor editor;
    FakeListMenu menu;
    FakeClipboard clipboard;
    FakeFolders folders;
    FakeRenamePreview renamePreview;
    FakeLookupWindow lookup;

    frmID3Launcher::Services services()
    {
        return {list, messages, chooser, settings, window, mover, editor, menu, clipboard, folders, renamePreview,
                lookup};
    }
};
