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
                         const SheetMetrics& metrics, const CellFonts& fonts,
                         const xls::CellText& cellText)
    : m_workbook(workbook)
    , m_sheet(sheet)
    , m_metrics(metrics)
    , m_cellText(cellText)
    , m_cellFonts(fonts)
    , m_options(workbook.palette(), sheet.pageSetup())
    , m_objects(workbook, sheet, metrics, m_cellFonts, m_options)
    , m_headerFooterPictures(fonts.mapper(), m_options)
    , m_chart(workbook, m_cellFonts, m_options)
    , m_defaultFont(fonts.mapper().font(workbook.font(0))) {}

PageContent PagePainter::layOut(const PageFrame& frame, const LaidOutPage& page,
                                const HeaderFooterFields& fields, QPaintDevice* device) const {
    PageContent content;
    layOutHeaderAndFooter(content, frame, fields, device);
    content.cells.emplace(
        CellSources{m_workbook, m_sheet, m_metrics, m_cellFonts, m_cellText, m_options}, page,
        device);
    if (m_options.printsObjects())
        content.objects = m_objects.place(page);
    return content;
}

void PagePainter::layOutHeaderAndFooter(PageContent& content, const PageFrame& frame,
                                        const HeaderFooterFields& fields,
                                        QPaintDevice* device) const {
    const xls::PageSetup& setup = m_sheet.pageSetup();
    const xls::Font& defaultFont = m_workbook.font(0);
    using Place = xls::HeaderFooterPlace;
    for (const bool header : {true, false}) {
        const QString& code = header ? setup.header : setup.footer;
        if (code.isEmpty())
            continue;
        const SectionPictures pictures =
            header ? SectionPictures{m_sheet.headerFooterPicture(Place::LeftHeader),
                                     m_sheet.headerFooterPicture(Place::CenterHeader),
                                     m_sheet.headerFooterPicture(Place::RightHeader)}
                   : SectionPictures{m_sheet.headerFooterPicture(Place::LeftFooter),
                                     m_sheet.headerFooterPicture(Place::CenterFooter),
                                     m_sheet.headerFooterPicture(Place::RightFooter)};
        (header ? content.header : content.footer) =
            layOutHeaderFooter(frame, expandHeaderFooter(code, fields, defaultFont), pictures,
                               m_cellFonts.mapper(), m_defaultFont, m_options, header, device);
    }
}

void PagePainter::paint(QPainter& painter, const PageFrame& frame, const LaidOutPage& page,
                        const HeaderFooterFields& fields) const {
    const PageContent content = layOut(frame, page, fields, painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintHeaderFooterRuns(painter, content);

    painter.translate(page.origin);
    painter.scale(frame.scale, frame.scale);
    painter.setClipRect(QRectF(QPointF(0, 0), page.blockSize));
    const CellLayout& cells = *content.cells;
    paintFills(painter, cells);
    if (m_options.printsGridlines(frame.gridlines))
        paintGridlines(painter, cells);
    paintTexts(painter, cells);
    paintBorders(painter, cells);
    if (content.objects)
        m_objects.paint(painter, *content.objects);
    if (frame.headings)
        paintHeadings(painter, page, m_defaultFont);
    painter.restore();
}

void PagePainter::paintHeaderAndFooter(QPainter& painter, const PageFrame& frame,
                                       const HeaderFooterFields& fields) const {
    PageContent content;
    layOutHeaderAndFooter(content, frame, fields, painter.device());
    paintHeaderFooterRuns(painter, content);
}

void PagePainter::paintHeaderFooterRuns(QPainter& painter, const PageContent& content) const {
    paintHeaderFooter(painter, content.header, m_headerFooterPictures);
    paintHeaderFooter(painter, content.footer, m_headerFooterPictures);
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
