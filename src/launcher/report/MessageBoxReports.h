#pragma once

#include "services/MessageBoxService.h"
#include "services/ReportService.h"

// Reports as the window's modal message boxes: titled by the window's caption
// followed by the subject, questions with Yes and No and the question icon,
// notices with OK and the information icon, problems with OK and the
// exclamation icon, a failed save with the critical icon.
class MessageBoxReports final : public ReportService
{
public:
    MessageBoxReports(MessageBoxService &messages, QString caption);

    bool confirm(const QString &question, const QString &subject) override;
    void report(Kind kind, const QString &text, const QString &subject) override;

private:
    MessageBoxService &messages_;
    QString caption_;
};
