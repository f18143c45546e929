#include "platform/Cp932OnlyInput.h"

#include "text/Cp932.h"

#include <QLineEdit>

Cp932OnlyInput::Cp932OnlyInput(QLineEdit *field) : QValidator(field)
{
    field->setValidator(this);
}

QValidator::State Cp932OnlyInput::validate(QString &input, int &pos) const
{
    const QString beforeCursor = Cp932::heldCharacters(QStringView(input).left(pos));
    input = beforeCursor + Cp932::heldCharacters(QStringView(input).mid(pos));
    pos = static_cast<int>(beforeCursor.size());
    return Acceptable;
}
