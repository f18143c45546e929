// Where kiv.ini lives: beside a program run from its own writable folder, in
// the user's settings folder when installed or not writable.

#include "system/SettingsLocation.h"

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
        QTest::newRow("build folder") << "/home/u/build" << true << "/x" << "/home/u" << "/home/u/build";
        QTest::newRow("installed, root can write") << "/usr/bin" << true << "" << "/root" << "/root/.config/kalvo";
        QTest::newRow("installed with a slash, XDG set") << "/usr/bin/" << true << "/root/c" << "/root"
                                                         << "/root/c/kalvo";
        QTest::newRow("copy not writable") << "/opt/kalvo" << false << "" << "/home/u" << "/home/u/.config/kalvo";
        QTest::newRow("relative XDG ignored") << "/opt/kalvo" << false << "c" << "/home/u" << "/home/u/.config/kalvo";
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
};

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_SettingsLocation.moc"
