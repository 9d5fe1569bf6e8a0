#pragma once

#include "xls/CellRange.h"

#include <QRectF>

#include <vector>

namespace xls {
class Sheet;
struct ObjectAnchor;
struct SheetObject;
} // namespace xls

namespace report {

class SheetMetrics;

// Whether a drawing object appears on the printed pages: its print flag is on, it is not
// hidden, and it is of a kind the report printer paints. Comments print as the page setup
// says, not by this rule; unknown controls, and charts whose records could not be read at
// all, are not painted.
bool objectPrints(const xls::SheetObject& object);

// Whether a top-level object of the sheet prints: an object by objectPrints, a comment as its
// box when it is shown on the sheet and the sheet's page setup prints comments as displayed.
bool printsOnSheet(const xls::Sheet& sheet, const xls::SheetObject& object);

// The cells an anchored object covers, from the one holding its top-left corner to the one
// holding its bottom-right corner; a corner lying on the top or left edge of a cell does not
// reach into that cell. Clamped to the sheet's rows and columns.
xls::CellRange anchoredCells(const xls::ObjectAnchor& anchor);

// For each top-level object of the sheet that prints (printsOnSheet), the cells from the one
// holding its top-left corner to the one holding its bottom-right corner.
std::vector<xls::CellRange> printingObjectCells(const xls::Sheet& sheet);

// Where objects anchored to cells lie on their sheet, in points from the top left corner of
// A1, through the column widths and row heights the cells print with (hidden ones measure 0).
class ObjectPlacement {
public:
    // lastRow: the last row any anchor names; rows past it are not measured.
    ObjectPlacement(const SheetMetrics& metrics, int lastRow);

    double columnStart(int column) const;
    double rowStart(int row) const;
    QRectF rect(const xls::ObjectAnchor& anchor) const;

private:
    const SheetMetrics& m_metrics;
    std::vector<double> m_columnStarts; // one past the last column as well
    std::vector<double> m_rowStarts;
};

} // namespace report
