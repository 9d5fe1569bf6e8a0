#include "LaidOutSheets.h"

#include "CellTextReach.h"
#include "CommentList.h"
#include "PageLayout.h"
#include "PrintOptions.h"
#include "SheetMetrics.h"

#include "xls/Workbook.h"

#include <algorithm>
#include <climits>

namespace report {

namespace {

// Worksheets print, and so do macro sheets, which show their formulas, and chart sheets.
bool prints(const xls::Sheet& sheet) {
    return sheet.kind() == xls::SheetKind::Worksheet ||
           sheet.kind() == xls::SheetKind::MacroSheet || isChartSheet(sheet);
}

// Page counts of many sheets, each of up to millions of pages, add up to no more than an int
// holds.
int addPages(int count, int more) {
    return static_cast<int>(std::min<qint64>(qint64{count} + more, INT_MAX));
}

} // namespace

bool isChartSheet(const xls::Sheet& sheet) {
    return sheet.kind() == xls::SheetKind::Chart && sheet.chart() != nullptr;
}

int LaidOutSheet::pageCount() const {
    return chartSheet ? 1 : layout->pageCount();
}

LaidOutSheet::LaidOutSheet() = default;
LaidOutSheet::LaidOutSheet(LaidOutSheet&&) noexcept = default;
LaidOutSheet::~LaidOutSheet() = default;

LaidOutSheets::LaidOutSheets(const xls::Workbook& workbook, const QList<const xls::Sheet*>& sheets,
                             double maxDigitWidth, const CellFonts& fonts,
                             const xls::CellText& cellText) {
    for (const xls::Sheet* sheet : sheets) {
        if (!prints(*sheet))
            continue;
        LaidOutSheet entry;
        entry.sheet = sheet;
        entry.chartSheet = isChartSheet(*sheet);
        entry.metrics = std::make_unique<SheetMetrics>(*sheet, maxDigitWidth);
        const PrintOptions options(workbook.palette(), sheet->pageSetup());
        // The spills are decided here, once; the layout keeps them, not the measure.
        const CellTextReach reach({workbook, *sheet, *entry.metrics, fonts, cellText, options});
        entry.layout = std::make_unique<PageLayout>(workbook, *sheet, *entry.metrics, &reach);
        entry.comments =
            std::make_unique<CommentList>(workbook, *sheet, entry.layout->frame(), fonts);
        m_pageCount = addPages(m_pageCount, entry.pageCount());
        m_pageCount = addPages(m_pageCount, entry.comments->pageCount());
        m_sheets.push_back(std::move(entry));
    }
}

} // namespace report
