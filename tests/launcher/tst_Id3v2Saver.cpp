// W on the list: the one question of a session, the report of the files not
// written and why, the change marks, the ID3v2 mark as it follows loading,
// I, undo and W, and the rows following the files W writes anew.

#include "common/Fakes.h"
#include "common/Id3v2Bytes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "launcher/list/FileList.h"
#include "services/ListInputCodes.h"
#include "tagfiles/Id3v2File.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString kQuestion = QStringLiteral("選択したファイルのID3v2タグを書き換えます。よろしいですか？");

const TagRecord kOld{.Title = "Old", .Artist = "Band", .GenreID = 17};

// A file whose ID3v1 block holds kOld and whose ID3v2 tag says "Dawn" by
// Band, Rock.
bool writeSong(const QString &path)
{
    const QByteArray tag = id3v2Tag(3, frame23("TIT2", textData("Dawn")) + frame23("TPE1", textData("Band"))
                                           + frame23("TCON", textData("(17)")));
    return writeFile(path, tag + mpegFrameFile()) && [&] {
        classID3_V11 codec;
        putTagFields(codec, kOld);
        return codec.SaveMp3File(path);
    }();
}

}  // namespace

class TestId3v2Saver : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<FakeWindowServices> fakes_;
    std::unique_ptr<frmID3Launcher> launcher_;

    QString path(const QString &name) const { return dir_->filePath(name); }
    void key(int code, int shift = 0) { launcher_->lvMP3List_KeyDown(code, shift); }
    int questions() const
    {
        return static_cast<int>(std::count_if(fakes_->messages.shown.begin(), fakes_->messages.shown.end(),
                                              [](const ShownMessage &m) { return m.text == kQuestion; }));
    }
    QString lastReport() const
    {
        return fakes_->messages.shown.isEmpty() ? QString() : fakes_->messages.shown.last().text;
    }
    // Loads the files named, every row selected.
    void load(const QStringList &names)
    {
        for (const QString &name : names) {
            QVERIFY(writeSong(path(name)));
            launcher_->AddMp3File(path(name));
        }
        for (FakeRow &row : fakes_->list.rows)
            row.selected = true;
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        fakes_ = std::make_unique<FakeWindowServices>();
        launcher_ = std::make_unique<frmID3Launcher>(fakes_->services());
        fakes_->editor.logic = launcher_.get();
    }
    void cleanup()
    {
        launcher_.reset();
        fakes_.reset();
        dir_.reset();
    }

    // Asked before the first W that is answered yes; a no writes nothing.
    void asksOnceASession()
    {
        load({"a.mp3"});
        const QByteArray before = readFile(path("a.mp3"));
        fakes_->messages.answers = {MessageBoxService::Answer::No};
        key(ListInput::KeyW);
        QCOMPARE(questions(), 1);
        QCOMPARE(readFile(path("a.mp3")), before);
        key(ListInput::KeyW);
        QCOMPARE(questions(), 2);
        QCOMPARE(readMp3Tag(path("a.mp3")), kOld);
        QVERIFY(readFile(path("a.mp3")) != before);
        key(ListInput::KeyW);
        QCOMPARE(questions(), 2);
    }

    // Every file that can be is written; one report names the others, in
    // row order, with why.
    void reportsFilesNotWritten()
    {
        load({"a.mp3", "b.mp3", "c.mp3", "d.mp3"});
        for (int row = 1; row <= 4; ++row) {
            fakes_->list.setCell(row, livTitle, "New");
            fakes_->list.setCell(row, livChanged, "*");
        }
        QCOMPARE(::link(QFile::encodeName(path("b.mp3")).constData(), QFile::encodeName(path("b2.mp3")).constData()), 0);
        QVERIFY(QFile::remove(path("c.mp3")));
        key(ListInput::KeyW);
        QCOMPARE(lastReport(), QStringLiteral("次のファイルはハードリンクで別の名前もあるため保存しませんでした。\rb.mp3\r"
                                              "次のファイルは見つからないため保存できませんでした。\rc.mp3"));
        QCOMPARE(fakes_->messages.shown.last().title, QStringLiteral("Kalvo [保存エラー]"));
        QCOMPARE(readMp3Tag(path("a.mp3")).Title, QStringLiteral("New"));
        QCOMPARE(readMp3Tag(path("d.mp3")).Title, QStringLiteral("New"));
        QCOMPARE(readMp3Tag(path("b.mp3")).Title, QStringLiteral("Old"));
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"", "*2", "*2", ""}));
    }

    // The ID3v2 mark follows the row's fields against what the file's tag
    // gave when last read; undo and redo move it, W is no step.
    void markFollowsTheRow()
    {
        load({"a.mp3"});
        QVERIFY(writeFile(path("plain.mp3"), mpegFrameFile()));
        launcher_->AddMp3File(path("plain.mp3"));
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"2", ""}));
        key(ListInput::KeyI);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"*", ""}));
        key(ListInput::KeyZ, ListInput::CtrlDown);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"2", ""}));
        key(ListInput::KeyY, ListInput::CtrlDown);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"*", ""}));
        key(ListInput::KeyW);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"", ""}));
        QCOMPARE(readMp3Tag(path("a.mp3")).Title, QStringLiteral("Dawn"));
        // The fill is still the last step; the file now holds its values.
        key(ListInput::KeyZ, ListInput::CtrlDown);
        QCOMPARE(fakes_->list.column(livChanged), QStringList({"*2", ""}));
    }

    // A file with an ID3v2 tag and no ID3v1 block loads as a blank row that
    // stands for nothing: no mark, and W (also after S) writes only what
    // was changed, keeping the tag's other fields and its genre.
    void fileWithoutBlockKeepsItsTag()
    {
        const QByteArray tag = id3v2Tag(3, frame23("TPE1", textData("Band")) + frame23("TIT2", textData("Dawn"))
                                               + frame23("TALB", textData("Best")) + frame23("TRCK", textData("4"))
                                               + frame23("TYER", textData("1998")) + frame23("TCON", textData("Rock")));
        QVERIFY(writeFile(path("a.mp3"), tag + mpegFrameFile()));
        launcher_->AddMp3File(path("a.mp3"));
        fakes_->list.rows[0].selected = true;
        QCOMPARE(fakes_->list.column(livChanged), QStringList{""});
        fakes_->list.setCell(1, livTitle, "Night");
        fakes_->list.setCell(1, livChanged, "*");
        key(ListInput::KeyS);
        key(ListInput::KeyW);
        QCOMPARE(fakes_->list.column(livChanged), QStringList{""});
        QCOMPARE(id3v2Reading(readId3v2Text(path("a.mp3"))),
                 "read title=Night artist=Band album=Best year=1998 track=4 genre=17");
    }

    // A file written anew is the row's file from then on: a save writes it,
    // also after the row went and came back with undo and redo.
    void rowsFollowTheNewFile()
    {
        launcher_->lvMP3List_OLEDragDrop({path("a.mp3")});
        QCOMPARE(fakes_->list.count(), 0);
        QVERIFY(writeSong(path("a.mp3")));
        launcher_->lvMP3List_OLEDragDrop({path("a.mp3")});
        fakes_->list.rows[0].selected = true;
        fakes_->list.setCell(1, livTitle, "Night");
        const std::optional<FileIdentity> loaded = fileIdentity(path("a.mp3"));
        key(ListInput::KeyW);
        QVERIFY(fileIdentity(path("a.mp3")) != loaded);
        QCOMPARE(FileList(fakes_->list).info(1).identity, fileIdentity(path("a.mp3")));

        key(ListInput::KeyZ, ListInput::CtrlDown);
        QCOMPARE(fakes_->list.count(), 0);
        key(ListInput::KeyY, ListInput::CtrlDown);
        QCOMPARE(fakes_->list.count(), 1);
        fakes_->list.rows[0].selected = true;
        fakes_->list.setCell(1, livTitle, "Noon");
        const int shown = static_cast<int>(fakes_->messages.shown.size());
        key(ListInput::KeyS);
        QCOMPARE(fakes_->messages.shown.size(), shown);
        QCOMPARE(readMp3Tag(path("a.mp3")).Title, QStringLiteral("Noon"));
    }
};

QTEST_GUILESS_MAIN(TestId3v2Saver)
#include "tst_Id3v2Saver.moc"
