#pragma once

#include <QString>

// A modal message box owned by the main window: blocks until answered, and no
// other window of the program takes input meanwhile. A carriage return
// (code 13) in the text starts a new line.
class MessageBoxService
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Icon { Question, Exclamation, Critical, Information };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBoxService() = default;
    virtual Answer showMessage(const QString &text, Buttons buttons, Icon icon, const QString &title) = 0;
};
