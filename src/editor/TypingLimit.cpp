#include "editor/TypingLimit.h"

#include "text/Cp932.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>

TypingLimit::TypingLimit(QLineEdit *field, int maxCharacters, int maxBytes)
    : QValidator(field), field_(field), maxCharacters_(maxCharacters), maxBytes_(maxBytes), allowed_(maxCharacters)
{
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) {
        allowed_ = std::max<qsizetype>(maxCharacters_, std::min(allowed_, text.size()));
        lastText_ = text;
    });
    field->setValidator(this);
    connect(this, &TypingLimit::refused, &QApplication::beep);
}

void TypingLimit::putText(const QString &text)
{
    // The field validates the new text too; it must pass whole, or the field
    // would stop undoing the user's later over-long edits.
    allowed_ = std::max<qsizetype>(maxCharacters_, text.size());
    puttingText_ = true;
    field_->setText(text);
    puttingText_ = false;
}

bool TypingLimit::fits(const QString &text) const
{
    return text.size() <= allowed_ && (maxBytes_ == 0 || Cp932::byteLength(text) <= maxBytes_);
}

QValidator::State TypingLimit::validate(QString &input, int &pos) const
{
    if (puttingText_)
        return Acceptable;
    // The edit replaced a part of the old text (a selection, or nothing) by
    // the characters that end at the cursor: what follows the cursor is the
    // old text's end, and the two texts agree up to where the new part starts.
    const qsizetype kept = input.size() - pos;
    qsizetype start = 0;
    const qsizetype limit = std::min<qsizetype>(pos, lastText_.size() - kept);
    while (start < limit && input.at(start) == lastText_.at(start))
        ++start;
    const qsizetype inserted = pos - start;
    if (inserted == 0)
        return input.size() <= allowed_ ? Acceptable : Invalid;

    // Only characters CP932 holds go in; with none, nothing changes.
    const QString held = Cp932::heldCharacters(QStringView(input).sliced(start, inserted));
    const qsizetype length = input.size() - (inserted - held.size());
    input.replace(start, inserted, held);
    pos = static_cast<int>(start + held.size());
    const State state = held.isEmpty() ? Invalid : keepWhatFits(input, pos, start, inserted == 1);
    if (state == Invalid || input.size() < length || held.size() < inserted)
        emit refused();
    return state;
}

QValidator::State TypingLimit::keepWhatFits(QString &input, int &pos, qsizetype start, bool typed) const
{
    // One typed character: only the character limit counts, and the input
    // check reports a text too long in bytes.
    if (typed)
        return input.size() <= allowed_ ? Acceptable : Invalid;
    if (fits(input))
        return Acceptable;
    // Several characters at once (a paste, an input method's entry), over a
    // selection or not: keep the longest start of them that fits beside what
    // stays of the old text. CP932 characters are never half a surrogate pair.
    for (qsizetype cut = pos - 1; cut > start; --cut) {
        const QString shorter = input.left(cut) + input.mid(pos);
        if (fits(shorter)) {
            input = shorter;
            pos = static_cast<int>(cut);
            return Acceptable;
        }
    }
    return Invalid;
}
