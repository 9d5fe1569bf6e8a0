#include "ObjectPlacement.h"

#include "SheetMetrics.h"

#include "xls/SheetObject.h"

#include <algorithm>
#include <functional>

namespace report {

namespace {

constexpr int kLastRow = 65535;
constexpr int kLastColumn = 255;
constexpr double kColumnOffsetUnits = 1024;
constexpr double kRowOffsetUnits = 256;

// The page's own bands, title bands left out; titles always come first.
QList<Band> ownBands(const QList<Band>& bands) {
    const auto first =
        std::find_if(bands.begin(), bands.end(), [](const Band& band) { return !band.title; });
    return QList<Band>(first, bands.end());
}

// Where row (column) index starts along a page's own bands, in the block's points, and its
// size; for an index off the page, the sizes of the rows between are added up.
std::pair<double, double> spanOf(const QList<Band>& bands, int index,
                                 const std::function<double(int)>& sizeOf) {
    const Band& first = bands.front();
    const Band& last = bands.back();
    if (index < first.index) {
        double offset = first.offset;
        for (int each = index; each < first.index; ++each)
            offset -= sizeOf(each);
        return {offset, sizeOf(index)};
    }
    if (index > last.index) {
        double offset = last.offset + last.size;
        for (int each = last.index + 1; each < index; ++each)
            offset += sizeOf(each);
        return {offset, sizeOf(index)};
    }
    const auto at =
        std::lower_bound(bands.begin(), bands.end(), index,
                         [](const Band& band, int value) { return band.index < value; });
    // A hidden row is not among the bands: it starts where the next shown one does.
    return {at->offset, at->index == index ? at->size : 0};
}

double positionOf(const QList<Band>& bands, int index, int offset, double units,
                  const std::function<double(int)>& sizeOf) {
    const auto [start, size] = spanOf(bands, index, sizeOf);
    return start + std::clamp(offset / units, 0.0, 1.0) * size;
}

} // namespace

xls::CellRange anchoredCells(const xls::ObjectAnchor& anchor) {
    const auto span = [](int first, int last, int lastOffset, int limit) {
        first = std::clamp(first, 0, limit);
        last = std::clamp(last, 0, limit);
        if (lastOffset <= 0 && last > first)
            --last;
        return std::pair{first, std::max(first, last)};
    };
    const auto [firstRow, lastRow] =
        span(anchor.firstRow, anchor.lastRow, anchor.lastRowOffset, kLastRow);
    const auto [firstColumn, lastColumn] =
        span(anchor.firstColumn, anchor.lastColumn, anchor.lastColumnOffset, kLastColumn);
    return {firstRow, lastRow, firstColumn, lastColumn};
}

QRectF placeOnPage(const xls::ObjectAnchor& anchor, const LaidOutPage& page,
                   const SheetMetrics& metrics) {
    const QList<Band> rows = ownBands(page.rows);
    const QList<Band> columns = ownBands(page.columns);
    if (rows.isEmpty() || columns.isEmpty())
        return {};
    const xls::CellRange cells = anchoredCells(anchor);
    const auto rowSize = [&](int row) { return metrics.rowHeight(row); };
    const auto columnSize = [&](int column) { return metrics.columnWidth(column); };
    const double top =
        positionOf(rows, cells.firstRow, anchor.firstRowOffset, kRowOffsetUnits, rowSize);
    const double bottom = positionOf(rows, std::clamp(anchor.lastRow, 0, kLastRow),
                                     anchor.lastRowOffset, kRowOffsetUnits, rowSize);
    const double left = positionOf(columns, cells.firstColumn, anchor.firstColumnOffset,
                                   kColumnOffsetUnits, columnSize);
    const double right = positionOf(columns, std::clamp(anchor.lastColumn, 0, kLastColumn),
                                    anchor.lastColumnOffset, kColumnOffsetUnits, columnSize);
    return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
}

std::optional<xls::CellRange> ownCells(const LaidOutPage& page) {
    const QList<Band> rows = ownBands(page.rows);
    const QList<Band> columns = ownBands(page.columns);
    if (rows.isEmpty() || columns.isEmpty())
        return std::nullopt;
    return xls::CellRange{rows.front().index, rows.back().index, columns.front().index,
                          columns.back().index};
}

QRectF objectArea(const LaidOutPage& page) {
    const QList<Band> rows = ownBands(page.rows);
    const QList<Band> columns = ownBands(page.columns);
    if (rows.isEmpty() || columns.isEmpty())
        return {};
    return QRectF(QPointF(columns.front().offset, rows.front().offset),
                  QPointF(columns.back().offset + columns.back().size,
                          rows.back().offset + rows.back().size));
}

} // namespace report
