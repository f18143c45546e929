// Header clicks that number or fill whole columns.

#include "common/Fakes.h"
#include "launcher/frmID3Launcher.h"
#include "tagfiles/classID3_V11.h"

#include <QTest>

namespace {

using Answer = MessageBoxService::Answer;

// Rows whose cells tell row and column apart: "r<row>c<column>", with the
// genre number and name kept consistent.
void fillRows(FakeListView &list, int count)
{
    for (int row = 1; row <= count; ++row) {
        list.addRow(QStringLiteral("r%1c0").arg(row));
        for (int column = 1; column < kFileRowColumnCount; ++column)
            list.setCell(row, column, QStringLiteral("r%1c%2").arg(row).arg(column));
        list.setCell(row, livChanged, QString());
        list.setCell(row, livGenreID, QString::number(row));
        list.setCell(row, livGenre, classID3_V11::GetGenreString(static_cast<qint16>(row)));
    }
}

QList<std::array<QString, kFileRowColumnCount>> cellsOf(const FakeListView &list)
{
    QList<std::array<QString, kFileRowColumnCount>> cells;
    for (const FakeRow &row : list.rows)
        cells << row.cells;
    return cells;
}

}  // namespace

class TestColumnCommands : public QObject
{
    Q_OBJECT

private slots:
    void headerClickOnAnEmptyListDoesNothing()
    {
        for (int column = 0; column < kFileRowColumnCount; ++column) {
            FakeWindowServices fakes;
            frmID3Launcher launcher(fakes.services());
            launcher.lvMP3List_ColumnClick(column);
            QVERIFY(fakes.messages.shown.isEmpty());
        }
    }

    void headerClick_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("question");  // empty: no question, nothing changes
        QTest::addColumn<QString>("title");
        const QString number = QStringLiteral("Kalvo[連番確認]");
        const QString unify = QStringLiteral("Kalvo[統一変更確認]");
        for (int rows : {1, 12}) {
            const QByteArray n = QByteArray::number(rows);
            QTest::newRow("file name, " + n) << 0 << rows << QString() << QString();
            QTest::newRow("change mark, " + n) << 1 << rows << QString() << QString();
            QTest::newRow("title, " + n) << 2 << rows << "一番上の曲名名[r1c2]で統一しますか？" << unify;
            QTest::newRow("genre, " + n) << 3 << rows << "一番上のジャンル名[Classic Rock]で統一しますか？" << unify;
            QTest::newRow("comment, " + n) << 4 << rows << "一番上のコメント名[r1c4]で統一しますか？" << unify;
            QTest::newRow("track, " + n) << 5 << rows << "上から連番を付けますか？" << number;
            QTest::newRow("artist, " + n) << 6 << rows << "一番上のアーティスト名[r1c6]で統一しますか？" << unify;
            QTest::newRow("album, " + n) << 7 << rows << "一番上のアルバム名[r1c7]で統一しますか？" << unify;
            QTest::newRow("year, " + n) << 8 << rows << "一番上の製作年名[r1c8]で統一しますか？" << unify;
            QTest::newRow("folder (hidden), " + n) << 9 << rows << QString() << QString();
            QTest::newRow("genre number (hidden), " + n) << 10 << rows << QString() << QString();
        }
    }
    void headerClick()
    {
        QFETCH(int, column);
        QFETCH(int, rows);
        QFETCH(QString, question);
        QFETCH(QString, title);

        // Answered No: the question, and nothing changes.
        FakeWindowServices fakes;
        fillRows(fakes.list, rows);
        const auto before = cellsOf(fakes.list);
        frmID3Launcher launcher(fakes.services());
        fakes.messages.answers = {Answer::No};
        launcher.lvMP3List_ColumnClick(column);
        QVERIFY(cellsOf(fakes.list) == before);
        if (question.isEmpty()) {
            QVERIFY(fakes.messages.shown.isEmpty());
            return;
        }
        QCOMPARE(fakes.messages.shown.size(), 1);
        const ShownMessage &shown = fakes.messages.shown.first();
        QCOMPARE(shown.text, question);
        QCOMPARE(shown.title, title);
        QCOMPARE(shown.buttons, MessageBoxService::Buttons::YesNo);
        QCOMPARE(shown.icon, MessageBoxService::Icon::Question);

        // Answered Yes.
        fakes.messages.answers = {Answer::Yes};
        launcher.lvMP3List_ColumnClick(column);
        for (int row = 1; row <= rows; ++row) {
            const auto &cells = fakes.list.rows.at(row - 1).cells;
            if (column == livTrackNo) {
                QCOMPARE(cells[livTrackNo], QString::number(row));
                QCOMPARE(cells[livChanged], QStringLiteral("*"));
                continue;
            }
            // Unification: the top row stays as it was and unmarked.
            const auto c = static_cast<std::size_t>(column);
            const auto &top = before.at(0);
            const auto &old = before.at(row - 1);
            QCOMPARE(cells[c], row == 1 ? old[c] : top[c]);
            QCOMPARE(cells[livChanged], row == 1 ? QString() : QStringLiteral("*"));
            QCOMPARE(cells[livGenreID], column == livGenre ? top[livGenreID] : old[livGenreID]);
            for (std::size_t other = 0; other < cells.size(); ++other) {
                if (other != c && other != livChanged && other != livGenreID)
                    QCOMPARE(cells[other], old[other]);
            }
        }
    }

    void unifyingAnEmptyTopCellEmptiesTheColumn()
    {
        FakeWindowServices fakes;
        fillRows(fakes.list, 3);
        fakes.list.setCell(1, livAlbum, QString());
        frmID3Launcher launcher(fakes.services());
        launcher.lvMP3List_ColumnClick(livAlbum);
        QCOMPARE(fakes.messages.shown.first().text, QStringLiteral("一番上のアルバム名[]で統一しますか？"));
        QCOMPARE(fakes.list.column(livAlbum), (QStringList{"", "", ""}));
    }
};

QTEST_GUILESS_MAIN(TestColumnCommands)
#include "tst_ColumnCommands.moc"
