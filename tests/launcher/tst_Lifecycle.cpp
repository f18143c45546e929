// Start-up and shut-down of the main window: the rename format box filled from
// the settings file and kept there.

#include "common/Fakes.h"
#include "common/FileBytes.h"
#include "launcher/frmID3Launcher.h"
#include "system/PrivateProfileFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void loadRestoresTheFormatFromTheSettingsFile_data()
    {
        QTest::addColumn<QString>("folder");  // of the settings file
        QTest::addColumn<QString>("stored");  // null: no value in the file
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        const QString defaultFormat = QStringLiteral("(%K)[%A]%T_%D");
        QTest::newRow("first start") << "/opt/kalvo" << QString() << "/opt/kalvo/kiv.ini" << defaultFormat;
        QTest::newRow("stored format") << "/opt/kalvo" << "%N-%D" << "/opt/kalvo/kiv.ini" << "%N-%D";
        QTest::newRow("stored empty") << "/opt/kalvo" << "" << "/opt/kalvo/kiv.ini" << defaultFormat;
        QTest::newRow("folder ends in separator") << "/" << "%T" << "/kiv.ini" << "%T";
        QTest::newRow("japanese and spaces kept") << "/opt/カルボ" << " %D 曲 " << "/opt/カルボ/kiv.ini" << " %D 曲 ";
        QTest::newRow("cut at a zero character") << "/opt" << QStringLiteral("%D") + QChar(0) + "junk"
                                                 << "/opt/kiv.ini" << "%D";
    }
    void loadRestoresTheFormatFromTheSettingsFile()
    {
        QFETCH(QString, folder);
        QFETCH(QString, stored);
        QFETCH(QString, file);
        QFETCH(QString, shown);
        FakeWindowServices fakes;
        fakes.window.configFolder = folder;
        if (!stored.isNull())
            fakes.settings.files[file][QStringLiteral("KIV/FILE_FORMAT")] = stored;
        frmID3Launcher launcher(fakes.services());

        launcher.Form_Load();

        QCOMPARE(fakes.window.format, shown);
        QCOMPARE(fakes.window.toolTip,
                 QStringLiteral("%A:アルバム名 %K:歌手名 %D:曲名 %C:コメント %T:トラック番号 %J:ジャンル名 "
                                "%Y:製造年 %N:上からの連番"));
        // The format, then whether files keep their times.
        QCOMPARE(fakes.settings.calls, (QStringList{"read " + file, "read " + file}));
        QCOMPARE(fakes.list.count(), 0);
    }

    void unloadWritesTheFormatWhateverItIs_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("default") << "(%K)[%A]%T_%D";
        QTest::newRow("emptied by the user") << "";
        QTest::newRow("japanese") << "%N_曲_%D";
    }
    void unloadWritesTheFormatWhateverItIs()
    {
        QFETCH(QString, format);
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());
        launcher.Form_Load();
        fakes.list.addRow(QStringLiteral("unsaved.mp3"));
        fakes.list.setCell(1, livChanged, QStringLiteral("*"));
        fakes.window.format = format;

        launcher.Form_Unload();

        QCOMPARE(fakes.settings.calls,
                 (QStringList{"read /opt/kalvo/kiv.ini", "read /opt/kalvo/kiv.ini", "write /opt/kalvo/kiv.ini"}));
        QCOMPARE(fakes.settings.files["/opt/kalvo/kiv.ini"]["KIV/FILE_FORMAT"], format);
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // A settings file that is not followed or waited on (a symlink, a FIFO)
    // or cannot be written is left as it is, and the format that could not
    // be kept is reported once, at the end, with why and where.
    void aSettingsFileThatCannotBeWrittenIsReportedAtTheEnd_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        const QString notRegular = QStringLiteral("通常のファイルではない（シンボリックリンク、FIFO、フォルダーなど）ため");
        QTest::newRow("symlink to another file") << "symlink" << notRegular;
        QTest::newRow("FIFO") << "fifo" << notRegular;
        QTest::newRow("folder") << "folder" << notRegular;
        QTest::newRow("written as wanted") << "" << QString();
    }
    void aSettingsFileThatCannotBeWrittenIsReportedAtTheEnd()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString file = dir.filePath("kiv.ini");
        const QString other = dir.filePath("other.ini");
        QVERIFY(writeFile(other, "[KIV]\nFILE_FORMAT=theirs\n"));
        if (fault == "symlink")
            QVERIFY(QFile::link(other, file));
        else if (fault == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        else if (fault == "folder")
            QVERIFY(QDir(dir.path()).mkdir("kiv.ini"));
        FakeWindowServices fakes;
        PrivateProfileFile settings;
        fakes.window.configFolder = dir.path();
        frmID3Launcher launcher({fakes.list, fakes.messages, fakes.chooser, settings, fakes.window, fakes.mover,
                                 fakes.editor, fakes.menu, fakes.clipboard, fakes.folders, fakes.renamePreview,
                                 fakes.lookup});
        launcher.Form_Load();
        fakes.window.format = QStringLiteral("%N_%D");

        launcher.Form_Unload();

        QCOMPARE(readFile(other), QByteArray("[KIV]\nFILE_FORMAT=theirs\n"));
        if (reason.isNull()) {
            QVERIFY(fakes.messages.shown.isEmpty());
            QCOMPARE(readFile(file), QByteArray("[KIV]\nFILE_FORMAT=%N_%D\n"));
            return;
        }
        QCOMPARE(fakes.messages.shown.size(), 1);
        const ShownMessage &message = fakes.messages.shown.at(0);
        QCOMPARE(message.text, "次の設定ファイルは" + reason + "リネームフォーマットを保存しませんでした。\r" + file);
        QCOMPARE(message.title, QStringLiteral("Kalvo [書込みエラー]"));
        QCOMPARE(message.icon, MessageBoxService::Icon::Exclamation);
        QCOMPARE(QFileInfo(file).isSymLink(), fault == "symlink");
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_Lifecycle.moc"
