#include "Cp932OnlyInput.h"

#include "Cp932.h"

#include <QLineEdit>

namespace {

// True when CP932 holds the character (one code unit, or a surrogate pair):
// it encodes to something other than the "?" that stands for no form.
bool cp932Holds(QStringView character)
{
    return character == u"?" || Cp932::encode(character) != "?";
}

}  // namespace

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
        if (cp932Holds(character))
            kept += character;
        else if (i < pos)
            keptPos -= static_cast<int>(length);
        i += length;
    }
    input = kept;
    pos = keptPos;
    return Acceptable;
}
