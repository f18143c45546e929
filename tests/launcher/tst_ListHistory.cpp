// The history's steps: how many are kept, which changes are steps, and what a
// new step does to those that could be redone.

#include "ListHistory.h"

#include <QTest>

namespace {

// A step that gives row 1 the title, as one row before and after.
ListStep titled(const QString &before, const QString &after)
{
    ListStep step;
    step.before.append({.cells = {}, .info = {.identity = std::nullopt, .serial = 1}});
    step.after = step.before;
    step.before[0].cells[livTitle] = before;
    step.after[0].cells[livTitle] = after;
    return step;
}

// How many steps can be undone one after another, each undone step's title.
QStringList undoAll(ListHistory &history)
{
    QStringList titles;
    while (history.canUndo())
        titles << history.undo().after[0].cells[livTitle];
    return titles;
}

}  // namespace

class TestListHistory : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheLast100Steps_data()
    {
        QTest::addColumn<int>("recorded");
        QTest::addColumn<int>("kept");
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("99") << 99 << 99;
        QTest::newRow("100") << 100 << 100;
        QTest::newRow("101: the first goes") << 101 << 100;
        QTest::newRow("250") << 250 << 100;
    }
    void keepsTheLast100Steps()
    {
        QFETCH(int, recorded);
        QFETCH(int, kept);
        ListHistory history;
        for (int i = 1; i <= recorded; ++i)
            history.record(titled(QString::number(i - 1), QString::number(i)));
        const QStringList undone = undoAll(history);
        QCOMPARE(undone.size(), kept);
        QCOMPARE(undone.first(), QString::number(recorded));
        QCOMPARE(undone.last(), QString::number(recorded - kept + 1));
        QVERIFY(history.canRedo());
    }

    void whatIsAStep_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("step");
        QTest::newRow("a cell") << "cell" << true;
        QTest::newRow("nothing") << "nothing" << false;
        QTest::newRow("only a change mark") << "mark" << false;
        QTest::newRow("a row removed") << "row" << true;
        QTest::newRow("a file moved, rows alike") << "move" << true;
    }
    void whatIsAStep()
    {
        QFETCH(QString, change);
        QFETCH(bool, step);
        ListStep made = titled("a", change == "cell" ? "b" : "a");
        if (change == "mark")
            made.after[0].cells[livChanged] = QString::fromUtf16(kChangeMark);
        if (change == "row")
            made.after.clear();
        if (change == "move")
            made.moves.append({.serial = 1, .folder = "/m/", .oldName = "a.mp3", .newName = "b.mp3"});
        ListHistory history;
        history.record(made);
        QCOMPARE(history.canUndo(), step);
    }

    // Undone steps can be redone until a new step is recorded.
    void aNewStepDropsWhatCouldBeRedone()
    {
        ListHistory history;
        for (const char *title : {"1", "2", "3"})
            history.record(titled("0", QString::fromLatin1(title)));
        QCOMPARE(history.undo().after[0].cells[livTitle], QStringLiteral("3"));
        QCOMPARE(history.undo().after[0].cells[livTitle], QStringLiteral("2"));
        QCOMPARE(history.redo().after[0].cells[livTitle], QStringLiteral("2"));
        history.record(titled("0", "4"));
        QVERIFY(!history.canRedo());
        QCOMPARE(undoAll(history), (QStringList{"4", "2", "1"}));
    }
};

QTEST_GUILESS_MAIN(TestListHistory)
#include "tst_ListHistory.moc"
