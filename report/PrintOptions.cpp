#include "PrintOptions.h"

#include "xls/Palette.h"

#include <QImage>

namespace report {

namespace {

// A plain colour with the opacity of the colour it stands for.
QColor withOpacityOf(Qt::GlobalColor plain, const QColor& color) {
    QColor result(plain);
    result.setAlphaF(color.alphaF());
    return result;
}

} // namespace

PrintOptions::PrintOptions(const xls::Palette& palette, const xls::PageSetup& setup)
    : m_palette(palette)
    , m_blackAndWhite(setup.blackAndWhite)
    , m_draft(setup.draft)
    , m_errors(setup.printErrors) {}

QColor PrintOptions::paletteColor(int index, const QColor& automatic) const {
    const QColor found = m_palette.color(index);
    return found.isValid() ? found : automatic;
}

QColor PrintOptions::ink(const QColor& color) const {
    return m_blackAndWhite ? withOpacityOf(Qt::black, color) : color;
}

QColor PrintOptions::shapeFill(const QColor& color) const {
    return m_blackAndWhite ? withOpacityOf(Qt::white, color) : color;
}

QImage PrintOptions::picture(const QImage& image) const {
    if (!m_blackAndWhite || image.isNull())
        return image;
    // Grey by luminance, transparency kept.
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = qGray(line[x]);
            line[x] = qRgba(level, level, level, qAlpha(line[x]));
        }
    }
    return grey;
}

QString PrintOptions::errorText(const QString& shown) const {
    switch (m_errors) {
    case xls::PrintErrors::Blank:
        return {};
    case xls::PrintErrors::Dashes:
        return QStringLiteral("--");
    case xls::PrintErrors::NotAvailable:
        return QStringLiteral("#N/A");
    case xls::PrintErrors::Displayed:
        break;
    }
    return shown;
}

} // namespace report
