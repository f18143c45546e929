#include "app/cli/ConsoleOutput.h"

#include <cstdio>
#include <unistd.h>

namespace {

// Back to the start of the line, and the line cleared (VT100).
constexpr char kClearLine[] = "\r\033[K";

}  // namespace

ConsoleOutput::ConsoleOutput(const LocaleText &text) : text_(text), errorIsTerminal_(::isatty(STDERR_FILENO) == 1)
{
}

void ConsoleOutput::print(const QString &line)
{
    printBytes(text_.encode(line + u'\n'));
}

void ConsoleOutput::printBytes(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

void ConsoleOutput::tell(const QString &line)
{
    if (progressShown_) {
        writeError(kClearLine);
        progressShown_ = false;
    }
    writeError(text_.encode(QStringLiteral("kalvo-cli: ") + line + u'\n'));
}

void ConsoleOutput::progress(const QString &text)
{
    if (!errorIsTerminal_)
        return;
    writeError(kClearLine + text_.encode(QStringLiteral("kalvo-cli: ") + text));
    progressShown_ = true;
}

void ConsoleOutput::endProgress()
{
    if (progressShown_)
        writeError("\n");
    progressShown_ = false;
}

void ConsoleOutput::writeError(const QByteArray &bytes)
{
    // Standard output first, so that what both say comes in order.
    std::fflush(stdout);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}
