#pragma once

#include <QList>

class FileList;
class FillCommands;
class LookupWindowService;
class ReportService;

// M: the CD of the rows looked up at MusicBrainz, and the rows filled from
// the release the user picks (title, artist, album, year and track, fitted
// to the slots as every fill does). Nothing in the list changes when the
// lookup fails, finds nothing or is cancelled, or no release is picked;
// nothing is ever written to a file.
class MusicBrainzLookup
{
public:
    MusicBrainzLookup(FileList &list, FillCommands &fills, ReportService &reports, LookupWindowService &window);

    // The rows are the CD's tracks in their order.
    void lookUp(const QList<int> &rows);

private:
    FileList &list_;
    FillCommands &fills_;
    ReportService &reports_;
    LookupWindowService &window_;
};
