#include "musicbrainz/Release.h"

QString creditText(const ArtistCredit &credit)
{
    QString text;
    for (const CreditName &name : credit)
        text += name.name + name.joinPhrase;
    return text;
}

namespace {

// Kana, or the ideographs Japanese is written in, in the text.
bool hasJapaneseLetters(const QString &text)
{
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if ((code >= 0x3040 && code <= 0x30FF) || (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xFF66 && code <= 0xFF9F))
            return true;
    }
    return false;
}

}  // namespace

ReleaseText Release::text() const
{
    if (status == u"Pseudo-Release")
        return ReleaseText::Transliteration;
    if (language == u"jpn")
        return script == u"Latn" ? ReleaseText::Transliteration : ReleaseText::Japanese;
    if (!language.isEmpty())
        return ReleaseText::Other;
    if (script == u"Jpan" || script == u"Hira" || script == u"Kana" || script == u"Hrkt")
        return ReleaseText::Japanese;
    // Many releases say nothing of their text: their title tells.
    return script.isEmpty() && hasJapaneseLetters(title) ? ReleaseText::Japanese : ReleaseText::Other;
}

QString Release::year() const
{
    const QString first = date.left(4);
    for (const QChar character : first) {
        if (character < u'0' || character > u'9')
            return {};
    }
    return first.size() == 4 ? first : QString();
}

qsizetype mediumOf(const Release &release, const QString &discId, int rows)
{
    for (qsizetype i = 0; i < release.media.size(); ++i) {
        if (!discId.isEmpty() && release.media[i].discIds.contains(discId))
            return i;
    }
    for (qsizetype i = 0; i < release.media.size(); ++i) {
        if (release.media[i].trackCount == rows)
            return i;
    }
    return release.media.isEmpty() ? -1 : 0;
}
