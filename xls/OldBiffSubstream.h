#pragma once

#include "Cell.h"
#include "ColumnInfo.h"
#include "OldBiffTables.h"
#include "RowInfo.h"
#include "Sheet.h"
#include "Strings.h"
#include "Workbook.h"

#include <QList>
#include <QString>

#include <vector>

namespace xls {

class RecordReader;
class RecordStream;
struct Record;

// Reads one substream of an Excel 2.x-4.0 stream, from the record after its BOF to its EOF:
// the workbook settings (code page, date system, palette), the substream's fonts, cell and
// number formats, and, for a sheet, its cells, rows, columns and page setup. Cells keep the
// substream's own format indices until finish() renumbers them.
class OldBiffSubstream {
public:
    OldBiffSubstream(BiffVersion version, Strings& strings, Workbook& workbook);

    // Reads into sheet; without a sheet (an Excel 4.0 workbook's globals) cells are skipped.
    // Throws ReadError for a stream that ends first, for encryption and for a damaged cell.
    void read(RecordStream& records, Sheet* sheet);
    const OldBiffFormats& formats() const { return m_formats; }
    // The sheet names that an Excel 4.0 workbook's globals list, in order.
    const QList<QString>& sheetNames() const { return m_sheetNames; }
    // Hands the cells, rows and columns to the sheet, their formats renumbered by placement.
    void finish(Sheet& sheet, const OldBiffPlacement& placement);

private:
    void readRecord(const Record& record);
    bool readFormatting(const Record& record);
    bool readCell(const Record& record);
    void readString(RecordReader& reader, quint16 code);
    void readLayout(const Record& record);
    int cellFormatOf(RecordReader& reader, quint16 code);
    int attributeFormat(quint16 attributes);
    void addCell(Cell cell, bool textFollows = false);

    BiffVersion m_version;
    Strings& m_strings;
    Workbook& m_workbook;
    Sheet* m_sheet = nullptr;
    OldBiffFormats m_formats;
    QList<QString> m_sheetNames;
    std::vector<Cell> m_cells;
    std::vector<RowInfo> m_rows;
    std::vector<ColumnInfo> m_columns;
    // The formula cell whose text result a STRING record brings next, or -1.
    qsizetype m_pendingString = -1;
};

} // namespace xls
