#pragma once

#include "app/cli/LocaleText.h"

#include <QString>

// Standard output and standard error in the locale's character set, and a
// progress line kept at the bottom of standard error when that is a
// terminal.
class ConsoleOutput
{
public:
    explicit ConsoleOutput(const LocaleText &text);

    // One line on standard output.
    void print(const QString &line);
    // Bytes on standard output, as they are.
    void printBytes(const QByteArray &bytes);
    // One line on standard error, "kalvo-cli: " first; the progress line, if
    // any, gives way and comes back at its next step.
    void tell(const QString &line);
    // Shows the text as the progress line, when standard error is a
    // terminal; nothing otherwise.
    void progress(const QString &text);
    // Leaves the progress line, if one is shown, as it stands.
    void endProgress();

private:
    void writeError(const QByteArray &bytes);

    LocaleText text_;
    bool errorIsTerminal_;
    bool progressShown_ = false;
};
