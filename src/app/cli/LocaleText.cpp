#include "app/cli/LocaleText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <clocale>
#include <langinfo.h>

namespace {

bool isUtf8OrAscii(const QByteArray &codeset)
{
    const QByteArray name = codeset.toUpper();
    return name.isEmpty() || name == "UTF-8" || name == "UTF8" || name == "ANSI_X3.4-1968" || name == "ASCII"
           || name == "US-ASCII";
}

}  // namespace

LocaleText::LocaleText(const QByteArray &codeset)
{
    if (!isUtf8OrAscii(codeset) && QStringEncoder(codeset.constData()).isValid())
        codec_ = codeset;
}

LocaleText LocaleText::ofEnvironment()
{
    std::setlocale(LC_CTYPE, "");
    return LocaleText(QByteArray(::nl_langinfo(CODESET)));
}

std::optional<QString> LocaleText::decode(QByteArrayView bytes) const
{
    QStringDecoder decoder(codec_.isEmpty() ? "UTF-8" : codec_.constData(), QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArray LocaleText::encode(QStringView text) const
{
    QString shown = text.toString();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar character = shown.at(i);
        if (character.isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate())
            ++i;
        else if (character.isSurrogate())
            shown[i] = QChar::ReplacementCharacter;
    }
    QStringEncoder encoder(codec_.isEmpty() ? "UTF-8" : codec_.constData());
    return encoder.encode(shown);
}
