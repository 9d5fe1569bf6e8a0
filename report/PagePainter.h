#pragma once

#include "CellFonts.h"
#include "ChartPainter.h"
#include "HeaderFooter.h"
#include "ObjectLayer.h"
#include "PageContent.h"
#include "PageLayout.h"
#include "PictureDrawing.h"
#include "PrintOptions.h"

#include <QFont>

class QPainter;

namespace xls {
class CellText;
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class FontMapper;
class SheetMetrics;

// Paints one laid-out page of a sheet as the spreadsheet prints it: all the page shows is laid
// out first (PageContent: header and footer lines, cells, objects), then painted in layers:
// fills, gridlines, cell texts, borders, drawing objects and comment boxes, headings; header
// and footer around them. The painter given to paint() draws in points with (0, 0) at the
// paper's top left corner. The sheet's page options (PrintOptions) decide colours, gridlines
// and objects.
class PagePainter {
public:
    PagePainter(const xls::Workbook& workbook, const xls::Sheet& sheet, const SheetMetrics& metrics,
                const CellFonts& fonts, const xls::CellText& cellText);

    void paint(QPainter& painter, const PageFrame& frame, const LaidOutPage& page,
               const HeaderFooterFields& fields) const;
    // The sheet's header and footer alone, as on its pages: for the pages that list its
    // comments.
    void paintHeaderAndFooter(QPainter& painter, const PageFrame& frame,
                              const HeaderFooterFields& fields) const;
    // A chart sheet's page: its header and footer, and its chart over the area between the
    // margins.
    void paintChartSheet(QPainter& painter, const PageFrame& frame,
                         const HeaderFooterFields& fields) const;

private:
    PageContent layOut(const PageFrame& frame, const LaidOutPage& page,
                       const HeaderFooterFields& fields, QPaintDevice* device) const;
    void layOutHeaderAndFooter(PageContent& content, const PageFrame& frame,
                               const HeaderFooterFields& fields, QPaintDevice* device) const;
    void paintHeaderFooterRuns(QPainter& painter, const PageContent& content) const;

    const xls::Workbook& m_workbook;
    const xls::Sheet& m_sheet;
    const SheetMetrics& m_metrics;
    const xls::CellText& m_cellText;
    const CellFonts& m_cellFonts;
    PrintOptions m_options; // the sheet's black and white, draft and error printing
    ObjectLayer m_objects;
    PictureDrawing m_headerFooterPictures;
    ChartPainter m_chart;
    QFont m_defaultFont; // the workbook's first font, for headings and empty header lines
};

} // namespace report
