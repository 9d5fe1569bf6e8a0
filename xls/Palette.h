#pragma once

#include <QColor>

#include <array>

namespace xls {

// The workbook's colours. Indices 0 to 7 are fixed (black, white, red, green, blue, yellow,
// magenta, cyan); 8 to 63 are the 56 palette colours, the file's own when it has a PALETTE
// record and Excel's default ones otherwise. Every other index (0x40 window text, 0x41 window
// background, 0x51, 0x7FFF automatic, ...) names a colour that depends on where it is used:
// color() answers an invalid QColor for them, and the painter uses black for text and lines
// and no fill for backgrounds.
class Palette {
public:
    static constexpr int kPaletteSize = 56;
    static constexpr int kFirstPaletteIndex = 8;

    Palette();

    QColor color(int index) const;
    // Replaces palette colour index (8 to 63); other indices are ignored.
    void setColor(int index, QColor color);

private:
    std::array<QRgb, kPaletteSize> m_colors;
};

} // namespace xls
