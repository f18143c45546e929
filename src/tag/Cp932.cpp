#include "Cp932.h"

#include "ByteEscape.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr auto kCodec = "windows-31j";
constexpr char kNoForm = '?';

// A byte 0x80..0xFF that is no part of a valid CP932 character (Latin-1 text
// from other tools, a double-byte character cut at the end of a slot, bytes
// CP932 leaves undefined, a pair with no character) decodes to the lone low
// surrogate U+DC00 + byte, and that character encodes back to the byte. No
// CP932 character decodes to a surrogate and no typed text holds a lone one,
// so the escape cannot be taken for real text, and a field the user leaves
// alone is written back byte for byte. Bytes below 0x80 are always ASCII and
// are never escaped. A pair counts as a character only when the character
// encodes back to that pair: CP932 has two codes for a few hundred characters
// (the NEC-selected IBM extensions 0xED40..0xEEFC and some symbols), and
// writing such a pair in the other code would change the bytes, and even how
// an escaped lead byte before it reads.

// Characters that Japanese input methods on Linux type in their JIS form, with
// the bytes CP932 uses for the same glyph. ICU knows only the CP932 forms.
struct JisForm {
    char16_t unicode;
    unsigned char lead;
    unsigned char trail;
};
constexpr JisForm kJisForms[] = {
    {u'\u301C', 0x81, 0x60},  // WAVE DASH -> FULLWIDTH TILDE slot
    {u'\u2016', 0x81, 0x61},  // DOUBLE VERTICAL LINE -> PARALLEL TO slot
    {u'\u2212', 0x81, 0x7C},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS slot
    {u'\u00A2', 0x81, 0x91},  // CENT SIGN
    {u'\u00A3', 0x81, 0x92},  // POUND SIGN
    {u'\u00AC', 0x81, 0xCA},  // NOT SIGN
};

bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Bytes of one Unicode character (one code unit, or a surrogate pair).
QByteArray encodeOne(QStringEncoder &encoder, QStringView character)
{
    if (character.size() == 1) {
        const char16_t unit = character.front().unicode();
        if (unit < 0x80)
            return QByteArray(1, static_cast<char>(unit));
        for (const JisForm &form : kJisForms) {
            if (form.unicode == unit) {
                const char bytes[] = {static_cast<char>(form.lead), static_cast<char>(form.trail)};
                return QByteArray(bytes, 2);
            }
        }
        if (ByteEscape::isEscape(QChar(unit)))
            return QByteArray(1, ByteEscape::byteOf(QChar(unit)));
        if (QChar::isSurrogate(unit))
            return QByteArray(1, kNoForm);
    }
    QByteArray bytes = encoder.encode(character);
    // ICU substitutes 0xFC 0xFC (a pair no CP932 character uses) for a
    // character it cannot map; Windows writes "?" instead.
    if (bytes.isEmpty() || bytes == QByteArrayView("\xFC\xFC"))
        return QByteArray(1, kNoForm);
    return bytes;
}

template <typename Sink>
void forEachEncodedCharacter(QStringView text, Sink &&sink)
{
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    Q_ASSERT(encoder.isValid());
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        if (!sink(encodeOne(encoder, text.mid(i, length))))
            return;
        i += length;
    }
}

// The character that starts at byte i: its width in bytes and its text, or an
// empty text when the byte at i is no part of a valid character.
struct Decoded {
    qsizetype width;
    QString text;
};
Decoded decodeAt(QStringDecoder &decoder, QStringEncoder &encoder, QByteArrayView bytes, qsizetype i)
{
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80)
        return {1, QString(QChar(byte))};
    const qsizetype width = Cp932::isLeadByte(byte) && i + 1 < bytes.size()
            && isTrailByte(static_cast<unsigned char>(bytes[i + 1])) ? 2 : 1;
    // ICU gives nothing for a lone lead byte, U+001A (SUB) for an undefined
    // single byte, U+FFFD for a pair it cannot map, and the one character of
    // a pair CP932 writes in another code: none of them encodes back.
    const QByteArrayView code = bytes.sliced(i, width);
    QString character = decoder.decode(code);
    if (character.size() != 1 || encodeOne(encoder, character) != code)
        return {1, QString()};
    return {width, std::move(character)};
}

}  // namespace

namespace Cp932 {

bool isAvailable()
{
    return QStringEncoder(kCodec).isValid() && QStringDecoder(kCodec).isValid();
}

QByteArray encode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    forEachEncodedCharacter(text, [&out](const QByteArray &bytes) {
        out += bytes;
        return true;
    });
    return out;
}

QByteArray encodeCut(QStringView text, qsizetype maxBytes)
{
    QByteArray out;
    forEachEncodedCharacter(text, [&out, maxBytes](const QByteArray &bytes) {
        if (out.size() + bytes.size() > maxBytes)
            return false;
        out += bytes;
        return true;
    });
    return out;
}

qsizetype byteLength(QStringView text)
{
    return encode(text).size();
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

qsizetype cutLength(QByteArrayView bytes, qsizetype maxBytes)
{
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype width = decodeAt(decoder, encoder, bytes, i).width;
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return i;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    Q_ASSERT(decoder.isValid() && encoder.isValid());
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const Decoded character = decodeAt(decoder, encoder, bytes, i);
        if (character.text.isEmpty())
            out += ByteEscape::escape(static_cast<unsigned char>(bytes[i]));
        else
            out += character.text;
        i += character.width;
    }
    return out;
}

}  // namespace Cp932
