#pragma once

#include <QImage>

namespace xls {
struct Picture;
}

namespace report {

// A picture of the workbook's store as an image: PNG, JPEG and DIB (bitmap) pictures through
// Qt's image readers, a DIB given the bitmap file header the workbook leaves out. Metafiles
// and pictures that cannot be read give a null image.
QImage pictureImage(const xls::Picture& picture);

} // namespace report
