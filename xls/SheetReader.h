#pragma once

#include "ChartReader.h"
#include "DrawingReader.h"
#include "FormulaCells.h"
#include "HeaderFooterPictureReader.h"
#include "ObjReader.h"
#include "Sheet.h"
#include "Strings.h"
#include "Workbook.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

namespace xls {

class RecordReader;
class RecordStream;
struct Record;

// Reads one sheet's records, from its BOF to its EOF, into the sheet: cells with their values
// and formats, rows and columns, merged ranges and page setup. The chart substreams that
// follow chart objects are read into charts and given to those objects in turn; a chart
// sheet's records give its chart and its page setup. Other nested substreams, and the records
// of modules, are skipped. Also read: the font runs of RSTRING cells (added to the workbook's
// rich texts), the sheet's phonetic guide settings and its conditional formats. A sheet whose
// window displays formulas (as macro sheets do) gets each formula's text in place of its
// result.
class SheetReader {
public:
    SheetReader(QByteArrayView stream, BiffVersion version, const Strings& strings,
                const SharedStrings& sharedStrings, std::vector<RichText>& richTexts,
                ChartReference chartReferences);

    // The workbook's picture store, which the sheets' pictures name and the pictures of older
    // picture objects join.
    void setPictures(QList<Picture>* pictures) {
        m_drawing.setPictures(pictures);
        m_olderObjects.setPictures(pictures);
    }
    // The picture store that the sheets' header and footer pictures name.
    void setHeaderFooterStore(const QList<Picture>* store) { m_headerFooterStore = store; }
    // What the workbook's formulas name, for sheets that display their formulas.
    void setFormulaNames(FormulaNames names) { m_formulaNames = std::move(names); }
    // Reads the sheet whose BOF is at offset; returns where its records end.
    qsizetype read(qsizetype offset, Sheet& sheet);

private:
    void readRecord(const Record& record, RecordStream& records);
    void finish(Sheet& sheet);
    void attachCharts(std::vector<SheetObject>& objects);
    void readCellRecord(const Record& record, RecordStream& records);
    void readLayoutRecord(const Record& record);
    void readFormatRecord(const Record& record);
    void addText(int row, int column, int format, FormattedString text);
    QList<CellRange> cellRanges(RecordReader& reader) const;
    void addCell(Cell cell);
    bool validPosition(int row, int column) const;
    bool displaysFormulas(qsizetype offset, SheetKind kind) const;

    QByteArrayView m_stream;
    BiffVersion m_version;
    const Strings& m_strings;
    const SharedStrings& m_sharedStrings;
    std::vector<RichText>& m_richTexts;
    int m_rowCount;

    Sheet* m_sheet = nullptr;
    std::vector<Cell> m_cells;
    std::vector<RowInfo> m_rows;
    std::vector<ColumnInfo> m_columns;
    QList<CellRange> m_merged;
    DrawingReader m_drawing;
    ChartReader m_chartReader;
    std::deque<std::shared_ptr<Chart>> m_charts; // embedded charts not yet given to an object
    ObjReader m_olderObjects;
    HeaderFooterPictureReader m_headerFooterDrawing;
    const QList<Picture>* m_headerFooterStore = nullptr;
    QList<ConditionalFormat> m_conditionalFormats;
    // The CF records that the last CONDFMT record announced and that have not come yet.
    int m_pendingConditions = 0;
    // The formula cell whose text result a STRING record brings next, or -1.
    qsizetype m_pendingString = -1;
    bool m_inCustomView = false; // between USERSVIEWBEGIN and USERSVIEWEND
    FormulaNames m_formulaNames;
    bool m_showFormulas = false;
    FormulaCells m_formulas;
};

} // namespace xls
