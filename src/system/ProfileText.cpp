#include "system/ProfileText.h"

#include "text/Cp932.h"

#include <QList>

namespace {

// The reader hands back at most 255 bytes, as a 256-byte buffer with its
// terminating zero holds.
constexpr qsizetype kMaxValueBytes = 255;

// None of the bytes searched for below (space, tab, '"', '=', ';', '[', '\n')
// can be the second byte of a double-byte CP932 character, so plain byte
// searches find them; only ']' needs a character-aware search.

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// A value in double quotes; the reader drops the quotes.
bool isQuoted(QByteArrayView value)
{
    return value.size() >= 2 && value.startsWith('"') && value.endsWith('"');
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

qsizetype characterWidth(QByteArrayView text, qsizetype at)
{
    return Cp932::isLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
}

// Names are equal but for ASCII case. A double-byte character is compared
// as it is: its second byte may look like an ASCII letter.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size();) {
        const qsizetype width = qMin(characterWidth(a, i), a.size() - i);
        if (width == 1 ? asciiLower(a[i]) != asciiLower(b[i]) : a.sliced(i, width) != b.sliced(i, width))
            return false;
        i += width;
    }
    return true;
}

// Position of the first character c in text, or -1.
qsizetype findCharacter(QByteArrayView text, char c)
{
    for (qsizetype i = 0; i < text.size(); i += characterWidth(text, i)) {
        if (text[i] == c)
            return i;
    }
    return -1;
}

// The line without its "\n" or "\r\n", or without the "\r" that ends a last
// line (a "\r\n" cut short): a line break added after it for a new line
// must not change what the line reads as.
QByteArrayView body(QByteArrayView line)
{
    if (line.endsWith("\r\n"))
        return line.chopped(2);
    if (line.endsWith('\n') || line.endsWith('\r'))
        return line.chopped(1);
    return line;
}

struct ProfileLine {
    enum Kind { Other, Section, Key };
    Kind kind = Other;
    QByteArrayView name;   // trimmed
    QByteArrayView value;  // of a key: the text after the first "=", trimmed
};

ProfileLine parse(QByteArrayView line)
{
    const QByteArrayView text = trimmed(body(line));
    if (text.startsWith('[')) {
        const qsizetype close = findCharacter(text, ']');
        if (close < 0)
            return {};
        return {ProfileLine::Section, trimmed(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf('=');
    if (text.startsWith(';') || equals < 0)
        return {};
    return {ProfileLine::Key, trimmed(text.first(equals)), trimmed(text.sliced(equals + 1))};
}

// The text's lines, each with its own line ending (the last may have none),
// as views into it: a file of a million empty lines costs no more than a
// million views.
QList<QByteArrayView> splitLines(QByteArrayView text)
{
    QList<QByteArrayView> lines;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype lf = text.indexOf('\n', start);
        const qsizetype next = lf < 0 ? text.size() : lf + 1;
        lines.append(text.sliced(start, next - start));
        start = next;
    }
    return lines;
}

// The line ending the file already uses, so added lines match it.
QByteArray lineEndingOf(const QByteArray &data)
{
    const qsizetype lf = data.indexOf('\n');
    return lf > 0 && data[lf - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

// Line numbers in the first section named section, -1 when missing: the
// section line, the first key named key, and the line after which a new key
// of the section goes (its last key line, or the section line).
struct Location {
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastKey = -1;
};

Location locate(const QList<QByteArrayView> &lines, QByteArrayView section, QByteArrayView key)
{
    Location at;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ProfileLine line = parse(lines[i]);
        if (line.kind == ProfileLine::Section) {
            if (at.section >= 0)
                break;
            if (sameName(line.name, section))
                at.section = at.lastKey = i;
        } else if (line.kind == ProfileLine::Key && at.section >= 0) {
            at.lastKey = i;
            if (at.key < 0 && sameName(line.name, key))
                at.key = i;
        }
    }
    return at;
}

// The value as it goes after "=": without line breaks, which would split the
// line, and in quotes when the reader would otherwise trim or unquote it.
QByteArray valueText(const QString &value)
{
    QString oneLine = value;
    oneLine.remove(u'\r');
    oneLine.remove(u'\n');
    const QByteArray bytes = Cp932::encode(oneLine);
    const bool loose = !bytes.isEmpty() && (isBlank(bytes.front()) || isBlank(bytes.back()));
    return loose || isQuoted(bytes) ? '"' + bytes + '"' : bytes;
}

// The value a key line gives a reader: without its quotes, at most
// kMaxValueBytes bytes.
QString valueOf(QByteArrayView keyLine)
{
    QByteArrayView value = parse(keyLine).value;
    if (isQuoted(value))
        value = value.sliced(1, value.size() - 2);
    return Cp932::decode(value.first(Cp932::cutLength(value, kMaxValueBytes)));
}

// Ends the last line: a bare CR that ends it (a "\r\n" cut short) gets its
// "\n", any other line the text's line ending.
void endLine(QByteArray &line, const QByteArray &lineEnding)
{
    if (line.endsWith('\r'))
        line += '\n';
    else if (!line.endsWith('\n'))
        line += lineEnding;
}

}  // namespace

QString profileValue(QByteArrayView text, const QString &section, const QString &key)
{
    const QList<QByteArrayView> lines = splitLines(text);
    const Location at = locate(lines, trimmed(Cp932::encode(section)), trimmed(Cp932::encode(key)));
    return at.key < 0 ? QString() : valueOf(lines[at.key]);
}

QByteArray withProfileValue(const QByteArray &text, const QString &section, const QString &key, const QString &value)
{
    const QList<QByteArrayView> lines = splitLines(text);
    const QByteArray lineEnding = lineEndingOf(text);
    const QByteArray sectionName = Cp932::encode(section);
    const QByteArray keyName = Cp932::encode(key);
    const QByteArray valueBytes = valueText(value);
    const Location at = locate(lines, trimmed(sectionName), trimmed(keyName));
    // Where a line starts and ends in text.
    const auto startOf = [&](qsizetype line) { return lines[line].data() - text.constData(); };
    const auto endOf = [&](qsizetype line) { return startOf(line) + lines[line].size(); };

    // A value that reads as the one given stays as it is, byte for byte (a
    // doubly coded CP932 character keeps its code).
    if (at.key >= 0 && valueOf(lines[at.key]) == value)
        return text;
    QByteArray result;
    if (at.key >= 0) {
        const QByteArrayView line = lines[at.key];
        result = text.first(startOf(at.key));
        result.append(parse(line).name).append('=').append(valueBytes).append(line.sliced(body(line).size()));
        return result.append(QByteArrayView(text).sliced(endOf(at.key)));
    }
    if (at.section >= 0) {
        result = text.first(endOf(at.lastKey));
        endLine(result, lineEnding);
        result.append(keyName).append('=').append(valueBytes).append(lineEnding);
        return result.append(QByteArrayView(text).sliced(endOf(at.lastKey)));
    }
    result = text;
    if (!result.isEmpty())
        endLine(result, lineEnding);
    return result.append('[').append(sectionName).append(']').append(lineEnding).append(keyName).append('=')
        .append(valueBytes).append(lineEnding);
}
