#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Tag fields that a source of text gives (another tag, a file name): a field
// the source lacks stays empty, and the record it is given to keeps its own
// value there. Texts are as the source holds them, of any length.
struct TagUpdate {
    std::optional<QString> Title{};
    std::optional<QString> Artist{};
    std::optional<QString> Album{};
    std::optional<QString> Year{};
    std::optional<QString> Comment{};
    std::optional<quint8> TrackNumber{};
    std::optional<quint8> GenreID{};

    friend bool operator==(const TagUpdate &, const TagUpdate &) = default;
};

// The track a text names: its leading digits, alone or before "/" and the
// number of tracks ("7", "07", "7/12"); only 1 to 255.
std::optional<quint8> trackNumberOf(QStringView text);
