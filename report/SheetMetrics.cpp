#include "SheetMetrics.h"

#include "SheetLimits.h"

#include "xls/Sheet.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// Excel pads every column by 2 pixels on each side and 1 pixel of gridline.
constexpr int kColumnPaddingPixels = 5;

// A width in 1/256 of a digit, padding included, to whole pixels as Excel rounds it.
int widthUnitsToPixels(int units, int digit) {
    const double pixels = (units + std::trunc(128.0 / digit)) / 256.0 * digit;
    return static_cast<int>(std::trunc(pixels));
}

// DEFCOLWIDTH counts whole digits without padding; Excel pads them and rounds the default
// column up to a multiple of 8 pixels: 8 digits of 7 pixels (Arial 10) give the familiar
// 64 pixels, 8 digits of 8 pixels (MS P Gothic 11) the 72 of Japanese Excel.
int defaultColumnPixels(int characters, int digit) {
    const int pixels = characters * digit + kColumnPaddingPixels;
    return (pixels + 7) / 8 * 8;
}

} // namespace

SheetMetrics::SheetMetrics(const xls::Sheet& sheet, double maxDigitWidth)
    : m_sheet(sheet)
    , m_maxDigitWidth(maxDigitWidth)
    , m_columnWidths(kColumnCount, 0.0) {
    // Excel measures the digit in whole pixels.
    const int digit = std::max(1, static_cast<int>(std::lround(maxDigitWidth)));
    const int defaultPixels =
        sheet.standardColumnWidth()
            ? widthUnitsToPixels(std::max(0, *sheet.standardColumnWidth()), digit)
            : defaultColumnPixels(std::max(0, sheet.defaultColumnWidth()), digit);
    for (int column = 0; column < kColumnCount; ++column) {
        const xls::ColumnInfo* info = sheet.columnInfo(column);
        int pixels = defaultPixels;
        if (info != nullptr)
            pixels = info->hidden ? 0 : widthUnitsToPixels(std::max(0, info->width), digit);
        m_columnWidths[static_cast<size_t>(column)] = pixels * kPointsPerPixel;
    }
}

double SheetMetrics::columnWidth(int column) const {
    if (column < 0 || column >= kColumnCount)
        return 0;
    return m_columnWidths[static_cast<size_t>(column)];
}

double SheetMetrics::rowHeight(int row) const {
    if (row < 0 || m_sheet.isRowHidden(row))
        return 0;
    // The spreadsheet lays rows out in whole pixels at 96 dots per inch, 15 twips each, so
    // that a sheet of many rows reaches as far down as it does there.
    return std::lround(std::max(0, m_sheet.rowHeight(row)) / kTwipsPerPixel) * kPointsPerPixel;
}

} // namespace report
