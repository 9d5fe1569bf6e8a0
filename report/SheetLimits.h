#pragma once

namespace report {

// The last row and column of a sheet, counted from 0: Excel 97-2003 sheets have 65,536 rows
// and 256 columns.
constexpr int kLastRow = 65535;
constexpr int kLastColumn = 255;

} // namespace report
