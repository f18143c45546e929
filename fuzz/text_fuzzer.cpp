// Feeds arbitrary bytes to the readings of tag text: as CP932 they must give
// text that encodes to bytes of the same length and reads back the same, and
// whose cuts to a slot end on a character; as UTF-8, the bytes filling their
// slot, what is read is the bytes (less a byte order mark) but for at most a
// character cut at their end; as EUC-JP anything may be read, or nothing.

#include "FuzzCheck.h"
#include "text/Cp932.h"
#include "text/ForeignText.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void checkCp932(QByteArrayView bytes)
{
    const QString text = Cp932::decode(bytes);
    const QByteArray encoded = Cp932::encode(text);
    check(Cp932::decode(encoded) == text, "decoded bytes do not encode to the same text");
    check(encoded.size() == bytes.size() && Cp932::byteLength(text) == bytes.size(),
          "byte length of decoded bytes differs");
    // The first byte picks a slot's width, as 4, 28 and 30 are.
    const qsizetype width = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]) % 40;
    const QString cut = Cp932::cutText(text, width);
    check(text.startsWith(cut), "cut text is no prefix");
    check(Cp932::encode(cut) == Cp932::encodeCut(text, width), "cut text's bytes differ from encodeCut");
    check(Cp932::encodeCut(text, width).size() <= width, "cut bytes longer than the slot");
    check(Cp932::cutLength(bytes, width) <= width, "cut length longer than the slot");
}

void checkUtf8(QByteArrayView bytes)
{
    const std::optional<QString> text = decodeForeign(ForeignCodePage::Utf8, bytes, bytes.size());
    if (!text)
        return;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const QByteArray back = text->toUtf8();
    check(bytes.startsWith(back) && bytes.size() - back.size() < 4, "UTF-8 reading is not the bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkCp932(bytes);
    checkUtf8(bytes);
    (void)decodeForeign(ForeignCodePage::EucJp, bytes, bytes.size());
    return 0;
}
