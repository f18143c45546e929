#pragma once

#include <functional>

// Runs body in a forked child, so a resource limit, dropped privileges or a
// call that blocks stay there, and gives the child's exit code: body's
// result. -1 when the child could not start, crashed, or ran past the time
// limit (it is killed then).
int exitCodeInChild(const std::function<int()> &body, unsigned timeLimitSeconds = 5);

// Runs body in a forked child and gives its result, or died when the child
// gave none below died (it crashed, blocked or was killed). Result is an
// enumeration of verdicts whose last value is died.
template <typename Result>
Result resultInChild(const std::function<Result()> &body, Result died, unsigned timeLimitSeconds = 5)
{
    const int code = exitCodeInChild([&] { return static_cast<int>(body()); }, timeLimitSeconds);
    return code >= 0 && code < static_cast<int>(died) ? static_cast<Result>(code) : died;
}
