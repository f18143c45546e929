#pragma once

// The budget any reading of a file Kalvo did not write must keep: at most
// 1 s and 100 MB above what the process held before. Measured in a forked
// child (ForkedCheck), so what the reading leaves behind does not stay.

#include <QtGlobal>

#include <functional>

inline constexpr qint64 kTimeBudgetMs = 1000;
inline constexpr qint64 kMemoryBudgetBytes = 100LL * 1024 * 1024;

struct Spent {
    qint64 milliseconds = 0;
    qint64 bytes = 0;  // the peak resident memory above what was held before; -1 unknown

    bool withinBudget() const
    {
        return milliseconds <= kTimeBudgetMs && bytes >= 0 && bytes <= kMemoryBudgetBytes;
    }
};

// The time work takes and the memory it adds at its peak. Print names what
// was done, for the figures on stderr.
Spent spentBy(const char *what, const std::function<void()> &work);
