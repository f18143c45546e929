// Feeds arbitrary bytes to the settings file's text as Kalvo reads and
// writes it. The first byte says how many of the next bytes (with line
// breaks left out) are a value to write, read as CP932; the rest is the
// file's text. The value read is at most 255 bytes; the text with the value
// written reads back as that value, keeps the other key as it read, and
// writing the same value again changes nothing.

#include "FuzzCheck.h"
#include "system/ProfileText.h"
#include "text/Cp932.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

const QString kSection = QStringLiteral("KIV");
const QString kKey = QStringLiteral("FILE_FORMAT");
const QString kOtherKey = QStringLiteral("OTHER");

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto valueSize = static_cast<qsizetype>(std::min<std::size_t>(data[0] % 200, size - 1));
    QByteArray valueBytes(reinterpret_cast<const char *>(data) + 1, valueSize);
    valueBytes.replace('\r', QByteArray()).replace('\n', QByteArray());
    const QString value = Cp932::decode(valueBytes);
    const QByteArray text(reinterpret_cast<const char *>(data) + 1 + valueSize,
                          static_cast<qsizetype>(size) - 1 - valueSize);

    const QString read = profileValue(text, kSection, kKey);
    check(Cp932::encode(read).size() <= 255, "a value read longer than 255 bytes");

    const QByteArray written = withProfileValue(text, kSection, kKey, value);
    check(profileValue(written, kSection, kKey) == value, "a value written does not read back");
    check(profileValue(written, kSection, kOtherKey) == profileValue(text, kSection, kOtherKey),
          "writing one key changed another");
    check(withProfileValue(written, kSection, kKey, value) == written, "writing the same value again changed the text");
    return 0;
}
