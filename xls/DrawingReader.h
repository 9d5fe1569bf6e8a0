#pragma once

#include "DrawingRecords.h"
#include "OfficeArt.h"
#include "SheetObject.h"

#include <QByteArray>
#include <QList>

#include <deque>
#include <vector>

namespace xls {

class RecordStream;
struct Record;

// Reads one sheet's drawing layer: the drawing data of its MSODRAWING records (and the
// CONTINUE records after them), joined into one run, each shape's OBJ record, the TXO
// records with the text of text boxes and comments, and the NOTE records of comments.
//
// A damaged drawing layer loses the drawing from the damage on: the sheet keeps the objects
// read before it, and the rest of the workbook is read as usual.
class DrawingReader {
public:
    static bool isDrawingRecord(quint16 code);

    // The workbook's picture store, for checking the pictures that shapes name.
    void setPictures(const QList<Picture>* pictures) { m_pictures = pictures; }
    // Forgets the records of the sheet before.
    void clear();
    // Takes one record for which isDrawingRecord holds, with its CONTINUE records.
    void read(const Record& record, RecordStream& records);
    // The sheet's objects, built from the records taken, in drawing order.
    std::vector<SheetObject> objects();

private:
    void readShapes(const officeart::ArtRecord& group, std::vector<SheetObject>& into,
                    SheetObject* owner, int depth);
    SheetObject readShape(const officeart::ArtRecord& container);
    void applyProperties(const officeart::ShapeProperties& properties, SheetObject& object) const;
    void attachNotes(std::vector<SheetObject>& objects) const;

    const QList<Picture>* m_pictures = nullptr;
    QByteArray m_drawing;
    std::deque<ObjRecord> m_objs;
    std::deque<ObjectText> m_texts;
    QList<NoteRecord> m_notes;
    bool m_damaged = false;
};

} // namespace xls
