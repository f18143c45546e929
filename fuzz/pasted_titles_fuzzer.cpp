// Feeds arbitrary text (the bytes read as UTF-8) to the reading of a pasted
// track list: there are no more titles than lines, and every title is part
// of the text after the one before, not empty, without a line break and
// without blanks around it.

#include "FuzzCheck.h"
#include "launcher/text/PastedTitles.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList titles = pastedTitles(text);
    check(titles.size() <= text.count(u'\n') + text.count(u'\r') + 1, "more titles than lines");
    // Each title stands in the text after the one before.
    qsizetype at = 0;
    for (const QString &title : titles) {
        check(!title.isEmpty() && title == title.trimmed(), "title empty or with blanks around it");
        check(!title.contains(u'\n') && !title.contains(u'\r'), "title with a line break");
        at = text.indexOf(title, at);
        check(at >= 0, "title that is no part of the text, or out of order");
        ++at;
    }
    return 0;
}
