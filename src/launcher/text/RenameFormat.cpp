#include "launcher/text/RenameFormat.h"

#include "files/NativePath.h"
#include "launcher/text/PathParts.h"
#include "text/ByteEscape.h"
#include "text/CellNumber.h"

namespace {

const QString kRefusedCharacters = QStringLiteral("\\*?!\"+><:");

// Numbers below 10 get one leading zero, so names sort in track order.
QString twoDigits(int number, const QString &text)
{
    return number < 10 ? QStringLiteral("0") + text : text;
}

bool isControlCharacter(QChar character)
{
    return character.unicode() < 0x20 || character.unicode() == 0x7F;
}

}  // namespace

bool isRefusedRenameFormat(const QString &format)
{
    return !refusedRenameCharacters(format).isEmpty();
}

QString refusedRenameCharacters(const QString &format)
{
    QString refused;
    for (const QChar character : format) {
        if (kRefusedCharacters.contains(character) && !refused.contains(character))
            refused += character;
    }
    return refused;
}

QString renameFileName(const QString &format, const FileRowCells &cells, int position)
{
    if (isRefusedRenameFormat(format))
        return QString();
    const QString &fileName = cells[livFilename];
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);

    // One token after another, each over the text the step before produced:
    // a value that holds a later token gets it replaced too.
    const QString &track = cells[livTrackNo];
    QString name = format;
    name.replace(QStringLiteral("%A"), cells[livAlbum]);
    name.replace(QStringLiteral("%K"), cells[livAirtist]);
    name.replace(QStringLiteral("%D"), cells[livTitle]);
    name.replace(QStringLiteral("%C"), cells[livComment]);
    name.replace(QStringLiteral("%T"), twoDigits(cellNumber(track), track));
    name.replace(QStringLiteral("%J"), cells[livGenre]);
    name.replace(QStringLiteral("%Y"), cells[livYear]);
    name.replace(QStringLiteral("%N"), twoDigits(position, QString::number(position)));
    // A tag byte that is no CP932 text has no character a file name could
    // hold, and a control character (a line break, a tab) would break
    // listings and scripts. The extension is the file's own.
    for (QChar &character : name) {
        if (ByteEscape::isEscape(character) || isControlCharacter(character))
            character = u'_';
    }
    return name + extension;
}

bool isNameWithinFolder(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(kPathSeparator) && !name.contains(QChar(0))
           && nativePath(name).size() <= kMaxNameBytes;
}
