// The tag editor as a user meets it from the main window: opened on the list's
// current row beside the main window, which is disabled meanwhile; walking the
// rows with the arrow keys; edits handed back to the list; a fresh window at
// each opening; and the real message box of a failed check.

#include "common/AnsweringBoxes.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "platform/LauncherWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

QWidget *openEditor()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QStringLiteral("frmID3Edit") && widget->isVisible())
            return widget;
    }
    return nullptr;
}

QLineEdit *field(QWidget *editor, int index)
{
    return editor->findChild<QLineEdit *>(QStringLiteral("txtID3String_%1").arg(index));
}

// Types text the way an input method commits it, one character at a time.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Lets the closed editor window's deferred deletion run.
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestEditorWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder_;
    std::unique_ptr<LauncherWindow> main_;
    QTreeWidget *list_ = nullptr;

    QStringList row(int n) const
    {
        QStringList cells;
        for (int column = 0; column < list_->columnCount(); ++column)
            cells << list_->topLevelItem(n - 1)->text(column);
        return cells;
    }

    QWidget *open(int currentRow)
    {
        list_->setCurrentItem(list_->topLevelItem(currentRow - 1));
        main_->logic().OpenTagEditor();
        QWidget *editor = openEditor();
        if (editor) {
            QApplication::setActiveWindow(editor);
            field(editor, 0)->setFocus();
        }
        return editor;
    }

private slots:
    void init()
    {
        QVERIFY(folder_.isValid());
        main_ = std::make_unique<LauncherWindow>(folder_.path());
        list_ = main_->findChild<QTreeWidget *>(QStringLiteral("lvMP3List"));
        const QList<TagRecord> tags = {
            {.Title = "夜明けの歌", .Artist = "歌手", .Album = "アルバム", .Year = "1999", .Comment = "コメント",
             .TrackNumber = 1, .GenreID = 17},
            {.Title = "No Genre", .Artist = "Artist", .Album = "Album", .Year = "2001", .TrackNumber = 2, .GenreID = 255},
            {.Title = "Track 100", .Artist = "Artist", .Album = "Album", .Year = "2001", .TrackNumber = 100}};
        for (int n = 0; n < tags.size(); ++n) {
            const QString path = folder_.filePath(QStringLiteral("%1.mp3").arg(n + 1));
            QVERIFY(writeTaggedMp3(path, tags.at(n)));
            main_->logic().AddMp3File(path);
        }
        QCOMPARE(list_->topLevelItemCount(), 3);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    }
    void cleanup()
    {
        main_.reset();
        flushDeletes();
    }

    void opensBesideTheMainWindowWhichItDisables()
    {
        QWidget *editor = open(1);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Kalvo[EDIT]"));
        QVERIFY(!main_->isEnabled());
        QVERIFY(editor->isEnabled() && field(editor, 0)->isEnabled());
        QVERIFY(!editor->parentWidget());
        QCOMPARE(editor->frameGeometry().bottomRight(), main_->frameGeometry().bottomRight() + QPoint(7, 7));
        QCOMPARE(field(editor, 0)->text(), QStringLiteral("夜明けの歌"));
        QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("lblFilename"))->text(), QStringLiteral("1.mp3"));
        QCOMPARE(editor->findChild<QComboBox *>(QStringLiteral("cmbGenre"))->currentText(), QStringLiteral("Rock"));
        QCOMPARE(editor->font().family(), QStringLiteral("ＭＳ ゴシック"));
    }

    void walkingAllRowsChangesNothingAndEachOpeningStartsFresh()
    {
        const QList<QStringList> before = {row(1), row(2), row(3)};
        for (int opening = 0; opening < 2; ++opening) {
            QWidget *editor = open(2);
            QVERIFY(editor);
            QCOMPARE(editor->findChild<QComboBox *>(QStringLiteral("cmbGenre"))->count(), 148);
            QCOMPARE(editor->findChild<QComboBox *>(QStringLiteral("cmbGenre"))->currentIndex(), -1);
            QPointer<QWidget> watched = editor;
            for (int step = 0; step < 4; ++step)
                QTest::keyClick(field(editor, 0), Qt::Key_Down);
            // Row 2, down four times with wrap-around: 3, 1, 2, 3.
            QCOMPARE(field(editor, 5)->text(), QStringLiteral("100"));
            QCOMPARE(field(editor, 0)->selectedText(), QStringLiteral("Track 100"));
            QCOMPARE(list_->currentItem(), list_->topLevelItem(1));
            editor->close();
            QVERIFY(main_->isEnabled());
            flushDeletes();
            QVERIFY(!watched);
        }
        QCOMPARE((QList<QStringList>{row(1), row(2), row(3)}), before);
    }

    void editsComeBackMarkedThroughEveryWayOfClosing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << "close box";
        QTest::newRow("main window closing") << "main window closing";
    }
    void editsComeBackMarkedThroughEveryWayOfClosing()
    {
        QFETCH(QString, how);
        QWidget *editor = open(2);
        QVERIFY(editor);
        auto *genres = editor->findChild<QComboBox *>(QStringLiteral("cmbGenre"));
        genres->setCurrentIndex(genres->findText(QStringLiteral("Rock")));
        typeText(field(editor, 0), QStringLiteral("新しい曲"));

        if (how == "close box")
            editor->close();
        else
            main_->close();

        QVERIFY(!openEditor());
        QVERIFY(main_->isEnabled());
        const QStringList cells = row(2);
        QCOMPARE((QStringList{cells.at(1), cells.at(2), cells.at(3), cells.at(10)}),
                 (QStringList{"*", "新しい曲", "Rock", "17"}));
    }

    void aFailedCheckShowsTheBoxAndClosingDropsTheEdits()
    {
        QWidget *editor = open(1);
        QVERIFY(editor);
        const QStringList before = row(1);
        typeText(field(editor, 2), QStringLiteral("あいうえおかきくけこさしすせそた"));
        const QStringList boxes = answeringBoxes({QMessageBox::Ok}, [&] {
            QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdEnd")), Qt::LeftButton);
        });

        QCOMPARE(boxes, QStringList{"Kalvo[EDIT] [文字数エラー]|30bytes 以上の文字は入力できません"});
        QVERIFY(!openEditor());
        QVERIFY(main_->isEnabled());
        QCOMPARE(row(1), before);
    }
};

QTEST_MAIN(TestEditorWindow)
#include "tst_EditorWindow.moc"
