#include "files/NativePath.h"

#include "text/ByteEscape.h"
#include "text/Cp932.h"
#include "text/Utf8.h"

#include <QStringList>

namespace {

// Width of the well-formed UTF-8 character at i, or 0 when the byte there
// starts none.
qsizetype utf8Width(QByteArrayView bytes, qsizetype i)
{
    const Utf8Start start = utf8Start(bytes.sliced(i));
    return start.fitting == start.needed ? start.needed : 0;
}

bool hasEscape(QStringView text)
{
    for (const QChar character : text) {
        if (ByteEscape::isEscape(character))
            return true;
    }
    return false;
}

// One part of a path as the user reads it.
QString shownPart(const QString &part)
{
    if (!hasEscape(part))
        return part;
    QString shown = Cp932::decode(nativePath(part));
    if (hasEscape(shown))
        shown = part;
    for (QChar &character : shown) {
        if (ByteEscape::isEscape(character))
            character = QChar::ReplacementCharacter;
    }
    return shown;
}

}  // namespace

QString pathText(QByteArrayView bytes)
{
    QString text;
    qsizetype run = 0;  // where the valid UTF-8 not yet taken starts
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype width = utf8Width(bytes, i);
        if (width > 0) {
            i += width;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(run, i - run));
        text += ByteEscape::escape(static_cast<unsigned char>(bytes[i]));
        run = ++i;
    }
    return text + QString::fromUtf8(bytes.sliced(run));
}

QByteArray nativePath(const QString &path)
{
    QByteArray native;
    qsizetype run = 0;  // where the text not yet taken starts
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar character = path.at(i);
        if (character.isNull())
            return QByteArray();
        if (character.isHighSurrogate() && i + 1 < path.size() && path.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (ByteEscape::isEscape(character)) {
            native += QStringView(path).sliced(run, i - run).toUtf8();
            native += ByteEscape::byteOf(character);
            run = i + 1;
        } else if (character.isSurrogate()) {
            return QByteArray();
        }
    }
    return native + QStringView(path).sliced(run).toUtf8();
}

QString shownPath(const QString &path)
{
    if (!hasEscape(path))
        return path;
    QStringList parts = path.split(u'/');
    for (QString &part : parts)
        part = shownPart(part);
    return parts.join(u'/');
}
