// The main window's side of the tag editor: opening it on the current row,
// loading rows into it with wrap-around, storing its values with the change
// mark, and enabling the main window again when it closes.

#include "common/Fakes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/list/FileList.h"

#include <QTest>

namespace {

// Row n of the list: "n.mp3", title "Title n", artist "Artist n", and so on;
// track n, genre 17 ("Rock").
FakeRow makeRow(int n)
{
    FakeRow row;
    const QString number = QString::number(n);
    row.cells[livFilename] = number + QStringLiteral(".mp3");
    row.cells[livTitle] = QStringLiteral("Title ") + number;
    row.cells[livGenre] = QStringLiteral("Rock");
    row.cells[livComment] = QStringLiteral("Comment ") + number;
    row.cells[livTrackNo] = number;
    row.cells[livAirtist] = QStringLiteral("Artist ") + number;
    row.cells[livAlbum] = QStringLiteral("Album ") + number;
    row.cells[livYear] = QStringLiteral("199") + number;
    row.cells[livFileNamewithPath] = QStringLiteral("/music/");
    row.cells[livGenreID] = QStringLiteral("17");
    return row;
}

}  // namespace

class TestEditorSession : public QObject
{
    Q_OBJECT

private:
    FakeWindowServices fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    void fill(int rows, int current)
    {
        fakes_.list.rows.clear();
        for (int n = 1; n <= rows; ++n)
            fakes_.list.rows.append(makeRow(n));
        fakes_.list.current = current;
    }

private slots:
    void init()
    {
        fakes_.editor = FakeTagEditor();
        fakes_.window.enabled = true;
        launcher_ = std::make_unique<frmID3Launcher>(fakes_.services());
        fakes_.editor.logic = launcher_.get();
    }

    void openingLoadsTheCurrentRowAndDisablesTheMainWindow()
    {
        fill(3, 2);
        launcher_->OpenTagEditor();

        QCOMPARE(fakes_.editor.calls, (QStringList{"open Kalvo[EDIT]", "show 2"}));
        QCOMPARE(fakes_.editor.values, (TagRecord{.Title = "Title 2", .Artist = "Artist 2", .Album = "Album 2",
                                                  .Year = "1992", .Comment = "Comment 2", .TrackNumber = 2,
                                                  .GenreID = 17}));
        QCOMPARE(fakes_.editor.fileName, QStringLiteral("2.mp3"));
        QCOMPARE(fakes_.editor.genres.size(), 148);
        QCOMPARE(fakes_.editor.genres.first(), QStringLiteral("Blues"));
        QCOMPARE(fakes_.editor.genres.at(17), QStringLiteral("Rock"));
        QCOMPARE(fakes_.editor.genres.last(), QStringLiteral("Synthpop"));
        QVERIFY(!fakes_.window.enabled);
        QCOMPARE(fakes_.list.column(livChanged), (QStringList{"", "", ""}));
    }

    void openingDoesNothingWithoutACurrentRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("current");
        QTest::newRow("empty list") << 0 << 0;
        QTest::newRow("rows but no current row") << 2 << 0;
    }
    void openingDoesNothingWithoutACurrentRow()
    {
        QFETCH(int, rows);
        QFETCH(int, current);
        fill(rows, current);
        launcher_->OpenTagEditor();
        QVERIFY(fakes_.editor.calls.isEmpty());
        QVERIFY(fakes_.editor.genres.isEmpty());
        QVERIFY(fakes_.window.enabled);
    }

    void movesWrapAroundAndLeaveTheCurrentRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("landsOn");
        QTest::newRow("down in the middle") << 3 << 2 << 1 << 3;
        QTest::newRow("up in the middle") << 3 << 2 << -1 << 1;
        QTest::newRow("down on the last row") << 3 << 3 << 1 << 1;
        QTest::newRow("up on the first row") << 3 << 1 << -1 << 3;
        QTest::newRow("down on a single row") << 1 << 1 << 1 << 1;
        QTest::newRow("up on a single row") << 1 << 1 << -1 << 1;
    }
    void movesWrapAroundAndLeaveTheCurrentRow()
    {
        QFETCH(int, rows);
        QFETCH(int, start);
        QFETCH(int, step);
        QFETCH(int, landsOn);
        fill(rows, start);
        launcher_->OpenTagEditor();
        fakes_.editor.calls.clear();

        fakes_.editor.move(step);

        QCOMPARE(fakes_.editor.readID, landsOn);
        QCOMPARE(fakes_.editor.calls.last(), QStringLiteral("show %1").arg(landsOn));
        QCOMPARE(fakes_.editor.fileName, QStringLiteral("%1.mp3").arg(landsOn));
        QCOMPARE(fakes_.editor.values.Title, QStringLiteral("Title %1").arg(landsOn));
        QCOMPARE(fakes_.list.current, start);
        // The stored row had no changes.
        QCOMPARE(fakes_.list.column(livChanged), QStringList(rows, QString()));
    }

    // After the session the list's current row is the last row the editor
    // showed; one selected row moves with it, several stay selected.
    void closingLeavesTheCurrentRowOnTheLastRowShown_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("selectedAfter");
        QTest::newRow("two rows down") << 2 << QList<int>{1, 1} << QList<int>{2} << 4 << QList<int>{4};
        QTest::newRow("up past the first row") << 1 << QList<int>{-1} << QList<int>{1} << 5 << QList<int>{5};
        QTest::newRow("no move") << 3 << QList<int>{} << QList<int>{3} << 3 << QList<int>{3};
        QTest::newRow("nothing selected") << 2 << QList<int>{1} << QList<int>{} << 3 << QList<int>{3};
        QTest::newRow("two selected stay") << 1 << QList<int>{1, 1} << QList<int>{1, 5} << 3 << QList<int>{1, 5};
    }
    void closingLeavesTheCurrentRowOnTheLastRowShown()
    {
        QFETCH(int, start);
        QFETCH(QList<int>, moves);
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QList<int>, selectedAfter);
        fill(5, start);
        for (int row : selected)
            fakes_.list.select({row});
        launcher_->OpenTagEditor();
        for (int step : moves)
            fakes_.editor.move(step);
        fakes_.editor.unload();

        QCOMPARE(fakes_.list.current, current);
        QList<int> selectedRows;
        for (int row = 1; row <= fakes_.list.count(); ++row) {
            if (fakes_.list.isSelected(row))
                selectedRows << row;
        }
        QCOMPARE(selectedRows, selectedAfter);
    }

    void closingStoresAndMarksOnlyWhatDiffers_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("genreName");
        QTest::newRow("nothing changed") << "" << "" << "" << "Rock";
        QTest::newRow("title case") << "title" << "title 1" << "*" << "Rock";
        QTest::newRow("comment") << "comment" << "Comment 1 " << "*" << "Rock";
        QTest::newRow("artist") << "artist" << "アーティスト" << "*" << "Rock";
        QTest::newRow("album") << "album" << "" << "*" << "Rock";
        QTest::newRow("year") << "year" << "2001" << "*" << "Rock";
        QTest::newRow("track") << "track" << "200" << "*" << "Rock";
        QTest::newRow("genre picked") << "genre" << "0" << "*" << "Blues";
        QTest::newRow("unnamed genre") << "genre" << "200" << "*" << "";
    }
    void closingStoresAndMarksOnlyWhatDiffers()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, mark);
        QFETCH(QString, genreName);
        fill(2, 1);
        launcher_->OpenTagEditor();
        FakeTagEditor &editor = fakes_.editor;
        TagRecord &values = editor.values;
        QMap<QString, QString *> texts{{"title", &values.Title},
                                        {"comment", &values.Comment},
                                        {"artist", &values.Artist},
                                        {"album", &values.Album},
                                        {"year", &values.Year}};
        FakeRow expected = makeRow(1);
        if (texts.contains(field))
            *texts[field] = value;
        if (field == "track")
            values.TrackNumber = static_cast<quint8>(value.toInt());
        if (field == "genre")
            values.GenreID = static_cast<quint8>(value.toInt());

        editor.unload();

        const auto &cells = fakes_.list.rows.at(0).cells;
        QCOMPARE(cells[livChanged], mark);
        QCOMPARE(FileList(fakes_.list).fields(1), values);
        QCOMPARE(cells[livGenre], genreName);
        QCOMPARE(cells[livFilename], expected.cells[livFilename]);
        QCOMPARE(cells[livFileNamewithPath], expected.cells[livFileNamewithPath]);
        QCOMPARE(fakes_.list.rows.at(1).cells, makeRow(2).cells);
        QVERIFY(fakes_.window.enabled);
    }

    // Cells are compared as numbers, so opening and closing a row marks nothing
    // and writes the numbers back plainly.
    void numbersCompareAsNumbers_data()
    {
        QTest::addColumn<QString>("trackCell");
        QTest::addColumn<QString>("genreCell");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QStringList>("stored");  // track, genre number, genre name
        QTest::newRow("leading zero and blank") << "01" << " 17" << "" << QStringList{"1", "17", "Rock"};
        QTest::newRow("unnamed genre left alone") << "1" << "255" << "" << QStringList{"1", "255", ""};
        QTest::newRow("already marked stays") << "1" << "17" << "*" << QStringList{"1", "17", "Rock"};
    }
    void numbersCompareAsNumbers()
    {
        QFETCH(QString, trackCell);
        QFETCH(QString, genreCell);
        QFETCH(QString, mark);
        QFETCH(QStringList, stored);
        fill(1, 1);
        auto &cells = fakes_.list.rows[0].cells;
        cells[livTrackNo] = trackCell;
        cells[livGenreID] = genreCell;
        cells[livChanged] = mark;
        launcher_->OpenTagEditor();
        fakes_.editor.unload();
        QCOMPARE(cells[livChanged], mark);
        QCOMPARE((QStringList{cells[livTrackNo], cells[livGenreID], cells[livGenre]}), stored);
    }

    void aStoreOutsideTheListIsIgnored_data()
    {
        QTest::addColumn<int>("keyID");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("past the last row") << 4;
    }
    void aStoreOutsideTheListIsIgnored()
    {
        QFETCH(int, keyID);
        fill(3, 1);
        launcher_->OpenTagEditor();
        fakes_.editor.values.Title = QStringLiteral("changed");
        launcher_->frmID3EditerWindow_SetID3(static_cast<qint16>(keyID));
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(fakes_.list.rows.at(n - 1).cells, makeRow(n).cells);
    }

    void aFailedCheckOnClosingStoresNothingButEnablesTheMainWindow()
    {
        fill(2, 2);
        launcher_->OpenTagEditor();
        fakes_.editor.values.Title = QStringLiteral("dropped");
        fakes_.editor.checkPasses = false;
        fakes_.editor.unload();
        QCOMPARE(fakes_.list.rows.at(1).cells, makeRow(2).cells);
        QVERIFY(fakes_.window.enabled);
    }

    void closingTheMainWindowUnloadsTheEditor()
    {
        fill(2, 1);
        launcher_->Form_Load();
        launcher_->OpenTagEditor();
        fakes_.editor.move(1);
        fakes_.editor.values.Year = QStringLiteral("2024");

        launcher_->Form_Unload();

        QVERIFY(!fakes_.editor.loaded);
        QCOMPARE(fakes_.list.column(livYear), (QStringList{"1991", "2024"}));
        QCOMPARE(fakes_.list.column(livChanged), (QStringList{"", "*"}));
        QVERIFY(fakes_.window.enabled);
    }

};

QTEST_GUILESS_MAIN(TestEditorSession)
#include "tst_EditorSession.moc"
