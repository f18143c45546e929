#pragma once

#include "id3v1/TagRecord.h"
#include "id3v2/Id3v2Text.h"

#include <QList>
#include <QString>

// Whether a file's ID3v2 tag says what its row says, field by field, as the
// ID3v2 reading (Id3v2Text) gives the tag's fields.
//
// A text field is in step when the tag's text, cut to the field's ID3v1 slot
// as a fill from the tag cuts it, is the row's text (blanks around either
// not counted); or, for a row whose text CP932 can hold, when both give the
// same CP932 bytes: so a tag that holds more than the slot (a long title,
// a letter CP932 lacks, saved as "?" in the slot) is in step with the row
// that holds what the slot can of it. The track is in step when both give
// the same number (none is 0), the genre when both name the same genre (an
// unnamed number, or a genre the table lacks, names none). A field one of
// whose frames could not be read is never in step.

// Only the fields of a row that stand for a value are compared or written
// (given). A row of a file that had no ID3v1 block when it was loaded holds
// blank values there (empty texts, track 0, genre 0) only because the block
// was missing: such a field stands for nothing, its genre 0 for no genre,
// until the row's value is changed. Every field of a row whose file had a
// block stands for its value, an empty one included.

// All seven fields, in the order of Id3v2Field.
extern const QList<Id3v2Field> kAllId3v2Fields;

// The fields of the row that stand for a value, in the order of Id3v2Field.
QList<Id3v2Field> id3v2GivenFields(const TagRecord &row, bool fileHadBlock);

// The given fields of the row that the reading of its file's tag does not
// give, in the order of Id3v2Field. A file without a tag gives no field:
// every given field is out of step. Unreadable gives every given field.
QList<Id3v2Field> id3v2FieldsOutOfStep(const TagRecord &row, const Id3v2Text &reading,
                                       const QList<Id3v2Field> &given);

// Whether the list marks the row: its file has a tag that cannot be read,
// is read only in part (cut short), or has a given field out of step. A
// file without a tag is not marked: players show its ID3v1 fields.
bool id3v2OutOfStep(const TagRecord &row, const Id3v2Text &reading, const QList<Id3v2Field> &given);

// The text a field of the row is written into a tag with: the texts as they
// stand, the track as its number ("" for none), the genre as its name (""
// for an unnamed number).
QString id3v2TextOf(const TagRecord &row, Id3v2Field field);
