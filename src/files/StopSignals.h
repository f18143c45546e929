#pragma once

// Ctrl+C (SIGINT), SIGTERM and SIGHUP as a request to stop, so that no file
// is left half done: a command that writes files finishes (or takes back)
// the files it has in hand and takes no further one, and the program then
// ends. A second such signal ends the program at once, as the system would.

// From now on the three signals ask to stop. Called once, at the start.
void catchStopSignals();

// Whether a stop has been asked for, and by which signal (0: none).
bool stopRequested();
int stopSignal();

// A descriptor that becomes readable once a stop is asked for, so a program
// that waits for events wakes up; -1 before catchStopSignals.
int stopSignalDescriptor();
