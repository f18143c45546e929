// Files named on the command line, added at start as a drop adds them.

#include "frmID3Launcher.h"

#include "CellNumber.h"
#include "ListViewService.h"
#include "NativePath.h"

#include <QDir>

#include <algorithm>
#include <dirent.h>
#include <optional>

namespace {

// The run of digits starting at position at, and at moved past it.
QStringView digitRun(QStringView text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size() && isAsciiDigit(text[at]))
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
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            const QStringView x = withoutLeadingZeros(digitRun(a, i));
            const QStringView y = withoutLeadingZeros(digitRun(b, j));
            order = x.size() != y.size() ? (x.size() < y.size() ? -1 : 1) : x.compare(y);
        } else if (a[i++] != b[j++]) {  // names of a folder mostly share their starts
            order = a.sliced(i - 1, 1).compare(b.sliced(j - 1, 1), Qt::CaseInsensitive);
        }
        if (order != 0)
            return order < 0;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}

// The names in the folder at path that may be files: all but subfolders and
// hidden names, with their exact bytes; nothing when path names no folder.
// Only the names are kept, so a folder of many thousand entries costs little
// memory; what each entry is, AddMp3File finds out.
std::optional<QStringList> folderEntryNames(const QString &path)
{
    const QByteArray native = nativePath(path);
    DIR *folder = native.isEmpty() ? nullptr : ::opendir(native.constData());
    if (!folder)
        return std::nullopt;
    QStringList names;
    while (const dirent *entry = ::readdir(folder)) {
        if (entry->d_name[0] != '.' && entry->d_type != DT_DIR)
            names << pathText(entry->d_name);
    }
    ::closedir(folder);
    return names;
}

}  // namespace

// Each argument is taken from currentFolder when relative; a folder stands
// for the files directly inside it, in natural name order. Anything else is
// passed on for AddMp3File to take or skip. Once the list is full, nothing
// more is looked at. The files added are one step, as a drop's are.
void frmID3Launcher::AddCommandLineFiles(const QStringList &arguments, const QString &currentFolder)
{
    ListRows before = listRows();
    addArgumentFiles(arguments, currentFolder);
    recordStep(std::move(before));
}

void frmID3Launcher::addArgumentFiles(const QStringList &arguments, const QString &currentFolder)
{
    for (const QString &argument : arguments) {
        if (services_.list.count() >= kMaxRows)
            return;
        if (argument.isEmpty())
            continue;
        // Text only: the system would not take the path's escaped bytes.
        const QString path
            = QDir::cleanPath(QDir::isAbsolutePath(argument) ? argument : currentFolder + u'/' + argument);
        std::optional<QStringList> names = folderEntryNames(path);
        if (!names) {
            AddMp3File(path);
            continue;
        }
        std::sort(names->begin(), names->end(), naturalLess);
        const QString folder = path.endsWith(u'/') ? path : path + u'/';
        for (const QString &name : std::as_const(*names)) {
            if (services_.list.count() >= kMaxRows)
                return;
            AddMp3File(folder + name);
        }
    }
}
