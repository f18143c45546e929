// Files named on the command line, added at start as a drop adds them.

#include "frmID3Launcher.h"

#include <QDir>

#include <algorithm>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The run of digits starting at position at, and at moved past it.
QStringView digitRun(QStringView text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return text.sliced(start, at - start);
}

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    return digits;
}

// File-name order as people read it: runs of digits compare by their number
// ("2" before "10"), other characters one by one without regard to case.
// Names equal that way fall back to plain order, so the order is total.
bool naturalLess(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        int order = 0;
        if (isDigit(a[i]) && isDigit(b[j])) {
            const QStringView x = withoutLeadingZeros(digitRun(a, i));
            const QStringView y = withoutLeadingZeros(digitRun(b, j));
            order = x.size() != y.size() ? (x.size() < y.size() ? -1 : 1) : x.compare(y);
        } else {
            order = a.sliced(i++, 1).compare(b.sliced(j++, 1), Qt::CaseInsensitive);
        }
        if (order != 0)
            return order < 0;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}

// The paths the arguments stand for, in order: each taken from currentFolder
// when relative; a folder stands for the files directly inside it, in natural
// name order. Anything else is passed on for AddMp3File to take or skip.
QStringList expandArguments(const QStringList &arguments, const QString &currentFolder)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        if (argument.isEmpty())
            continue;
        const QString path = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(argument));
        const QDir folder(path);
        if (!folder.exists()) {
            paths << path;
            continue;
        }
        QStringList names = folder.entryList(QDir::Files, QDir::NoSort);
        std::sort(names.begin(), names.end(), naturalLess);
        for (const QString &name : names)
            paths << folder.filePath(name);
    }
    return paths;
}

}  // namespace

void frmID3Launcher::AddCommandLineFiles(const QStringList &arguments, const QString &currentFolder)
{
    lvMP3List_OLEDragDrop(expandArguments(arguments, currentFolder));
}
