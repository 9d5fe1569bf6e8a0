#include "CellPrints.h"

#include "xls/Workbook.h"

namespace report {

namespace {

bool formatPrints(const xls::CellFormat& format) {
    const auto drawn = [](const xls::Border& border) {
        return border.style != xls::BorderStyle::None;
    };
    const bool diagonal = (format.diagonalDown || format.diagonalUp) && drawn(format.diagonal);
    return drawn(format.left) || drawn(format.right) || drawn(format.top) || drawn(format.bottom) ||
           diagonal || format.fillPattern != 0;
}

} // namespace

bool cellPrints(const xls::Workbook& workbook, const xls::Cell& cell) {
    return cell.type() != xls::CellType::Blank || cell.isFormula() ||
           formatPrints(workbook.cellFormat(cell.formatIndex()));
}

} // namespace report
