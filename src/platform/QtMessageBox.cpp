#include "platform/QtMessageBox.h"

#include "platform/MessageDialog.h"

namespace {

QMessageBox::Icon toQt(MessageBoxService::Icon icon)
{
    switch (icon) {
    case MessageBoxService::Icon::Question:
        return QMessageBox::Question;
    case MessageBoxService::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBoxService::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBoxService::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageBoxService::Answer QtMessageBox::showMessage(const QString &text, Buttons buttons, Icon icon,
                                                    const QString &title)
{
    QString shown = text;
    shown.replace(QChar(u'\r'), QChar(u'\n'));
    const auto standardButtons = buttons == Buttons::YesNo ? QDialogButtonBox::Yes | QDialogButtonBox::No
                                                           : QDialogButtonBox::Ok;
    MessageDialog box(toQt(icon), title, shown, standardButtons, owner_);
    box.exec();
    switch (box.answer()) {
    case QDialogButtonBox::Yes:
        return Answer::Yes;
    case QDialogButtonBox::No:
        return Answer::No;
    default:
        // Escape on a Yes/No question counts as No.
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}
