// Feeds arbitrary text to the reading of a file name by a rename format: the
// bytes up to the first line break, read as UTF-8, are the format, the rest
// the name (at most 255 characters, as a file name holds). Whatever is read
// must have the forms the fields take, and each field comes only from its
// own token of the format.

#include "FuzzCheck.h"
#include "id3v1/GenreTable.h"
#include "launcher/text/FileNameFields.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void checkText(const std::optional<QString> &text, const QString &format, const char *token)
{
    if (!text)
        return;
    check(format.contains(QLatin1String(token)), "a field without its token in the format");
    check(!text->isEmpty() && *text == text->trimmed(), "field empty or with blanks around it");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype lineBreak = bytes.indexOf('\n');
    const QString format = QString::fromUtf8(lineBreak < 0 ? bytes : bytes.first(lineBreak));
    const QString name = lineBreak < 0 ? QString() : QString::fromUtf8(bytes.sliced(lineBreak + 1)).left(255);
    const std::optional<TagUpdate> update = readFileName(format, name);
    if (!update)
        return 0;
    checkText(update->Album, format, "%A");
    checkText(update->Artist, format, "%K");
    checkText(update->Title, format, "%D");
    checkText(update->Comment, format, "%C");
    checkText(update->Year, format, "%Y");
    check(!update->TrackNumber || (*update->TrackNumber >= 1 && format.contains(QLatin1String("%T"))),
          "a track of 0, or without %T");
    check(!update->GenreID || (!GenreTable::name(*update->GenreID).isEmpty() && format.contains(QLatin1String("%J"))),
          "a genre without a name, or without %J");
    return 0;
}
