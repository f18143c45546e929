#pragma once

// Answers the real message boxes a window opens, for tests of the windows.

#include "platform/MessageDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>

// Runs action and answers every message box that opens meanwhile, pressing
// the given buttons in turn, and cancels any other modal dialog (a file
// chooser); returns "title|text" of each box and the title of each dialog.
inline QStringList answeringBoxes(const QList<QMessageBox::StandardButton> &presses,
                                  const std::function<void()> &action)
{
    QStringList seen;
    QList<QMessageBox::StandardButton> left = presses;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *box = qobject_cast<MessageDialog *>(modal);
        if (box && !left.isEmpty()) {
            seen << box->windowTitle() + u'|' + box->text();
            box->button(QDialogButtonBox::StandardButton(left.takeFirst()))->click();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && !box) {
            seen << dialog->windowTitle();
            dialog->reject();
        }
    });
    timer.start();
    action();
    return seen;
}
