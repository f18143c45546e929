#include "text/CellNumber.h"

#include <QByteArray>

#include <cmath>

namespace {

// Moves i past the digits at i; true when there was at least one.
bool skipDigits(const QString &text, qsizetype &i)
{
    const qsizetype start = i;
    i = digitRunEnd(text, i);
    return i > start;
}

}  // namespace

quint8 cellNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    bool hasDigits = skipDigits(text, i);
    if (i < text.size() && text.at(i) == u'.') {
        ++i;
        hasDigits = skipDigits(text, i) || hasDigits;
    }
    if (!hasDigits)
        return 0;
    qsizetype end = i;
    // An exponent counts only when digits follow it; "1e" reads as 1.
    if (i < text.size() && QStringLiteral("eEdD").contains(text.at(i))) {
        ++i;
        if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
            ++i;
        if (skipDigits(text, i))
            end = i;
    }
    QByteArray number = text.mid(start, end - start).toLatin1();
    number.replace('d', 'e').replace('D', 'e');
    bool ok = false;
    const double value = number.toDouble(&ok);
    // The default rounding mode sends a half to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (!ok || !(rounded >= 0.0 && rounded <= 255.0))
        return 0;
    return static_cast<quint8>(rounded);
}
