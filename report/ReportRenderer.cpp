#include "ReportRenderer.h"

#include "CellFonts.h"
#include "CellLayout.h"
#include "FontMapper.h"
#include "PageLayout.h"
#include "PagePainter.h"
#include "ReportError.h"
#include "SheetMetrics.h"

#include "xls/CellText.h"
#include "xls/Workbook.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace report {

namespace {

// Painting happens in points: at 72 dots per inch a device pixel is a point, and font sizes
// in points mean what they say.
constexpr int kPointsPerInch = 72;

bool prints(const xls::Sheet& sheet) {
    return sheet.kind() == xls::SheetKind::Worksheet;
}

// Page counts of many sheets, each of up to millions of pages, add up to no more than an int
// holds.
int addPages(int count, int more) {
    return static_cast<int>(std::min<qint64>(qint64{count} + more, INT_MAX));
}

struct LaidOutSheet {
    const xls::Sheet* sheet = nullptr;
    std::unique_ptr<SheetMetrics> metrics;
    std::unique_ptr<PageLayout> layout;
};

} // namespace

ReportRenderer::ReportRenderer(const xls::Workbook& workbook, const QString& filePath,
                               const FontMapper& fonts)
    : m_workbook(workbook)
    , m_filePath(filePath)
    , m_fonts(fonts)
    , m_maxDigitWidth(fonts.maxDigitWidth(workbook.font(0))) {}

int ReportRenderer::pageCount(const QList<const xls::Sheet*>& sheets) const {
    const xls::CellText cellText(m_workbook);
    const CellFonts fonts(m_workbook, m_fonts);
    int count = 0;
    for (const xls::Sheet* sheet : sheets) {
        if (!prints(*sheet))
            continue;
        const SheetMetrics metrics(*sheet, m_maxDigitWidth);
        const CellTextReach reach({m_workbook, *sheet, metrics, fonts, cellText});
        count = addPages(count, PageLayout(m_workbook, *sheet, metrics, &reach).pageCount());
    }
    return count;
}

int ReportRenderer::render(QPagedPaintDevice& device, const QList<const xls::Sheet*>& sheets,
                           const QDateTime& printed) const {
    const xls::CellText cellText(m_workbook);
    const CellFonts fonts(m_workbook, m_fonts);
    std::vector<LaidOutSheet> laidOut;
    int total = 0;
    for (const xls::Sheet* sheet : sheets) {
        if (!prints(*sheet))
            continue;
        LaidOutSheet entry;
        entry.sheet = sheet;
        entry.metrics = std::make_unique<SheetMetrics>(*sheet, m_maxDigitWidth);
        const CellTextReach reach({m_workbook, *sheet, *entry.metrics, fonts, cellText});
        entry.layout = std::make_unique<PageLayout>(m_workbook, *sheet, *entry.metrics, &reach);
        total = addPages(total, entry.layout->pageCount());
        laidOut.push_back(std::move(entry));
    }
    if (total == 0)
        return 0;

    const QFileInfo file(m_filePath);
    HeaderFooterFields fields;
    fields.pageCount = total;
    fields.fileName = file.fileName();
    fields.folderPath = file.absolutePath();
    fields.printed = printed;

    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setFullPage(true);
        printer->setResolution(kPointsPerInch);
    } else if (auto* writer = dynamic_cast<QPdfWriter*>(&device)) {
        writer->setResolution(kPointsPerInch);
    }
    QPainter painter;
    int painted = 0;
    int nextNumber = 1;
    for (const LaidOutSheet& entry : laidOut) {
        const int count = entry.layout->pageCount();
        if (count == 0)
            continue;
        const PageFrame& frame = entry.layout->frame();
        const PagePainter pagePainter(m_workbook, *entry.sheet, *entry.metrics, m_fonts, cellText);
        fields.sheetName = entry.sheet->name();
        for (int ordinal = 0; ordinal < count; ++ordinal) {
            const LaidOutPage page = entry.layout->page(ordinal, nextNumber);
            // The margins are the painter's business: the page is painted whole.
            QPageLayout paper = frame.pageLayout;
            paper.setMinimumMargins(QMarginsF());
            paper.setMargins(QMarginsF());
            device.setPageLayout(paper);
            if (painted == 0) {
                if (!painter.begin(&device))
                    throw ReportError(QStringLiteral("The printer cannot be printed on."));
            } else {
                if (!device.newPage())
                    throw ReportError(QStringLiteral("The printer refused a new page."));
            }
            fields.page = page.number;
            pagePainter.paint(painter, frame, page, fields);
            ++painted;
            if (ordinal + 1 == count)
                nextNumber = page.number + 1;
        }
    }
    if (!painter.end())
        throw ReportError(QStringLiteral("The document could not be finished."));
    return painted;
}

} // namespace report
