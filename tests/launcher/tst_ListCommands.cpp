// The list's keys, mouse presses, double-click and pop-up menu reach their
// commands, with the menu's enabling rules, and the About box.

#include "Fakes.h"
#include "ListInputCodes.h"
#include "frmID3Launcher.h"

#include <QTest>

namespace {

using Item = ListMenuService::Item;

// Which command a key or click ran, told apart by what each leaves behind.
QString commandRun(FakeWindowServices &fakes, int rowsBefore, int chooserCallsBefore)
{
    if (fakes.list.count() < rowsBefore)
        return QStringLiteral("delete");
    if (fakes.editor.loaded)
        return QStringLiteral("edit");
    if (fakes.chooser.calls > chooserCallsBefore)
        return QStringLiteral("load");
    if (fakes.messages.shown.isEmpty())
        return QStringLiteral("nothing");
    const ShownMessage &last = fakes.messages.shown.last();
    if (last.title.endsWith(QStringLiteral("[Copyright]")))
        return QStringLiteral("about");
    if (last.title.endsWith(QStringLiteral("[フォーマットーエラー]")))
        return QStringLiteral("rename");
    if (last.title.endsWith(QStringLiteral("[保存エラー]")))
        return QStringLiteral("save %1").arg(fakes.messages.shown.size());
    return QStringLiteral("unexpected: ") + last.title;
}

// Three rows for files that do not exist, so every save of a row reports it;
// row 2 selected, row 3 current. The format is refused, so a rename stops at
// its format message.
void threeRows(FakeWindowServices &fakes)
{
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3"}) {
        fakes.list.addRow(QString::fromLatin1(name));
        fakes.list.setCell(fakes.list.count(), livFileNamewithPath, QStringLiteral("/nonexistent/"));
    }
    fakes.list.select({2});
    fakes.list.current = 3;
    fakes.window.format = QStringLiteral("%D:%T");
}

// The logic after start-up, with the three rows above.
struct LoadedWithThreeRows {
    FakeWindowServices fakes;
    frmID3Launcher launcher{fakes.services()};

    LoadedWithThreeRows()
    {
        fakes.editor.logic = &launcher;
        launcher.Form_Load();
        threeRows(fakes);
    }
};

}  // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private slots:
    void keysRunTheirCommands_data()
    {
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QString>("command");
        using namespace ListInput;
        QTest::newRow("Delete") << int(KeyDelete) << 0 << "delete";
        QTest::newRow("Shift+Delete") << int(KeyDelete) << int(ShiftDown) << "delete";
        QTest::newRow("R") << int(KeyR) << 0 << "rename";
        QTest::newRow("Ctrl+R") << int(KeyR) << int(CtrlDown) << "rename";
        QTest::newRow("Enter") << int(KeyEnter) << 0 << "edit";
        QTest::newRow("E") << int(KeyE) << 0 << "edit";
        QTest::newRow("Alt+E") << int(KeyE) << int(AltDown) << "edit";
        QTest::newRow("S saves the selected row") << int(KeyS) << 0 << "save 1";
        QTest::newRow("Shift+S saves all rows") << int(KeyS) << int(ShiftDown) << "save 3";
        QTest::newRow("Ctrl+S saves the selected row") << int(KeyS) << int(CtrlDown) << "save 1";
        QTest::newRow("Ctrl+Shift+S saves the selected row") << int(KeyS) << (ShiftDown | CtrlDown) << "save 1";
        QTest::newRow("Alt+Shift+S saves the selected row") << int(KeyS) << (ShiftDown | AltDown) << "save 1";
        QTest::newRow("L") << int(KeyL) << 0 << "load";
        QTest::newRow("C") << int(KeyC) << 0 << "about";
        QTest::newRow("Ctrl+C") << int(KeyC) << int(CtrlDown) << "about";
        QTest::newRow("A") << 65 << 0 << "nothing";
        QTest::newRow("Down") << 40 << 0 << "nothing";
    }
    void keysRunTheirCommands()
    {
        QFETCH(int, keyCode);
        QFETCH(int, shift);
        QFETCH(QString, command);
        LoadedWithThreeRows loaded;
        FakeWindowServices &fakes = loaded.fakes;
        frmID3Launcher &launcher = loaded.launcher;

        launcher.lvMP3List_KeyDown(keyCode, shift);

        QCOMPARE(commandRun(fakes, 3, 0), command);
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
                                       Item::FillFromFileNames, Item::PasteTitles, Item::ReadAsUtf8, Item::ReadAsEucJp};
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
