#pragma once

#include "files/FileDescriptor.h"
#include "launcher/add/CommandLineFiles.h"
#include "launcher/add/FileAdder.h"
#include "launcher/add/LeftoverRecovery.h"
#include "launcher/fill/ColumnCommands.h"
#include "launcher/fill/FillCommands.h"
#include "launcher/history/ListHistory.h"
#include "launcher/history/ListUndo.h"
#include "launcher/list/FileList.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/rename/Renamer.h"
#include "launcher/save/DropNumbering.h"
#include "launcher/save/Id3v2Saver.h"
#include "launcher/save/TagSaver.h"
#include "tagfiles/classID3_V11.h"

class FileMoveService;
class FolderService;
class ListViewService;
class ReportService;

// The parts that do the list's work, built in one place for both programs:
// the window's and kalvo-cli's, each on its own list and reports. They live
// as long as the program's list, and each knows only the parts it needs.
struct ListParts {
    struct Needs {
        ListViewService &list;
        ReportService &reports;
        FolderService &folders;
        FileMoveService &mover;
        int maxRows = FileList::kMaxRows;
        // Makes each file a save or drop numbering writes in place durable;
        // W syncs the files it writes anew, and their folders, itself.
        SyncFile syncWrittenFile = syncData;
        // How reports name the rows' files (FileList::ReportedPath).
        FileList::ReportedPath reportedPath = nullptr;
    };

    explicit ListParts(const Needs &needs);
    ListParts(const ListParts &) = delete;
    ListParts &operator=(const ListParts &) = delete;

    // Whether every part that writes files (S, W, drop numbering) leaves
    // their access and modification times as they were.
    void setKeepTimes(bool keep);
    bool keepsTimes() const { return keepTimes_; }

    // The one tag object, bound to one file at a time.
    classID3_V11 clsID3Tag;
    FileList rows;
    KnownFiles known;
    ListHistory history;
    LeftoverRecovery recovery;
    FileAdder adder;
    CommandLineFiles commandLine;
    TagSaver saver;
    Id3v2Saver id3v2Saver;
    DropNumbering dropNumbering;
    Renamer renamer;
    ColumnCommands columns;
    FillCommands fills;
    ListUndo undo;

private:
    bool keepTimes_ = false;
};
