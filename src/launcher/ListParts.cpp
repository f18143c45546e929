#include "launcher/ListParts.h"

ListParts::ListParts(const Needs &needs)
    : rows(needs.list, needs.maxRows, needs.reportedPath),
      adder(rows, known, clsID3Tag),
      commandLine(rows, adder, needs.folders),
      saver(rows, known, needs.reports, needs.syncWrittenFile),
      id3v2Saver(rows, known, needs.reports, {.syncFile = needs.syncWrittenFile}),
      dropNumbering(clsID3Tag, known, needs.reports, needs.syncWrittenFile),
      renamer(rows, known, saver, needs.mover, needs.reports),
      columns(rows, needs.reports),
      fills(rows, needs.reports),
      undo(history, rows, known, needs.mover, needs.reports)
{
}
