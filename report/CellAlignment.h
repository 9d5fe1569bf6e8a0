#pragma once

#include "SheetLimits.h"

#include "xls/Cell.h"
#include "xls/CellFormat.h"

namespace report {

constexpr double kCellPaddingX = 2 * kPointsPerPixel; // between a cell's edge and its text
constexpr double kCellPaddingY = 1 * kPointsPerPixel;

// General alignment: text to the left, numbers to the right, the rest centred.
xls::HorizontalAlignment resolvedAlignment(xls::HorizontalAlignment horizontal, xls::CellType type);
// Whether a cell's text breaks into lines within the cell.
bool wraps(const xls::CellFormat& format, xls::HorizontalAlignment horizontal);
// The indent of left- and right-aligned text, in points: three digit widths a level.
double indentOf(const xls::CellFormat& format, xls::HorizontalAlignment horizontal,
                double maxDigitWidth);

} // namespace report
