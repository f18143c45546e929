#include "launcher/text/FileNameFields.h"

#include "id3v1/GenreTable.h"
#include "text/CellNumber.h"

#include <QList>

#include <vector>

namespace {

const QString kTokenLetters = QStringLiteral("AKDCTJYN");

// A token's letter, or a null letter and the text that must match exactly.
struct Element {
    QChar token;
    QString literal;
};

QList<Element> elementsOf(const QString &format)
{
    QList<Element> elements;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size() && kTokenLetters.contains(format[i + 1])) {
            elements.append({format[i + 1], QString()});
            ++i;
        } else if (!elements.isEmpty() && elements.last().token.isNull()) {
            elements.last().literal += format[i];
        } else {
            elements.append({QChar(), QString(format[i])});
        }
    }
    return elements;
}

// Matches the elements from index e on against the name from position at,
// every token as short as it can be; captures gets one text per token.
// States (e, at) known to fail are remembered, so no format and name take
// more than elements times name length squared steps.
class Matcher
{
public:
    Matcher(const QList<Element> &elements, QStringView name)
        : elements_(elements), name_(name),
          failed_(static_cast<std::size_t>((elements.size() + 1) * (name.size() + 1)), false)
    {
    }

    bool match(qsizetype e, qsizetype at)
    {
        if (e == elements_.size())
            return at == name_.size();
        std::vector<bool>::reference failed = failed_[static_cast<std::size_t>(e * (name_.size() + 1) + at)];
        if (failed)
            return false;
        const Element &element = elements_[e];
        if (element.token.isNull()) {
            if (name_.sliced(at).startsWith(element.literal) && match(e + 1, at + element.literal.size()))
                return true;
        } else if (element.token == u'T' || element.token == u'N') {
            const qsizetype end = digitRunEnd(name_, at);
            if (end > at && capture(e, at, end))
                return true;
        } else {
            for (qsizetype end = at; end <= name_.size(); ++end) {
                if (capture(e, at, end))
                    return true;
            }
        }
        failed = true;
        return false;
    }

    QList<QStringView> captures;

private:
    bool capture(qsizetype e, qsizetype at, qsizetype end)
    {
        captures.append(name_.sliced(at, end - at));
        if (match(e + 1, end))
            return true;
        captures.removeLast();
        return false;
    }

    const QList<Element> &elements_;
    QStringView name_;
    std::vector<bool> failed_;
};

}  // namespace

std::optional<TagUpdate> readFileName(const QString &format, const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QStringView name = QStringView(fileName).left(dot < 0 ? fileName.size() : dot);
    const QList<Element> elements = elementsOf(format);
    Matcher matcher(elements, name);
    if (!matcher.match(0, 0))
        return std::nullopt;

    TagUpdate update;
    qsizetype next = 0;
    for (const Element &element : elements) {
        if (element.token.isNull())
            continue;
        const QString text = matcher.captures.at(next++).trimmed().toString();
        if (text.isEmpty())
            continue;
        switch (element.token.unicode()) {
        case u'A': update.Album = text; break;
        case u'K': update.Artist = text; break;
        case u'D': update.Title = text; break;
        case u'C': update.Comment = text; break;
        case u'Y': update.Year = text; break;
        case u'T':
            if (const std::optional<quint8> track = trackNumberOf(text))
                update.TrackNumber = track;
            break;
        case u'J':
            if (const std::optional<int> genre = GenreTable::find(text))
                update.GenreID = static_cast<quint8>(*genre);
            break;
        default:  // %N: the row's position, nothing to fill
            break;
        }
    }
    return update;
}
