// Feeds arbitrary text (the bytes read as UTF-8) to the reading of a pasted
// track list: there are no more titles than lines, and every title is a
// line's text, not empty, without a line break and without blanks around
// it.

#include "FuzzCheck.h"
#include "PastedTitles.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList titles = pastedTitles(text);
    check(titles.size() <= text.count(u'\n') + text.count(u'\r') + 1, "more titles than lines");
    for (const QString &title : titles) {
        check(!title.isEmpty() && title == title.trimmed(), "title empty or with blanks around it");
        check(!title.contains(u'\n') && !title.contains(u'\r'), "title with a line break");
        check(text.contains(title), "title that is no part of the text");
    }
    return 0;
}
