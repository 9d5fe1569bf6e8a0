#pragma once

#include <QImage>
#include <QRectF>

#include <optional>

namespace report {

struct EmfRecord;

// A bitmap record (BITBLT, STRETCHBLT, STRETCHDIBITS, ALPHABLEND) decoded: the destination
// in logical units (a negative width or height mirrors), the part of the bitmap it shows, the
// raster operation and the constant opacity. Without a bitmap, the raster operation alone
// paints the destination (with the brush, black or white).
struct EmfBlit {
    QRectF destination;
    QImage image;
    QRectF source;
    quint32 rasterOperation = 0;
    double opacity = 1;
};

std::optional<EmfBlit> emfBlit(const EmfRecord& record);

} // namespace report
