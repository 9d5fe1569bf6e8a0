#include "EmfDeviceContext.h"

#include "EmfRecordType.h"
#include "EmfRecords.h"

#include <cmath>

namespace report {

namespace {

bool finite(const QTransform& t) {
    return std::isfinite(t.m11() + t.m12() + t.m21() + t.m22() + t.dx() + t.dy());
}

QTransform transformAt(EmfFields& f, qint64 at) {
    return QTransform(f.f32(at), f.f32(at + 4), f.f32(at + 8), f.f32(at + 12), f.f32(at + 16),
                      f.f32(at + 20));
}

// Millimetres per logical unit of the fixed mapping modes, whose y axis points up.
double millimetresPerUnit(int mapMode) {
    switch (mapMode) {
    case EmfDeviceContext::LoMetric:
        return 0.1;
    case EmfDeviceContext::HiMetric:
        return 0.01;
    case EmfDeviceContext::LoEnglish:
        return 0.254;
    case EmfDeviceContext::HiEnglish:
        return 0.0254;
    case EmfDeviceContext::Twips:
        return 25.4 / 1440;
    default:
        return 0;
    }
}

} // namespace

QSizeF EmfDeviceContext::pageScale(QSizeF pixelsPerMillimetre) const {
    if (const double unit = millimetresPerUnit(mapMode); unit > 0)
        return {unit * pixelsPerMillimetre.width(), -unit * pixelsPerMillimetre.height()};
    if (mapMode != Isotropic && mapMode != Anisotropic)
        return {1, 1};
    const double sx = viewportExtent.width() / windowExtent.width();
    const double sy = viewportExtent.height() / windowExtent.height();
    if (mapMode == Anisotropic)
        return {sx, sy};
    // Isotropic: one scale both ways, the smaller, each keeping its own direction.
    const double both = std::min(std::abs(sx), std::abs(sy));
    return {std::copysign(both, sx), std::copysign(both, sy)};
}

QTransform EmfDeviceContext::toDevice(QSizeF pixelsPerMillimetre) const {
    const QSizeF scale = pageScale(pixelsPerMillimetre);
    const QTransform page = QTransform::fromTranslate(-windowOrigin.x(), -windowOrigin.y()) *
                            QTransform::fromScale(scale.width(), scale.height()) *
                            QTransform::fromTranslate(viewportOrigin.x(), viewportOrigin.y());
    return world * page;
}

bool EmfDeviceContext::setMapping(const EmfRecord& record) {
    EmfFields f(record);
    switch (record.type) {
    case kEmfSetMapMode: {
        const quint32 mode = f.u32(8);
        if (f.ok() && mode >= Text && mode <= Anisotropic)
            mapMode = int(mode);
        return true;
    }
    case kEmfSetWindowExtent:
    case kEmfSetViewportExtent: {
        const QSizeF extent = f.sizeL(8);
        if (f.ok() && extent.width() != 0 && extent.height() != 0)
            (record.type == kEmfSetWindowExtent ? windowExtent : viewportExtent) = extent;
        return true;
    }
    case kEmfSetWindowOrigin:
    case kEmfSetViewportOrigin:
        if (const QPointF origin = f.pointL(8); f.ok())
            (record.type == kEmfSetWindowOrigin ? windowOrigin : viewportOrigin) = origin;
        return true;
    case kEmfScaleViewportExtent:
    case kEmfScaleWindowExtent: {
        const double xNum = f.i32(8), xDenom = f.i32(12), yNum = f.i32(16), yDenom = f.i32(20);
        QSizeF& extent = record.type == kEmfScaleWindowExtent ? windowExtent : viewportExtent;
        if (f.ok() && xNum != 0 && xDenom != 0 && yNum != 0 && yDenom != 0)
            extent = QSizeF(extent.width() * xNum / xDenom, extent.height() * yNum / yDenom);
        return true;
    }
    case kEmfSetWorldTransform:
    case kEmfModifyWorldTransform: {
        const QTransform given = transformAt(f, 8);
        const quint32 mode = record.type == kEmfSetWorldTransform ? 4 : f.u32(32);
        if (!f.ok() || !finite(given))
            return true;
        if (mode == 1)
            world = QTransform();
        else if (mode == 2)
            world = given * world;
        else if (mode == 3)
            world = world * given;
        else if (mode == 4)
            world = given;
        return true;
    }
    default:
        return false;
    }
}

} // namespace report
