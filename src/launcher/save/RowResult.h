#pragma once

#include "files/FileResult.h"

#include <QList>

// What a command that writes or moves files did with one row's file.
enum class RowDone {
    Written,    // written (or moved) and durable
    Unchanged,  // it held what the row holds already; not touched
    Refused,    // left as it was, for the reason given
};

struct RowResult {
    int row = 0;
    RowDone done = RowDone::Written;
    FileResult why{};  // only when Refused
};

using RowResults = QList<RowResult>;

// True when no row's file was left as it was for a reason.
bool noneRefused(const RowResults &results);

// The results of all the rows given, for a save of some of them: a row's own
// result where it is among those saved, Unchanged where it is not.
RowResults withUnchanged(const QList<int> &rows, const RowResults &saved);
