#pragma once

// Drawing-layer data built record by record, for hand-made workbooks.

#include <QByteArray>
#include <QString>

namespace xlstest {

// One record of the drawing layer; extra lengthens its stated length past its data.
QByteArray art(int version, int instance, int type, const QByteArray& data, int extra = 0);
QByteArray container(int type, const QByteArray& children);
// A drawing group whose picture store holds one picture: PNG bytes, or an EMF kept compressed.
QByteArray pictureStore(const QByteArray& picture, bool metafile);
// An HFPicture record, encoded: its future record header, flags (1 a drawing, 2 the drawing
// group, 4 continued in the next record) and drawing data.
QByteArray hfPicture(int flags, const QByteArray& data);
// A header and footer drawing of one picture shape: its name, picture number and size.
QByteArray hfDrawing(const QString& name, int pib, int width, int height);

} // namespace xlstest
