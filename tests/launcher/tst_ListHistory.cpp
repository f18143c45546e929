// The history's steps: how many are kept, which changes are steps, and what a
// new step does to those that could be redone.

#include "launcher/history/ListHistory.h"

#include <QTest>

namespace {

// A step that gives row 1 the title "after".
ListStep titled(const QString &after)
{
    ListStep step;
    step.before.append({.cells = {}, .info = {.identity = std::nullopt, .serial = 1}});
    step.after = step.before;
    step.after[0].cells[livTitle] = after;
    return step;
}

// The titles of the steps undone one after another, as far as they go.
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
        QTest::newRow("99") << 99;
        QTest::newRow("100") << 100;
        QTest::newRow("101: the first goes") << 101;
        QTest::newRow("250") << 250;
    }
    void keepsTheLast100Steps()
    {
        QFETCH(int, recorded);
        ListHistory history;
        for (int i = 1; i <= recorded; ++i)
            history.record(titled(QString::number(i)));
        const QStringList undone = undoAll(history);
        QCOMPARE(undone.size(), std::min(recorded, 100));
        QCOMPARE(undone.first(), QString::number(recorded));
        QCOMPARE(undone.last(), QString::number(std::max(1, recorded - 99)));
    }

    // A change of marks alone is no step; a file moved is one.
    void whatIsAStep_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<bool>("step");
        QTest::newRow("a cell") << "new" << "" << false << true;
        QTest::newRow("nothing") << "" << "" << false << false;
        QTest::newRow("only a change mark") << "" << "*" << false << false;
        QTest::newRow("a file moved, rows alike") << "" << "" << true << true;
    }
    void whatIsAStep()
    {
        QFETCH(QString, title);
        QFETCH(QString, mark);
        QFETCH(bool, moved);
        QFETCH(bool, step);
        ListStep made = titled(title);
        made.after[0].cells[livChanged] = mark;
        if (moved)
            made.moves.append({.serial = 1, .file = {}, .folder = "/m/", .oldName = "a.mp3", .newName = "b.mp3"});
        ListHistory history;
        history.record(made);
        QCOMPARE(history.canUndo(), step);
    }

    // Undone steps can be redone until a new step is recorded.
    void aNewStepDropsWhatCouldBeRedone()
    {
        ListHistory history;
        for (const char *title : {"1", "2", "3"})
            history.record(titled(QString::fromLatin1(title)));
        history.undo();
        history.undo();
        QCOMPARE(history.redo().after[0].cells[livTitle], QStringLiteral("2"));
        history.record(titled("4"));
        QVERIFY(!history.canRedo());
        QCOMPARE(undoAll(history), (QStringList{"4", "2", "1"}));
    }
};

QTEST_GUILESS_MAIN(TestListHistory)
#include "tst_ListHistory.moc"
