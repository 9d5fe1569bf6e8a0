#include "MetafileDrawing.h"

#include "xls/SheetObject.h"

#include <QRectF>

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace report {

namespace {

// The SVG's size in its own units: the larger side this many, for its path coordinates to
// keep their precision.
constexpr double kDrawingSize = 2000;
// libwmf's description field, which the SVG carries.
char kDescription[] = "picture";

struct ApiDeleter {
    void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};

} // namespace

QByteArray metafileDrawing(const xls::Picture& picture) {
    if (picture.format != xls::PictureFormat::Wmf || picture.data.isEmpty())
        return {};
    wmfAPI* created = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    // Non-fatal faults of a damaged metafile are passed over; fatal ones end the playing. The
    // library's messages stay off standard error: a picture that cannot be played prints as
    // nothing.
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&created, flags, &options) != wmf_E_None)
        return {};
    const std::unique_ptr<wmfAPI, ApiDeleter> api(created);
    // libwmf reads the buffer without writing to it.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<char*>(picture.data.constData()));
    wmfD_Rect bounds{};
    if (wmf_mem_open(api.get(), data, long(picture.data.size())) != wmf_E_None ||
        wmf_scan(api.get(), 0, &bounds) != wmf_E_None)
        return {};
    // Bounds that miss everything the metafile draws are taken to be damaged.
    const QRect& stored = picture.metafileBounds;
    const QRectF drawn(QPointF(bounds.TL.x, bounds.TL.y), QPointF(bounds.BR.x, bounds.BR.y));
    if (stored.width() > 0 && stored.height() > 0 && QRectF(stored).intersects(drawn)) {
        bounds.TL = {float(stored.left()), float(stored.top())};
        bounds.BR = {float(stored.left() + stored.width()), float(stored.top() + stored.height())};
    }
    const double width = bounds.BR.x - bounds.TL.x;
    const double height = bounds.BR.y - bounds.TL.y;
    if (!(width > 0 && height > 0))
        return {};
    const double scale = kDrawingSize / std::max(width, height);
    wmf_svg_t* svg = WMF_SVG_GetData(api.get());
    svg->out = wmf_stream_create(api.get(), nullptr);
    svg->Description = kDescription;
    svg->bbox = bounds;
    svg->width = unsigned(std::max(1.0, std::round(width * scale)));
    svg->height = unsigned(std::max(1.0, std::round(height * scale)));
    const wmf_error_t played = wmf_play(api.get(), 0, &bounds);
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api.get(), svg->out, &text, &length);
    QByteArray drawing;
    if (played == wmf_E_None && text != nullptr)
        drawing = QByteArray(text, qsizetype(length));
    wmf_free(api.get(), text);
    return drawing;
}

} // namespace report
