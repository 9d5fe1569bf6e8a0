#pragma once

#include <QtGlobal>

namespace report {

// The last row and column of a sheet, counted from 0: Excel 97-2003 sheets have 65,536 rows
// and 256 columns.
constexpr int kLastRow = 65535;
constexpr int kLastColumn = 255;
constexpr int kColumnCount = kLastColumn + 1;
// The most row and column slots one page lays out: 1,024 rows of all 256 columns, more than a
// page at the smallest scale shows of rows of the least usual height.
constexpr qsizetype kMostSlotsPerPage = qsizetype{1024} * kColumnCount;

// Units: pages are laid out and painted in points; sheets count pixels at 96 dpi, twips
// (15 a pixel) and, in drawings, EMU.
constexpr int kPointsPerInch = 72;
constexpr double kPointsPerPixel = 0.75; // 72 points over 96 pixels
constexpr double kTwipsPerPixel = 15;
constexpr double kEmuPerPoint = 12700;

} // namespace report
