#pragma once

#include <QValidator>

class QLineEdit;

// Keeps a line edit to text CP932 can hold: a typed or pasted character that
// CP932 has no form for is not inserted, the others of a paste are. So the
// text the settings file keeps in CP932 is the text the user sees.
class Cp932OnlyInput : public QValidator
{
    Q_OBJECT
public:
    // Installs itself on the field, which owns it.
    explicit Cp932OnlyInput(QLineEdit *field);

    State validate(QString &input, int &pos) const override;
};
