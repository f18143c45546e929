#include "id3v1/TagUpdate.h"

#include "text/CellNumber.h"

std::optional<quint8> trackNumberOf(QStringView text)
{
    const qsizetype digits = digitRunEnd(text, 0);
    if (digits == 0 || (digits < text.size() && text[digits] != u'/'))
        return std::nullopt;
    bool ok = false;
    const uint number = text.left(digits).toUInt(&ok);
    if (!ok || number < 1 || number > 255)
        return std::nullopt;
    return static_cast<quint8>(number);
}
