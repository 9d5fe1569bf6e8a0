#include "PictureDrawing.h"

#include "EmfPlayer.h"
#include "MetafileDrawing.h"
#include "PictureImage.h"
#include "PrintOptions.h"

#include "xls/SheetObject.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace report {

namespace {

// Pictures greyed for black and white are drawn as images this many pixels on the larger side.
constexpr double kRasterSize = 2000;

// A metafile's drawing as an image at its own size.
QImage rasterised(const QByteArray& drawing) {
    QSvgRenderer renderer(drawing);
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// An EMF picture as an image of 2,000 pixels on its frame's larger side.
QImage rasterisedEmf(const QByteArray& emf, const FontMapper& fonts) {
    const QSizeF frame = EmfPlayer::frame(emf)->size();
    const double scale = kRasterSize / std::max(frame.width(), frame.height());
    QImage image(
        QSize(std::max(1, int(frame.width() * scale)), std::max(1, int(frame.height() * scale))),
        QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    EmfPlayer(fonts).play(painter, emf, QRectF(QPointF(), image.size()));
    return image;
}

} // namespace

PictureDrawing::PictureDrawing(const FontMapper& fonts, const PrintOptions& options)
    : m_fonts(fonts)
    , m_options(options) {}

void PictureDrawing::draw(QPainter& painter, const xls::Picture& picture, const QRectF& box) const {
    const Decoded& shown = decoded(picture);
    if (!shown.image.isNull())
        painter.drawImage(box, shown.image);
    else if (!shown.drawing.isEmpty())
        QSvgRenderer(shown.drawing).render(&painter, box);
    else if (!shown.emf.isEmpty())
        EmfPlayer(m_fonts).play(painter, shown.emf, box);
}

const PictureDrawing::Decoded& PictureDrawing::decoded(const xls::Picture& picture) const {
    auto found = m_decoded.find(&picture);
    if (found != m_decoded.end())
        return found->second;
    Decoded decoded;
    decoded.image = m_options.picture(pictureImage(picture));
    if (decoded.image.isNull())
        decoded.drawing = metafileDrawing(picture);
    if (picture.format == xls::PictureFormat::Emf && EmfPlayer::frame(picture.data))
        decoded.emf = picture.data;
    if (!decoded.emf.isEmpty() && m_options.greysPictures())
        decoded.image = m_options.picture(rasterisedEmf(decoded.emf, m_fonts));
    // Greyed, a drawing becomes an image.
    if (!decoded.drawing.isEmpty() && m_options.greysPictures()) {
        decoded.image = m_options.picture(rasterised(decoded.drawing));
        if (!decoded.image.isNull())
            decoded.drawing.clear();
    }
    return m_decoded.emplace(&picture, std::move(decoded)).first->second;
}

} // namespace report
