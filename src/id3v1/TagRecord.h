#pragma once

#include <QString>
#include <QtGlobal>


// The seven fields of an ID3v1.1 tag, texts without trailing padding. Built
// by field name ({.Title = …, .Artist = …}), never by position; a field left
// out is empty (or 0).
struct TagRecord {
    QString Title{};    // at most 30 characters, 30-byte slot
    QString Artist{};   // at most 30 characters, 30-byte slot
    QString Album{};    // at most 30 characters, 30-byte slot
    QString Year{};     // at most 4 characters, 4-byte slot
    QString Comment{};  // at most 28 characters, 28-byte slot
    quint8 TrackNumber = 0;  // 0: no track number
    quint8 GenreID = 0;

    friend bool operator==(const TagRecord &, const TagRecord &) = default;
};
