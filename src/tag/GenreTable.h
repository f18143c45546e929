#pragma once

#include <QString>

namespace GenreTable {

// Number of named genres; numbers 0 to kCount - 1 have names.
inline constexpr int kCount = 148;

// A genre number is one byte, so no list of genres holds more entries.
inline constexpr int kMaxEntries = 256;

// Name of genre number id, or the empty text for a number without one.
QString name(int id);

}  // namespace GenreTable
