// The tag editor window on its own: the input check and its messages, row
// moves by key and button, closing, the focus rule, the typing limits, the
// genre list and the file-name colours.

#include "common/FakeMessageBox.h"
#include "editor/frmID3Edit.h"
#include "editor/TypingLimit.h"
#include "tagfiles/classID3_V11.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kCaption = QStringLiteral("Kalvo[EDIT]");
const QString k30Bytes = QStringLiteral("30bytes 以上の文字は入力できません");
const QString k28Bytes = QStringLiteral("28bytes 以上の文字は入力できません");
const QString kDoubleByte = QStringLiteral("二バイト(全角)文字は入力できません");

}  // namespace

class TestfrmID3Edit : public QObject
{
    Q_OBJECT

private:
    FakeMessageBox messages_;
    std::unique_ptr<frmID3Edit> window_;
    // "SetID3 n", "PutID3 n" and "LostForm" as the window raises them.
    QStringList events_;

    QLineEdit *field(int index) const
    {
        return window_->findChild<QLineEdit *>(QStringLiteral("txtID3String_%1").arg(index));
    }
    QComboBox *genres() const { return window_->findChild<QComboBox *>(QStringLiteral("cmbGenre")); }
    QPushButton *button(const QString &name) const { return window_->findChild<QPushButton *>(name); }

    // Puts the six texts in through the Set properties.
    void setTexts(const QStringList &texts)
    {
        window_->SetTrackName(texts.value(0));
        window_->SetComment(texts.value(1));
        window_->SetAirtistName(texts.value(2));
        window_->SetAlbumName(texts.value(3));
        window_->SetReleaseYear(texts.value(4));
        field(frmID3Edit::Track)->setText(texts.value(5));
    }
    QStringList texts() const
    {
        QStringList values;
        for (int index = 0; index < frmID3Edit::kFieldCount; ++index)
            values << field(index)->text();
        return values;
    }

private slots:
    void init()
    {
        messages_.shown.clear();
        events_.clear();
        window_ = std::make_unique<frmID3Edit>(messages_, QFont());
        window_->setWindowTitle(kCaption);
        for (int n = 0; n < 148; ++n)
            window_->GenreSet(classID3_V11::GetGenreString(static_cast<qint16>(n)));
        // Stands in for the main window: a load sets the row the window holds.
        connect(window_.get(), &frmID3Edit::SetID3, this, [this](qint16 k) { events_ << QStringLiteral("SetID3 %1").arg(k); });
        connect(window_.get(), &frmID3Edit::PutID3, this, [this](qint16 k) {
            events_ << QStringLiteral("PutID3 %1").arg(k);
            window_->SetReadID(k);
            window_->SetAlbumName(QStringLiteral("row %1").arg(k));
        });
        connect(window_.get(), &frmID3Edit::LostForm, this, [this] { events_ << QStringLiteral("LostForm"); });
        window_->SetReadID(2);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void theCheck_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");  // empty: the check passes
        QTest::addColumn<QString>("titleWord");
        const QString full15 = QStringLiteral("あ").repeated(15);
        const QString full16 = QStringLiteral("あ").repeated(16);
        QTest::newRow("all empty") << QStringList{} << "" << "";
        QTest::newRow("title 30 bytes full-width") << QStringList{full15} << "" << "";
        QTest::newRow("title 32 bytes full-width") << QStringList{full16} << k30Bytes << " [文字数エラー]";
        QTest::newRow("title 31 bytes mixed") << QStringList{full15 + "a"} << k30Bytes << " [文字数エラー]";
        QTest::newRow("title 31 without CP932 form") << QStringList{QStringLiteral("é").repeated(31)} << k30Bytes << " [文字数エラー]";
        QTest::newRow("comment 28 bytes") << QStringList{"", QStringLiteral("あ").repeated(14)} << "" << "";
        QTest::newRow("comment 29 bytes") << QStringList{"", QStringLiteral("あ").repeated(14) + "a"} << k28Bytes << " [文字数エラー]";
        QTest::newRow("artist 31 bytes") << QStringList{"", "", full15 + "a"} << k30Bytes << " [文字数エラー]";
        QTest::newRow("album 31 bytes") << QStringList{"", "", "", full15 + "a"} << k30Bytes << " [文字数エラー]";
        QTest::newRow("year full-width digits") << QStringList{"", "", "", "", "１９９９"} << kDoubleByte << " [入力エラー]";
        QTest::newRow("year ascii letters") << QStringList{"", "", "", "", "abcd"} << "" << "";
        QTest::newRow("year wave dash") << QStringList{"", "", "", "", "19〜"} << kDoubleByte << " [入力エラー]";
        QTest::newRow("track full-width") << QStringList{"", "", "", "", "", "７"} << kDoubleByte << " [入力エラー]";
        QTest::newRow("track minus digit") << QStringList{"", "", "", "", "", "-1"} << "" << "";
        QTest::newRow("title wins over comment")
            << QStringList{full16, QStringLiteral("あ").repeated(15)} << k30Bytes << " [文字数エラー]";
        QTest::newRow("comment wins over year")
            << QStringList{"", QStringLiteral("あ").repeated(15), "", "", "１"} << k28Bytes << " [文字数エラー]";
        QTest::newRow("year wins over track")
            << QStringList{"", "", "", "", "１", QStringLiteral("a").repeated(40)} << kDoubleByte << " [入力エラー]";
    }
    void theCheck()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        QFETCH(QString, titleWord);
        setTexts(texts);
        const QStringList before = this->texts();
        field(0)->setFocus();

        QTest::keyClick(field(0), Qt::Key_Down);

        if (message.isEmpty()) {
            QVERIFY(messages_.shown.isEmpty());
            QCOMPARE(events_, (QStringList{"SetID3 2", "PutID3 3"}));
            return;
        }
        QCOMPARE(messages_.shown.size(), 1);
        const ShownMessage &shown = messages_.shown.first();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, kCaption + titleWord);
        QCOMPARE(shown.buttons, MessageBoxService::Buttons::Ok);
        QCOMPARE(shown.icon, MessageBoxService::Icon::Exclamation);
        // Nothing changed: no event, texts as they were, focus kept, same row.
        QVERIFY(events_.isEmpty());
        QCOMPARE(this->texts(), before);
        QCOMPARE(QApplication::focusWidget(), field(0));
        setTexts({});
        QTest::keyClick(field(0), Qt::Key_Up);
        QCOMPARE(events_, (QStringList{"SetID3 2", "PutID3 1"}));
    }

    void keysAndButtonsMoveRows_data()
    {
        QTest::addColumn<QString>("control");  // a field index, or a button name
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("readID");
        QTest::addColumn<QStringList>("events");
        const int up = Qt::Key_Up, down = Qt::Key_Down;
        QTest::newRow("down in the title") << "0" << down << false << 2 << QStringList{"SetID3 2", "PutID3 3"};
        QTest::newRow("up in the track") << "5" << up << false << 2 << QStringList{"SetID3 2", "PutID3 1"};
        QTest::newRow("up on row 1") << "3" << up << false << 1 << QStringList{"SetID3 1", "PutID3 0"};
        QTest::newRow("down on the last row") << "4" << down << false << 99 << QStringList{"SetID3 99", "PutID3 100"};
        QTest::newRow("shift is ignored") << "1" << down << true << 5 << QStringList{"SetID3 5", "PutID3 6"};
        QTest::newRow("other keys move nothing") << "2" << int(Qt::Key_PageDown) << false << 2 << QStringList{};
        QTest::newRow("genre list keeps its keys") << "cmbGenre" << down << false << 2 << QStringList{};
        QTest::newRow("button ←") << "cmdDBMove_0" << 0 << false << 2 << QStringList{"SetID3 2", "PutID3 1"};
        QTest::newRow("button →") << "cmdDBMove_1" << 0 << false << 7 << QStringList{"SetID3 7", "PutID3 8"};
    }
    void keysAndButtonsMoveRows()
    {
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(bool, shift);
        QFETCH(int, readID);
        QFETCH(QStringList, events);
        window_->SetReadID(static_cast<qint16>(readID));
        window_->SetGenreID(17);
        bool isField = false;
        const int index = control.toInt(&isField);
        if (control.startsWith("cmdDBMove")) {
            QTest::mouseClick(button(control), Qt::LeftButton);
        } else {
            QWidget *target = isField ? static_cast<QWidget *>(field(index)) : genres();
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
        }
        QCOMPARE(events_, events);
        QCOMPARE(window_->GetGenreID(), control == "cmbGenre" ? 18 : 17);
        QVERIFY(window_->isVisible());
    }

    void afterAMoveTheFocusedFieldShowsTheNewValueSelected()
    {
        field(3)->setFocus();
        QTest::keyClick(field(3), Qt::Key_Down);
        QCOMPARE(field(3)->text(), QStringLiteral("row 3"));
        QCOMPARE(field(3)->selectedText(), QStringLiteral("row 3"));

        // Typing clears the flag; the next move's key-up selects again.
        QTest::keyClicks(field(3), "x");
        QCOMPARE(field(3)->selectedText(), QString());
        QTest::keyClick(field(3), Qt::Key_Up);
        QCOMPARE(field(3)->selectedText(), QStringLiteral("row 2"));

        // After a button move the next field entered selects its whole text.
        window_->SetTrackName(QStringLiteral("a title"));
        QTest::mouseClick(button("cmdDBMove_1"), Qt::LeftButton);
        field(0)->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(field(0), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(field(0)->selectedText(), QStringLiteral("a title"));
        // Entered by a drag, the field keeps the part the drag selected.
        QTest::mouseClick(button("cmdDBMove_1"), Qt::LeftButton);
        field(0)->setFocus(Qt::MouseFocusReason);
        const int end = field(0)->fontMetrics().horizontalAdvance(QStringLiteral("a ti"));
        QTest::mousePress(field(0), Qt::LeftButton, {}, QPoint(1, 5));
        QTest::mouseMove(field(0), QPoint(end, 5));
        QTest::mouseRelease(field(0), Qt::LeftButton, {}, QPoint(end, 5));
        QVERIFY(!field(0)->selectedText().isEmpty());
        QVERIFY(field(0)->selectedText() != QStringLiteral("a title"));
        // Tab selects too, as leaving the field set the flag again.
        window_->SetComment(QStringLiteral("a comment"));
        QTest::keyClick(field(0), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), field(1));
        QCOMPARE(field(1)->selectedText(), QStringLiteral("a comment"));
    }

    void everyWayOfClosingRunsTheUnloadSteps_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("checkPasses");
        QTest::addColumn<QStringList>("events");
        for (const char *how : {"Close button", "Escape", "Escape on a button", "close box"}) {
            QTest::addRow("%s", how) << how << true << QStringList{"SetID3 2", "LostForm"};
            QTest::addRow("%s, failing check", how) << how << false << QStringList{"LostForm"};
        }
    }
    void everyWayOfClosingRunsTheUnloadSteps()
    {
        QFETCH(QString, how);
        QFETCH(bool, checkPasses);
        QFETCH(QStringList, events);
        if (!checkPasses)
            window_->SetReleaseYear(QStringLiteral("２０２０"));
        field(2)->setFocus();
        if (how == "Close button")
            QTest::mouseClick(button("cmdEnd"), Qt::LeftButton);
        else if (how == "Escape")
            QTest::keyClick(field(2), Qt::Key_Escape);
        else if (how == "Escape on a button")
            QTest::keyClick(button("cmdDBMove_1"), Qt::Key_Escape);
        else
            window_->close();
        QCOMPARE(events_, events);
        QCOMPARE(messages_.shown.size(), checkPasses ? 0 : 1);
        QVERIFY(!window_->isVisible());
    }

    // Escape in the open genre list closes the list alone; the next Escape
    // closes the window.
    void escapeInTheOpenGenreListClosesOnlyTheList()
    {
        genres()->setFocus();
        genres()->showPopup();
        QTRY_VERIFY(genres()->view()->isVisible());
        QTest::keyClick(genres()->view(), Qt::Key_Escape);
        QTRY_VERIFY(!genres()->view()->isVisible());
        QVERIFY(window_->isVisible());
        QCOMPARE(events_, QStringList());
        QTest::keyClick(genres(), Qt::Key_Escape);
        QCOMPARE(events_, QStringList({"SetID3 2", "LostForm"}));
        QVERIFY(!window_->isVisible());
    }

    void fileNameColours_data()
    {
        QTest::addColumn<int>("readID");
        QTest::addColumn<QColor>("text");
        QTest::newRow("row 1") << 1 << QColor(255, 0, 0);
        QTest::newRow("row 2") << 2 << QColor(255, 255, 255);
        QTest::newRow("row 0") << 0 << QColor(255, 255, 255);
    }
    void fileNameColours()
    {
        QFETCH(int, readID);
        QFETCH(QColor, text);
        auto *label = window_->findChild<QLabel *>(QStringLiteral("lblFilename"));
        window_->SetFileName(QStringLiteral("01 曲.mp3"));
        window_->SetReadID(static_cast<qint16>(readID));
        QCOMPARE(label->text(), QStringLiteral("01 曲.mp3"));
        QCOMPARE(label->palette().color(label->foregroundRole()), text);
        QCOMPARE(label->palette().color(label->backgroundRole()), QColor(0, 0, 0));
        QVERIFY(label->autoFillBackground());
    }

    void typingIsLimitedButSetTextIsNot_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("limit");
        QTest::newRow("title") << 0 << 30;
        QTest::newRow("comment") << 1 << 30;
        QTest::newRow("artist") << 2 << 30;
        QTest::newRow("album") << 3 << 30;
        QTest::newRow("year") << 4 << 4;
        QTest::newRow("track") << 5 << 2;
    }
    void typingIsLimitedButSetTextIsNot()
    {
        QFETCH(int, index);
        QFETCH(int, limit);
        QLineEdit *edit = field(index);
        edit->setFocus();
        QTest::keyClicks(edit, QString(limit + 5, u'7'));
        QCOMPARE(edit->text(), QString(limit, u'7'));

        // A longer text put in through the Set property stays whole; typing
        // cannot lengthen it, and after deleting typing stops at the limit.
        const QString longer(limit + 1, u'1');
        switch (index) {
        case frmID3Edit::Title: window_->SetTrackName(longer); break;
        case frmID3Edit::Comment: window_->SetComment(longer); break;
        case frmID3Edit::Artist: window_->SetAirtistName(longer); break;
        case frmID3Edit::Album: window_->SetAlbumName(longer); break;
        case frmID3Edit::Year: window_->SetReleaseYear(longer); break;
        default: window_->SetTrackNumber(static_cast<quint8>(longer.toInt())); break;
        }
        QCOMPARE(edit->text(), longer);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, "9");
        QCOMPARE(edit->text(), longer);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "99");
        QCOMPARE(edit->text(), QString(limit - 1, u'1') + u'9');
    }

    // Pasted or entered through an input method: whatever CP932 holds and
    // fits is kept; leaving something out beeps.
    void aLongPasteIsCutToFit_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("selected");  // characters selected from the start
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("refusals");
        const QString kana = QStringLiteral("あ");
        QTest::newRow("characters") << 0 << "ab" << 0 << QString(40, u'x') << "ab" + QString(28, u'x') << 1;
        QTest::newRow("bytes") << 0 << "" << 0 << kana.repeated(20) << kana.repeated(15) << 1;
        QTest::newRow("no half character") << 0 << "a" << 0 << kana.repeated(15) << "a" + kana.repeated(14) << 1;
        QTest::newRow("comment bytes") << 1 << "" << 0 << kana.repeated(20) << kana.repeated(14) << 1;
        QTest::newRow("what CP932 holds") << 0 << "" << 0 << QStringLiteral("Café 〜 😀") << QStringLiteral("Caf 〜 ") << 1;
        QTest::newRow("what CP932 holds, cut to fit") << 0 << "" << 0 << QStringLiteral("é") + kana.repeated(20)
                                                      << kana.repeated(15) << 1;
        QTest::newRow("nothing CP932 holds over a selection") << 0 << "abc" << 2 << QStringLiteral("é😀") << "abc" << 1;
        QTest::newRow("year") << 4 << "" << 0 << "19999" << "1999" << 1;
        QTest::newRow("over a selection") << 0 << kana.repeated(14) + "z" << 14 << QStringLiteral("い").repeated(16)
                                          << QStringLiteral("い").repeated(14) + "z" << 1;
        QTest::newRow("all of it") << 0 << "a" << 0 << kana.repeated(14) << "a" + kana.repeated(14) << 0;
    }
    void aLongPasteIsCutToFit()
    {
        QFETCH(int, index);
        QFETCH(QString, before);
        QFETCH(int, selected);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QFETCH(int, refusals);
        field(index)->setText(before);
        if (selected > 0)
            field(index)->setSelection(0, selected);
        QSignalSpy refused(qobject_cast<const TypingLimit *>(field(index)->validator()), &TypingLimit::refused);
        field(index)->insert(pasted);
        QCOMPARE(field(index)->text(), after);
        QCOMPARE(refused.size(), refusals);
    }

    // A typed character CP932 has no form for is refused as a character past
    // the limit is: nothing is entered, and the refusal beeps.
    void typingRefusesWhatCp932CannotHold_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("refusals");
        QTest::newRow("é in the title") << 0 << "Caf" << "é" << "Caf" << 1;
        QTest::newRow("é in the year") << 4 << "19" << "é" << "19" << 1;
        QTest::newRow("an emoji in the comment") << 1 << "" << "😀" << "" << 1;
        QTest::newRow("kana") << 0 << "" << "あ" << "あ" << 0;
        QTest::newRow("the wave dash input methods type") << 2 << "" << "〜" << "〜" << 0;
        QTest::newRow("past the character limit") << 5 << "12" << "3" << "12" << 1;
    }
    void typingRefusesWhatCp932CannotHold()
    {
        QFETCH(int, index);
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(int, refusals);
        QLineEdit *edit = field(index);
        edit->setText(before);
        edit->setFocus();
        edit->end(false);
        QSignalSpy refused(qobject_cast<const TypingLimit *>(edit->validator()), &TypingLimit::refused);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
        QApplication::sendEvent(edit, &press);
        QCOMPARE(edit->text(), after);
        QCOMPARE(refused.size(), refusals);
    }

    // The track field reads as a list cell does.
    void trackNumberReading()
    {
        field(frmID3Edit::Track)->setText(QStringLiteral("+5"));
        QCOMPARE(window_->GetTrackNumber(), 5);
    }

    void genreList_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("selected");  // entry shown; -1: none
        QTest::addColumn<int>("got");
        QTest::newRow("first") << 0 << 0 << 0;
        QTest::newRow("Rock") << 17 << 17 << 17;
        QTest::newRow("last named") << 147 << 147 << 147;
        QTest::newRow("first unnamed") << 148 << -1 << 148;
        QTest::newRow("no genre") << 255 << -1 << 255;
        QTest::newRow("above a byte") << 256 << -1 << 0;
        QTest::newRow("negative") << -1 << -1 << 0;
    }
    void genreList()
    {
        QFETCH(int, set);
        QFETCH(int, selected);
        QFETCH(int, got);
        window_->SetGenreID(5);
        window_->SetGenreID(static_cast<qint16>(set));
        QCOMPARE(genres()->currentIndex(), selected);
        if (selected < 0)
            QCOMPARE(genres()->currentText(), QString());
        QCOMPARE(window_->GetGenreID(), got);
        // Picking an entry wins over a remembered number.
        genres()->setCurrentIndex(17);
        QCOMPARE(window_->GetGenreID(), 17);
    }

    void theGenreListHoldsAtMost256Entries()
    {
        for (int n = 148; n < 300; ++n)
            window_->GenreSet(QStringLiteral("g%1").arg(n));
        QCOMPARE(genres()->count(), 256);
        QCOMPARE(genres()->itemText(255), QStringLiteral("g255"));
    }
};

QTEST_MAIN(TestfrmID3Edit)
#include "tst_frmID3Edit.moc"
