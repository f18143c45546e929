#include "text/Cp932.h"

#include "text/ByteEscape.h"

#include <QMultiHash>
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
// so the escape cannot be taken for real text. Bytes below 0x80 are always
// ASCII and are never escaped.
//
// CP932 has two codes for 398 characters (NEC row 13 symbols at 0x8790..,
// the NEC-selected IBM extensions 0xED40..0xEEFC, IBM extensions at
// 0xFA4A..): both read as the character, which encodes to the code Windows
// writes. A field the user leaves alone keeps the code it had because the
// block is built from the old slot's bytes then (TagBlock), not because the
// code survives decoding.

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

// One converter each way per thread, made once: opening an ICU converter
// costs more than converting a field. They are stateless, so no call leaves
// anything behind for the next.
QStringEncoder &cp932Encoder()
{
    thread_local QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    return encoder;
}

QStringDecoder &cp932Decoder()
{
    thread_local QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    return decoder;
}

bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The bytes of one character in CP932: one or two, held without the heap.
struct Code {
    char bytes[2]{};
    qsizetype size = 0;

    QByteArrayView view() const { return QByteArrayView(bytes, size); }
};

Code oneByte(char byte)
{
    return {.bytes = {byte, 0}, .size = 1};
}

// What ICU makes of a character, or of one or two bytes, kept once asked for
// (at most one entry for each of 65,536 keys): converting costs far more than
// looking up, and texts repeat their characters. A kept string is handed out
// shared, without copying.
Code icuEncoded(QStringEncoder &encoder, QStringView character)
{
    const auto codeOf = [](QByteArrayView bytes) {
        // ICU substitutes 0xFC 0xFC (a pair no CP932 character uses) for a
        // character it cannot map; Windows writes "?" instead.
        if (bytes.isEmpty() || bytes.size() > 2 || bytes == QByteArrayView("\xFC\xFC"))
            return oneByte(kNoForm);
        return Code{.bytes = {bytes[0], bytes.size() > 1 ? bytes[1] : '\0'}, .size = bytes.size()};
    };
    if (character.size() != 1)
        return codeOf(QByteArray(encoder.encode(character)));
    thread_local QHash<char16_t, Code> known;
    const char16_t unit = character.front().unicode();
    auto found = known.constFind(unit);
    if (found == known.constEnd())
        found = known.insert(unit, codeOf(QByteArray(encoder.encode(character))));
    return *found;
}

QString icuDecoded(QStringDecoder &decoder, QByteArrayView code)
{
    thread_local QHash<quint16, QString> known;
    const auto key = static_cast<quint16>(static_cast<unsigned char>(code.front()) << 8
                                          | (code.size() > 1 ? static_cast<unsigned char>(code[1]) : 0));
    auto found = known.constFind(key);
    if (found == known.constEnd())
        found = known.insert(key, decoder.decode(code));
    return *found;
}

// Bytes of one Unicode character (one code unit, or a surrogate pair).
Code encodeOne(QStringEncoder &encoder, QStringView character)
{
    if (character.size() == 1) {
        const char16_t unit = character.front().unicode();
        if (unit < 0x80)
            return oneByte(static_cast<char>(unit));
        for (const JisForm &form : kJisForms) {
            if (form.unicode == unit)
                return {.bytes = {static_cast<char>(form.lead), static_cast<char>(form.trail)}, .size = 2};
        }
        if (ByteEscape::isEscape(QChar(unit)))
            return oneByte(ByteEscape::byteOf(QChar(unit)));
        if (QChar::isSurrogate(unit))
            return oneByte(kNoForm);
    }
    return icuEncoded(encoder, character);
}

// The character of a pair CP932 defines; empty for any other two bytes. ICU
// gives U+FFFD for a pair CP932 leaves undefined.
QString definedPair(QStringDecoder &decoder, unsigned char lead, unsigned char trail)
{
    if (!Cp932::isLeadByte(lead) || !isTrailByte(trail))
        return QString();
    const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
    const QString character = icuDecoded(decoder, QByteArrayView(pair, 2));
    return character.size() == 1 && character.front() != QChar::ReplacementCharacter ? character : QString();
}

// For each character CP932 codes more than once, the codes Windows does not
// write; found once, by reading every pair.
const QMultiHash<char16_t, QByteArray> &otherCodes()
{
    static const QMultiHash<char16_t, QByteArray> codes = [] {
        QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
        QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
        QMultiHash<char16_t, QByteArray> found;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const QString character = definedPair(decoder, static_cast<unsigned char>(lead),
                                                      static_cast<unsigned char>(trail));
                const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (!character.isEmpty() && QByteArray(encoder.encode(character)) != QByteArrayView(pair, 2))
                    found.insert(character.front().unicode(), QByteArray(pair, 2));
            }
        }
        return found;
    }();
    return codes;
}

// Calls sink(character, its bytes) for each character of text in turn, until
// sink gives false.
template <typename Sink>
void forEachEncodedCharacter(QStringView text, Sink &&sink)
{
    QStringEncoder &encoder = cp932Encoder();
    Q_ASSERT(encoder.isValid());
    bool afterLoneLead = false;  // the character before was one escaped lead byte
    unsigned char lead = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        // ASCII, most of any text, is its own byte and needs no converter.
        if (text[i].unicode() < 0x80) {
            const char byte = static_cast<char>(text[i].unicode());
            if (!sink(text.sliced(i, 1), QByteArrayView(&byte, 1)))
                return;
            afterLoneLead = false;
            ++i;
            continue;
        }
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        const QStringView character = text.mid(i, length);
        Code bytes = encodeOne(encoder, character);
        // An escaped lead byte stands alone because the byte after it made no
        // character with it. A doubly coded character written in the code
        // Windows uses may make one, and the text would read differently;
        // then it takes a code that does not.
        if (afterLoneLead && bytes.size == 2) {
            const auto pairsWithLead = [&](char first) {
                return !definedPair(cp932Decoder(), lead, static_cast<unsigned char>(first)).isEmpty();
            };
            if (pairsWithLead(bytes.bytes[0])) {
                for (const QByteArray &other : otherCodes().values(text[i].unicode())) {
                    if (!pairsWithLead(other[0])) {
                        bytes = {.bytes = {other[0], other[1]}, .size = 2};
                        break;
                    }
                }
            }
        }
        if (!sink(character, bytes.view()))
            return;
        lead = static_cast<unsigned char>(bytes.bytes[0]);
        afterLoneLead = bytes.size == 1 && Cp932::isLeadByte(lead);
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
    if (Cp932::isLeadByte(byte)) {
        if (i + 1 >= bytes.size())
            return {1, QString()};
        QString character = definedPair(decoder, byte, static_cast<unsigned char>(bytes[i + 1]));
        return {character.isEmpty() ? 1 : 2, std::move(character)};
    }
    // ICU gives U+001A (SUB) for a single byte CP932 leaves undefined, which
    // does not encode back to the byte.
    const QByteArrayView code = bytes.sliced(i, 1);
    QString character = icuDecoded(decoder, code);
    if (character.size() != 1 || encodeOne(encoder, character).view() != code)
        return {1, QString()};
    return {1, std::move(character)};
}

// True when encode wrote "?" for the character because CP932 has no form
// for it.
bool isWithoutForm(QStringView character, QByteArrayView encoded)
{
    return encoded.size() == 1 && encoded.front() == kNoForm && character != QStringView(u"?");
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
    forEachEncodedCharacter(text, [&out](QStringView, QByteArrayView bytes) {
        out += bytes;
        return true;
    });
    return out;
}

QByteArray encodeCut(QStringView text, qsizetype maxBytes)
{
    return encode(cutText(text, maxBytes));
}

QString cutText(QStringView text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype length = 0;
    forEachEncodedCharacter(text, [&](QStringView character, QByteArrayView encoded) {
        if (bytes + encoded.size() > maxBytes)
            return false;
        bytes += encoded.size();
        length += character.size();
        return true;
    });
    return text.left(length).toString();
}

bool hasCharacterWithoutForm(QStringView text)
{
    bool found = false;
    forEachEncodedCharacter(text, [&found](QStringView character, QByteArrayView encoded) {
        found = isWithoutForm(character, encoded);
        return !found;
    });
    return found;
}

QString heldCharacters(QStringView text)
{
    QString held;
    held.reserve(text.size());
    forEachEncodedCharacter(text, [&held](QStringView character, QByteArrayView encoded) {
        if (!isWithoutForm(character, encoded))
            held += character;
        return true;
    });
    return held;
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
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype width = decodeAt(cp932Decoder(), cp932Encoder(), bytes, i).width;
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return i;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder &decoder = cp932Decoder();
    QStringEncoder &encoder = cp932Encoder();
    Q_ASSERT(decoder.isValid() && encoder.isValid());
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        // ASCII, most of any text, is its own character.
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            out += QLatin1Char(bytes[i++]);
            continue;
        }
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
