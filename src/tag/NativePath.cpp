#include "NativePath.h"

#include "ByteEscape.h"
#include "Cp932.h"

#include <QStringList>

namespace {

// Width of the well-formed UTF-8 character at i, or 0 when the byte there
// starts none: no overlong forms, no surrogates, nothing above U+10FFFF (the
// ranges of the Unicode standard's table of well-formed byte sequences).
qsizetype utf8Width(QByteArrayView bytes, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return i + k < bytes.size() ? static_cast<unsigned char>(bytes[i + k]) : 0u; };
    const unsigned lead = byte(0);
    if (lead < 0x80)
        return 1;
    qsizetype width = 0;
    unsigned low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        width = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        width = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        width = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype k = 2; k < width; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    }
    return width;
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
