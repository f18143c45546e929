#include "launcher/text/PastedTitles.h"

#include <QRegularExpression>

namespace {

// Digits and blanks of any width.
constexpr auto kUnicode = QRegularExpression::UseUnicodePropertiesOption;
// One to three digits not followed by another, then ".", ")", a dash or a
// blank; "1984" alone is a title, not a number.
const QRegularExpression kLeadingNumber(QStringLiteral("^\\d{1,3}(?!\\d)(?:\\s*[.)．）]|\\s*[-–—]|\\s)\\s*"), kUnicode);
const QRegularExpression kTrailingDuration(
    QStringLiteral("\\s*(?:\\(\\s*\\d{1,2}(?::\\d{2}){1,2}\\s*\\)|\\d{1,2}(?::\\d{2}){1,2})$"), kUnicode);
const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));

// Pairs of quotes a title may stand in.
constexpr std::pair<char16_t, char16_t> kQuotes[] = {
    {u'"', u'"'}, {u'\'', u'\''}, {u'“', u'”'}, {u'‘', u'’'}, {u'「', u'」'}, {u'『', u'』'},
};

QString withoutQuotes(const QString &text)
{
    if (text.size() < 2)
        return text;
    for (const auto &[open, close] : kQuotes) {
        if (text.front() == open && text.back() == close)
            return text.mid(1, text.size() - 2).trimmed();
    }
    return text;
}

}  // namespace

QStringList pastedTitles(const QString &text)
{
    QStringList titles;
    for (const QString &line : text.split(kLineBreak)) {
        QString title = line.trimmed();
        title.remove(kLeadingNumber);
        title.remove(kTrailingDuration);
        title = withoutQuotes(title.trimmed());
        if (!title.isEmpty())
            titles << title;
    }
    return titles;
}
