#pragma once

#include "launcher/rename/FileMove.h"
#include "services/FileRow.h"

#include <QList>
#include <QString>

#include <deque>

// One change to the list, undone and redone as a whole: the rows before and
// after it, and for a rename the files it moved, in the order moved.
struct ListStep {
    ListRows before;
    ListRows after;
    QList<FileMove> moves;
};

// The steps that can be undone, the last one last, and those undone since
// that can be redone. A new step drops those that could have been redone;
// the oldest steps go beyond kMaxSteps. A change that moves no file and
// changes nothing but change marks, which follow the files rather than the
// steps, is no step.
class ListHistory
{
public:
    static constexpr std::size_t kMaxSteps = 100;

    // Records the step, unless it is none.
    void record(ListStep step);
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The step undo() or redo() would give, still counted as it is; only
    // when canUndo() or canRedo().
    ListStep &toUndo() { return steps_[done_ - 1]; }
    ListStep &toRedo() { return steps_[done_]; }
    // The step to undo, now counted as undone; only when canUndo().
    ListStep &undo();
    // The step to redo, now counted as done again; only when canRedo().
    ListStep &redo();

private:
    std::deque<ListStep> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
};
