#include "PdfPages.h"

#include "PdfPaintEngine.h"

#include <climits>
#include <cmath>

namespace report {

namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72;

} // namespace

PdfPages::PdfPages(const QString& path, const QString& title, const TextShaper& shaper)
    : m_engine(std::make_unique<PdfPaintEngine>(path, title, shaper)) {}

PdfPages::~PdfPages() = default;

void PdfPages::setPageSize(const QSizeF& points) {
    m_engine->setPageSize(points);
}

QSizeF PdfPages::pageSize() const {
    return m_engine->pageSize();
}

bool PdfPages::newPage() {
    return m_engine->newPage();
}

QString PdfPages::errorString() const {
    return m_engine->errorString();
}

QPaintEngine* PdfPages::paintEngine() const {
    return m_engine.get();
}

int PdfPages::metric(PaintDeviceMetric metric) const {
    const QSizeF size = pageSize();
    switch (metric) {
    case PdmWidth:
        return static_cast<int>(std::lround(size.width()));
    case PdmHeight:
        return static_cast<int>(std::lround(size.height()));
    case PdmWidthMM:
        return static_cast<int>(std::lround(size.width() * kMillimetresPerPoint));
    case PdmHeightMM:
        return static_cast<int>(std::lround(size.height() * kMillimetresPerPoint));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 72;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace report
