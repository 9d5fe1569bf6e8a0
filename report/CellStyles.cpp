#include "CellStyles.h"

#include "SheetLimits.h"

#include "xls/Sheet.h"
#include "xls/Workbook.h"

namespace report {

namespace {

bool onSheet(int row, int column) {
    return row >= 0 && row <= kLastRow && column >= 0 && column <= kLastColumn;
}

// A cell format with a conditional format's borders and fill over it. A solid fill that the
// condition gives is drawn in the colour it keeps as the background.
xls::CellFormat overlaid(xls::CellFormat format, const xls::DifferentialFormat& condition) {
    format.left = condition.left.value_or(format.left);
    format.right = condition.right.value_or(format.right);
    format.top = condition.top.value_or(format.top);
    format.bottom = condition.bottom.value_or(format.bottom);
    format.fillPattern = condition.fillPattern.value_or(format.fillPattern);
    format.patternColorIndex = condition.patternColorIndex.value_or(format.patternColorIndex);
    format.backgroundColorIndex =
        condition.backgroundColorIndex.value_or(format.backgroundColorIndex);
    if (format.fillPattern == 1 && condition.backgroundColorIndex)
        format.patternColorIndex = *condition.backgroundColorIndex;
    return format;
}

} // namespace

CellStyles::CellStyles(const xls::Workbook& workbook, const xls::Sheet& sheet)
    : m_workbook(workbook)
    , m_sheet(sheet) {}

const xls::CellFormat* CellStyles::own(int row, int column) const {
    if (const xls::Cell* cell = m_sheet.cell(row, column))
        return &m_workbook.cellFormat(cell->formatIndex());
    if (const xls::RowInfo* info = m_sheet.rowInfo(row); info != nullptr && info->formatIndex >= 0)
        return &m_workbook.cellFormat(info->formatIndex);
    if (const xls::ColumnInfo* info = m_sheet.columnInfo(column))
        return &m_workbook.cellFormat(info->formatIndex);
    return nullptr;
}

const xls::CellFormat* CellStyles::at(int row, int column) {
    if (!onSheet(row, column))
        return nullptr;
    const xls::CellFormat* format = own(row, column);
    const xls::DifferentialFormat* condition = m_sheet.conditionalFormat(row, column);
    if (condition == nullptr)
        return format;
    m_conditioned.push_back(overlaid(format != nullptr ? *format : xls::CellFormat{}, *condition));
    return &m_conditioned.back();
}

} // namespace report
