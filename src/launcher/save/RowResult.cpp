#include "launcher/save/RowResult.h"

#include <algorithm>

bool noneRefused(const RowResults &results)
{
    return std::none_of(results.begin(), results.end(), [](const RowResult &r) { return r.done == RowDone::Refused; });
}

RowResults withUnchanged(const QList<int> &rows, const RowResults &saved)
{
    RowResults results;
    for (const int row : rows) {
        const auto result = std::find_if(saved.begin(), saved.end(), [row](const RowResult &r) { return r.row == row; });
        results << (result != saved.end() ? *result : RowResult{.row = row, .done = RowDone::Unchanged});
    }
    return results;
}
