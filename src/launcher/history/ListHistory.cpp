#include "launcher/history/ListHistory.h"

#include <algorithm>

namespace {

// Equal but for the change marks.
bool sameRows(const ListRows &a, const ListRows &b)
{
    const auto same = [](const ListRow &x, const ListRow &y) {
        FileRowCells xCells = x.cells;
        xCells[livChanged] = y.cells[livChanged];
        return x.info.serial == y.info.serial && xCells == y.cells;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

}  // namespace

void ListHistory::record(ListStep step)
{
    if (step.moves.isEmpty() && sameRows(step.before, step.after))
        return;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > kMaxSteps)
        steps_.pop_front();
    done_ = steps_.size();
}

ListStep &ListHistory::undo()
{
    return steps_[--done_];
}

ListStep &ListHistory::redo()
{
    return steps_[done_++];
}
