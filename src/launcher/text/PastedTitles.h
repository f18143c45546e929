#pragma once

#include <QString>
#include <QStringList>

// The titles in a pasted track list, one per line that holds one. From each
// line go a leading track number with its separator ("1.", "01 ", "1 - ",
// "1)"), a trailing duration ("3:45", "(3:45)", "12:03:45"), the blanks
// around them, and one pair of quotes around what is left. Lines left empty
// are skipped.
QStringList pastedTitles(const QString &text);
