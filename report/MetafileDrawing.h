#pragma once

#include <QByteArray>

namespace xls {
struct Picture;
}

namespace report {

// A WMF picture of the workbook's store as an SVG drawing, through libwmf (LGPL, linked
// dynamically), for Qt's SVG renderer to paint as vectors. The drawing spans the window the
// metafile sets for itself, else the bounds of what it draws. Empty for other formats and for
// metafiles libwmf cannot play (EMF pictures among them: EmfPlayer plays those).
QByteArray metafileDrawing(const xls::Picture& picture);

} // namespace report
