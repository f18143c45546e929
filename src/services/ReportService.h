#pragma once

#include <QString>

// Where the list's logic tells the user what happened, and asks before it
// changes many rows. Each message has a subject, the bracketed word the
// window shows after its caption ("[確認]", " [保存エラー]"). A carriage
// return (code 13) in a text starts a new line.
class ReportService
{
public:
    enum class Kind {
        Notice,       // a command has finished; the About box
        Problem,      // something could not be done, the rest was
        SaveFailure,  // a file could not be saved
    };

    virtual ~ReportService() = default;
    // A question answered yes or no; true for yes.
    virtual bool confirm(const QString &question, const QString &subject) = 0;
    virtual void report(Kind kind, const QString &text, const QString &subject) = 0;
};
