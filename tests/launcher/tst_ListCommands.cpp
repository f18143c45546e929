// The command of each key, the pop-up menu's enabling rules, and the About
// box.

#include "common/Fakes.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/window/ListCommands.h"
#include "services/ListInputCodes.h"

#include <QTest>

namespace {

using Item = ListMenuService::Item;

}  // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("item");  // -1: none
        using namespace ListInput;
        const int ctrl = CtrlDown, shift = ShiftDown, alt = AltDown;
        QTest::newRow("Delete") << int(KeyDelete) << 0 << int(Item::Delete);
        QTest::newRow("Shift+Delete") << int(KeyDelete) << shift << int(Item::Delete);
        QTest::newRow("R") << int(KeyR) << 0 << int(Item::Rename);
        QTest::newRow("Ctrl+R") << int(KeyR) << ctrl << int(Item::Rename);
        QTest::newRow("Enter") << int(KeyEnter) << 0 << int(Item::EditTag);
        QTest::newRow("Alt+E") << int(KeyE) << alt << int(Item::EditTag);
        QTest::newRow("S") << int(KeyS) << 0 << int(Item::SaveSelected);
        QTest::newRow("Shift+S") << int(KeyS) << shift << int(Item::SaveAll);
        QTest::newRow("Ctrl+S") << int(KeyS) << ctrl << int(Item::SaveSelected);
        QTest::newRow("Ctrl+Shift+S") << int(KeyS) << (shift | ctrl) << int(Item::SaveSelected);
        QTest::newRow("Alt+Shift+S") << int(KeyS) << (shift | alt) << int(Item::SaveSelected);
        QTest::newRow("L") << int(KeyL) << 0 << int(Item::Load);
        QTest::newRow("Ctrl+C") << int(KeyC) << ctrl << int(Item::Copyright);
        QTest::newRow("I") << int(KeyI) << 0 << int(Item::FillFromId3v2);
        QTest::newRow("N") << int(KeyN) << 0 << int(Item::FillFromFileNames);
        QTest::newRow("Ctrl+V") << int(KeyV) << ctrl << int(Item::PasteTitles);
        QTest::newRow("8") << int(Key8) << 0 << int(Item::ReadAsUtf8);
        QTest::newRow("J") << int(KeyJ) << 0 << int(Item::ReadAsEucJp);
        QTest::newRow("M") << int(KeyM) << 0 << int(Item::LookUpMusicBrainz);
        QTest::newRow("Ctrl+Z") << int(KeyZ) << ctrl << int(Item::Undo);
        QTest::newRow("Ctrl+Shift+Z") << int(KeyZ) << (ctrl | shift) << int(Item::Redo);
        QTest::newRow("Ctrl+Y") << int(KeyY) << ctrl << int(Item::Redo);
        QTest::newRow("Z") << int(KeyZ) << 0 << -1;
        QTest::newRow("Shift+Z") << int(KeyZ) << shift << -1;
        QTest::newRow("Y") << int(KeyY) << 0 << -1;
        QTest::newRow("A") << 65 << 0 << -1;
        QTest::newRow("Down") << 40 << 0 << -1;
    }
    void keys()
    {
        QFETCH(int, keyCode);
        QFETCH(int, shift);
        QFETCH(int, item);
        const ListCommand *command = listKeyCommand(keyCode, shift);
        QCOMPARE(command ? int(command->item) : -1, item);
    }

    void mousePressSetsTheMenuEnabling_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<bool>("rowItems");        // edit, save all
        QTest::addColumn<bool>("selectionItems");  // save selected, rename, delete, the fills
        QTest::newRow("empty list") << 0 << QList<int>{} << false << false;
        QTest::newRow("rows, none selected") << 3 << QList<int>{} << true << false;
        QTest::newRow("last row selected") << 3 << QList<int>{3} << true << true;
        QTest::newRow("several selected") << 3 << QList<int>{1, 2} << true << true;
    }
    void mousePressSetsTheMenuEnabling()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, selected);
        QFETCH(bool, rowItems);
        QFETCH(bool, selectionItems);
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());
        launcher.Form_Load();
        for (int row = 1; row <= rows; ++row) {
            fakes.list.addRow(QString::number(row));
            fakes.list.rows.last().selected = selected.contains(row);
        }
        const QList<Item> forSelection{Item::SaveSelected, Item::Rename, Item::Delete, Item::FillFromId3v2,
                                       Item::FillFromFileNames, Item::PasteTitles, Item::ReadAsUtf8, Item::ReadAsEucJp,
                                       Item::LookUpMusicBrainz};
        // Start from the opposite state so each item must be set.
        for (Item item : {Item::EditTag, Item::SaveAll})
            fakes.menu.enabled[item] = !rowItems;
        for (Item item : forSelection)
            fakes.menu.enabled[item] = !selectionItems;

        launcher.lvMP3List_MouseDown(ListInput::LeftButton, 0, 10, 20);
        QVERIFY(fakes.menu.popups.isEmpty());
        QCOMPARE(fakes.menu.enabled.value(Item::EditTag), rowItems);
        QCOMPARE(fakes.menu.enabled.value(Item::SaveAll), rowItems);
        for (Item item : forSelection)
            QCOMPARE(fakes.menu.enabled.value(item), selectionItems);
        // Load and About are never disabled.
        QVERIFY(!fakes.menu.enabled.contains(Item::Load));
        QVERIFY(!fakes.menu.enabled.contains(Item::Copyright));

        launcher.lvMP3List_MouseDown(ListInput::RightButton, 0, 10, 20);
        QCOMPARE(fakes.menu.popups, QList<QPoint>{QPoint(10, 20)});
        launcher.lvMP3List_MouseDown(ListInput::MiddleButton, 0, 10, 20);
        QCOMPARE(fakes.menu.popups.size(), 1);
    }

    void aboutItemAndBox()
    {
        FakeWindowServices fakes;
        frmID3Launcher launcher(fakes.services());
        QVERIFY(fakes.menu.captions.value(Item::Copyright).isEmpty());
        launcher.Form_Load();
        QCOMPARE(fakes.menu.captions.value(Item::Copyright), QStringLiteral("Kalvo について(&C) C"));

        launcher.Menu_LV_RightMenu_Copyright_Click();
        QCOMPARE(fakes.messages.shown.size(), 1);
        const ShownMessage &about = fakes.messages.shown.first();
        QCOMPARE(about.title, QStringLiteral("Kalvo [Copyright]"));
        QCOMPARE(about.text,
                 QStringLiteral("Kalvo  Version 1.0.1000\rCopyright (C) 2026 Kalvo Project [Kalvo Project]"));
        QCOMPARE(about.buttons, MessageBoxService::Buttons::Ok);
        QCOMPARE(about.icon, MessageBoxService::Icon::Information);
    }
};

QTEST_GUILESS_MAIN(TestListCommands)
#include "tst_ListCommands.moc"
