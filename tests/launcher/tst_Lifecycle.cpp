// Start-up and shut-down of the main window: the rename format box filled from
// the settings file and kept there.

#include "Fakes.h"
#include "frmID3Launcher.h"

#include <QTest>

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
        QCOMPARE(fakes.settings.calls, QStringList{"read " + file});
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

        QCOMPARE(fakes.settings.calls, (QStringList{"read /opt/kalvo/kiv.ini", "write /opt/kalvo/kiv.ini"}));
        QCOMPARE(fakes.settings.files["/opt/kalvo/kiv.ini"]["KIV/FILE_FORMAT"], format);
        QVERIFY(fakes.messages.shown.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_Lifecycle.moc"
