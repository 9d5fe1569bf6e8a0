#pragma once

#include <QList>

#include <memory>
#include <vector>

namespace xls {
class CellText;
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class CellFonts;
class CommentList;
class PageLayout;
class SheetMetrics;

// Whether a sheet is a chart sheet that prints its chart: one whose chart could be read.
bool isChartSheet(const xls::Sheet& sheet);

// One printed sheet laid out: its pages, then the pages listing its comments. A chart sheet
// prints its chart on one page of its own page setup (the layout gives its frame).
struct LaidOutSheet {
    const xls::Sheet* sheet = nullptr;
    bool chartSheet = false;
    std::unique_ptr<SheetMetrics> metrics;
    std::unique_ptr<PageLayout> layout;
    std::unique_ptr<CommentList> comments;

    // The sheet's own pages, comment lists left out.
    int pageCount() const;

    LaidOutSheet();
    LaidOutSheet(LaidOutSheet&&) noexcept;
    ~LaidOutSheet();
};

// The sheets of a document laid out once, in order, for counting and for painting their
// pages alike: worksheets, macro sheets and chart sheets whose chart was read (modules add no
// page).
class LaidOutSheets {
public:
    LaidOutSheets(const xls::Workbook& workbook, const QList<const xls::Sheet*>& sheets,
                  double maxDigitWidth, const CellFonts& fonts, const xls::CellText& cellText);

    const std::vector<LaidOutSheet>& sheets() const { return m_sheets; }
    // How many pages they print, comment lists included; never more than an int holds.
    int pageCount() const { return m_pageCount; }

private:
    std::vector<LaidOutSheet> m_sheets;
    int m_pageCount = 0;
};

} // namespace report
