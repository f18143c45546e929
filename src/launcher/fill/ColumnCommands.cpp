#include "launcher/fill/ColumnCommands.h"

#include "launcher/list/FileList.h"
#include "services/ReportService.h"

ColumnCommands::ColumnCommands(FileList &rows, ReportService &reports) : rows_(rows), reports_(reports) {}

void ColumnCommands::headerClicked(int column)
{
    if (rows_.isEmpty())
        return;
    switch (column) {
    case livTrackNo:
        numberRowsFromTheTop();
        break;
    case livTitle:
    case livGenre:
    case livComment:
    case livAirtist:
    case livAlbum:
    case livYear:
        unifyColumn(column);
        break;
    default:
        break;
    }
}

void ColumnCommands::numberRowsFromTheTop(int first)
{
    if (!reports_.confirm(QStringLiteral("上から連番を付けますか？"), QStringLiteral("[連番確認]")))
        return;
    for (int row = 1; row <= rows_.count(); ++row) {
        rows_.setCell(row, livTrackNo, QString::number(first + row - 1));
        rows_.setChanged(row, true);
    }
}

void ColumnCommands::unifyColumn(int column)
{
    const QString value = rows_.cell(1, column);
    const QString question = QStringLiteral("一番上の") + rows_.headerText(column) + QStringLiteral("名[") + value
                             + QStringLiteral("]で統一しますか？");
    if (!reports_.confirm(question, QStringLiteral("[統一変更確認]")))
        return;
    // The genre name only shows the number; both travel together.
    const QString genreId = rows_.cell(1, livGenreID);
    for (int row = 2; row <= rows_.count(); ++row) {
        rows_.setCell(row, column, value);
        if (column == livGenre)
            rows_.setCell(row, livGenreID, genreId);
        rows_.setChanged(row, true);
    }
}
