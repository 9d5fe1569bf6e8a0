#pragma once

#include "Cell.h"
#include "CellRange.h"
#include "ColumnInfo.h"
#include "ConditionalFormat.h"
#include "HeaderFooterPicture.h"
#include "PageSetup.h"
#include "RichText.h"
#include "RowInfo.h"
#include "SheetObject.h"

#include <QList>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace xls {

enum class SheetKind { Worksheet, Chart, MacroSheet, Module };
enum class SheetVisibility { Visible, Hidden, VeryHidden };

// The sheet's phonetic guide settings (PHONETICINFO): the default font, kind and alignment of
// new guides, and the ranges of cells whose guides are shown.
struct PhoneticSettings {
    int fontIndex = 0;
    PhoneticType type = PhoneticType::FullWidthKatakana;
    PhoneticAlignment alignment = PhoneticAlignment::General;
    QList<CellRange> shownRanges;
};

// One sheet of a workbook. Worksheets (dialog sheets among them) and macro sheets have their
// contents read; chart sheets their chart and page setup; modules their name, kind and
// visibility only.
//
// Rows and columns count from 0. Excel 97-2003 sheets have 65,536 rows and 256 columns,
// Excel 5.0/95 sheets 16,384 rows and 256 columns.
class Sheet {
public:
    Sheet(const QString& name, SheetKind kind, SheetVisibility visibility);

    QString name() const { return m_name; }
    SheetKind kind() const { return m_kind; }
    SheetVisibility visibility() const { return m_visibility; }

    // Every cell that has a value or carries a format, in row order and, within a row, in
    // column order; one cell per position.
    const std::vector<Cell>& cells() const { return m_cells; }
    // The cell at a position, or nullptr when there is none.
    const Cell* cell(int row, int column) const;
    // Takes the cells in any order; a later cell at the same position replaces an earlier one.
    void setCells(std::vector<Cell> cells);

    // Rows that have a ROW record, in row order.
    const std::vector<RowInfo>& rows() const { return m_rows; }
    // The ROW record of a row, or nullptr when the row has the default height and format.
    const RowInfo* rowInfo(int row) const;
    void setRows(std::vector<RowInfo> rows);
    // Height in twips of rows without a ROW record.
    int defaultRowHeight() const { return m_defaultRowHeight; }
    bool rowsHiddenByDefault() const { return m_rowsHiddenByDefault; }
    void setDefaultRowHeight(int twips, bool hidden);
    // The height of a row in twips and whether it is hidden, record or default.
    int rowHeight(int row) const;
    bool isRowHidden(int row) const;

    // Runs of columns that have a COLINFO record, in column order, not overlapping.
    const std::vector<ColumnInfo>& columns() const { return m_columns; }
    // The COLINFO run that holds a column, or nullptr when the column has the default width.
    const ColumnInfo* columnInfo(int column) const;
    void setColumns(std::vector<ColumnInfo> columns);
    // The default width of columns without a COLINFO record: the STANDARDWIDTH record's, in
    // 1/256 of a "0" (padding included), when the file has one; otherwise DEFCOLWIDTH's,
    // in whole characters of "0" without the padding (8 unless the file says otherwise).
    std::optional<int> standardColumnWidth() const { return m_standardColumnWidth; }
    int defaultColumnWidth() const { return m_defaultColumnWidth; }
    void setStandardColumnWidth(int width) { m_standardColumnWidth = width; }
    void setDefaultColumnWidth(int characters) { m_defaultColumnWidth = characters; }
    bool isColumnHidden(int column) const;

    // Merged ranges, in the file's order. The merged area shows the value and the format of
    // its top left cell.
    const QList<CellRange>& mergedRanges() const { return m_mergedRanges; }
    void setMergedRanges(const QList<CellRange>& ranges) { m_mergedRanges = ranges; }

    // The ranges the print area is made of (from the sheet's Print_Area name); empty when the
    // whole used part of the sheet prints.
    const QList<CellRange>& printAreas() const { return m_printAreas; }
    void setPrintAreas(const QList<CellRange>& areas) { m_printAreas = areas; }
    // Rows repeated at the top of every page (spanning every column) and columns repeated at
    // the left (spanning every row), from the sheet's Print_Titles name.
    std::optional<CellRange> titleRows() const { return m_titleRows; }
    std::optional<CellRange> titleColumns() const { return m_titleColumns; }
    void setTitleRows(const CellRange& rows) { m_titleRows = rows; }
    void setTitleColumns(const CellRange& columns) { m_titleColumns = columns; }

    // The conditional formats, in the file's order.
    const QList<ConditionalFormat>& conditionalFormats() const { return m_conditionalFormats; }
    void setConditionalFormats(const QList<ConditionalFormat>& formats) {
        m_conditionalFormats = formats;
    }
    // The differential format that a conditional format applies at a position, given the
    // value there (an empty position counts as empty), or nullptr when no condition holds.
    // Conditions given by formulas or by operands that are not constants are not evaluated
    // and never hold.
    const DifferentialFormat* conditionalFormat(int row, int column) const;

    const PhoneticSettings& phoneticSettings() const { return m_phoneticSettings; }
    void setPhoneticSettings(const PhoneticSettings& settings) { m_phoneticSettings = settings; }
    // True when the sheet shows the phonetic guide of the cell at a position.
    bool showsPhonetic(int row, int column) const;

    const PageSetup& pageSetup() const { return m_pageSetup; }
    PageSetup& pageSetup() { return m_pageSetup; }

    // The sheet's drawing objects (pictures, shapes, text boxes, form controls, comments),
    // top-level ones in drawing order, back to front; groups hold their members.
    const std::vector<SheetObject>& objects() const { return m_objects; }
    void setObjects(std::vector<SheetObject> objects) { m_objects = std::move(objects); }

    // A chart sheet's chart; nullptr for other sheets, or when the chart could not be read.
    const std::shared_ptr<Chart>& chart() const { return m_chart; }
    void setChart(std::shared_ptr<Chart> chart) { m_chart = std::move(chart); }
    // The pictures the header and footer print for their &G codes, by section; nullptr for a
    // section without one.
    const HeaderFooterPicture* headerFooterPicture(HeaderFooterPlace place) const;
    void setHeaderFooterPictures(const QMap<HeaderFooterPlace, HeaderFooterPicture>& pictures) {
        m_headerFooterPictures = pictures;
    }

private:
    QString m_name;
    SheetKind m_kind;
    SheetVisibility m_visibility;
    std::vector<Cell> m_cells;
    std::vector<RowInfo> m_rows;
    int m_defaultRowHeight = 255;
    bool m_rowsHiddenByDefault = false;
    std::vector<ColumnInfo> m_columns;
    std::optional<int> m_standardColumnWidth;
    int m_defaultColumnWidth = 8;
    QList<CellRange> m_mergedRanges;
    QList<CellRange> m_printAreas;
    std::optional<CellRange> m_titleRows;
    std::optional<CellRange> m_titleColumns;
    QList<ConditionalFormat> m_conditionalFormats;
    PhoneticSettings m_phoneticSettings;
    PageSetup m_pageSetup;
    std::vector<SheetObject> m_objects;
    std::shared_ptr<Chart> m_chart;
    QMap<HeaderFooterPlace, HeaderFooterPicture> m_headerFooterPictures;
};

} // namespace xls
