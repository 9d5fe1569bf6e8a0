#pragma once

#include "HeaderFooterPicture.h"
#include "SheetObject.h"

#include <QByteArray>
#include <QList>
#include <QMap>

namespace xls {

struct Record;

// Reads the pictures of headers and footers from HFPicture records. The workbook globals'
// records carry a drawing group whose picture store holds the pictures; a sheet's carry a
// drawing whose shapes each name a picture of that store, give its size and, by the shape's
// name, the section it belongs to ("LH", "CH", "RH" in the header, "LF", "CF", "RF" in the
// footer). A record may go on in the next one.
//
// Damaged data loses the pictures from the damage on; the workbook is read as usual.
class HeaderFooterPictureReader {
public:
    // Takes one HFPicture record; records of the other kind (drawing or drawing group) and
    // records too short to hold a flag are passed over.
    void read(const Record& record, bool drawingGroup);
    void clear();
    // The picture store of the drawing group read; entries as readPictureStore gives them.
    QList<Picture> store() const;
    // The sections' pictures of the drawing read, from the given picture store.
    QMap<HeaderFooterPlace, HeaderFooterPicture> pictures(const QList<Picture>& store) const;

private:
    QByteArray m_data;
    bool m_continued = false; // the last record said that the next one goes on with its data
};

} // namespace xls
