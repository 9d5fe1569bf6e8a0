#include "EmfBlit.h"

#include "EmfBitmap.h"
#include "EmfRecordType.h"
#include "EmfRecords.h"

namespace report {

namespace {

constexpr quint32 kSourceAlpha = 1; // AC_SRC_ALPHA: the bitmap's pixels carry alpha

// Whether a bitmap's rows run from the bottom up, which a positive height in its header says
// (a core header's always do).
bool bottomUp(EmfFields& f, qint64 headerAt) {
    return f.u32(headerAt) <= 12 || f.i32(headerAt + 8) > 0;
}

std::optional<EmfBlit> stretchDiBits(EmfFields& f) {
    EmfBlit blit;
    const QPointF destination = f.pointL(24);
    const QPointF sourceAt = f.pointL(32);
    const QSizeF sourceSize = f.sizeL(40);
    const qint64 headerAt = f.u32(48);
    blit.image = emfBitmap(f, headerAt, f.u32(52), f.u32(56), f.u32(60));
    blit.rasterOperation = f.u32(68);
    blit.destination = QRectF(destination, f.sizeL(72));
    // The source's y counts from the bitmap's bottom row when its rows run bottom-up.
    const double top = !blit.image.isNull() && bottomUp(f, headerAt)
                           ? blit.image.height() - sourceAt.y() - sourceSize.height()
                           : sourceAt.y();
    blit.source = QRectF(QPointF(sourceAt.x(), top), sourceSize);
    return blit;
}

// BITBLT, STRETCHBLT and ALPHABLEND share their fields up to the bitmap; the two stretching
// ones give the source's size after it, BITBLT copies the destination's size.
std::optional<EmfBlit> blockTransfer(EmfFields& f, quint32 type) {
    EmfBlit blit;
    blit.destination = QRectF(f.pointL(24), f.sizeL(32));
    const qint64 bitmapSize = f.u32(88);
    if (bitmapSize == 0 && type == kEmfBitBlt) {
        blit.rasterOperation = f.u32(40);
        return blit;
    }
    const bool alpha = type == kEmfAlphaBlend && f.u8(43) == kSourceAlpha;
    blit.image = emfBitmap(f, f.u32(84), bitmapSize, f.u32(92), f.u32(96), alpha);
    if (type == kEmfAlphaBlend)
        blit.opacity = f.u8(42) / 255.0;
    else
        blit.rasterOperation = f.u32(40);
    const QSizeF size = type == kEmfBitBlt ? blit.destination.size() : f.sizeL(100);
    blit.source = QRectF(f.pointL(44), size);
    return blit;
}

} // namespace

std::optional<EmfBlit> emfBlit(const EmfRecord& record) {
    EmfFields fields(record);
    std::optional<EmfBlit> blit;
    if (record.type == kEmfStretchDiBits)
        blit = stretchDiBits(fields);
    else if (record.type == kEmfBitBlt || record.type == kEmfStretchBlt ||
             record.type == kEmfAlphaBlend)
        blit = blockTransfer(fields, record.type);
    if (!fields.ok())
        return std::nullopt;
    return blit;
}

} // namespace report
