// The list's keys, header clicks, pop-up menu and numbering label as a user
// reaches them in the real window.

#include "common/AnsweringBoxes.h"
#include "common/FileBytes.h"
#include "common/LameFiles.h"
#include "common/LocalHttpServer.h"
#include "common/Mp3Files.h"
#include "launcher/frmID3Launcher.h"
#include "platform/LauncherWindow.h"
#include "tagfiles/classID3_V11.h"
#include "text/Cp932.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <functional>

namespace {

struct Window {
    QTemporaryDir folder;
    std::unique_ptr<LauncherWindow> window;
    QTreeWidget *list = nullptr;
    QStringList files;

    explicit Window(int rows)
    {
        for (int i = 1; i <= rows; ++i) {
            TagRecord tag;
            tag.Title = QStringLiteral("曲%1").arg(i);
            tag.Album = QStringLiteral("Album %1").arg(i);
            files << folder.filePath(QStringLiteral("%1.mp3").arg(i));
            writeTaggedMp3(files.last(), tag);
        }
        window = std::make_unique<LauncherWindow>(folder.path());
        window->show();
        list = window->findChild<QTreeWidget *>("lvMP3List");
        for (const QString &file : files)
            window->logic().AddMp3File(file);
    }
    QStringList column(int column) const
    {
        QStringList values;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            values << list->topLevelItem(i)->text(column);
        return values;
    }
    QMenu *menu() const { return window->findChild<QMenu *>("Menu_LV_RightMenu"); }
    QPoint rowPoint(int row) const { return list->visualItemRect(list->topLevelItem(row - 1)).center(); }
};

}  // namespace

class TestListCommandsWindow : public QObject
{
    Q_OBJECT

private slots:
    void listKeepsItsOwnKeys()
    {
        Window w(3);
        w.list->setFocus();
        w.list->setCurrentItem(w.list->topLevelItem(0));
        QTest::keyClick(w.list, Qt::Key_Down);
        QCOMPARE(w.list->currentItem(), w.list->topLevelItem(1));
        QTest::keyClick(w.list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(w.list->selectedItems().size(), 3);
    }

    // Three rows, the second selected and current, each holding the title
    // "新" not yet saved; the format "%D" names a file after its title. Each
    // way to run a command must run that command and no other.
    void eachCommandFromItsKeysAndItsMenuItem_data()
    {
        QTest::addColumn<QString>("trigger");  // "key <Qt key> <modifiers>", "menu <item>" or "double-click"
        QTest::addColumn<QStringList>("seen");  // boxes, dialogs, and "editor" for the tag editor
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("titles");  // in the files afterwards
        const QStringList names{"1.mp3", "2.mp3", "3.mp3"}, oldTitles{"曲1", "曲2", "曲3"};
        const QStringList editor{"editor"}, chooser{"[Kalvo ]MP3 ファイルを選んでください"};
        const QStringList about{"Kalvo [Copyright]|Kalvo  Version 1.0.1000\nCopyright (C) 2026 Kalvo Project [Kalvo Project]"};
        const QStringList renamed{"1.mp3", "新.mp3", "3.mp3"}, deleted{"1.mp3", "3.mp3"};
        const QStringList savedOne{"曲1", "新", "曲3"}, savedAll{"新", "新", "新"};
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
            return QStringLiteral("key %1 %2").arg(int(k)).arg(int(m));
        };
        QTest::newRow("Return") << key(Qt::Key_Return) << editor << names << oldTitles;
        QTest::newRow("keypad Enter") << key(Qt::Key_Enter, Qt::KeypadModifier) << editor << names << oldTitles;
        QTest::newRow("E") << key(Qt::Key_E) << editor << names << oldTitles;
        QTest::newRow("double-click") << "double-click" << editor << names << oldTitles;
        QTest::newRow("edit item") << "menu Menu_LV_RightMenu_EDIT_Tag" << editor << names << oldTitles;
        QTest::newRow("Delete") << key(Qt::Key_Delete) << QStringList{} << deleted << oldTitles;
        QTest::newRow("Shift+Delete") << key(Qt::Key_Delete, Qt::ShiftModifier) << QStringList{} << deleted << oldTitles;
        QTest::newRow("delete item") << "menu Menu_LV_RightMenu_DELETE" << QStringList{} << deleted << oldTitles;
        QTest::newRow("L") << key(Qt::Key_L) << chooser << names << oldTitles;
        QTest::newRow("load item") << "menu Menu_LV_RightMenu_Load" << chooser << names << oldTitles;
        QTest::newRow("R") << key(Qt::Key_R) << QStringList{} << renamed << savedOne;
        QTest::newRow("rename item") << "menu Menu_LV_RightMenu_Rename" << QStringList{} << renamed << savedOne;
        QTest::newRow("Ctrl+R") << key(Qt::Key_R, Qt::ControlModifier) << QStringList{} << renamed << savedOne;
        QTest::newRow("Ctrl+Shift+R") << key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier) << QStringList{}
                                      << renamed << savedOne;
        // The preview, cancelled.
        const QStringList preview{"Kalvo [ファイル名の変更を確認]"};
        QTest::newRow("Shift+R") << key(Qt::Key_R, Qt::ShiftModifier) << preview << names << oldTitles;
        QTest::newRow("preview item") << "menu Menu_LV_RightMenu_PreviewRename" << preview << names << oldTitles;
        QTest::newRow("S") << key(Qt::Key_S) << QStringList{} << names << savedOne;
        QTest::newRow("Ctrl+S") << key(Qt::Key_S, Qt::ControlModifier) << QStringList{} << names << savedOne;
        QTest::newRow("save selected item") << "menu Menu_LV_RightMenu_Save_0" << QStringList{} << names << savedOne;
        QTest::newRow("Shift+S") << key(Qt::Key_S, Qt::ShiftModifier) << QStringList{} << names << savedAll;
        QTest::newRow("save all item") << "menu Menu_LV_RightMenu_Save_1" << QStringList{} << names << savedAll;
        QTest::newRow("C") << key(Qt::Key_C) << about << names << oldTitles;
        QTest::newRow("about item") << "menu Menu_LV_RightMenu_Copyright" << about << names << oldTitles;
    }
    void eachCommandFromItsKeysAndItsMenuItem()
    {
        QFETCH(QString, trigger);
        QFETCH(QStringList, seen);
        QFETCH(QStringList, names);
        QFETCH(QStringList, titles);
        Window w(3);
        for (int i = 0; i < 3; ++i)
            w.list->topLevelItem(i)->setText(2, QStringLiteral("新"));
        w.list->setCurrentItem(w.list->topLevelItem(1));
        w.list->clearSelection();
        w.list->topLevelItem(1)->setSelected(true);
        w.window->findChild<QLineEdit *>("txtRenameFormat")->setText(QStringLiteral("%D"));

        const QStringList parts = trigger.split(u' ');
        QStringList shown = answeringBoxes({QMessageBox::Ok}, [&] {
            if (parts[0] == QLatin1String("key"))
                QTest::keyClick(w.list, Qt::Key(parts[1].toInt()), Qt::KeyboardModifiers(parts[2].toInt()));
            else if (parts[0] == QLatin1String("menu"))
                w.menu()->findChild<QAction *>(parts[1])->trigger();
            else
                QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {}, w.rowPoint(2));
        });
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("frmID3Edit") && top->isVisible()) {
                shown << QStringLiteral("editor");
                QVERIFY(!w.window->isEnabled());
                top->close();
            }
        }
        QCOMPARE(shown, seen);
        QCOMPARE(w.column(0), names);
        QStringList got;
        for (QString file : w.files) {
            if (!QFileInfo::exists(file))  // renamed after its title
                file = w.folder.filePath(QStringLiteral("新.mp3"));
            got << readMp3Tag(file).Title;
        }
        QCOMPARE(got, titles);
    }

    // Row 2 selected: each fill command, from its key and its menu item,
    // gives that row's title; the second file carries an ID3v2 tag, the
    // format reads the file name as the title, and the row's title holds
    // "夜" as UTF-8 or EUC-JP bytes.
    void fillCommandsFromTheirKeysAndMenuItems_data()
    {
        QTest::addColumn<QString>("trigger");  // as above
        QTest::addColumn<QByteArray>("titleBytes");
        QTest::addColumn<QString>("title");
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
            return QStringLiteral("key %1 %2").arg(int(k)).arg(int(m));
        };
        const QByteArray utf8 = "\xE5\xA4\x9C", eucJp = "\xCC\xEB";
        QTest::newRow("I") << key(Qt::Key_I) << QByteArray() << "夜明けの歌";
        QTest::newRow("ID3v2 item") << "menu Menu_LV_RightMenu_FillFromId3v2" << QByteArray() << "夜明けの歌";
        QTest::newRow("N") << key(Qt::Key_N) << QByteArray() << "2";
        QTest::newRow("file name item") << "menu Menu_LV_RightMenu_FillFromFileNames" << QByteArray() << "2";
        QTest::newRow("V") << key(Qt::Key_V) << QByteArray() << "貼った曲";
        QTest::newRow("Ctrl+V") << key(Qt::Key_V, Qt::ControlModifier) << QByteArray() << "貼った曲";
        QTest::newRow("paste item") << "menu Menu_LV_RightMenu_PasteTitles" << QByteArray() << "貼った曲";
        QTest::newRow("8") << key(Qt::Key_8) << utf8 << "夜";
        QTest::newRow("UTF-8 item") << "menu Menu_LV_RightMenu_ReadAsUtf8" << utf8 << "夜";
        QTest::newRow("J") << key(Qt::Key_J) << eucJp << "夜";
        QTest::newRow("EUC-JP item") << "menu Menu_LV_RightMenu_ReadAsEucJp" << eucJp << "夜";
    }
    void fillCommandsFromTheirKeysAndMenuItems()
    {
        QFETCH(QString, trigger);
        QFETCH(QByteArray, titleBytes);
        QFETCH(QString, title);
        Window w(3);
        QVERIFY(writeFile(w.files[1], readFile(QStringLiteral(KALVO_ID3V2_DATA "/v23_utf16.mp3"))));
        w.list->topLevelItem(1)->setText(2, Cp932::decode(titleBytes));
        w.list->setCurrentItem(w.list->topLevelItem(1));
        w.list->clearSelection();
        w.list->topLevelItem(1)->setSelected(true);
        w.window->findChild<QLineEdit *>("txtRenameFormat")->setText(QStringLiteral("%D"));
        QGuiApplication::clipboard()->setText(QStringLiteral("1. 貼った曲 (3:45)"));

        const QStringList parts = trigger.split(u' ');
        const QStringList shown = answeringBoxes({QMessageBox::Ok}, [&] {
            if (parts[0] == QLatin1String("key"))
                QTest::keyClick(w.list, Qt::Key(parts[1].toInt()), Qt::KeyboardModifiers(parts[2].toInt()));
            else
                w.menu()->findChild<QAction *>(parts[1])->trigger();
        });
        QCOMPARE(shown, QStringList());
        QCOMPARE(w.column(2), (QStringList{"曲1", title, "曲3"}));
        QCOMPARE(w.column(1), (QStringList{"", "*", ""}));
    }

    // Shift+R on three rows whose second would take the first's new name:
    // the dialog shows each file's name now and after, the second greyed
    // with why; OK renames as R does, and Ctrl+Z takes it back in one step.
    void renamePreviewShowsTheNamesAndOkRenames()
    {
        Window w(3);
        w.list->topLevelItem(1)->setText(livTitle, QStringLiteral("曲1"));
        w.list->selectAll();
        w.window->findChild<QLineEdit *>("txtRenameFormat")->setText(QStringLiteral("%D"));
        QStringList shown, boxes;
        QList<bool> greyed;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<MessageDialog *>(modal)) {
                boxes << box->text();
                box->button(QDialogButtonBox::Ok)->click();
            }
            auto *dialog = qobject_cast<QDialog *>(modal);
            if (!dialog || dialog->objectName() != QLatin1String("frmRenamePreview"))
                return;
            auto *names = dialog->findChild<QTreeWidget *>("lvRenamePreview");
            for (int i = 0; i < names->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = names->topLevelItem(i);
                shown << item->text(0) + " → " + item->text(1) + " " + item->text(2);
                greyed << (item->foreground(0) == names->palette().brush(QPalette::Disabled, QPalette::Text));
            }
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        timer.start();

        QTest::keyClick(w.list, Qt::Key_R, Qt::ShiftModifier);

        QCOMPARE(shown, (QStringList{"1.mp3 → 曲1.mp3 ", "2.mp3 → 曲1.mp3 上の「1.mp3」が先にこの名前になるため変更しません",
                                     "3.mp3 → 曲3.mp3 "}));
        QCOMPARE(greyed, (QList<bool>{false, true, false}));
        QCOMPARE(boxes, QStringList{"次のファイルは新しい名前のファイルがすでにあるため名前を変えられませんでした。\n2.mp3 → 曲1.mp3"});
        QCOMPARE(w.column(0), (QStringList{"曲1.mp3", "2.mp3", "曲3.mp3"}));
        QTest::keyClick(w.list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.column(0), (QStringList{"1.mp3", "2.mp3", "3.mp3"}));
    }

    // Enabling rules are the logic's; here each item must get its own state.
    void rightClickShowsTheMenuWithItsEnabling()
    {
        Window w(3);
        QTest::mouseClick(w.list->viewport(), Qt::RightButton, {}, QPoint(10, w.list->viewport()->height() - 5));

        QMenu *menu = w.menu();
        QVERIFY(menu->isVisible());
        QStringList captions;
        QList<bool> states;
        for (QAction *action : menu->actions()) {
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (!action->isSeparator())
                states << action->isEnabled();
        }
        menu->close();
        QCOMPARE(captions, (QStringList{"タグを編集(&E) Enter", "-", "元に戻す(&U) Ctrl+Z", "やり直し(&Y) Ctrl+Y", "-",
                                        "削除(&D) Del", "-", "ファイルを読み込む(&L)  L", "-",
                                        "ファイル名を変更(&F) R", "ファイル名の変更を確認(&P)  Shift+R", "-",
                                        "選択したファイルを保存(&S) S",
                                        "全て保存(&A) Shift+S", "更新日時を保つ(&T)", "-", "ID3v2タグから取り込む(&I)  I",
                                        "ファイル名から取り込む(&N)  N", "曲名を貼り付け(&V)  V",
                                        "UTF-8として読み直す(&8)  8", "EUC-JPとして読み直す(&J)  J",
                                        "MusicBrainzで検索(&M)  M", "ID3v2タグにも保存(&W)  W", "-",
                                        "Kalvo について(&C) C"}));
        QCOMPARE(states, (QList<bool>{true, false, false, false, true, false, false, false, true, true, false, false,
                                      false, false, false, false, false, true}));
    }

    // The choice is checked in the menu, kept in kiv.ini at once and back
    // at the next start; while it holds, a save leaves the file's times.
    void keepTimesIsAChoiceKeptAndHeld()
    {
        Window w(2);
        QAction *keep = w.menu()->findChild<QAction *>("Menu_LV_RightMenu_KeepTimes");
        QVERIFY(keep->isCheckable() && !keep->isChecked());
        keep->trigger();
        QVERIFY(keep->isChecked());
        QVERIFY(readFile(w.folder.filePath(QStringLiteral("kiv.ini"))).contains("KEEP_TIMES=1"));

        const QDateTime old = QDateTime::fromMSecsSinceEpoch(1'000'000'000'123);
        for (const QString &file : w.files) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(old, QFileDevice::FileModificationTime));
        }
        w.list->setFocus();
        w.list->topLevelItem(0)->setText(2, QStringLiteral("新しい曲"));
        w.list->selectAll();
        QTest::keyClick(w.list, Qt::Key_S, Qt::ShiftModifier);
        QCOMPARE(readMp3Tag(w.files.at(0)).Title, QStringLiteral("新しい曲"));
        QCOMPARE(QFileInfo(w.files.at(0)).lastModified(), old);

        LauncherWindow next(w.folder.path());
        QVERIFY(next.findChild<QAction *>("Menu_LV_RightMenu_KeepTimes")->isChecked());
        next.findChild<QAction *>("Menu_LV_RightMenu_KeepTimes")->trigger();
        QVERIFY(readFile(w.folder.filePath(QStringLiteral("kiv.ini"))).contains("KEEP_TIMES=0"));
    }

    // Two removals; each key and item once, and plain Z and Y do nothing.
    void undoAndRedoFromTheirKeysAndMenuItems()
    {
        Window w(3);
        w.list->setFocus();
        for (int row : {2, 1}) {
            w.list->clearSelection();
            w.list->topLevelItem(row - 1)->setSelected(true);
            QTest::keyClick(w.list, Qt::Key_Delete);
        }
        const auto names = [&w] { return w.column(0).join(u' '); };
        QCOMPARE(names(), QStringLiteral("3.mp3"));
        QTest::keyClick(w.list, Qt::Key_Z);
        QTest::keyClick(w.list, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(names(), QStringLiteral("3.mp3"));
        QTest::keyClick(w.list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(names(), QStringLiteral("1.mp3 3.mp3"));

        QTest::mouseClick(w.list->viewport(), Qt::RightButton, {}, QPoint(10, w.list->viewport()->height() - 5));
        QAction *undo = w.menu()->findChild<QAction *>("Menu_LV_RightMenu_Undo");
        QAction *redo = w.menu()->findChild<QAction *>("Menu_LV_RightMenu_Redo");
        QVERIFY(undo->isEnabled() && redo->isEnabled());
        w.menu()->close();
        undo->trigger();
        QCOMPARE(names(), QStringLiteral("1.mp3 2.mp3 3.mp3"));
        redo->trigger();
        QCOMPARE(names(), QStringLiteral("1.mp3 3.mp3"));
        QTest::keyClick(w.list, Qt::Key_Y);
        QTest::keyClick(w.list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(names(), QStringLiteral("3.mp3"));
    }

    void leftClickSetsTheEnablingWithoutTheMenu()
    {
        Window w(3);
        QTest::mouseClick(w.list->viewport(), Qt::LeftButton, {}, w.rowPoint(1));
        QVERIFY(!w.menu()->isVisible());
        const auto rename = w.menu()->findChild<QAction *>("Menu_LV_RightMenu_Rename");
        QVERIFY(rename->isEnabled());
        QTest::mouseClick(w.list->viewport(), Qt::LeftButton, Qt::ControlModifier, w.rowPoint(1));
        QVERIFY(!rename->isEnabled());
        QVERIFY(!w.menu()->isVisible());
    }

    void headerClickNumbersTheRows()
    {
        Window w(3);
        QHeaderView *header = w.list->header();
        const QPoint no(header->sectionViewportPosition(5) + 5, header->height() / 2);
        const QStringList boxes = answeringBoxes({QMessageBox::Yes}, [&] {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, no);
        });
        QCOMPARE(boxes, QStringList{"Kalvo[連番確認]|上から連番を付けますか？"});
        QCOMPARE(w.column(5), (QStringList{"1", "2", "3"}));
        QCOMPARE(w.column(1), (QStringList{"*", "*", "*"}));
        QCOMPARE(w.column(0), (QStringList{"1.mp3", "2.mp3", "3.mp3"}));  // never re-sorted
    }

    void filesDroppedOnTheLabelGetTrackNumbers()
    {
        Window w(0);
        QTemporaryDir dir;
        QStringList paths;
        for (const char *name : {"c.mp3", "a.mp3", "b.mp3"}) {
            paths << dir.filePath(QString::fromLatin1(name));
            QVERIFY(writeUntaggedMp3(paths.last()));
        }
        auto *label = w.window->findChild<QLabel *>("lblRENBANDD");
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QDragEnterEvent enter(label->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(label, &enter);
        QVERIFY(enter.isAccepted());
        QMimeData text;
        text.setText(QStringLiteral("not files"));
        QDragEnterEvent textEnter(label->rect().center(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(label, &textEnter);
        QVERIFY(!textEnter.isAccepted());

        const QStringList boxes = answeringBoxes({QMessageBox::Yes, QMessageBox::Ok}, [&] {
            QDropEvent drop(QPointF(label->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(label, &drop);
        });
        QCOMPARE(boxes, (QStringList{"Kalvo[確認]|" + paths[0]
                                         + "から順番にトラック番号を振り全ファイル書き換えます。\nよろしいですか？",
                                     "Kalvo[通知]|終了しました"}));
        QList<int> tracks;
        for (const QString &path : paths) {
            classID3_V11 tag;
            QVERIFY(tag.LoadMp3File(path));
            tracks << tag.GetTrackNumber();
        }
        QCOMPARE(tracks, (QList<int>{1, 2, 3}));
        QCOMPARE(w.list->topLevelItemCount(), 0);
    }

    // M in the window: a small dialog while MusicBrainz is asked, whose
    // Cancel ends the asking; then the releases to pick from, and the rows
    // filled from the one picked.
    void lookUpFromM_data()
    {
        QTest::addColumn<QList<Canned>>("answers");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("the second release picked")
            << QList<Canned>{{200, kDiscAnswer}} << QStringList{"Haru no Kaze", "Natsu no Umi", "Aki no Sora"};
        QTest::newRow("cancelled while asking") << QList<Canned>{{.hang = true}} << QStringList{"", "", ""};
    }
    void lookUpFromM()
    {
        QFETCH(QList<Canned>, answers);
        QFETCH(QStringList, titles);
        QTemporaryDir folder;
        LocalServer server(answers);
        qputenv("KALVO_MUSICBRAINZ_SERVER", server.url().toUtf8());
        const auto unset = qScopeGuard([] { qunsetenv("KALVO_MUSICBRAINZ_SERVER"); });
        LauncherWindow window(folder.path());
        window.show();
        for (int track = 1; track <= 3; ++track) {
            const QString file = folder.filePath(QStringLiteral("%1.mp3").arg(track));
            QVERIFY(writeLameMp3(file, 588 * 75 * track));
            window.logic().AddMp3File(file);
        }
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");
        list->topLevelItem(0)->setSelected(true);

        QStringList seen;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *waiting = window.findChild<QProgressDialog *>("lookupWaiting"); waiting && waiting->isVisible()
                && titles.first().isEmpty() && !seen.contains("waiting")) {
                seen << "waiting";
                waiting->findChild<QPushButton *>()->click();
            }
            if (auto *choice = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                choice && choice->objectName() == "lookupChoice") {
                auto *releases = choice->findChild<QListWidget *>("lookupReleases");
                seen << QStringLiteral("%1 releases").arg(releases->count());
                releases->setCurrentRow(1);
                choice->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            }
        });
        answer.start(20);
        QTest::keyClick(list, Qt::Key_M);

        QStringList shown;
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            shown << list->topLevelItem(row)->text(livTitle);
        QCOMPARE(shown, titles);
        QCOMPARE(seen, titles.first().isEmpty() ? QStringList{"waiting"} : QStringList{"2 releases"});
        QVERIFY(!window.findChild<QMessageBox *>());
    }
};

QTEST_MAIN(TestListCommandsWindow)
#include "tst_ListCommandsWindow.moc"
