#include "TagUpdate.h"

#include "CellNumber.h"

std::optional<quint8> trackNumberOf(QStringView text)
{
    qsizetype digits = 0;
    while (digits < text.size() && isAsciiDigit(text[digits]))
        ++digits;
    if (digits == 0 || (digits < text.size() && text[digits] != u'/'))
        return std::nullopt;
    bool ok = false;
    const uint number = text.left(digits).toUInt(&ok);
    if (!ok || number < 1 || number > 255)
        return std::nullopt;
    return static_cast<quint8>(number);
}
