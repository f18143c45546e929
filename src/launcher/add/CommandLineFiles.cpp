#include "launcher/add/CommandLineFiles.h"

#include "launcher/add/FileAdder.h"
#include "launcher/list/FileList.h"
#include "launcher/text/NaturalOrder.h"
#include "services/FolderService.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kMp3Suffix = QStringLiteral(".mp3");

}  // namespace

CommandLineFiles::CommandLineFiles(FileList &rows, FileAdder &adder, FolderService &folders)
    : rows_(rows), adder_(adder), folders_(folders)
{
}

QList<RefusedFile> CommandLineFiles::add(const QStringList &arguments, const QString &currentFolder)
{
    QList<RefusedFile> refused;
    for (const QString &argument : arguments) {
        if (rows_.isFull())
            return refused;
        if (argument.isEmpty())
            continue;
        // Text only: the system would not take the path's escaped bytes.
        const QString path
            = QDir::cleanPath(QDir::isAbsolutePath(argument) ? argument : currentFolder + u'/' + argument);
        // Only the names are kept, so a folder of many thousand entries
        // costs little memory; what each entry is, AddMp3File finds out.
        std::optional<QStringList> names = folders_.fileNames(path);
        if (!names) {
            if (const AddResult result = adder_.AddMp3File(path); result != AddResult::Added)
                refused << RefusedFile{.argument = argument, .result = result};
            continue;
        }
        // Only names the file chooser shows are worth opening: in a large
        // folder most entries are something else, and their names cost
        // nothing to look at.
        names->removeIf([](const QString &name) { return !name.endsWith(kMp3Suffix, Qt::CaseInsensitive); });
        std::sort(names->begin(), names->end(), naturalLess);
        const QString folder = path.endsWith(u'/') ? path : path + u'/';
        for (const QString &name : std::as_const(*names)) {
            if (rows_.isFull())
                return refused;
            adder_.AddMp3File(folder + name);
        }
    }
    return refused;
}
