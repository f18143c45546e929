// Where the settings file lives: beside a program run from its own writable
// folder, in the user's settings folder when installed or not writable.

#include "Fakes.h"
#include "SettingsLocation.h"
#include "frmID3Launcher.h"

#include <QTest>

class TestSettingsLocation : public QObject
{
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("folder");
        // The installed bin folder is /usr/bin throughout.
        QTest::newRow("build folder") << "/home/u/kalvo/build" << true << "/x" << "/home/u" << "/home/u/kalvo/build";
        QTest::newRow("installed, root can write") << "/usr/bin" << true << "" << "/root" << "/root/.config/kalvo";
        QTest::newRow("installed, spelt with a slash") << "/usr/bin/" << true << "" << "/root"
                                                       << "/root/.config/kalvo";
        QTest::newRow("installed, XDG_CONFIG_HOME set") << "/usr/bin" << false << "/home/u/cfg" << "/home/u"
                                                        << "/home/u/cfg/kalvo";
        QTest::newRow("copy the user cannot write") << "/opt/kalvo" << false << "" << "/home/u"
                                                    << "/home/u/.config/kalvo";
        QTest::newRow("relative XDG_CONFIG_HOME ignored") << "/opt/kalvo" << false << "cfg" << "/home/u"
                                                          << "/home/u/.config/kalvo";
        QTest::newRow("no home at all") << "/opt/kalvo" << false << "" << "" << "/opt/kalvo";
    }
    void rule()
    {
        QFETCH(QString, program);
        QFETCH(bool, writable);
        QFETCH(QString, xdg);
        QFETCH(QString, home);
        QFETCH(QString, folder);
        QCOMPARE(settingsFolder({program, QStringLiteral("/usr/bin"), writable, xdg, home}), folder);
    }

    // The program folder stays AppPath; the settings file follows the window's
    // settings folder for both the read at start and the write at the end.
    void loadAndUnloadUseTheSettingsFolder()
    {
        FakeWindowServices fakes;
        fakes.window.folder = QStringLiteral("/usr/bin");
        fakes.window.configFolder = QStringLiteral("/root/.config/kalvo");
        frmID3Launcher launcher(fakes.services());

        launcher.Form_Load();
        launcher.Form_Unload();

        QCOMPARE(launcher.AppPath, QStringLiteral("/usr/bin/"));
        QCOMPARE(fakes.settings.calls,
                 (QStringList{"read /root/.config/kalvo/kiv.ini", "write /root/.config/kalvo/kiv.ini"}));
    }
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_SettingsLocation.moc"
