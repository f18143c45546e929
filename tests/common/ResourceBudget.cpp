#include "common/ResourceBudget.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The process's resident memory now, from /proc; -1 when unknown.
qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * getpagesize() : -1;
}

// The most resident memory the process has held.
qint64 peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

}  // namespace

Spent spentBy(const char *what, const std::function<void()> &work)
{
    const qint64 before = residentBytes();
    QElapsedTimer timer;
    timer.start();
    work();
    const Spent spent{.milliseconds = timer.elapsed(), .bytes = before < 0 ? -1 : peakResidentBytes() - before};
    std::fprintf(stderr, "%s: %lld ms, %lld MB\n", what, static_cast<long long>(spent.milliseconds),
                 static_cast<long long>(spent.bytes >> 20));
    return spent;
}
