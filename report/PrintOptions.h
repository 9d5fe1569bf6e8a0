#pragma once

#include "xls/PageSetup.h"

#include <QColor>
#include <QString>

class QImage;

namespace xls {
class Palette;
}

namespace report {

// How a sheet's page options change what its pages show. In black and white, every text, line
// and border prints black and cell fills are left out; drawing objects print as the
// spreadsheet's pure black-and-white mode draws them: lines and text black, fills white,
// pictures in shades of grey. Draft quality prints no gridlines and no drawing objects. A cell
// showing an error prints it as displayed, blank, "--" or "#N/A".
class PrintOptions {
public:
    PrintOptions(const xls::Palette& palette, const xls::PageSetup& setup);

    // Palette colour `index` as the workbook defines it; `automatic` where the index names no
    // colour of the palette.
    QColor paletteColor(int index, const QColor& automatic) const;
    // The ink of a text, line or border in palette colour `index`.
    QColor ink(int index, const QColor& automatic) const {
        return ink(paletteColor(index, automatic));
    }
    // A text or line colour given outright (a header's &K, a shape's line), its opacity kept.
    QColor ink(const QColor& color) const;
    bool printsCellFills() const { return !m_blackAndWhite; }
    // A drawing object's fill.
    QColor shapeFill(const QColor& color) const;
    // A picture as it prints; pictures are converted once, when decoded.
    QImage picture(const QImage& image) const;
    bool greysPictures() const { return m_blackAndWhite; }
    bool printsGridlines(bool sheetPrintsThem) const { return sheetPrintsThem && !m_draft; }
    bool printsObjects() const { return !m_draft; }
    // What a cell whose value is an error prints in place of `shown`, the error's text.
    QString errorText(const QString& shown) const;

private:
    const xls::Palette& m_palette;
    bool m_blackAndWhite;
    bool m_draft;
    xls::PrintErrors m_errors;
};

} // namespace report
