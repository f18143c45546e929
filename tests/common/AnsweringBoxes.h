#pragma once

// Answers the real message boxes a window opens, for tests of the windows.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>

// Runs action and answers every message box that opens meanwhile, pressing
// the given buttons in turn; returns "title|text" of each box answered.
inline QStringList answeringBoxes(const QList<QMessageBox::StandardButton> &presses,
                                  const std::function<void()> &action)
{
    QStringList seen;
    QList<QMessageBox::StandardButton> left = presses;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || left.isEmpty())
            return;
        seen << box->windowTitle() + u'|' + box->text();
        box->button(left.takeFirst())->click();
    });
    timer.start();
    action();
    return seen;
}
