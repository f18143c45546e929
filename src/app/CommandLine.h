#pragma once

#include <QStringList>

#include <optional>

// What the command line asks for.
struct CommandLine {
    QStringList files;               // to add to the list at start, as given
    std::optional<int> exitStatus;  // set: end now with this status, no window
};

// Reads the command line before any application object exists, so that
// --help, --version and a wrong option need no display. Those print their
// text (to standard output, or a one-line error and the usage to standard
// error) and set exitStatus: 0, or 2 for a wrong command line.
CommandLine readCommandLine(int argc, char *argv[]);
