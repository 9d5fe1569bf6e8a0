#pragma once

#include "xls/CellRange.h"

#include <optional>

namespace xls {
class Sheet;
class Workbook;
} // namespace xls

namespace report {

// The part of a sheet that prints when it has no print area: the smallest range holding every
// cell with a value and every blank cell whose format shows on paper (a border or a fill),
// merged areas whole. Empty when nothing prints.
std::optional<xls::CellRange> usedRange(const xls::Workbook& workbook, const xls::Sheet& sheet);

} // namespace report
