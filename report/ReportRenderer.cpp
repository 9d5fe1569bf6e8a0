#include "ReportRenderer.h"

#include "CellFonts.h"
#include "CommentList.h"
#include "FontMapper.h"
#include "LaidOutSheets.h"
#include "PageLayout.h"
#include "PagePainter.h"
#include "PageSink.h"
#include "ReportError.h"
#include "SheetLimits.h"
#include "SheetMetrics.h"

#include "xls/CellText.h"
#include "xls/Workbook.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace report {

namespace {

// A printer or Qt's PDF writer, painted at 72 dots per inch so that a device pixel is a
// point and font sizes in points mean what they say.
class PagedDeviceSink : public PageSink {
public:
    explicit PagedDeviceSink(QPagedPaintDevice& device)
        : m_device(device) {
        if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
            printer->setFullPage(true);
            printer->setResolution(kPointsPerInch);
        } else if (auto* writer = dynamic_cast<QPdfWriter*>(&device)) {
            writer->setResolution(kPointsPerInch);
        }
    }
    QPaintDevice& device() override { return m_device; }
    bool startPage(const QPageLayout& paper, bool first) override {
        m_device.setPageLayout(paper);
        return first || m_device.newPage();
    }

private:
    QPagedPaintDevice& m_device;
};

// Starts page number painted + 1 of the document on paper of the frame's size and
// orientation, unless the run asked to stop; the margins are the painter's business, so the
// page is painted whole.
void beginPage(PageSink& sink, QPainter& painter, const PageFrame& frame, int painted,
               const RenderControl& control) {
    if (control.stop.stop_requested())
        throw RenderStopped();
    if (control.pageBegun)
        control.pageBegun(painted + 1);
    const bool first = painted == 0;
    QPageLayout paper = frame.pageLayout;
    paper.setMinimumMargins(QMarginsF());
    paper.setMargins(QMarginsF());
    if (!sink.startPage(paper, first))
        throw ReportError(QStringLiteral("The printer refused a new page."));
    if (first && !painter.begin(&sink.device()))
        throw ReportError(QStringLiteral("The printer cannot be printed on."));
}

} // namespace

ReportRenderer::ReportRenderer(const xls::Workbook& workbook, const QString& filePath,
                               const FontMapper& fonts, const TextShaper& shaper)
    : m_workbook(workbook)
    , m_filePath(filePath)
    , m_fonts(fonts)
    , m_shaper(shaper)
    , m_maxDigitWidth(fonts.maxDigitWidth(workbook.font(0))) {}

int ReportRenderer::pageCount(const QList<const xls::Sheet*>& sheets) const {
    const xls::CellText cellText(m_workbook);
    const CellFonts fonts(m_workbook, m_fonts, m_shaper);
    return LaidOutSheets(m_workbook, sheets, m_maxDigitWidth, fonts, cellText).pageCount();
}

int ReportRenderer::render(QPagedPaintDevice& device, const QList<const xls::Sheet*>& sheets,
                           const QDateTime& printed, const RenderControl& control) const {
    PagedDeviceSink sink(device);
    return render(sink, sheets, printed, control);
}

int ReportRenderer::render(PageSink& sink, const QList<const xls::Sheet*>& sheets,
                           const QDateTime& printed, const RenderControl& control) const {
    const xls::CellText cellText(m_workbook);
    const CellFonts fonts(m_workbook, m_fonts, m_shaper);
    const LaidOutSheets laidOut(m_workbook, sheets, m_maxDigitWidth, fonts, cellText);
    const int total = laidOut.pageCount();
    if (total == 0)
        return 0;

    const QFileInfo file(m_filePath);
    HeaderFooterFields fields;
    fields.pageCount = total;
    fields.fileName = file.fileName();
    fields.folderPath = file.absolutePath();
    fields.printed = printed;

    QPainter painter;
    int painted = 0;
    int nextNumber = 1;
    for (const LaidOutSheet& entry : laidOut.sheets()) {
        const int count = entry.pageCount();
        const int listed = entry.comments->pageCount();
        const PageFrame& frame = entry.layout->frame();
        const PagePainter pagePainter(m_workbook, *entry.sheet, *entry.metrics, fonts, cellText);
        fields.sheetName = entry.sheet->name();
        const int firstNumber = entry.sheet->pageSetup().firstPageNumber.value_or(nextNumber);
        if (entry.chartSheet) {
            beginPage(sink, painter, frame, painted, control);
            fields.page = firstNumber;
            pagePainter.paintChartSheet(painter, frame, fields);
            ++painted;
        }
        for (int ordinal = 0; ordinal < count && !entry.chartSheet; ++ordinal) {
            const LaidOutPage page = entry.layout->page(ordinal, nextNumber);
            beginPage(sink, painter, frame, painted, control);
            fields.page = page.number;
            pagePainter.paint(painter, frame, page, fields);
            ++painted;
        }
        // The comment list follows the sheet's pages and numbers on from them.
        for (int ordinal = 0; ordinal < listed; ++ordinal) {
            beginPage(sink, painter, frame, painted, control);
            fields.page = firstNumber + count + ordinal;
            pagePainter.paintHeaderAndFooter(painter, frame, fields);
            entry.comments->paint(painter, ordinal);
            ++painted;
        }
        if (count + listed > 0)
            nextNumber = firstNumber + count + listed;
    }
    if (!painter.end())
        throw ReportError(QStringLiteral("The document could not be finished."));
    return painted;
}

} // namespace report
