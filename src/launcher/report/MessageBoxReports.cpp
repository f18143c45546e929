#include "launcher/report/MessageBoxReports.h"

MessageBoxReports::MessageBoxReports(MessageBoxService &messages, QString caption)
    : messages_(messages), caption_(std::move(caption))
{
}

bool MessageBoxReports::confirm(const QString &question, const QString &subject)
{
    return messages_.showMessage(question, MessageBoxService::Buttons::YesNo, MessageBoxService::Icon::Question,
                                 caption_ + subject)
           == MessageBoxService::Answer::Yes;
}

void MessageBoxReports::report(Kind kind, const QString &text, const QString &subject)
{
    MessageBoxService::Icon icon = MessageBoxService::Icon::Information;
    if (kind == Kind::Problem)
        icon = MessageBoxService::Icon::Exclamation;
    else if (kind == Kind::SaveFailure)
        icon = MessageBoxService::Icon::Critical;
    messages_.showMessage(text, MessageBoxService::Buttons::Ok, icon, caption_ + subject);
}
