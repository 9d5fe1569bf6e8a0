#pragma once

#include <QImage>

namespace report {

class EmfFields;

// A device-independent bitmap that a metafile record carries as two parts, its header with the
// colour table and its pixels, each at an offset from the record's start with a size. Decoded
// through Qt's bitmap reader, which refuses images beyond its allocation limit. A 32-bit bitmap
// may be read with the alpha of its pixels (premultiplied, as alpha blending gives it); when
// every alpha is zero the bitmap is opaque. Null when a part lies outside the record or the
// bitmap is damaged.
QImage emfBitmap(EmfFields& fields, qint64 headerOffset, qint64 headerSize, qint64 bitsOffset,
                 qint64 bitsSize, bool withAlpha = false);

} // namespace report
