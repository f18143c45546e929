#include "Cp932OnlyInput.h"

#include "Cp932.h"

#include <QLineEdit>

Cp932OnlyInput::Cp932OnlyInput(QLineEdit *field) : QValidator(field)
{
    field->setValidator(this);
}

QValidator::State Cp932OnlyInput::validate(QString &input, int &pos) const
{
    QString kept;
    int keptPos = pos;
    for (qsizetype i = 0; i < input.size();) {
        const qsizetype length = input.at(i).isHighSurrogate() && i + 1 < input.size() ? 2 : 1;
        const QStringView character = QStringView(input).sliced(i, length);
        if (!Cp932::hasCharacterWithoutForm(character))
            kept += character;
        else if (i < pos)
            keptPos -= static_cast<int>(length);
        i += length;
    }
    input = kept;
    pos = keptPos;
    return Acceptable;
}
