// The message box as the user meets it: a long text scrolls inside a box
// that fits the screen, lines break only where the text breaks them, and the
// keys answer as in Qt's own boxes.

#include "platform/MessageDialog.h"
#include "platform/QtMessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollArea>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

// Buttons in the order GNOME gives them: No before Yes.
class GnomeButtonOrder : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

class TestMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void aLongTextScrollsInsideTheScreen_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("lineLength");  // characters of each line
        QTest::addColumn<bool>("scrollsDown");
        QTest::addColumn<bool>("scrollsAcross");
        QTest::newRow("fifteen lines") << MessageDialog::kShownLines << 20 << false << false;
        QTest::newRow("sixteen lines") << MessageDialog::kShownLines + 1 << 20 << true << false;
        QTest::newRow("a line wider than the screen") << 1 << 300 << false << true;
        QTest::newRow("99 wide lines") << 99 << 300 << true << true;
    }
    void aLongTextScrollsInsideTheScreen()
    {
        QFETCH(int, lines);
        QFETCH(int, lineLength);
        QFETCH(bool, scrollsDown);
        QFETCH(bool, scrollsAcross);
        QStringList text;
        for (int line = 1; line <= lines; ++line)
            text << QStringLiteral("%1 ").arg(line, 2, 10, QChar(u'0')) + QString(lineLength - 3, u'あ');
        MessageDialog box(QMessageBox::Warning, QStringLiteral("Kalvo [取り込み]"), text.join(u'\n'),
                          QDialogButtonBox::Ok, nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));

        const QRect screen = box.screen()->availableGeometry();
        QVERIFY2(box.width() <= screen.width() && box.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
        QScrollArea *area = box.textArea();
        auto *label = qobject_cast<QLabel *>(area->widget());
        // No line is broken: the text is as high as its lines.
        QVERIFY(label->height() <= lines * label->fontMetrics().height());
        const int lineHeight = label->height() / lines;
        QCOMPARE(area->verticalScrollBar()->isVisible(), scrollsDown);
        QCOMPARE(area->horizontalScrollBar()->isVisible(), scrollsAcross);
        const QSize viewport = area->viewport()->size();
        if (!scrollsDown)
            QVERIFY(viewport.height() >= label->height());
        else if (!scrollsAcross)
            QVERIFY(viewport.height() >= MessageDialog::kShownLines * lineHeight
                    && viewport.height() < (MessageDialog::kShownLines + 1) * lineHeight);
        if (!scrollsAcross)
            QVERIFY(viewport.width() >= label->width());
    }

    // Enter takes Yes or OK, a button's letter answers without Alt, and
    // Escape answers No to a question.
    void keysAnswer_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("gnomeOrder");
        using M = MessageBoxService;
        const int question = int(M::Buttons::YesNo), notice = int(M::Buttons::Ok);
        QTest::newRow("Enter on a question") << question << int(Qt::Key_Return) << int(M::Answer::Yes) << false;
        QTest::newRow("Enter, No before Yes") << question << int(Qt::Key_Return) << int(M::Answer::Yes) << true;
        QTest::newRow("Y") << question << int(Qt::Key_Y) << int(M::Answer::Yes) << false;
        QTest::newRow("N") << question << int(Qt::Key_N) << int(M::Answer::No) << false;
        QTest::newRow("Escape on a question") << question << int(Qt::Key_Escape) << int(M::Answer::No) << false;
        QTest::newRow("Escape on a notice") << notice << int(Qt::Key_Escape) << int(M::Answer::Ok) << false;
    }
    void keysAnswer()
    {
        QFETCH(int, buttons);
        QFETCH(int, key);
        QFETCH(int, answer);
        QFETCH(bool, gnomeOrder);
        const QString styleName = QApplication::style()->name();
        if (gnomeOrder)
            QApplication::setStyle(new GnomeButtonOrder(styleName));
        const auto restoreStyle = qScopeGuard([&] {
            if (gnomeOrder)
                QApplication::setStyle(styleName);
        });
        bool answered = false;
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key));
            // A letter clicks its button after a short animation.
            QTRY_VERIFY(!box->isVisible());
            answered = true;
        });
        QtMessageBox messages(nullptr);
        const auto result = messages.showMessage(QStringLiteral("よろしいですか？"), MessageBoxService::Buttons(buttons),
                                                 MessageBoxService::Icon::Question, QStringLiteral("Kalvo[確認]"));
        QVERIFY(answered);
        QCOMPARE(int(result), answer);
    }
};

QTEST_MAIN(TestMessageDialog)
#include "tst_MessageDialog.moc"
