#include "Sheet.h"

#include <algorithm>

namespace xls {

namespace {

bool cellBefore(const Cell& a, const Cell& b) {
    return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
}

} // namespace

Sheet::Sheet(const QString& name, SheetKind kind, SheetVisibility visibility)
    : m_name(name)
    , m_kind(kind)
    , m_visibility(visibility) {}

const Cell* Sheet::cell(int row, int column) const {
    const auto found = std::lower_bound(
        m_cells.begin(), m_cells.end(), std::pair(row, column), [](const Cell& c, auto key) {
            return c.row() != key.first ? c.row() < key.first : c.column() < key.second;
        });
    if (found == m_cells.end() || found->row() != row || found->column() != column)
        return nullptr;
    return &*found;
}

const DifferentialFormat* Sheet::conditionalFormat(int row, int column) const {
    if (m_conditionalFormats.isEmpty())
        return nullptr;
    return firstTrueCondition(m_conditionalFormats, row, column, cell(row, column));
}

bool Sheet::showsPhonetic(int row, int column) const {
    const QList<CellRange>& ranges = m_phoneticSettings.shownRanges;
    return std::any_of(ranges.begin(), ranges.end(),
                       [&](const CellRange& range) { return range.contains(row, column); });
}

void Sheet::setCells(std::vector<Cell> cells) {
    // Files list cells in order nearly always; sorting is the exception.
    if (!std::is_sorted(cells.begin(), cells.end(), cellBefore))
        std::stable_sort(cells.begin(), cells.end(), cellBefore);
    // Keep the last cell of each run of equal positions.
    auto out = cells.begin();
    for (auto in = cells.begin(); in != cells.end(); ++in) {
        const auto next = std::next(in);
        if (next != cells.end() && next->row() == in->row() && next->column() == in->column())
            continue;
        if (out != in)
            *out = std::move(*in);
        ++out;
    }
    cells.erase(out, cells.end());
    cells.shrink_to_fit();
    m_cells = std::move(cells);
}

const RowInfo* Sheet::rowInfo(int row) const {
    const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                                        [](const RowInfo& info, int r) { return info.row < r; });
    return found != m_rows.end() && found->row == row ? &*found : nullptr;
}

void Sheet::setRows(std::vector<RowInfo> rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const RowInfo& a, const RowInfo& b) { return a.row < b.row; });
    // A later record for the same row replaces an earlier one.
    std::vector<RowInfo> unique;
    unique.reserve(rows.size());
    for (const RowInfo& info : rows) {
        if (!unique.empty() && unique.back().row == info.row)
            unique.back() = info;
        else
            unique.push_back(info);
    }
    m_rows = std::move(unique);
}

void Sheet::setDefaultRowHeight(int twips, bool hidden) {
    m_defaultRowHeight = twips;
    m_rowsHiddenByDefault = hidden;
}

int Sheet::rowHeight(int row) const {
    const RowInfo* info = rowInfo(row);
    return info != nullptr && !info->defaultHeight ? info->height : m_defaultRowHeight;
}

bool Sheet::isRowHidden(int row) const {
    const RowInfo* info = rowInfo(row);
    return info != nullptr ? info->hidden : m_rowsHiddenByDefault;
}

const ColumnInfo* Sheet::columnInfo(int column) const {
    const auto found =
        std::lower_bound(m_columns.begin(), m_columns.end(), column,
                         [](const ColumnInfo& info, int c) { return info.lastColumn < c; });
    return found != m_columns.end() && found->firstColumn <= column ? &*found : nullptr;
}

void Sheet::setColumns(std::vector<ColumnInfo> columns) {
    std::stable_sort(columns.begin(), columns.end(), [](const ColumnInfo& a, const ColumnInfo& b) {
        return a.firstColumn < b.firstColumn;
    });
    // Runs that overlap an earlier one are cut to the columns the earlier one leaves free.
    std::vector<ColumnInfo> runs;
    runs.reserve(columns.size());
    for (ColumnInfo info : columns) {
        if (!runs.empty() && info.firstColumn <= runs.back().lastColumn)
            info.firstColumn = runs.back().lastColumn + 1;
        if (info.firstColumn <= info.lastColumn)
            runs.push_back(info);
    }
    m_columns = std::move(runs);
}

bool Sheet::isColumnHidden(int column) const {
    const ColumnInfo* info = columnInfo(column);
    return info != nullptr && info->hidden;
}

const HeaderFooterPicture* Sheet::headerFooterPicture(HeaderFooterPlace place) const {
    const auto found = m_headerFooterPictures.constFind(place);
    return found == m_headerFooterPictures.constEnd() ? nullptr : &*found;
}

} // namespace xls
