#include "PagePainter.h"

#include "CellLayout.h"
#include "FontMapper.h"
#include "HeaderFooterLines.h"
#include "PageLayers.h"

#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QPainter>

namespace report {

PagePainter::PagePainter(const xls::Workbook& workbook, const xls::Sheet& sheet,
                         const SheetMetrics& metrics, const FontMapper& fonts,
                         const xls::CellText& cellText)
    : m_workbook(workbook)
    , m_sheet(sheet)
    , m_metrics(metrics)
    , m_fonts(fonts)
    , m_cellText(cellText)
    , m_cellFonts(workbook, fonts)
    , m_options(workbook.palette(), sheet.pageSetup())
    , m_objects(workbook, sheet, metrics, m_cellFonts, m_options)
    , m_chart(workbook, m_cellFonts, m_options)
    , m_defaultFont(fonts.font(workbook.font(0))) {}

void PagePainter::paint(QPainter& painter, const PageFrame& frame, const LaidOutPage& page,
                        const HeaderFooterFields& fields) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintHeaderAndFooter(painter, frame, fields);

    painter.translate(page.origin);
    painter.scale(frame.scale, frame.scale);
    painter.setClipRect(QRectF(QPointF(0, 0), page.blockSize));
    const CellLayout layout({m_workbook, m_sheet, m_metrics, m_cellFonts, m_cellText, m_options},
                            page, painter.device());
    paintFills(painter, layout);
    if (m_options.printsGridlines(frame.gridlines))
        paintGridlines(painter, layout);
    paintTexts(painter, layout);
    paintBorders(painter, layout);
    if (m_options.printsObjects())
        m_objects.paint(painter, m_objects.place(page));
    if (frame.headings)
        paintHeadings(painter, page, m_defaultFont);
    painter.restore();
}

void PagePainter::paintHeaderAndFooter(QPainter& painter, const PageFrame& frame,
                                       const HeaderFooterFields& fields) const {
    const xls::PageSetup& setup = m_sheet.pageSetup();
    const xls::Font& defaultFont = m_workbook.font(0);
    for (const bool header : {true, false}) {
        const QString& code = header ? setup.header : setup.footer;
        if (!code.isEmpty())
            paintHeaderFooter(
                painter,
                layOutHeaderFooter(frame, expandHeaderFooter(code, fields, defaultFont), m_fonts,
                                   m_defaultFont, m_options, header, painter.device()));
    }
}

void PagePainter::paintChartSheet(QPainter& painter, const PageFrame& frame,
                                  const HeaderFooterFields& fields) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintHeaderAndFooter(painter, frame, fields);
    if (m_sheet.chart())
        m_chart.paint(painter, *m_sheet.chart(), frame.pageLayout.paintRect(QPageLayout::Point));
    painter.restore();
}

} // namespace report
