#pragma once

namespace xls {
class Cell;
class Workbook;
} // namespace xls

namespace report {

// Whether a cell puts anything on paper, as the spreadsheet decides when it looks for used
// cells and blank pages: any value, a formula whatever its result (an empty text included),
// an error, text in any colour, or a border or fill. Fonts, alignments and number formats of
// an empty cell print nothing.
bool cellPrints(const xls::Workbook& workbook, const xls::Cell& cell);

} // namespace report
