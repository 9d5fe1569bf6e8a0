#include "ObjectPlacement.h"

#include "SheetLimits.h"
#include "SheetMetrics.h"

#include "xls/Sheet.h"
#include "xls/SheetObject.h"

#include <algorithm>

namespace report {

namespace {

// Anchor offsets count 1/1024 of the column's width and 1/256 of the row's height.
constexpr double kColumnOffsetUnits = 1024;
constexpr double kRowOffsetUnits = 256;

// The last cell an edge at (cell, offset) reaches into, with first the cell the object starts
// in.
int lastCell(int first, int cell, int offset, int limit) {
    first = std::clamp(first, 0, limit);
    cell = std::clamp(cell, 0, limit);
    if (offset <= 0 && cell > first)
        --cell;
    return std::max(first, cell);
}

} // namespace

bool objectPrints(const xls::SheetObject& object) {
    using xls::ObjectKind;
    if (!object.prints || object.hidden)
        return false;
    switch (object.kind) {
    case ObjectKind::Chart:
        return object.chart != nullptr;
    case ObjectKind::Comment:
    case ObjectKind::Other:
        return false;
    default:
        return true;
    }
}

bool printsOnSheet(const xls::Sheet& sheet, const xls::SheetObject& object) {
    if (object.kind == xls::ObjectKind::Comment)
        return object.note && object.note->shown &&
               sheet.pageSetup().comments == xls::CommentPrinting::AsDisplayed;
    return objectPrints(object);
}

xls::CellRange anchoredCells(const xls::ObjectAnchor& anchor) {
    const int firstRow = std::clamp(std::min(anchor.firstRow, anchor.lastRow), 0, kLastRow);
    const int firstColumn =
        std::clamp(std::min(anchor.firstColumn, anchor.lastColumn), 0, kLastColumn);
    return {firstRow, lastCell(firstRow, anchor.lastRow, anchor.lastRowOffset, kLastRow),
            firstColumn,
            lastCell(firstColumn, anchor.lastColumn, anchor.lastColumnOffset, kLastColumn)};
}

std::vector<xls::CellRange> printingObjectCells(const xls::Sheet& sheet) {
    std::vector<xls::CellRange> cells;
    for (const xls::SheetObject& object : sheet.objects()) {
        if (printsOnSheet(sheet, object))
            cells.push_back(anchoredCells(object.anchor));
    }
    return cells;
}

ObjectPlacement::ObjectPlacement(const SheetMetrics& metrics, int lastRow)
    : m_metrics(metrics) {
    double at = 0;
    for (int column = 0; column <= kLastColumn + 1; ++column) {
        m_columnStarts.push_back(at);
        at += metrics.columnWidth(column);
    }
    at = 0;
    const int rows = std::clamp(lastRow, 0, kLastRow) + 2;
    m_rowStarts.reserve(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        m_rowStarts.push_back(at);
        at += metrics.rowHeight(row);
    }
}

double ObjectPlacement::columnStart(int column) const {
    const auto at = static_cast<size_t>(std::clamp(column, 0, kLastColumn + 1));
    return m_columnStarts[at];
}

double ObjectPlacement::rowStart(int row) const {
    const auto last = static_cast<int>(m_rowStarts.size()) - 1;
    return m_rowStarts[static_cast<size_t>(std::clamp(row, 0, last))];
}

QRectF ObjectPlacement::rect(const xls::ObjectAnchor& anchor) const {
    const auto x = [this](int column, int offset) {
        column = std::clamp(column, 0, kLastColumn);
        const double fraction = std::clamp(offset, 0, 1024) / kColumnOffsetUnits;
        return columnStart(column) + m_metrics.columnWidth(column) * fraction;
    };
    const auto y = [this](int row, int offset) {
        row = std::clamp(row, 0, kLastRow);
        const double fraction = std::clamp(offset, 0, 256) / kRowOffsetUnits;
        return rowStart(row) + m_metrics.rowHeight(row) * fraction;
    };
    return QRectF(QPointF(x(anchor.firstColumn, anchor.firstColumnOffset),
                          y(anchor.firstRow, anchor.firstRowOffset)),
                  QPointF(x(anchor.lastColumn, anchor.lastColumnOffset),
                          y(anchor.lastRow, anchor.lastRowOffset)))
        .normalized();
}

} // namespace report
