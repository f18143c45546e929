// The main window as a user meets it: its caption, controls and columns, files
// dropped on the list, and quitting, which remembers the rename format.

#include "common/AnsweringBoxes.h"
#include "common/CountedSyncs.h"
#include "common/Id3v2Bytes.h"
#include "common/Mp3Files.h"
#include "files/NativePath.h"
#include "launcher/frmID3Launcher.h"
#include "platform/Fonts.h"
#include "platform/LauncherWindow.h"
#include "platform/MessageDialog.h"
#include "platform/QtFileChooser.h"
#include "platform/QtListView.h"
#include "platform/QtMessageBox.h"
#include "platform/QtTranslation.h"
#include "services/FileRow.h"
#include "system/PrivateProfileFile.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Delivers a drag with the data to the list's viewport; true when the list
// would accept it.
bool dragOnto(QTreeWidget *list, QMimeData *data)
{
    const QPoint point = list->viewport()->rect().center();
    QDragEnterEvent enter(point, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    return enter.isAccepted();
}

void dropOnto(QTreeWidget *list, QMimeData *data)
{
    QDropEvent drop(QPointF(list->viewport()->rect().center()), Qt::CopyAction, data, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
}

// Types the text one character at a time, as a keyboard or an input method
// would (QTest::keyClicks knows only ASCII).
void typeText(QWidget *field, const QString &text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QApplication::sendEvent(field, &press);
    }
}

QStringList fileNameColumn(QTreeWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0);
    return names;
}

}  // namespace

class TestLauncherWindow : public QObject
{
    Q_OBJECT

    // The chooser's folder for all its rows: Qt opens the dialog where the
    // last one was, or at its parent once it is gone.
    QTemporaryDir chooserFolder_{QDir::tempPath() + QStringLiteral("/曲の場所-XXXXXX")};

private slots:
    // Nothing re-sorts the rows, a header click reaches the logic, and the
    // two bookkeeping columns stay out of sight.
    void listColumns()
    {
        QTemporaryDir folder;
        LauncherWindow window(folder.path());
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");
        QCOMPARE(list->columnCount(), 11);
        for (int column = 0; column < 11; ++column)
            QCOMPARE(list->isColumnHidden(column), column >= 9);
        QVERIFY(!list->isSortingEnabled());
        QVERIFY(list->header()->sectionsClickable());
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    }

    void droppedLocalFilesBecomeRowsInDropOrder()
    {
        QTemporaryDir folder;
        QStringList paths;
        for (const char *name : {"b.mp3", "a.mp3", "曲.mp3"}) {
            paths << folder.filePath(QString::fromUtf8(name));
            QVERIFY(writeUntaggedMp3(paths.last()));
        }
        LauncherWindow window(folder.path());
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");

        QMimeData files;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        urls << QUrl(QStringLiteral("https://example.org/remote.mp3"));
        files.setUrls(urls);
        QMimeData text;
        text.setText(paths.first());
        QVERIFY(!dragOnto(list, &text));
        dropOnto(list, &text);
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(dragOnto(list, &files));
        dropOnto(list, &files);

        QCOMPARE(fileNameColumn(list), (QStringList{"b.mp3", "a.mp3", "曲.mp3"}));
        QCOMPARE(list->topLevelItem(0)->text(9), folder.path() + u'/');
        QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("Blues"));
    }

    // A file whose name is CP932 bytes ("あソ.mp3"; the second byte of "ソ"
    // is the byte of "\"), dropped as its raw URI or found in a folder named
    // on the command line, becomes one row that shows the name readably;
    // saving writes that very file, and renaming gives it a UTF-8 name.
    void shiftJisNamedFile_data()
    {
        QTest::addColumn<bool>("dropped");
        QTest::newRow("dropped") << true;
        QTest::newRow("folder on the command line") << false;
    }
    void shiftJisNamedFile()
    {
        QFETCH(bool, dropped);
        QTemporaryDir folder;
        const QByteArray file = QFile::encodeName(folder.path()) + "/\x82\xA0\x83\x5C.mp3";
        const QByteArray content = mpegFrameFile();
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
        QCOMPARE(::close(fd), 0);
        LauncherWindow window(folder.path());
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");

        if (dropped) {
            QMimeData uris;
            uris.setData(QStringLiteral("text/uri-list"), "file://" + file.toPercentEncoding("/") + "\r\n");
            QVERIFY(dragOnto(list, &uris));
            dropOnto(list, &uris);
        } else {
            window.logic().AddCommandLineFiles({folder.path()}, QStringLiteral("/"));
        }
        QCOMPARE(fileNameColumn(list), QStringList{QStringLiteral("あソ.mp3")});

        list->topLevelItem(0)->setText(livTitle, QStringLiteral("曲"));
        list->topLevelItem(0)->setSelected(true);
        window.logic().Save(SaveAll);
        QCOMPARE(readMp3Tag(pathText(file)).Title, QStringLiteral("曲"));
        window.findChild<QLineEdit *>("txtRenameFormat")->setText(QStringLiteral("%D"));
        window.logic().Rename();
        QCOMPARE(fileNameColumn(list), QStringList{QStringLiteral("曲.mp3")});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("曲.mp3")});
    }

    // The format box takes only characters the settings file can keep in
    // CP932, typed or pasted, so the next start shows what the user saw.
    void quittingRemembersTheRenameFormat_data()
    {
        QTest::addColumn<bool>("byQuitButton");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("format");
        QTest::newRow("quit button") << true << "%N_%D_" << "曲" << "%N_%D_曲";
        QTest::newRow("close box") << false << "%N_%D_" << "曲" << "%N_%D_曲";
        QTest::newRow("characters CP932 cannot hold") << true << "%D – " << "%A é🎵" << "%D  %A ";
    }
    void quittingRemembersTheRenameFormat()
    {
        QFETCH(bool, byQuitButton);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, format);
        QTemporaryDir folder;
        const QString iniPath = folder.filePath(QStringLiteral("kiv.ini"));
        {
            LauncherWindow window(folder.path());
            window.show();
            auto *box = window.findChild<QLineEdit *>("txtRenameFormat");
            box->clear();
            typeText(box, typed);
            box->insert(pasted);
            QCOMPARE(box->text(), format);
            if (byQuitButton)
                QTest::mouseClick(window.findChild<QPushButton *>("cmdEnd"), Qt::LeftButton);
            else
                window.close();
            QVERIFY(!window.isVisible());
        }
        PrivateProfileFile settings;
        QCOMPARE(settings.readString("KIV", "FILE_FORMAT", iniPath), format);

        LauncherWindow nextRun(folder.path());
        QCOMPARE(nextRun.findChild<QLineEdit *>("txtRenameFormat")->text(), format);
    }

    // A row with both marks shows both whole in the list's font, however
    // narrow the column is designed; the header and each marked cell say
    // what the marks mean, a line each.
    void changeMarksReadWholeAndExplainThemselves()
    {
        registerFontSubstitutes();
        QTemporaryDir folder;
        const QString path = folder.filePath("a.mp3");
        QVERIFY(writeTaggedMp3(path, {.Title = QStringLiteral("Dawn")}));
        QVERIFY(writeFile(path, id3v2Tag(3, frame23("TIT2", textData("Dusk"))) + readFile(path)));
        LauncherWindow window(folder.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");
        const QString unsaved = QStringLiteral("「*」まだファイルに保存していない値があります");
        const QString id3v2 = QStringLiteral("「2」ファイルのID3v2タグの内容がこの行と違います（Wで書き込みます）");
        QCOMPARE(list->headerItem()->toolTip(livChanged), unsaved + u'\n' + id3v2);

        window.logic().AddMp3File(path);
        QTreeWidgetItem *row = list->topLevelItem(0);
        QCOMPARE(row->text(livChanged), QStringLiteral("2"));
        QCOMPARE(row->toolTip(livChanged), id3v2);
        answeringBoxes({QMessageBox::Yes}, [&] { window.logic().lvMP3List_ColumnClick(livTrackNo); });

        QCOMPARE(row->text(livChanged), QStringLiteral("*2"));
        QCOMPARE(row->toolTip(livChanged), unsaved + u'\n' + id3v2);
        const int width = list->columnWidth(livChanged);
        QVERIFY(width >= 13);
        QVERIFY2(QFontMetrics(list->font()).horizontalAdvance(QStringLiteral("*2")) < width, qPrintable(QString::number(width)));
        // The style's own measure of the cell, margins and all.
        QVERIFY2(static_cast<QAbstractItemView *>(list)->sizeHintForColumn(livChanged) <= width, qPrintable(QString::number(width)));
        // A larger font widens the column with it.
        window.setFont(gothicFont(18));
        QVERIFY(static_cast<QAbstractItemView *>(list)->sizeHintForColumn(livChanged) <= list->columnWidth(livChanged));
    }

    // An empty list shows, greyed in its middle, how to start; the first row
    // takes it away.
    void emptyListSaysHowToStart()
    {
        registerFontSubstitutes();
        QTemporaryDir folder;
        QVERIFY(writeUntaggedMp3(folder.filePath("a.mp3")));
        LauncherWindow window(folder.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");
        const auto inkInTheMiddle = [list] {
            const QImage image = list->viewport()->grab().toImage();
            const QRgb background = image.pixel(2, image.height() - 2);
            int ink = 0;
            for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y) {
                for (int x = 0; x < image.width(); ++x)
                    ink += image.pixel(x, y) != background ? 1 : 0;
            }
            return ink;
        };
        QVERIFY(inkInTheMiddle() > 100);

        window.logic().AddMp3File(folder.filePath("a.mp3"));

        QCOMPARE(inkInTheMiddle(), 0);
    }

    // A character CP932 lacks typed in the middle of the rename format is
    // left out, and the cursor stays where it was: the next key lands there.
    void refusedCharacterKeepsTheCursor()
    {
        QTemporaryDir folder;
        LauncherWindow window(folder.path());
        window.show();
        auto *box = window.findChild<QLineEdit *>("txtRenameFormat");
        box->setText(QStringLiteral("%A%D"));
        box->setCursorPosition(2);
        typeText(box, QStringLiteral("é_"));
        QCOMPARE(box->text(), QStringLiteral("%A_%D"));
        QCOMPARE(box->cursorPosition(), 3);
    }

    // An underscore, drawn at the font's lowest, stays inside its row, so
    // the last row the list shows draws it too.
    void rowsHoldTheFontsDescent()
    {
        registerFontSubstitutes();
        LauncherWindow window(QDir::tempPath());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *list = window.findChild<QTreeWidget *>("lvMP3List");
        for (const char *name : {"f_v22.mp3", "________"})
            (new QTreeWidgetItem(list))->setText(livFilename, QString::fromLatin1(name));
        const QImage image = list->viewport()->grab().toImage();
        const QRect row = list->visualItemRect(list->topLevelItem(1));
        int lowestInk = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = row.left(); x < row.left() + list->columnWidth(livFilename); ++x) {
                if (qGray(image.pixel(x, y)) < 200)
                    lowestInk = y;
            }
        }
        QVERIFY2(lowestInk >= row.top() && lowestInk < row.bottom(),
                 qPrintable(QStringLiteral("row %1 to %2, underscore at %3").arg(row.top()).arg(row.bottom()).arg(lowestInk)));
    }

    // The file chooser opens with every column and place name whole, whatever
    // Qt saved of its dialogs before (here narrow columns and places, a hidden
    // column, the list view, and a folder last visited, which Qt lists first),
    // and comes back as the user left it. A name wider than the screen leaves
    // the dialog as wide as the screen; in an empty folder the headings read
    // whole.
    void fileChooserShowsWholeColumnsAndKeepsItsSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("long name") << QStringLiteral("01 長いファイル名の曲 Track 01 (Remastered).mp3");
        QTest::newRow("name wider than the screen") << QString(80, QChar(u'曲')) + QStringLiteral(".mp3");
        QTest::newRow("empty folder") << QString();
    }
    void fileChooserShowsWholeColumnsAndKeepsItsSize()
    {
        QFETCH(QString, name);
        const QTemporaryDir &folder = chooserFolder_;
        for (const QString &file : QDir(folder.path()).entryList(QDir::Files))
            QVERIFY(QFile::remove(folder.filePath(file)));
        if (!name.isEmpty())
            QVERIFY(writeUntaggedMp3(folder.filePath(name)));
        QTemporaryDir settingsFolder;
        const QString startFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        // As the user sees it: Qt's Japanese words, Japanese file types, and
        // the main window's Gothic face.
        installQtJapanese(*qApp);
        const QLocale startLocale;
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
        const auto restore = qScopeGuard([&] {
            QDir::setCurrent(startFolder);
            QLocale::setDefault(startLocale);
        });
        const auto spoilQtsState = [&] {
            QStandardItemModel columns(0, 4);
            QHeaderView narrow(Qt::Horizontal);
            narrow.setModel(&columns);
            for (int column = 0; column < 4; ++column)
                narrow.resizeSection(column, 20);
            narrow.hideSection(2);
            QSettings qtState(QSettings::UserScope, QStringLiteral("QtProject"));
            qtState.beginGroup(QStringLiteral("FileDialog"));
            qtState.setValue(QStringLiteral("qtVersion"), QStringLiteral(QT_VERSION_STR));
            qtState.setValue(QStringLiteral("lastVisited"), QUrl::fromLocalFile(settingsFolder.path()));
            qtState.setValue(QStringLiteral("treeViewHeader"), narrow.saveState());
            qtState.setValue(QStringLiteral("sidebarWidth"), 10);
            qtState.setValue(QStringLiteral("shortcuts"), QStringList{QStringLiteral("file:"), QUrl::fromLocalFile(folder.path()).toString()});
            qtState.setValue(QStringLiteral("viewMode"), QStringLiteral("List"));
        };
        spoilQtsState();
        registerFontSubstitutes();
        LauncherWindow owner(QDir::tempPath());
        owner.show();
        QtFileChooser chooser(&owner);

        // What the dialog shows once its folder is listed (at the first
        // opening, what stays cut after waiting), read before it is closed
        // whatever it shows; then the user leaves it at a size with a name
        // column of a width, which a file added to the folder does not undo.
        QSize shownSize;
        int nameWidth = 0;
        QStringList clipped;
        const auto look = [&](bool first, const QSize &leaveAt, int leaveNameWidth) {
            QTimer::singleShot(0, [&, first, leaveAt, leaveNameWidth] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                QHeaderView *header = dialog->findChild<QTreeView *>()->header();
                QAbstractItemView *details = dialog->findChild<QTreeView *>();
                auto *places = qobject_cast<QAbstractItemView *>(dialog->findChild<QSplitter *>()->widget(0));
                const auto listed = [&] { return details->model()->rowCount(details->rootIndex()); };
                const auto whatIsCut = [&] {
                    QStringList cut;
                    if (listed() < (name.isEmpty() ? 0 : 1))
                        cut << QStringLiteral("not listed");
                    if (!first)
                        return cut;
                    if (!details->isVisible())
                        cut << QStringLiteral("no details");
                    for (const QAction *shown : header->actions()) {
                        if (!shown->isChecked())
                            cut << QStringLiteral("unticked ") + shown->text();
                    }
                    for (int column = 0; column < header->count(); ++column) {
                        if (header->isSectionHidden(column) || header->sectionSize(column) < details->sizeHintForColumn(column)
                            || header->sectionSize(column) < header->sectionSizeHint(column))
                            cut << details->model()->headerData(column, Qt::Horizontal).toString();
                    }
                    if (header->length() > details->viewport()->width()
                        && dialog->width() < dialog->screen()->availableGeometry().width())
                        cut << QStringLiteral("columns out of sight");
                    if (places->viewport()->width() < places->sizeHintForColumn(0))
                        cut << QStringLiteral("places");
                    return cut;
                };
                (void)QTest::qWaitFor([&] {
                    clipped = whatIsCut();
                    return clipped.isEmpty();
                });
                QTest::qWait(50);
                shownSize = dialog->size();
                nameWidth = header->sectionSize(0);
                dialog->resize(leaveAt);
                header->resizeSection(0, leaveNameWidth);
                const int files = listed();
                if (!writeUntaggedMp3(folder.filePath(QStringLiteral("%1.mp3").arg(files)))
                    || !QTest::qWaitFor([&] { return listed() > files; }))
                    clipped << QStringLiteral("no file added");
                QTest::qWait(50);
                if (header->sectionSize(0) != leaveNameWidth)
                    clipped << QStringLiteral("fitted again");
                dialog->reject();
            });
        };
        const QSize leftAt(610, 390);
        look(true, leftAt, 300);
        QCOMPARE(chooser.chooseExistingFiles(QStringLiteral("Kalvo"), QStringLiteral("MP3 File (*.mp3)")), QStringList());
        QCOMPARE(clipped.join(u','), QString());
        QVERIFY(shownSize != leftAt);
        QVERIFY(shownSize.width() <= owner.screen()->availableGeometry().width());
        QVERIFY(shownSize.height() <= owner.screen()->availableGeometry().height());
        spoilQtsState();
        look(false, QSize(590, 380), 200);
        chooser.chooseExistingFiles(QStringLiteral("Kalvo"), QStringLiteral("MP3 File (*.mp3)"));
        QCOMPARE(clipped.join(u','), QString());
        QCOMPARE(shownSize, leftAt);
        QCOMPARE(nameWidth, 300);
    }

    // Each saved file is synced once, and the settings file written at the
    // end is synced before it replaces the old one.
    void savingSyncsEachFileOnce()
    {
        QTemporaryDir folder;
        const QStringList names{"a.mp3", "b.mp3", "c.mp3"};
        QStringList synced;
        LauncherWindow window(folder.path());
        for (const QString &name : names) {
            QVERIFY(writeUntaggedMp3(folder.filePath(name)));
            window.logic().AddMp3File(folder.filePath(name));
            synced << "fdatasync " + folder.filePath(name);
        }
        CountedSyncs::take(folder.path());

        window.logic().Save(SaveAll);
        QStringList calls = CountedSyncs::take(folder.path());
        calls.sort();
        QCOMPARE(calls, synced);

        window.close();
        calls = CountedSyncs::take(folder.path());
        QCOMPARE(calls.size(), 1);
        QVERIFY2(calls[0].startsWith("fsync " + folder.filePath("kiv.ini.")) && calls[0].endsWith(".tmp"),
                 qPrintable(calls[0]));
    }

    void listServiceKeepsTheCurrentRowApartFromTheSelection()
    {
        QTreeWidget tree;
        tree.setColumnCount(11);
        tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
        QtListView list(&tree);
        for (const char *name : {"1", "2", "3", "4", "5"})
            list.addRow(QString::fromLatin1(name));
        QCOMPARE(list.currentRow(), 0);

        list.setSelected(2, true);
        list.setCurrentRow(4);
        QCOMPARE(list.currentRow(), 4);
        QCOMPARE(tree.currentItem(), tree.topLevelItem(3));
        QVERIFY(list.isSelected(2));
        QVERIFY(!list.isSelected(4));
        list.setSelected(2, false);
        QVERIFY(!list.isSelected(2));

        list.setCell(3, 5, QStringLiteral("7"));
        list.removeRow(2);
        QCOMPARE(list.count(), 4);
        QCOMPARE(list.cell(2, 0), QStringLiteral("3"));
        QCOMPARE(list.cell(2, 5), QStringLiteral("7"));
    }

    void messageBoxShowsTitleTextButtonsAndIcon_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("qtIcon");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        using M = MessageBoxService;
        QTest::newRow("question, yes") << int(M::Buttons::YesNo) << int(M::Icon::Question) << int(QMessageBox::Question)
                                       << int(QMessageBox::Yes) << int(M::Answer::Yes);
        QTest::newRow("question, no") << int(M::Buttons::YesNo) << int(M::Icon::Question) << int(QMessageBox::Question)
                                      << int(QMessageBox::No) << int(M::Answer::No);
        QTest::newRow("notice") << int(M::Buttons::Ok) << int(M::Icon::Information) << int(QMessageBox::Information)
                                << int(QMessageBox::Ok) << int(M::Answer::Ok);
        QTest::newRow("error") << int(M::Buttons::Ok) << int(M::Icon::Exclamation) << int(QMessageBox::Warning)
                               << int(QMessageBox::Ok) << int(M::Answer::Ok);
        QTest::newRow("save error") << int(M::Buttons::Ok) << int(M::Icon::Critical) << int(QMessageBox::Critical)
                                    << int(QMessageBox::Ok) << int(M::Answer::Ok);
    }
    void messageBoxShowsTitleTextButtonsAndIcon()
    {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, qtIcon);
        QFETCH(int, press);
        QFETCH(int, answer);
        QWidget owner;
        owner.show();
        QtMessageBox messages(&owner);
        QString seenTitle, seenText;
        int seenIcon = -1;
        QList<int> seenButtons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenIcon = box->icon();
            for (QDialogButtonBox::StandardButton which : {QDialogButtonBox::Ok, QDialogButtonBox::Yes, QDialogButtonBox::No}) {
                if (box->button(which))
                    seenButtons << which;
            }
            QCOMPARE(box->buttons().size(), seenButtons.size());
            box->button(QDialogButtonBox::StandardButton(press))->click();
        });
        const auto result = messages.showMessage(QStringLiteral("一行目\r二行目"), MessageBoxService::Buttons(buttons),
                                                 MessageBoxService::Icon(icon), QStringLiteral("Kalvo[確認]"));
        QCOMPARE(int(result), answer);
        QCOMPARE(seenTitle, QStringLiteral("Kalvo[確認]"));
        QCOMPARE(seenText, QStringLiteral("一行目\n二行目"));
        QCOMPARE(seenIcon, qtIcon);
        std::sort(seenButtons.begin(), seenButtons.end());
        QCOMPARE(seenButtons, (buttons == int(MessageBoxService::Buttons::YesNo)
                                   ? QList<int>{QMessageBox::Yes, QMessageBox::No}
                                   : QList<int>{QMessageBox::Ok}));
    }
};

QTEST_MAIN(TestLauncherWindow)
#include "tst_LauncherWindow.moc"
