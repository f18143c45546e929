#include "launcher/text/NaturalOrder.h"

#include "text/CellNumber.h"

namespace {

// The run of digits starting at position at, without its leading zeros, and
// at moved past it.
QStringView numberAt(QStringView text, qsizetype &at)
{
    const qsizetype start = at;
    at = digitRunEnd(text, at);
    QStringView digits = text.sliced(start, at - start);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.sliced(1);
    return digits;
}

}  // namespace

bool naturalLess(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        int order = 0;
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            const QStringView x = numberAt(a, i);
            const QStringView y = numberAt(b, j);
            order = x.size() != y.size() ? (x.size() < y.size() ? -1 : 1) : x.compare(y);
        } else if (a[i++] != b[j++]) {  // names of a folder mostly share their starts
            order = a.sliced(i - 1, 1).compare(b.sliced(j - 1, 1), Qt::CaseInsensitive);
        }
        if (order != 0)
            return order < 0;
    }
    if (i < a.size() || j < b.size())
        return j < b.size();
    return a < b;
}
