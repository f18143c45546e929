#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace GenreTable {

// Number of named genres; numbers 0 to kCount - 1 have names.
inline constexpr int kCount = 148;

// A genre number is one byte, so no list of genres holds more entries.
inline constexpr int kMaxEntries = 256;

// Name of genre number id, or the empty text for a number without one.
QString name(int id);

// Number of the genre whose name equals the text without regard to case.
std::optional<int> find(QStringView text);

}  // namespace GenreTable
