#pragma once

#include "services/ReportService.h"

class ConsoleOutput;

// Reports of the list's parts on standard error, each line of a report on a
// line of its own. Questions are answered yes: who runs a script has asked
// for the change already.
class StderrReports final : public ReportService
{
public:
    explicit StderrReports(ConsoleOutput &console);

    bool confirm(const QString &question, const QString &subject) override;
    void report(Kind kind, const QString &text, const QString &subject) override;

private:
    ConsoleOutput &console_;
};
