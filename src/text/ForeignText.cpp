#include "text/ForeignText.h"

#include "text/Utf8.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

// Control characters of the C0 range and DEL are ASCII bytes, which read the
// same in CP932 and in both code pages; only the C1 range can come from
// reading the bytes again.
bool holdsControlCharacter(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x80 && c.unicode() <= 0x9F; });
}

std::optional<QString> decodeWhole(ForeignCodePage codePage, QByteArrayView bytes)
{
    QStringDecoder decoder(codePage == ForeignCodePage::Utf8 ? "UTF-8" : "EUC-JP",
                           QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.isValid() || decoder.hasError() || holdsControlCharacter(text))
        return std::nullopt;
    return text;
}

bool isByteIn(QByteArrayView bytes, qsizetype i, unsigned char low, unsigned char high)
{
    const auto byte = static_cast<unsigned char>(bytes[i]);
    return byte >= low && byte <= high;
}

// True when the bytes are the start of a character of the code page, with
// bytes missing at its end.
bool isCutCharacter(ForeignCodePage codePage, QByteArrayView tail)
{
    if (codePage == ForeignCodePage::EucJp) {
        // A two-byte character's lead, the half-width katakana prefix 0x8E,
        // or the JIS X 0212 prefix 0x8F with or without its second byte.
        if (tail.size() == 1)
            return isByteIn(tail, 0, 0x8E, 0x8F) || isByteIn(tail, 0, 0xA1, 0xFE);
        return tail.size() == 2 && isByteIn(tail, 0, 0x8F, 0x8F) && isByteIn(tail, 1, 0xA1, 0xFE);
    }
    // UTF-8: a lead byte, then well-formed bytes, fewer than it needs.
    const Utf8Start start = utf8Start(tail);
    return start.needed > tail.size() && start.fitting == tail.size();
}

}  // namespace

std::optional<QString> decodeForeign(ForeignCodePage codePage, QByteArrayView bytes, qsizetype slotWidth)
{
    if (std::optional<QString> text = decodeWhole(codePage, bytes))
        return text;
    if (bytes.size() < slotWidth)
        return std::nullopt;
    const qsizetype longestCut = codePage == ForeignCodePage::Utf8 ? 3 : 2;
    for (qsizetype cut = 1; cut <= longestCut && cut < bytes.size(); ++cut) {
        if (!isCutCharacter(codePage, bytes.last(cut)))
            continue;
        if (std::optional<QString> text = decodeWhole(codePage, bytes.first(bytes.size() - cut)))
            return text;
    }
    return std::nullopt;
}
