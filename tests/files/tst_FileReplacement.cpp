// A file written anew takes the old one's place carrying all it carried
// (owner, permissions, ACL, extended attributes), letting nobody do more
// with it; and it never takes the place of a file other than the one it
// was begun for.

#include "common/FileBytes.h"
#include "files/FileReplacement.h"
#include "files/FileSnapshot.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr char kAcl[] = "system.posix_acl_access";
constexpr char kDefaultAcl[] = "system.posix_acl_default";

// An ACL in the form the system keeps it: version 2, then entries of tag,
// permissions and id, in the order of their tags.
QByteArray acl(std::initializer_list<std::array<quint32, 3>> entries)
{
    QByteArray bytes("\x02\0\0\0", 4);
    for (const auto &[tag, perm, id] : entries) {
        bytes += char(tag & 0xFF);
        bytes += char(tag >> 8);
        bytes += char(perm & 0xFF);
        bytes += char(perm >> 8);
        for (int i = 0; i < 4; ++i)
            bytes += char((id >> (8 * i)) & 0xFF);
    }
    return bytes;
}
constexpr quint32 kUserObj = 0x01, kUser = 0x02, kGroupObj = 0x04, kMask = 0x10, kOther = 0x20, kNone = 0xFFFFFFFF;
constexpr quint32 kNobody = 65534;

// owner rw, nobody rw, group r, mask rw, others r: the mode shows 0664.
const QByteArray kNobodyMayWrite = acl({{kUserObj, 6, kNone}, {kUser, 6, kNobody}, {kGroupObj, 4, kNone},
                                        {kMask, 6, kNone}, {kOther, 4, kNone}});

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The file's extended attributes, name=value, and its mode.
QString carried(const QString &path)
{
    char names[4096];
    const ssize_t size = ::listxattr(native(path).constData(), names, sizeof names);
    QStringList parts;
    for (const QByteArray &name : QByteArray(names, size > 0 ? size : 0).split('\0')) {
        if (name.isEmpty() || name.startsWith("security."))
            continue;
        char value[4096];
        const ssize_t got = ::getxattr(native(path).constData(), name.constData(), value, sizeof value);
        parts << QString::fromLatin1(name + '=' + QByteArray(value, got > 0 ? got : 0).toHex());
    }
    parts.sort();
    struct stat info {};
    ::stat(native(path).constData(), &info);
    return QString::number(info.st_mode & 07777, 8) + u' ' + parts.join(u' ');
}

bool setAttribute(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(native(path).constData(), name, value.constData(), size_t(value.size()), 0) == 0;
}

// Replaces the file at path with new bytes, as W writes a file anew.
FileResult replace(const QString &path, const QByteArray &bytes, FileReplacement::Methods methods = {})
{
    const FileDescriptor old(::open(native(path).constData(), O_RDWR | O_CLOEXEC));
    FileReplacement replacement;
    FileResult result = replacement.begin(path, old.get(), methods);
    if (!result.ok())
        return result;
    if (!writeAt(replacement.file(), reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size(), 0))
        return lastSystemFailure();
    return replacement.commit();
}

}  // namespace

class TestFileReplacement : public QObject
{
    Q_OBJECT

private slots:
    void carriesWhatTheFileCarries_data()
    {
        QTest::addColumn<QByteArray>("fileAcl");     // empty: none
        QTest::addColumn<QByteArray>("folderDefault");  // empty: none
        QTest::addColumn<bool>("userAttributes");
        QTest::newRow("ACL with a named user") << kNobodyMayWrite << QByteArray() << false;
        QTest::newRow("extended attributes") << QByteArray() << QByteArray() << true;
        // The folder's default ACL would give the new file more than the
        // old one had.
        QTest::newRow("no ACL in a folder with a default one") << QByteArray() << kNobodyMayWrite << false;
        QTest::newRow("both, and a default") << kNobodyMayWrite << kNobodyMayWrite << true;
    }
    void carriesWhatTheFileCarries()
    {
        QFETCH(QByteArray, fileAcl);
        QFETCH(QByteArray, folderDefault);
        QFETCH(bool, userAttributes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        QVERIFY(writeFile(path, "old"));
        QVERIFY(::chmod(native(path).constData(), 0640) == 0);
        if (!setAttribute(path, "user.test", "1") && errno == ENOTSUP)
            QSKIP("This file system keeps no extended attributes");
        if (!userAttributes)
            QVERIFY(::removexattr(native(path).constData(), "user.test") == 0);
        else
            QVERIFY(setAttribute(path, "user.xdg.origin.url", "https://example.org/a.mp3"));
        if (!fileAcl.isEmpty() && !setAttribute(path, kAcl, fileAcl))
            QSKIP("This file system keeps no ACLs");
        if (!folderDefault.isEmpty())
            QVERIFY(setAttribute(dir.path(), kDefaultAcl, folderDefault));
        const QString before = carried(path);

        QVERIFY(replace(path, "new").ok());
        QCOMPARE(readFile(path), QByteArray("new"));
        QCOMPARE(carried(path), before);
    }

    // Where the file's name no longer leads to the file opened (moved away,
    // or another file put at the name after the new one was begun), the
    // other file keeps the name.
    void replacesOnlyTheFileBegunFor_data()
    {
        QTest::addColumn<bool>("exchange");
        QTest::addColumn<bool>("movedBeforeBegin");
        QTest::newRow("moved before begin") << true << true;
        QTest::newRow("replaced before commit, exchange") << true << false;
        QTest::newRow("replaced before commit, no exchange") << false << false;
    }
    void replacesOnlyTheFileBegunFor()
    {
        QFETCH(bool, exchange);
        QFETCH(bool, movedBeforeBegin);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        const QString other = dir.filePath(QStringLiteral("other.mp3"));
        QVERIFY(writeFile(path, "old") && writeFile(other, "other"));
        const FileDescriptor old(::open(native(path).constData(), O_RDWR | O_CLOEXEC));
        const auto putOtherAtTheName = [&] {
            return ::rename(native(path).constData(), native(dir.filePath(QStringLiteral("moved.mp3"))).constData()) == 0
                   && ::rename(native(other).constData(), native(path).constData()) == 0;
        };
        FileReplacement replacement;
        if (movedBeforeBegin) {
            QVERIFY(putOtherAtTheName());
            QCOMPARE(int(replacement.begin(path, old.get(), {.unnamedFile = true, .exchange = exchange}).problem),
                     int(FileProblem::Changed));
        } else {
            QVERIFY(replacement.begin(path, old.get(), {.unnamedFile = true, .exchange = exchange}).ok());
            QVERIFY(writeAt(replacement.file(), reinterpret_cast<const unsigned char *>("new"), 3, 0));
            QVERIFY(putOtherAtTheName());
            QCOMPARE(int(replacement.commit().problem), int(FileProblem::Changed));
        }
        QCOMPARE(readFile(path), QByteArray("other"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("moved.mp3"))), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // Only a regular file has a snapshot to check a save against.
    void noSnapshotOfWhatIsNoFile()
    {
        QTemporaryDir dir;
        const FileDescriptor folder(::open(native(dir.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        QVERIFY(!takeSnapshot(folder.get()).has_value());
        QVERIFY(::mkfifo(native(dir.filePath(QStringLiteral("fifo"))).constData(), 0600) == 0);
        const FileDescriptor fifo(::open(native(dir.filePath(QStringLiteral("fifo"))).constData(),
                                         O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        QVERIFY(!takeSnapshot(fifo.get()).has_value());
    }
};

QTEST_GUILESS_MAIN(TestFileReplacement)
#include "tst_FileReplacement.moc"
