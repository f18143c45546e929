#include "files/StopSignals.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<int> askedBy{0};
int wakeRead = -1;
int wakeWrite = -1;

// Only what a signal handler may do: note the signal, wake the program.
void askToStop(int signal)
{
    askedBy = signal;
    if (wakeWrite >= 0) {
        const char byte = 1;
        (void)!::write(wakeWrite, &byte, 1);
    }
}

}  // namespace

void catchStopSignals()
{
    int ends[2];
    if (wakeRead < 0 && ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead = ends[0];
        wakeWrite = ends[1];
    }
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    // The handler is taken away as it runs: the next signal does what the
    // system does.
    action.sa_flags = static_cast<int>(SA_RESETHAND | SA_RESTART);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

bool stopRequested()
{
    return askedBy.load() != 0;
}

int stopSignal()
{
    return askedBy.load();
}

int stopSignalDescriptor()
{
    return wakeRead;
}
