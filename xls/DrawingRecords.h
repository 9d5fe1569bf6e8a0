#pragma once

#include "RecordReader.h"
#include "SheetObject.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace xls {

// What an OBJ record says about the shape before it.
struct ObjRecord {
    int type = -1; // the object type (ftCmo ot), -1 when the record has none
    int id = 0;
    bool prints = true;
    int checked = 0;
    QString shownValue;
};

// What a NOTE record says about a comment.
struct NoteRecord {
    int objectId = 0;
    CommentNote note;
};

// The records of the drawing layer that sit among a sheet's records, each decoded here.
namespace drawingrecords {

// The cells an object spans and its offsets within them, eight 16-bit fields as both the
// drawing layer's client anchor and Excel 5.0's OBJ record give them.
ObjectAnchor anchor(RecordReader& reader);
// OBJ: its sub-records up to the end marker.
ObjRecord obj(RecordReader& reader);
// TXO with the CONTINUE records that carry its text and then its formatting runs.
ObjectText txo(const Record& record, const QList<QByteArrayView>& continues);
// The alignment and orientation that a text's flags and rotation fields give.
void applyTextLayout(quint16 flags, quint16 rotation, ObjectText& text);
// Formatting runs of 8 bytes each (first character, font, 4 unused) of a text of textLength
// characters; the run that only marks the end of the text is left out.
QList<TextRun> textRuns(QByteArrayView runs, int textLength);
// NOTE of an Excel 97-2003 sheet.
NoteRecord note(RecordReader& reader);

} // namespace drawingrecords

} // namespace xls
