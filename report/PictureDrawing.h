#pragma once

#include <QByteArray>
#include <QImage>

#include <map>

class QPainter;
class QRectF;

namespace xls {
struct Picture;
}

namespace report {

class FontMapper;
class PrintOptions;

// Draws pictures of the workbook (sheet pictures and header and footer pictures) into boxes
// on the page: PNG, JPEG and DIB pictures as images, WMF pictures as vector drawings, EMF
// pictures played record by record. Each picture is decoded once, on first use; in black and
// white, pictures are greyed (metafiles become images for that).
class PictureDrawing {
public:
    PictureDrawing(const FontMapper& fonts, const PrintOptions& options);

    // Draws the picture stretched over box; a picture that cannot be read draws nothing. The
    // picture must outlive this object: it is known by its address.
    void draw(QPainter& painter, const xls::Picture& picture, const QRectF& box) const;

private:
    // A picture decoded: an image, or a metafile's drawing.
    struct Decoded {
        QImage image;
        QByteArray drawing; // SVG
        QByteArray emf;     // played as it is painted
    };
    const Decoded& decoded(const xls::Picture& picture) const;

    const FontMapper& m_fonts;
    const PrintOptions& m_options;
    mutable std::map<const xls::Picture*, Decoded> m_decoded;
};

} // namespace report
