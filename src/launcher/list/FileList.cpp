#include "launcher/list/FileList.h"

#include "id3v2/Id3v2InStep.h"
#include "launcher/list/KnownFiles.h"
#include "launcher/text/PathParts.h"
#include "services/ListViewService.h"
#include "tagfiles/classID3_V11.h"
#include "text/CellNumber.h"

#include <utility>


FileList::FileList(ListViewService &view, int maxRows, ReportedPath reportedPath)
    : view_(view), maxRows_(maxRows), reportedPath_(std::move(reportedPath))
{
}

int FileList::count() const
{
    return view_.count();
}

QList<int> FileList::allRows() const
{
    QList<int> rows;
    for (int row = 1; row <= count(); ++row)
        rows << row;
    return rows;
}

QList<int> FileList::selectedRows() const
{
    QList<int> rows;
    for (int row = 1; row <= count(); ++row) {
        if (view_.isSelected(row))
            rows << row;
    }
    return rows;
}

int FileList::currentRow() const
{
    return view_.currentRow();
}

void FileList::moveCurrentRow(int row)
{
    if (selectedRows().size() <= 1) {
        for (int other = 1; other <= count(); ++other)
            view_.setSelected(other, other == row);
    }
    view_.setCurrentRow(row);
}

QString FileList::path(int row) const
{
    return view_.cell(row, livFileNamewithPath) + view_.cell(row, livFilename);
}

QString FileList::fileName(int row) const
{
    return view_.cell(row, livFilename);
}

QString FileList::reportedFile(int row, const QString &name) const
{
    return reportedPath_ ? reportedPath_(view_.cell(row, livFileNamewithPath) + name) : name;
}

QString FileList::cell(int row, int column) const
{
    return view_.cell(row, column);
}

void FileList::setCell(int row, int column, const QString &text)
{
    if (column == livFilename || column == livFileNamewithPath)
        forgetIndex();
    view_.setCell(row, column, text);
    if (column != livChanged)
        showMarks(row, isChanged(row));
}

QString FileList::headerText(int column) const
{
    return view_.headerText(column);
}

FileRowCells FileList::cells(int row) const
{
    FileRowCells cells;
    for (int column = 0; column < kFileRowColumnCount; ++column)
        cells[static_cast<std::size_t>(column)] = view_.cell(row, column);
    return cells;
}

RowInfo FileList::info(int row) const
{
    return view_.rowInfo(row);
}

TagRecord FileList::fields(int row) const
{
    return {.Title = view_.cell(row, livTitle),
            .Artist = view_.cell(row, livAirtist),
            .Album = view_.cell(row, livAlbum),
            .Year = view_.cell(row, livYear),
            .Comment = view_.cell(row, livComment),
            .TrackNumber = cellNumber(view_.cell(row, livTrackNo)),
            .GenreID = cellNumber(view_.cell(row, livGenreID))};
}

void FileList::putFields(int row, const TagRecord &fields)
{
    view_.setCell(row, livAirtist, fields.Artist);
    view_.setCell(row, livAlbum, fields.Album);
    view_.setCell(row, livComment, fields.Comment);
    view_.setCell(row, livGenreID, QString::number(fields.GenreID));
    view_.setCell(row, livGenre, classID3_V11::GetGenreString(fields.GenreID));
    view_.setCell(row, livYear, fields.Year);
    view_.setCell(row, livTitle, fields.Title);
    view_.setCell(row, livTrackNo, QString::number(fields.TrackNumber));
    showMarks(row, isChanged(row));
}

QList<Id3v2Field> FileList::givenFields(int row) const
{
    return id3v2GivenFields(fields(row), view_.rowInfo(row).hadTagBlock);
}

void FileList::setChanged(int row, bool changed)
{
    showMarks(row, changed);
}

bool FileList::isChanged(int row) const
{
    return view_.cell(row, livChanged).startsWith(QString::fromUtf16(kChangeMark));
}

void FileList::setId3v2(int row, const Id3v2Text &reading)
{
    RowInfo info = view_.rowInfo(row);
    info.id3v2 = reading;
    setInfo(row, info);
    showMarks(row, isChanged(row));
}

void FileList::setIdentity(int row, const FileIdentity &identity)
{
    RowInfo info = view_.rowInfo(row);
    info.identity = identity;
    setInfo(row, info);
    forgetIndex();
}

void FileList::showMarks(int row, bool changed)
{
    QString marks;
    if (changed)
        marks += QString::fromUtf16(kChangeMark);
    if (id3v2OutOfStep(fields(row), view_.rowInfo(row).id3v2, givenFields(row)))
        marks += QString::fromUtf16(kId3v2Mark);
    if (view_.cell(row, livChanged) != marks)
        view_.setCell(row, livChanged, marks);
}

void FileList::setInfo(int row, const RowInfo &info)
{
    view_.setRowInfo(row, info);
    latestInfo_[info.serial] = info;
}

void FileList::indexRow(int row) const
{
    const QString rowPath = path(row);
    indexedPaths_.insert(rowPath);
    if (const std::optional<FileIdentity> identity = view_.rowInfo(row).identity)
        indexedIdentities_.emplace(*identity, rowPath);
}

bool FileList::holds(const QString &path, const FileIdentity &identity) const
{
    if (!indexed_) {
        indexedPaths_.clear();
        indexedIdentities_.clear();
        for (int row = 1; row <= count(); ++row)
            indexRow(row);
        indexed_ = true;
    }
    if (indexedPaths_.contains(path))
        return true;
    const auto [first, last] = indexedIdentities_.equal_range(identity);
    for (auto listed = first; listed != last; ++listed) {
        if (fileIdentity(listed->second) == identity)
            return true;
    }
    return false;
}

void FileList::append(const QString &path, const std::optional<FileIdentity> &identity, const TagRecord &fields,
                      bool hadTagBlock)
{
    view_.addRow(GetFileNamePart(path));
    const int row = count();
    view_.setCell(row, livFileNamewithPath, GetFolderPart(path));
    setInfo(row, {.identity = identity, .serial = ++lastSerial_, .id3v2 = {}, .hadTagBlock = hadTagBlock});
    putFields(row, fields);
    if (indexed_)
        indexRow(row);
}

void FileList::remove(const QList<int> &rows)
{
    forgetIndex();
    // From the bottom up, so the rows not yet visited keep their positions.
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        view_.removeRow(*row);
}

void FileList::renameRow(quint64 serial, const QString &fileName)
{
    forgetIndex();
    for (int row = 1; row <= count(); ++row) {
        if (view_.rowInfo(row).serial == serial)
            view_.setCell(row, livFilename, fileName);
    }
}

ListRows FileList::snapshot() const
{
    ListRows rows;
    for (int row = 1; row <= count(); ++row)
        rows.append({.cells = cells(row), .info = view_.rowInfo(row)});
    return rows;
}

void FileList::restore(const ListRows &rows, const KnownFiles &known)
{
    forgetIndex();
    QSet<quint64> wanted;
    for (const ListRow &target : rows)
        wanted.insert(target.info.serial);
    for (int row = count(); row >= 1; --row) {
        if (!wanted.contains(view_.rowInfo(row).serial))
            view_.removeRow(row);
    }
    // Steps never reorder rows, so the rows that stayed are in order.
    for (int row = 1; row <= rows.size(); ++row) {
        const ListRow &target = rows.at(row - 1);
        const bool present = row <= count() && view_.rowInfo(row).serial == target.info.serial;
        if (!present) {
            view_.insertRow(row, target.cells[livFilename]);
            const auto latest = latestInfo_.find(target.info.serial);
            view_.setRowInfo(row, latest == latestInfo_.end() ? target.info : latest->second);
            view_.setCell(row, livFileNamewithPath, target.cells[livFileNamewithPath]);
        }
        bool changed = !present;
        for (int column = 0; column < kFileRowColumnCount; ++column) {
            if (column == livFilename || column == livFileNamewithPath || column == livChanged)
                continue;
            const QString &text = target.cells[static_cast<std::size_t>(column)];
            if (view_.cell(row, column) != text) {
                view_.setCell(row, column, text);
                changed = true;
            }
        }
        if (changed)
            setChanged(row, known.differs(view_.rowInfo(row).identity, fields(row)));
    }
}
