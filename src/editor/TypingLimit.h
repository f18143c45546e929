#pragma once

#include <QValidator>

class QLineEdit;

// Limits what the user types into a line edit to a number of characters,
// without cutting text the program puts in (QLineEdit::setMaxLength would cut
// it). While such a text is longer than the limit, the user may shorten it
// but not lengthen it.
class TypingLimit : public QValidator
{
    Q_OBJECT
public:
    // Installs itself on the field, which owns it.
    TypingLimit(QLineEdit *field, int maxCharacters);

    // Replaces the field's whole text, however long.
    void putText(const QString &text);

    State validate(QString &input, int &pos) const override;

private:
    QLineEdit *field_;
    int maxCharacters_;
    // The longest text accepted now: the limit, or the length of a longer text
    // the program put in, as far as the user has not shortened it since.
    qsizetype allowed_;
};
