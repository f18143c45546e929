#include "launcher/text/RowFill.h"

#include "id3v1/TagBlock.h"
#include "text/Cp932.h"

const std::array<TextField, 5> kTextFields = {{
    {&TagRecord::Title, &TagUpdate::Title, kTitleWidth, livTitle},
    {&TagRecord::Artist, &TagUpdate::Artist, kArtistWidth, livAirtist},
    {&TagRecord::Album, &TagUpdate::Album, kAlbumWidth, livAlbum},
    {&TagRecord::Year, &TagUpdate::Year, kYearWidth, livYear},
    {&TagRecord::Comment, &TagUpdate::Comment, kCommentWidth, livComment},
}};

QString fieldName(const TextField &field)
{
    return QString::fromUtf16(kFileRowColumns[static_cast<std::size_t>(field.column)].header);
}

QString fillReason(const char16_t *reason, const QStringList &names)
{
    return QString::fromUtf16(reason).arg(names.join(u'・'));
}

RowFill fillRow(int row, const TagRecord &current, const TagUpdate &update)
{
    RowFill fill{.row = row, .fields = current, .problems = {}};
    QStringList cut;
    QStringList withoutForm;
    for (const TextField &field : kTextFields) {
        const std::optional<QString> &text = update.*field.update;
        if (!text)
            continue;
        QString fitted = Cp932::cutText(*text, field.width);
        if (fitted.size() < text->size())
            cut << fieldName(field);
        if (Cp932::hasCharacterWithoutForm(fitted))
            withoutForm << fieldName(field);
        fill.fields.*field.record = std::move(fitted);
    }
    if (update.TrackNumber)
        fill.fields.TrackNumber = *update.TrackNumber;
    if (update.GenreID)
        fill.fields.GenreID = *update.GenreID;
    if (!cut.isEmpty())
        fill.problems << fillReason(FillReason::kCut, cut);
    if (!withoutForm.isEmpty())
        fill.problems << fillReason(FillReason::kNoCp932Form, withoutForm);
    return fill;
}

RowFill unchangedRow(int row, const TagRecord &current, const char16_t *reason)
{
    return {.row = row, .fields = current, .problems = {QString::fromUtf16(reason)}};
}

RowFill readAgainAs(int row, const TagRecord &current, ForeignCodePage codePage)
{
    TagUpdate update;
    QStringList invalid;
    for (const TextField &field : kTextFields) {
        const QString &text = current.*field.record;
        std::optional<QString> read = decodeForeign(codePage, Cp932::encode(text), field.width);
        if (!read)
            invalid << fieldName(field);
        else if (*read != text)
            update.*field.update = std::move(read);
    }
    if (invalid.isEmpty())
        return fillRow(row, current, update);
    return {.row = row,
            .fields = current,
            .problems = {fillReason(codePage == ForeignCodePage::Utf8 ? FillReason::kNotUtf8 : FillReason::kNotEucJp,
                                    invalid)}};
}
