#include "launcher/ListParts.h"

ListParts::ListParts(const Needs &needs)
    : rows(needs.list, needs.maxRows, needs.reportedPath),
      recovery(needs.reports),
      adder(rows, known, clsID3Tag, recovery),
      commandLine(rows, adder, needs.folders),
      saver(rows, known, needs.reports, needs.syncWrittenFile),
      id3v2Saver(rows, known, needs.reports, {.syncFile = needs.syncWrittenFile}),
      dropNumbering(clsID3Tag, known, recovery, needs.reports, needs.syncWrittenFile),
      renamer(rows, known, saver, needs.mover, needs.reports),
      columns(rows, needs.reports),
      fills(rows, needs.reports),
      undo(history, rows, known, needs.mover, needs.reports)
{
}

void ListParts::setKeepTimes(bool keep)
{
    keepTimes_ = keep;
    saver.setKeepTimes(keep);
    id3v2Saver.setKeepTimes(keep);
    dropNumbering.setKeepTimes(keep);
}
