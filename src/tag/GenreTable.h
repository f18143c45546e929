#pragma once

#include <QString>

namespace GenreTable {

// Number of named genres; numbers 0 to kCount - 1 have names.
inline constexpr int kCount = 148;

// Name of genre number id, or the empty text for a number without one.
QString name(int id);

}  // namespace GenreTable
