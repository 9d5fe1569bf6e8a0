#pragma once

#include <memory>
#include <span>
#include <vector>

namespace xls {
class Cell;
class Sheet;
} // namespace xls

namespace report {

class SheetMetrics;

// How far a cell's text reaches past its own cell, in points, when it flows into empty
// neighbours: to the left and to the right. Both 0 for a cell whose text stays in it.
struct TextReach {
    double left = 0;
    double right = 0;
};

class TextReachMeasure {
public:
    virtual ~TextReachMeasure() = default;
    // cellWidth: the width of the cell's column, in points.
    virtual TextReach reach(const xls::Cell& cell, double cellWidth) const = 0;
};

// The columns a cell's text covers when it flows into empty neighbours, its own included.
struct Spill {
    int row = 0;
    int column = 0; // the cell's
    int firstColumn = 0;
    int lastColumn = 0;
};

// Where the texts of a sheet flow past their cells, decided once for the sheet with one
// measure: what widens the printed range, marks the pages the text reaches as not blank, and
// lets each page show the part of the text that falls in its columns. Text flows through
// empty cells (and over hidden columns) up to a filled cell, a merged area or the sheet's
// edge; a print area's edge is the reader's business. Only cells of shown rows and columns
// that have an empty neighbour are measured.
class TextSpills {
public:
    TextSpills() = default;
    TextSpills(const xls::Sheet& sheet, const SheetMetrics& metrics,
               const TextReachMeasure& measure);

    // Every text that flows past its cell, by row and then column.
    const std::vector<Spill>& all() const { return m_spills; }
    // Those of one row, by column.
    std::span<const Spill> inRow(int row) const;
    // The flow of the text of the cell at row and column; null when it stays in its cell.
    const Spill* find(int row, int column) const;

private:
    std::vector<Spill> m_spills;
};

using SharedSpills = std::shared_ptr<const TextSpills>;

} // namespace report
