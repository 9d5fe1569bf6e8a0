#pragma once

#include "SheetObject.h"
#include "Strings.h"
#include "Workbook.h"

#include <QList>

#include <vector>

namespace xls {

class RecordReader;
class RecordStream;
struct Record;

// Reads the drawing objects that a sheet keeps in OBJ records of the form before the Office
// Art drawing layer (Excel 5.0/95, and pictures that some writers of Excel 97-2003 files still
// write this way): each record carries the object's anchor, fill, line and text itself, and a
// picture object's image follows in IMDATA records. The images join the workbook's picture
// store. A damaged record loses that object or its picture, never the others.
class ObjReader {
public:
    ObjReader(BiffVersion version, const Strings& strings);

    // Whether the record is one this reader takes: IMDATA, or an OBJ of the older form.
    bool takes(const Record& record) const;
    // The workbook's picture store, which the pictures read here are added to.
    void setPictures(QList<Picture>* pictures) { m_pictures = pictures; }
    // Forgets the objects of the sheet before.
    void clear();
    // Takes one record for which takes() holds, with its CONTINUE records.
    void read(const Record& record, RecordStream& records);
    // The sheet's objects, in the order of their records.
    const std::vector<SheetObject>& objects() const { return m_objects; }

private:
    void readObj(RecordReader& reader);
    void readImData(RecordReader& reader);
    void readText(RecordReader& reader, int macroSize, SheetObject& object) const;

    BiffVersion m_version;
    const Strings& m_strings;
    QList<Picture>* m_pictures = nullptr;
    std::vector<SheetObject> m_objects;
    // Whether the last object is a picture still waiting for its IMDATA record.
    bool m_pictureDue = false;
};

} // namespace xls
