#pragma once

#include <QStringView>

// File-name order as people read it: runs of ASCII digits compare by their
// number ("2" before "10", "003" between them), other characters one by one
// without regard to case. Names equal that way fall back to plain order, so
// the order is total.
bool naturalLess(QStringView a, QStringView b);
