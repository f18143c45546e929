#include "common/ForkedCheck.h"

#include <sys/wait.h>
#include <unistd.h>

int exitCodeInChild(const std::function<int()> &body, unsigned timeLimitSeconds)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(timeLimitSeconds);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
