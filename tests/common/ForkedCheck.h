#pragma once

#include <functional>

// Runs body in a forked child, so a resource limit, dropped privileges or a
// call that blocks stay there, and gives the child's exit code: body's
// result. -1 when the child could not start, crashed, or ran past the time
// limit (it is killed then).
int exitCodeInChild(const std::function<int()> &body, unsigned timeLimitSeconds = 5);
