// The names a folder holds that may be files: no subfolders, no hidden names,
// each with its exact bytes; of a large folder only so many entries.

#include "common/FileBytes.h"
#include "files/NativePath.h"
#include "system/PosixFolderReader.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class TestPosixFolderReader : public QObject
{
    Q_OBJECT

private slots:
    void namesOfFiles()
    {
        QTemporaryDir dir;
        const QByteArray cp932Name = "\x82\xA0.mp3";  // not UTF-8
        for (const QString &name : QStringList{"b.mp3", ".x.mp3", "曲.mp3"})
            QVERIFY(writeFile(dir.filePath(name), "audio"));
        const QByteArray cp932Path = QFile::encodeName(dir.path() + u'/') + cp932Name;
        const int fd = ::open(cp932Path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        // QTemporaryDir removes only the names it can decode.
        const auto removeCp932Name = qScopeGuard([&] { ::unlink(cp932Path.constData()); });
        QVERIFY(fd >= 0 && ::close(fd) == 0);
        QVERIFY(QDir(dir.path()).mkdir("sub") && QDir(dir.path()).mkdir(".hidden"));
        QVERIFY(QFile::link(dir.filePath("b.mp3"), dir.filePath("link.mp3")));
        // A FIFO is told by its entry type and never listed, so never opened.
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo.mp3")).constData(), 0644), 0);
        PosixFolderReader reader;

        std::optional<QStringList> names = reader.fileNames(dir.path());

        QVERIFY(names);
        names->sort();
        QCOMPARE(*names, (QStringList{"b.mp3", "link.mp3", "曲.mp3", pathText(cp932Name)}));
        QCOMPARE(reader.fileNames(dir.filePath("b.mp3")), std::nullopt);
        QCOMPARE(reader.fileNames(dir.filePath("missing")), std::nullopt);
        QCOMPARE(reader.fileNames(QString()), std::nullopt);
    }

    // Five files; a reader looks at so many entries of them.
    void entriesLookedAt_data()
    {
        QTest::addColumn<qsizetype>("maxEntries");
        QTest::addColumn<qsizetype>("names");
        QTest::newRow("fewer than the folder holds") << qsizetype(3) << qsizetype(3);
        QTest::newRow("as many") << qsizetype(5) << qsizetype(5);
        QTest::newRow("more") << qsizetype(6) << qsizetype(5);
    }
    void entriesLookedAt()
    {
        QFETCH(qsizetype, maxEntries);
        QFETCH(qsizetype, names);
        QTemporaryDir dir;
        const QStringList files{"1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"};
        for (const QString &name : files)
            QVERIFY(writeFile(dir.filePath(name), "audio"));
        const std::optional<QStringList> read = PosixFolderReader(maxEntries).fileNames(dir.path());
        QVERIFY(read);
        QCOMPARE(read->size(), names);
        for (const QString &name : *read)
            QVERIFY(files.contains(name));
    }

    // Hidden entries and subfolders are entries looked at too, so a folder
    // of millions of them costs no more than of files. Of ten of them and
    // ten files, the names are those among the first ten entries the system
    // lists.
    void hiddenEntriesAndFoldersCount()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 10; ++i) {
            QVERIFY(writeFile(dir.filePath(QStringLiteral("%1.mp3").arg(i)), "audio"));
            QVERIFY(i % 2 == 0 ? writeFile(dir.filePath(QStringLiteral(".%1.mp3").arg(i)), "audio")
                               : QDir(dir.path()).mkdir(QStringLiteral("sub%1").arg(i)));
        }
        QStringList expected;
        DIR *folder = ::opendir(QFile::encodeName(dir.path()).constData());
        QVERIFY(folder);
        for (int looked = 0; looked < 10;) {
            const dirent *entry = ::readdir(folder);
            QVERIFY(entry);
            const QString name = QFile::decodeName(entry->d_name);
            if (name == "." || name == "..")
                continue;
            ++looked;
            if (!name.startsWith(u'.') && name.endsWith(".mp3"))
                expected << name;
        }
        ::closedir(folder);

        std::optional<QStringList> names = PosixFolderReader(10).fileNames(dir.path());

        QVERIFY(names);
        names->sort();
        expected.sort();
        QCOMPARE(*names, expected);
    }
};

QTEST_GUILESS_MAIN(TestPosixFolderReader)
#include "tst_PosixFolderReader.moc"
