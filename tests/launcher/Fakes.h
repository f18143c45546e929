#pragma once

// In-memory stand-ins for the window services, so the main window's logic runs
// and can be inspected without a display.

#include "FileChooserService.h"
#include "FileMoveService.h"
#include "FileRow.h"
#include "ListViewService.h"
#include "MainWindowService.h"
#include "MessageBoxService.h"
#include "SettingsFileService.h"
#include "frmID3Launcher.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <array>

struct FakeRow {
    std::array<QString, kFileRowColumnCount> cells;
    bool selected = false;
};

class FakeListView : public ListViewService
{
public:
    QList<FakeRow> rows;
    int current = 0;

    int count() const override { return static_cast<int>(rows.size()); }
    QString cell(int row, int column) const override { return rows.at(row - 1).cells.at(static_cast<std::size_t>(column)); }
    void setCell(int row, int column, const QString &text) override
    {
        rows[row - 1].cells.at(static_cast<std::size_t>(column)) = text;
    }
    bool isSelected(int row) const override { return rows.at(row - 1).selected; }
    int currentRow() const override { return current; }
    void addRow(const QString &label) override
    {
        FakeRow row;
        row.cells[livFilename] = label;
        rows.append(row);
    }
    void removeRow(int row) override { rows.removeAt(row - 1); }
    QString headerText(int column) const override
    {
        return QString::fromUtf16(kFileRowColumns.at(static_cast<std::size_t>(column)).header);
    }

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

struct ShownMessage {
    QString text;
    MessageBoxService::Buttons buttons;
    MessageBoxService::Icon icon;
    QString title;
};

class FakeMessageBox : public MessageBoxService
{
public:
    QList<ShownMessage> shown;
    // Answers given to Yes/No questions, in order; Yes once they run out.
    QList<Answer> answers;

    Answer showMessage(const QString &text, Buttons buttons, Icon icon, const QString &title) override
    {
        shown.append({text, buttons, icon, title});
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
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
    bool writeString(const QString &section, const QString &key, const QString &value,
                     const QString &filePath) override
    {
        calls << QStringLiteral("write ") + filePath;
        if (failWrites)
            return false;
        files[filePath][section + u'/' + key] = value;
        return true;
    }
};

class FakeMainWindow : public MainWindowService
{
public:
    QString folder = QStringLiteral("/opt/kalvo");
    QString format;
    QString toolTip;
    int closeRequests = 0;

    QString caption() const override { return QStringLiteral("Kalvo"); }
    QString programFolder() const override { return folder; }
    QString renameFormat() const override { return format; }
    void setRenameFormat(const QString &newFormat) override { format = newFormat; }
    void setRenameFormatToolTip(const QString &newToolTip) override { toolTip = newToolTip; }
    void closeWindow() override { ++closeRequests; }
};

// Records the moves asked for and answers with the given result, or, when
// realMover is set, has it carry them out on real files and answers with its
// result.
class FakeFileMover : public FileMoveService
{
public:
    QStringList moves;  // "source -> destination"
    bool result = true;
    FileMoveService *realMover = nullptr;

    bool moveFile(const QString &source, const QString &destination) override
    {
        moves << source + QStringLiteral(" -> ") + destination;
        return realMover ? realMover->moveFile(source, destination) : result;
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

    frmID3Launcher::Services services()
    {
        return {list, messages, chooser, settings, window, mover};
    }
};
