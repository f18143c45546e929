#pragma once

#include <QValidator>

class QLineEdit;

// Limits what the user types into a line edit to a number of characters,
// without cutting text the program puts in (QLineEdit::setMaxLength would cut
// it), and to characters CP932 holds, so the field shows what a save writes.
// While such a text is longer than the limit, the user may shorten it but not
// lengthen it. A typed character that does not fit or that CP932 lacks is
// not entered. A paste or an input method's entry of several characters
// keeps those CP932 holds, cut to fit, over a selection or not, in whole
// characters, within the character limit and, where the field has one, its
// limit in CP932 bytes. Whatever is left out beeps.
class TypingLimit : public QValidator
{
    Q_OBJECT
public:
    // Installs itself on the field, which owns it. maxBytes 0: no byte limit.
    TypingLimit(QLineEdit *field, int maxCharacters, int maxBytes = 0);

signals:
    // Something typed or pasted was left out.
    void refused() const;

public:

    // Replaces the field's whole text, however long.
    void putText(const QString &text);

    State validate(QString &input, int &pos) const override;

private:
    bool fits(const QString &text) const;
    // Cuts the characters inserted from start up to the cursor (pos) to what
    // fits; typed: they are one character typed.
    State keepWhatFits(QString &input, int &pos, qsizetype start, bool typed) const;

    QLineEdit *field_;
    int maxCharacters_;
    int maxBytes_;
    // The longest text accepted now: the limit, or the length of a longer text
    // the program put in, as far as the user has not shortened it since.
    qsizetype allowed_;
    // The field's text before the change being validated.
    QString lastText_;
    bool puttingText_ = false;
};
