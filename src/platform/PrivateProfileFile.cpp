#include "PrivateProfileFile.h"

#include "Cp932.h"
#include "NativePath.h"
#include "TailFile.h"

#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The reader hands back at most 255 bytes, as a 256-byte buffer with its
// terminating zero holds.
constexpr qsizetype kMaxValueBytes = 255;

// A settings file holds a few lines; a larger file is not one and is never
// read into memory.
constexpr qsizetype kMaxFileBytes = 1024 * 1024;

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

// The line without its "\n" or "\r\n".
QByteArrayView body(QByteArrayView line)
{
    if (line.endsWith("\r\n"))
        return line.chopped(2);
    if (line.endsWith('\n'))
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

// The file's lines, each with its own line ending (the last may have none).
QList<QByteArray> splitLines(const QByteArray &data)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < data.size();) {
        const qsizetype lf = data.indexOf('\n', start);
        const qsizetype next = lf < 0 ? data.size() : lf + 1;
        lines.append(data.sliced(start, next - start));
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

Location locate(const QList<QByteArray> &lines, QByteArrayView section, QByteArrayView key)
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

// The settings file as found: its bytes, and its permission bits, owner and
// group when it exists.
struct SettingsFile {
    QByteArray data;
    std::optional<mode_t> mode;
    uid_t owner = 0;
    gid_t group = 0;
};

// Reads at most kMaxFileBytes + 1 bytes from fd, so that a file over the limit
// shows as one; nothing for such a file or on an error.
std::optional<QByteArray> readBounded(int fd)
{
    QByteArray data(kMaxFileBytes + 1, Qt::Uninitialized);
    qsizetype size = 0;
    while (size < data.size()) {
        const ssize_t n = ::read(fd, data.data() + size, static_cast<size_t>(data.size() - size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        size += n;
    }
    if (size > kMaxFileBytes)
        return std::nullopt;
    data.truncate(size);
    return data;
}

// The file at path when it is missing (empty, no mode) or a regular file of
// at most kMaxFileBytes; nothing for anything else. A symlink is never
// followed, even to a regular file: a settings write must not land in a file
// someone else chose. FIFOs and devices are never opened, as opening or
// reading them may wait forever or never end; O_NONBLOCK and O_NOFOLLOW cover
// an entry swapped between the lstat and the open, and fstat confirms what
// was opened.
std::optional<SettingsFile> readFile(const QByteArray &path)
{
    if (path.isEmpty())
        return std::nullopt;
    struct stat entry {};
    if (::lstat(path.constData(), &entry) != 0)
        return errno == ENOENT ? std::optional(SettingsFile{}) : std::nullopt;
    if (!S_ISREG(entry.st_mode) || entry.st_size > kMaxFileBytes)
        return std::nullopt;
    const FileDescriptor file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!file.isOpen() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return std::nullopt;
    const std::optional<QByteArray> data = readBounded(file.get());
    if (!data)
        return std::nullopt;
    return SettingsFile{*data, opened.st_mode & 07777, opened.st_uid, opened.st_gid};
}

// Writes all of data to fd; false on an error or when nothing more is taken.
bool writeAll(int fd, QByteArrayView data)
{
    while (!data.isEmpty()) {
        const ssize_t n = ::write(fd, data.data(), static_cast<size_t>(data.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data = data.sliced(n);
    }
    return true;
}

// Creates a new file beside path under an unused random name; its descriptor
// (closed when none could be created) and name.
FileDescriptor createTemporary(const QByteArray &path, mode_t mode, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        FileDescriptor file(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode));
        if (file.isOpen() || errno != EEXIST)
            return file;
    }
    return FileDescriptor();
}

// Gives the new file at fd the old file's owner and group, so that a rewrite
// by another user (root quitting) leaves the file its owner's; false when
// that is not permitted.
bool takeOwner(int fd, const SettingsFile &old)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    return (info.st_uid == old.owner && info.st_gid == old.group) || ::fchown(fd, old.owner, old.group) == 0;
}

// Replaces the file at path, as old found it, with data: a temporary file
// beside it is written in full and synced, then renamed over it, so the old
// file stays as it was until the new one is complete on disk, and a failure
// at any step leaves it whole. The temporary is private until it takes the
// old file's owner, group and permission bits; a new file gets the usual 0666
// less the umask. A file its user may not write (0444: "do not change") is
// left as it is, as is one whose owner the new file cannot get. A folder the
// user may not write fails here, and the file is never rewritten in place
// instead: a full disk could then truncate it.
bool replaceFile(const QByteArray &path, QByteArrayView data, const SettingsFile &old)
{
    if (old.mode && ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
        return false;
    QByteArray temporary;
    FileDescriptor file = createTemporary(path, old.mode ? 0600 : 0666, temporary);
    if (!file.isOpen())
        return false;
    const int fd = file.get();
    const bool written = writeAll(fd, data) && (!old.mode || (takeOwner(fd, old) && ::fchmod(fd, *old.mode) == 0))
                         && ::fsync(fd) == 0;
    if (file.close() && written && ::rename(temporary.constData(), path.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
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

// Creates the folders above the file at path that are missing; a folder
// that cannot be made shows when the file is written.
void makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0777);
}

void endLine(QByteArray &line, const QByteArray &lineEnding)
{
    if (!line.endsWith('\n'))
        line += lineEnding;
}

}  // namespace

QString PrivateProfileFile::readString(const QString &section, const QString &key, const QString &filePath)
{
    const QList<QByteArray> lines = splitLines(readFile(nativePath(filePath)).value_or(SettingsFile{}).data);
    const QByteArray sectionName = Cp932::encode(section);
    const QByteArray keyName = Cp932::encode(key);
    const Location at = locate(lines, trimmed(sectionName), trimmed(keyName));
    if (at.key < 0)
        return {};
    return valueOf(lines[at.key]);
}

bool PrivateProfileFile::writeString(const QString &section, const QString &key, const QString &value,
                                     const QString &filePath)
{
    const QByteArray path = nativePath(filePath);
    const std::optional<SettingsFile> old = readFile(path);
    if (!old)
        return false;
    QList<QByteArray> lines = splitLines(old->data);
    const QByteArray lineEnding = lineEndingOf(old->data);
    const QByteArray sectionName = Cp932::encode(section);
    const QByteArray keyName = Cp932::encode(key);
    const QByteArray text = valueText(value);
    const Location at = locate(lines, trimmed(sectionName), trimmed(keyName));

    // A value that reads as the one given stays as it is, byte for byte (a
    // doubly coded CP932 character keeps its code), and the file is left alone.
    if (at.key >= 0 && valueOf(lines[at.key]) == value)
        return true;
    if (at.key >= 0) {
        QByteArray &line = lines[at.key];
        line = parse(line).name.toByteArray() + '=' + text + line.sliced(body(line).size());
    } else if (at.section >= 0) {
        endLine(lines[at.lastKey], lineEnding);
        lines.insert(at.lastKey + 1, keyName + '=' + text + lineEnding);
    } else {
        if (!lines.isEmpty())
            endLine(lines.back(), lineEnding);
        lines.append('[' + sectionName + ']' + lineEnding);
        lines.append(keyName + '=' + text + lineEnding);
    }
    // The settings folder of a new user does not exist before the first write.
    makeFolders(path);
    return replaceFile(path, lines.join(), *old);
}
