// libFuzzer target: reads any input as a whole .xls file (when it starts like a compound file)
// or as a bare workbook stream, then walks the model the way a printer would, shown texts
// included.

#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The font runs, phonetic guide and conditional format a printer asks for; positions that
// fall outside their texts are a fault of the reader and stop the run.
int walkRichText(const xls::Workbook& workbook, const xls::Sheet& sheet, const xls::Cell& cell) {
    int sum = 0;
    int previous = -1;
    for (const xls::TextRun& run : workbook.textRuns(cell)) {
        if (run.position <= previous || run.position >= cell.text().size())
            std::abort();
        previous = run.position;
        sum += workbook.font(run.fontIndex).height;
    }
    if (const xls::PhoneticText* guide = workbook.shownPhonetic(sheet, cell)) {
        for (const xls::PhoneticRun& run : guide->runs) {
            if (run.phoneticStart > guide->text.size() ||
                run.baseStart + run.baseLength > cell.text().size())
                std::abort();
        }
        sum += workbook.font(guide->fontIndex).height;
    }
    if (const xls::DifferentialFormat* format = sheet.conditionalFormat(cell.row(), cell.column()))
        sum += format->fontColorIndex.value_or(0);
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
            sum += walkRichText(workbook, sheet, cell);
            sum += static_cast<int>(cell.text().size()) + (sheet.isRowHidden(cell.row()) ? 1 : 0) +
                   sheet.rowHeight(cell.row()) + (sheet.isColumnHidden(cell.column()) ? 1 : 0);
        }
        sum += static_cast<int>(sheet.mergedRanges().size() + sheet.printAreas().size());
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
