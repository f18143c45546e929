#pragma once

// Message boxes in memory: each shown box is recorded, and Yes/No questions
// are answered from a queue.

#include "services/MessageBoxService.h"

#include <QList>
#include <QString>

struct ShownMessage {
    QString text;
    MessageBoxService::Buttons buttons;
    MessageBoxService::Icon icon;
    QString title;
};

class FakeMessageBox : public MessageBoxService
{
public:
    QList<ShownMessage> shown;
    // Answers given to Yes/No questions, in order; Yes once they run out.
    QList<Answer> answers;

    Answer showMessage(const QString &text, Buttons buttons, Icon icon, const QString &title) override
    {
        shown.append({text, buttons, icon, title});
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
    }
};
