#include "common/FileBytes.h"
#include "common/ForkedCheck.h"
#include "common/ResourceBudget.h"
#include "system/PrivateProfileFile.h"
#include "text/Cp932.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum ChildResult { Ok, WrongRead, WrongWrite, NoPrivilegeDrop, NoLimit, OverBudget, Killed };
const char *const kChildTexts[] = {"ok", "reading gave another value", "writing gave another result",
                                   "could not drop to uid/gid 65534", "setrlimit failed", "over 1 s or 100 MB",
                                   "the child was killed: it blocked, or took memory without end"};

// Runs body in a forked child with 256 MB more address space than it starts
// with, so that a read waiting on a FIFO or running on through /dev/zero ends
// the child, not the suite.
ChildResult inChild(const std::function<ChildResult()> &body)
{
    const std::function<ChildResult()> limited = [&] {
        const auto pageCount = readFile("/proc/self/statm").split(' ').value(0).toULongLong();
        const rlim_t limit = pageCount * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (rlim_t{256} << 20);
        const rlimit memory{limit, limit};
        return ::setrlimit(RLIMIT_AS, &memory) == 0 ? body() : NoLimit;
    };
    return resultInChild(limited, Killed);
}

}  // namespace

// A settings file is read and written byte for byte as CP932; every other line
// of the file must survive a write unchanged.
class TestPrivateProfileFile : public QObject
{
    Q_OBJECT

    QString path() const { return m_dir->filePath(QStringLiteral("kiv.ini")); }
    void putFile(const QByteArray &bytes) const { QVERIFY(writeFile(path(), bytes)); }
    QByteArray readFile() const { return ::readFile(path()); }

    // Each entry of the folder with what it is and holds, to see that a failed
    // write changed nothing, links and their targets included.
    QStringList listing() const
    {
        QStringList entries;
        const auto filter = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        for (const QFileInfo &info : QDir(m_dir->path()).entryInfoList(filter, QDir::Name)) {
            QString what = QStringLiteral("special file");
            if (info.isSymLink())
                what = "link to " + info.symLinkTarget();
            else if (info.isDir())
                what = QStringLiteral("folder");
            else if (info.isFile())
                what = QCryptographicHash::hash(::readFile(info.filePath()), QCryptographicHash::Sha1).toHex();
            entries << info.fileName() + ": " + what;
        }
        return entries;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    PrivateProfileFile m_profile;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray a300(300, 'a');
        const QByteArray ku("\x8B\xC8");  // 曲
        QTest::newRow("plain") << QByteArray("[KIV]\nFILE_FORMAT=(%K)[%A]%T_%D\n") << "KIV" << "FILE_FORMAT"
                               << "(%K)[%A]%T_%D";
        QTest::newRow("cp932") << "[KIV]\nK=" + ku + "_%T\n" << "KIV" << "K" << QString::fromUtf8("曲_%T");
        QTest::newRow("blanks around everything") << QByteArray(" [ kiv\t]\n\t file_format \t=  v w \t\n") << "KIV"
                                                  << "FILE_FORMAT" << "v w";
        QTest::newRow("quotes removed") << QByteArray("[S]\nK= \" v \" \n") << "S" << "K" << " v ";
        QTest::newRow("text after first =") << QByteArray("[S]\nK=a=b\n") << "S" << "K" << "a=b";
        QTest::newRow("crlf") << QByteArray("[S]\r\nK=v\r\n") << "S" << "K" << "v";
        QTest::newRow("no final line ending") << QByteArray("[S]\nK=v") << "S" << "K" << "v";
        // A "\r\n" cut short: a line added after it would make it one.
        QTest::newRow("last line ending in CR") << QByteArray("[S]\nK=v\r") << "S" << "K" << "v";
        QTest::newRow("300 bytes cut to 255") << "[S]\nK=" + a300 + "\n" << "S" << "K" << QString(255, u'a');
        QTest::newRow("double-byte at 254..255 kept") << "[S]\nK=" + a300.first(253) + ku + "\n" << "S" << "K"
                                                      << QString(253, u'a') + QString::fromUtf8("曲");
        QTest::newRow("double-byte across 255 dropped") << "[S]\nK=" + a300.first(254) + ku + "\n" << "S" << "K"
                                                        << QString(254, u'a');
        QTest::newRow("first section and key win") << QByteArray("[S]\nK=1\nK=2\n[S]\nK=3\n") << "S" << "K" << "1";
        QTest::newRow("key of another section") << QByteArray("K=0\n[T]\nK=1\n[S]\nJ=2\n") << "S" << "K" << "";
        QTest::newRow("commented key") << QByteArray("[S]\n;K=1\n  ; K=2\n") << "S" << "K" << "";
        QTest::newRow("garbage lines") << QByteArray("[S]\nnonsense\n\n[broken\nK=v\n") << "S" << "K" << "v";
        QTest::newRow("missing section") << QByteArray("[T]\nK=v\n") << "S" << "K" << "";
        // 0x83 0x41 and 0x83 0x61 are two katakana; folding the second byte as an
        // ASCII letter would take one for the other.
        QTest::newRow("second byte is ]") << QByteArray("[\x83\x5D]\nK=v\n") << Cp932::decode("\x83\x5D") << "K" << "v";
        QTest::newRow("second byte not case-folded") << QByteArray("[S]\n\x83\x41=v\n") << "S"
                                                     << Cp932::decode("\x83\x61") << "";
    }

    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        putFile(file);
        QCOMPARE(m_profile.readString(section, key, path()), expected);
    }

    void write_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        // Every row writes key "FILE_FORMAT" in section "KIV".
        QTest::newRow("new file") << false << QByteArray() << QString::fromUtf8("曲")
                                  << QByteArray("[KIV]\nFILE_FORMAT=\x8B\xC8\n");
        QTest::newRow("empty file") << true << QByteArray() << "v" << QByteArray("[KIV]\nFILE_FORMAT=v\n");
        QTest::newRow("replace keeps the rest")
            << true << QByteArray("; settings\r\n\r\n[A]\r\nFILE_FORMAT=a\r\n[kiv]\r\n x=1\r\n File_Format = old \r\n"
                                  "y = 2 \r\n\r\n[B]\r\nz=\x8B\xC8\r\n")
            << "new"
            << QByteArray("; settings\r\n\r\n[A]\r\nFILE_FORMAT=a\r\n[kiv]\r\n x=1\r\nFile_Format=new\r\n"
                          "y = 2 \r\n\r\n[B]\r\nz=\x8B\xC8\r\n");
        QTest::newRow("replace only the first key") << true << QByteArray("[KIV]\nFILE_FORMAT=1\nFILE_FORMAT=2")
                                                    << "v" << QByteArray("[KIV]\nFILE_FORMAT=v\nFILE_FORMAT=2");
        QTest::newRow("key appended after the section's last key")
            << true << QByteArray("[KIV]\r\na=1\r\n; note\r\n\r\n[B]\r\nb=2\r\n") << "v"
            << QByteArray("[KIV]\r\na=1\r\nFILE_FORMAT=v\r\n; note\r\n\r\n[B]\r\nb=2\r\n");
        QTest::newRow("key appended to a section without keys") << true << QByteArray("[KIV]\n[B]\n") << "v"
                                                                << QByteArray("[KIV]\nFILE_FORMAT=v\n[B]\n");
        QTest::newRow("key appended to the last line") << true << QByteArray("[KIV]\r\na=1") << "v"
                                                       << QByteArray("[KIV]\r\na=1\r\nFILE_FORMAT=v\r\n");
        // A "\r\n" cut short is completed, so the line reads as before.
        QTest::newRow("key appended to a last line ending in CR") << true << QByteArray("[KIV]\r\na=1\r\r") << "v"
                                                                  << QByteArray("[KIV]\r\na=1\r\r\nFILE_FORMAT=v\r\n");
        QTest::newRow("section appended") << true << QByteArray("[B]\r\nFILE_FORMAT=1\r\n") << "v"
                                          << QByteArray("[B]\r\nFILE_FORMAT=1\r\n[KIV]\r\nFILE_FORMAT=v\r\n");
        QTest::newRow("section appended to the last line") << true << QByteArray(";x") << "v"
                                                           << QByteArray(";x\n[KIV]\nFILE_FORMAT=v\n");
        QTest::newRow("line breaks removed") << true << QByteArray("[KIV]\nFILE_FORMAT=1\n[B]\n") << "a\r\nb\rc\n"
                                             << QByteArray("[KIV]\nFILE_FORMAT=abc\n[B]\n");
        QTest::newRow("empty value") << true << QByteArray("[KIV]\nFILE_FORMAT=1\n") << ""
                                     << QByteArray("[KIV]\nFILE_FORMAT=\n");
        QTest::newRow("value as read, bytes that are no text") << true << QByteArray("[KIV]\nFILE_FORMAT=%D\xE9\xFD\n")
                                                               << Cp932::decode("%D\xE9\xFD")
                                                               << QByteArray("[KIV]\nFILE_FORMAT=%D\xE9\xFD\n");
        QTest::newRow("value as read, 髙 in the code Windows does not write")
            << true << QByteArray("[KIV]\r\nFILE_FORMAT = \"%D\xEE\xE0\" ") << QString::fromUtf8("%D髙")
            << QByteArray("[KIV]\r\nFILE_FORMAT = \"%D\xEE\xE0\" ");
    }

    void write()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (exists)
            putFile(before);
        QVERIFY(m_profile.writeString("KIV", "FILE_FORMAT", value, path()).ok());
        QCOMPARE(readFile(), after);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "(%K)[%A]%T_%D";
        QTest::newRow("japanese") << QString::fromUtf8("（%K）「%A」曲_%T");
        QTest::newRow("quoted") << "\"a\"";
        QTest::newRow("two quotes") << "\"\"";
        QTest::newRow("empty") << "";
        QTest::newRow("trailing blank") << "%D ";
    }

    void roundTrip()
    {
        QFETCH(QString, value);
        putFile("[KIV]\nFILE_FORMAT=old\n");
        QVERIFY(m_profile.writeString("kiv", "file_format", value, path()).ok());
        QCOMPARE(m_profile.readString("KIV", "FILE_FORMAT", path()), value);
    }

    // Settings files that are not plain files of a sane size, and writes that
    // cannot complete. Reading gives the empty value (so the default is used)
    // unless the file itself is sound; a failed write leaves the folder as it
    // was. Each row runs in a child (see inChild); "full disk" rows limit the
    // size of the files the child may write. "new" is as long as "old", so the
    // 1 MB file stays 1 MB and still reads after the write.
    void faults_data()
    {
        QTest::addColumn<QString>("read");
        QTest::addColumn<int>("problem");  // FileProblem; None: written
        const int none = int(FileProblem::None), notRegular = int(FileProblem::NotRegularFile),
                  denied = int(FileProblem::NoPermission), system = int(FileProblem::System);
        QTest::newRow("missing") << "" << none;
        QTest::newRow("full disk") << "old" << system;
        QTest::newRow("full disk after 8 bytes") << "old" << system;
        QTest::newRow("FIFO") << "" << notRegular;
        QTest::newRow("link to /dev/zero") << "" << notRegular;
        QTest::newRow("link to another file") << "" << notRegular;
        QTest::newRow("folder") << "" << notRegular;
        QTest::newRow("1 MB") << "old" << none;
        QTest::newRow("1 MB and 1 byte") << "" << system;
        QTest::newRow("unwritable folder") << "old" << denied;
        QTest::newRow("read-only file") << "old" << denied;
        // Root passes every access check: the mode says "do not change".
        QTest::newRow("read-only file, as root") << "old" << denied;
        QTest::newRow("another user's file") << "old" << denied;
    }

    void faults()
    {
        QFETCH(QString, read);
        QFETCH(int, problem);
        const bool written = problem == int(FileProblem::None);
        const QByteArray fault = QTest::currentDataTag();
        const QByteArray settings("[KIV]\nFILE_FORMAT=old\n");
        const QByteArray folder = QFile::encodeName(m_dir->path());
        const bool root = ::geteuid() == 0;
        if (fault == "read-only file, as root" && !root)
            QSKIP("only root passes the access check of a read-only file");
        if (fault == "FIFO") {
            QCOMPARE(::mkfifo(QFile::encodeName(path()).constData(), 0644), 0);
        } else if (fault == "link to /dev/zero") {
            QVERIFY(QFile::link("/dev/zero", path()));
        } else if (fault == "link to another file") {
            QVERIFY(writeFile(m_dir->filePath("other.ini"), settings));
            QVERIFY(QFile::link(m_dir->filePath("other.ini"), path()));
        } else if (fault == "folder") {
            QVERIFY(QDir(m_dir->path()).mkdir("kiv.ini"));
        } else if (fault.startsWith("1 MB")) {
            const qsizetype size = (1 << 20) + (fault == "1 MB and 1 byte" ? 1 : 0);
            putFile(settings + ';' + QByteArray(size - settings.size() - 2, 'x') + '\n');
        } else if (fault != "missing") {
            putFile(settings);
        }
        // Root writes any file and folder, so the child then drops to a user
        // who owns the file but not the folder, or the folder but not the
        // writable file (which the new file could not be given).
        const QByteArray file = QFile::encodeName(path());
        const bool dropsToNobody
            = root && (fault == "unwritable folder" || fault == "read-only file" || fault == "another user's file");
        if (fault == "another user's file" && !root)
            QSKIP("only root can give a file to another user");
        if (fault == "unwritable folder") {
            QCOMPARE(root ? ::chown(file.constData(), 65534, 65534) : 0, 0);
            QCOMPARE(::chmod(folder.constData(), root ? 0755 : 0555), 0);
        } else if (fault == "read-only file") {
            QCOMPARE(root ? ::chown(file.constData(), 65534, 65534) + ::chown(folder.constData(), 65534, 65534) : 0, 0);
            QCOMPARE(::chmod(file.constData(), 0444), 0);
        } else if (fault == "read-only file, as root") {
            QCOMPARE(::chmod(file.constData(), 0444), 0);
        } else if (fault == "another user's file") {
            QCOMPARE(::chmod(file.constData(), 0666) + ::chmod(folder.constData(), 0777), 0);
        }
        const QStringList before = listing();

        const ChildResult result = inChild([&] {
            if (dropsToNobody && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return NoPrivilegeDrop;
            if (fault.startsWith("full disk")) {
                ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
                const rlim_t room = fault == "full disk" ? 0 : 8;
                const rlimit size{room, room};
                if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
                    return NoLimit;
            }
            if (m_profile.readString("KIV", "FILE_FORMAT", path()) != read)
                return WrongRead;
            return int(m_profile.writeString("KIV", "FILE_FORMAT", "new", path()).problem) == problem ? Ok : WrongWrite;
        });
        QCOMPARE(::chmod(folder.constData(), 0700), 0);
        QVERIFY2(result == Ok, kChildTexts[result]);
        if (written)
            QCOMPARE(m_profile.readString("KIV", "FILE_FORMAT", path()), QStringLiteral("new"));
        else
            QCOMPARE(listing(), before);
    }

    // A settings file as large as it may be, of as many lines as it can hold,
    // is read and written each within 1 s and 100 MB (in a child).
    void largestFilesInBudget_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("read");
        QTest::newRow("empty lines") << QByteArray("\n") << "";
        QTest::newRow("keys") << QByteArray("a=b\n") << "old";
        QTest::newRow("sections") << QByteArray("[x]\n") << "";
    }
    void largestFilesInBudget()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, read);
        const QByteArray head("[KIV]\nFILE_FORMAT=old\n");
        const QByteArray settings = line == "a=b\n" ? head : QByteArray();
        putFile(settings + line.repeated(((1 << 20) - settings.size()) / line.size()));
        const ChildResult result = inChild([&] {
            QString value;
            if (!spentBy("read", [&] { value = m_profile.readString("KIV", "FILE_FORMAT", path()); }).withinBudget())
                return OverBudget;
            if (value != read)
                return WrongRead;
            bool written = false;
            if (!spentBy("write", [&] { written = m_profile.writeString("KIV", "FILE_FORMAT", "new", path()).ok(); })
                     .withinBudget())
                return OverBudget;
            return written ? Ok : WrongWrite;
        });
        QVERIFY2(result == Ok, kChildTexts[result]);
    }

    // The new file is complete and synced before it takes the old one's
    // place; a failed sync leaves the old file. A value the file holds
    // already leaves the file as it is, with nothing synced.
    void syncsTheNewFileBeforeItReplacesTheOld_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("syncs");
        QTest::addColumn<QStringList>("seen");  // at each sync: "synced file|settings file"
        const QString both = QStringLiteral("[KIV]\nFILE_FORMAT=new\n|[KIV]\nFILE_FORMAT=old\n");
        QTest::newRow("synced") << "new" << true << QStringList{both};
        QTest::newRow("sync fails") << "new" << false << QStringList{both};
        QTest::newRow("value held already") << "old" << true << QStringList{};
    }
    void syncsTheNewFileBeforeItReplacesTheOld()
    {
        QFETCH(QString, value);
        QFETCH(bool, syncs);
        QFETCH(QStringList, seen);
        putFile("[KIV]\nFILE_FORMAT=old\n");
        const QStringList before = listing();
        struct stat old {};
        QCOMPARE(::stat(QFile::encodeName(path()).constData(), &old), 0);
        QStringList synced;
        PrivateProfileFile profile([&](int fd) {
            synced << ::readFile(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd))) + u'|' + readFile();
            return syncs;
        });

        QCOMPARE(profile.writeString("KIV", "FILE_FORMAT", value, path()).ok(), syncs);

        QCOMPARE(synced, seen);
        struct stat now {};
        QCOMPARE(::stat(QFile::encodeName(path()).constData(), &now), 0);
        QCOMPARE(now.st_ino == old.st_ino, !syncs || seen.isEmpty());
        if (!syncs)
            QCOMPARE(listing(), before);
    }

    // A user's settings folder does not exist before the first write; the
    // new file gets the usual 0666 less the umask.
    void writeCreatesMissingFolders()
    {
        const QString file = m_dir->filePath("config/kalvo/kiv.ini");
        const mode_t oldMask = ::umask(022);
        const bool written = m_profile.writeString("KIV", "FILE_FORMAT", "new", file).ok();
        ::umask(oldMask);
        QVERIFY(written);
        QCOMPARE(::readFile(file), QByteArray("[KIV]\nFILE_FORMAT=new\n"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t{0644});
    }

    // As root, the file is another user's, as when root quits Kalvo run on
    // that user's settings.
    void keepsOwnerAndPermissions()
    {
        putFile("[KIV]\nFILE_FORMAT=old\n");
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path(), permissions));
        const QByteArray file = QFile::encodeName(path());
        const bool root = ::geteuid() == 0;
        QCOMPARE(root ? ::chown(file.constData(), 65534, 65534) : 0, 0);
        struct stat before {};
        QCOMPARE(::stat(file.constData(), &before), 0);
        QVERIFY(m_profile.writeString("KIV", "FILE_FORMAT", "new", path()).ok());
        QCOMPARE(QFile::permissions(path()) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), permissions);
        struct stat after {};
        QCOMPARE(::stat(file.constData(), &after), 0);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
    }
};

QTEST_GUILESS_MAIN(TestPrivateProfileFile)
#include "tst_PrivateProfileFile.moc"
