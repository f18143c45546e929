#pragma once

#include <QList>
#include <QString>

// The dialog that shows a rename before it is done: each file's name now
// beside the name the format gives it, and why a file keeps its name.
class RenamePreviewService
{
public:
    struct Line {
        QString oldName;  // as the user reads them
        QString newName;
        bool renamed = true;  // false: the file keeps its name
        QString note;         // why it keeps it, or what to know of the new name; empty: nothing
    };

    virtual ~RenamePreviewService() = default;
    // Shows the lines under the title; true when the user takes OK, false
    // for Cancel or the close box.
    virtual bool confirmRenames(const QString &title, const QList<Line> &lines) = 0;
};
