#include "ListHistory.h"

void ListHistory::record(ListStep step)
{
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
