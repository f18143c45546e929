// Qt's own words in Kalvo's message boxes are Japanese, and their keys keep
// their meaning.

#include "platform/MessageDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTest>
#include <QTimer>

class TestQtTranslation : public QObject
{
    Q_OBJECT

private slots:
    void yesNoButtonsAreJapanese()
    {
        if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm")))
            QSKIP("Qt's Japanese translation is not installed (qt6-translations-l10n)");
        QVERIFY(installQtJapanese(*qApp));

        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<MessageDialog *>(QApplication::activeModalWidget());
            QVERIFY(box);
            captions << box->button(QDialogButtonBox::Yes)->text() << box->button(QDialogButtonBox::No)->text();
            QTest::keyClick(box, Qt::Key_N);
        });
        QtMessageBox boxes(nullptr);
        const auto answer = boxes.showMessage(QStringLiteral("よろしいですか？"), MessageBoxService::Buttons::YesNo,
                                              MessageBoxService::Icon::Question, QStringLiteral("Kalvo[確認]"));
        QCOMPARE(captions, QStringList({QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
        QCOMPARE(answer, MessageBoxService::Answer::No);
    }
};

QTEST_MAIN(TestQtTranslation)
#include "tst_QtTranslation.moc"
