#pragma once

// What every fuzz target shares: a check that aborts on a violated
// invariant, so libFuzzer records the input that broke it.

#include <cstdio>
#include <cstdlib>

inline void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz target: invariant violated: %s\n", what);
        std::abort();
    }
}
