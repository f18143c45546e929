#include "TypingLimit.h"

#include <QLineEdit>

#include <algorithm>

TypingLimit::TypingLimit(QLineEdit *field, int maxCharacters)
    : QValidator(field), field_(field), maxCharacters_(maxCharacters), allowed_(maxCharacters)
{
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) {
        allowed_ = std::max<qsizetype>(maxCharacters_, std::min(allowed_, text.size()));
    });
    field->setValidator(this);
}

void TypingLimit::putText(const QString &text)
{
    // The field validates the new text too; it must pass, or the field would
    // stop undoing the user's later over-long edits.
    allowed_ = std::max<qsizetype>(maxCharacters_, text.size());
    field_->setText(text);
}

QValidator::State TypingLimit::validate(QString &input, int &) const
{
    return input.size() <= allowed_ ? Acceptable : Invalid;
}
