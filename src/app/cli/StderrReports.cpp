#include "app/cli/StderrReports.h"

#include "app/cli/ConsoleOutput.h"

#include <QStringList>

StderrReports::StderrReports(ConsoleOutput &console) : console_(console) {}

bool StderrReports::confirm(const QString & /*question*/, const QString & /*subject*/)
{
    return true;
}

void StderrReports::report(Kind /*kind*/, const QString &text, const QString & /*subject*/)
{
    for (const QString &line : text.split(u'\r'))
        console_.tell(line);
}
