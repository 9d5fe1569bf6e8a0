// libFuzzer target: reads any input as a whole .xls file (when it starts like a compound file)
// or as a bare workbook stream, then walks the model the way a printer would, shown texts
// included.

#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <cstddef>
#include <cstdint>

namespace {

// Touches what a printer reads of a drawing object and its members.
int walkObject(const xls::Workbook& workbook, const xls::SheetObject& object) {
    int sum = object.anchor.lastRow + object.anchor.lastColumn;
    if (object.picture)
        sum += static_cast<int>(workbook.pictures().at(*object.picture).data.size());
    if (object.text) {
        sum += static_cast<int>(object.text->text.size());
        for (const xls::TextRun& run : object.text->runs)
            sum += workbook.font(run.fontIndex).height;
    }
    for (const xls::SheetObject& child : object.children)
        sum += walkObject(workbook, child);
    return sum;
}

// Touches what a printer reads of each cell, so that a model that lies is caught here.
int walk(const xls::Workbook& workbook) {
    int sum = 0;
    const xls::CellText cellText(workbook);
    for (const xls::Sheet& sheet : workbook.sheets()) {
        for (const xls::Cell& cell : sheet.cells()) {
            sum += static_cast<int>(cellText.text(cell).size());
            const xls::CellFormat& format = workbook.cellFormat(cell.formatIndex());
            sum += workbook.font(format.fontIndex).height;
            sum += workbook.palette().color(format.patternColorIndex).isValid() ? 1 : 0;
            sum += sheet.cell(cell.row(), cell.column()) == &cell ? 1 : 0;
            sum += static_cast<int>(cell.text().size()) + (sheet.isRowHidden(cell.row()) ? 1 : 0) +
                   sheet.rowHeight(cell.row()) + (sheet.isColumnHidden(cell.column()) ? 1 : 0);
        }
        sum += static_cast<int>(sheet.mergedRanges().size() + sheet.printAreas().size());
        for (const xls::SheetObject& object : sheet.objects())
            sum += walkObject(workbook, object);
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const xls::IconvCodePages codePages;
    const xls::WorkbookReader reader(codePages);
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const bool container = input.startsWith(QByteArrayView("\xD0\xCF\x11\xE0", 4));
        const xls::Workbook workbook =
            container ? reader.readFileImage(input) : reader.readStream(input);
        volatile int sink = walk(workbook);
        (void)sink;
    } catch (const xls::ReadError&) {
        // Every kind of bad input ends here.
    }
    return 0;
}
