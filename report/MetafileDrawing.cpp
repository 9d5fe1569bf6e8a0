#include "MetafileDrawing.h"

#include "xls/SheetObject.h"

#include <QByteArrayView>
#include <QRectF>
#include <QtEndian>

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace report {

namespace {

// The SVG's size in its own units: the larger side this many, for its path coordinates to
// keep their precision.
constexpr double kDrawingSize = 2000;
// libwmf's description field, which the SVG carries.
char kDescription[] = "picture";

constexpr quint16 kSetWindowOrg = 0x020B;
constexpr quint16 kSetWindowExt = 0x020C;
constexpr qsizetype kRecordHeader = 6; // size in 16-bit words, function
constexpr int kMostRecordsScanned = 4096;
constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;

// The window a metafile sets for itself (its first SetWindowOrg and SetWindowExt records), in
// its logical units: the frame it is drawn to fill, as Windows plays it into a picture's box.
std::optional<QRectF> windowOf(QByteArrayView wmf) {
    // A placeable header, where a file keeps one, comes first.
    if (wmf.size() >= kPlaceableSize && qFromLittleEndian<quint32>(wmf.data()) == kPlaceableKey)
        wmf = wmf.sliced(kPlaceableSize);
    if (wmf.size() < 18)
        return std::nullopt;
    const auto word = [&wmf](qsizetype at) { return qFromLittleEndian<qint16>(wmf.data() + at); };
    std::optional<QPointF> origin;
    std::optional<QSizeF> extent;
    qsizetype at = qsizetype{quint16(word(2))} * 2; // past the header
    for (int scanned = 0; scanned < kMostRecordsScanned && at + kRecordHeader <= wmf.size();
         ++scanned) {
        const quint32 words = qFromLittleEndian<quint32>(wmf.data() + at);
        const auto function = quint16(word(at + 4));
        if (words < 3 || words > quint32(wmf.size() - at) / 2 || function == 0)
            break;
        if (words >= 5 && function == kSetWindowOrg && !origin)
            origin = QPointF(word(at + 8), word(at + 6));
        if (words >= 5 && function == kSetWindowExt && !extent)
            extent = QSizeF(word(at + 8), word(at + 6));
        at += qsizetype{words} * 2;
    }
    if (!extent || extent->width() == 0 || extent->height() == 0)
        return std::nullopt;
    return QRectF(origin.value_or(QPointF()), *extent).normalized();
}

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
    if (const auto window = windowOf(picture.data)) {
        bounds.TL = {float(window->left()), float(window->top())};
        bounds.BR = {float(window->right()), float(window->bottom())};
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
