#include "platform/QtLookupWindow.h"

#include "system/QtWebService.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("MusicBrainz");

}  // namespace

void QtLookupWindow::whileAsking(const QString &text, const std::function<void(WebService &web)> &ask)
{
    // A web service of its own for each ask, so a cancel ends only this one.
    QtWebService web;
    QProgressDialog waiting(text, QStringLiteral("キャンセル"), 0, 0, owner_);
    waiting.setObjectName(QStringLiteral("lookupWaiting"));
    waiting.setWindowTitle(kTitle);
    waiting.setWindowModality(Qt::WindowModal);
    waiting.setMinimumDuration(0);
    QObject::connect(&waiting, &QProgressDialog::canceled, &web, &QtWebService::cancel);
    waiting.show();
    ask(web);
}

int QtLookupWindow::chooseRelease(const QString &heading, const QStringList &releases)
{
    QDialog dialog(owner_);
    dialog.setObjectName(QStringLiteral("lookupChoice"));
    dialog.setWindowTitle(kTitle);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(heading, &dialog);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lookupReleases"));
    list->addItems(releases);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    // Wide enough for the longest line, within the screen.
    const int width = list->sizeHintForColumn(0) + 4 * list->frameWidth() + 40;
    dialog.resize(qMax(dialog.sizeHint().width(), width), dialog.sizeHint().height() + 8 * list->sizeHintForRow(0));
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
}
