#pragma once

#include "PageLayout.h"
#include "TextSpills.h"

#include <QRectF>

#include <optional>
#include <vector>

namespace xls {
class Cell;
class Sheet;
} // namespace xls

namespace report {

class SheetMetrics;

// The column slots of a page that a flowing text covers, and where they stand in its row.
struct SlotSpan {
    int first = 0;
    int last = 0;
    QRectF rect;
};

// A text that flows into the page's columns from a cell beside them: off the page, or in
// another run of its columns.
struct IncomingText {
    const xls::Cell* cell = nullptr;
    QRectF cellRect; // where the cell would stand, in the page's points
    SlotSpan covered;
};

// How the sheet's texts flow across one page's columns: each page shows the part of a text
// that falls in its own columns, wherever the text starts. Text flows across the slots that
// stand side by side on the sheet (a run), and into a run only from cells of the page's print
// area. Print-title columns repeated beside the page's own columns are a run of their own:
// the texts of their cells stop at their edge there, and no text flows into them; where they
// print in place, next to the column that follows them on the sheet, the two are one run.
class PageFlow {
public:
    // measure: for the sheet's texts when the page does not carry them.
    PageFlow(const LaidOutPage& page, const xls::Sheet& sheet, const SheetMetrics& metrics,
             const TextReachMeasure& measure);

    // The slots the text of the cell shown in slot (r, c) covers; none when it stays in its
    // cell.
    std::optional<SlotSpan> covered(int r, int c) const;
    // The texts that flow into the page's columns in row slot r from cells beside them.
    std::vector<IncomingText> incoming(int r) const;

private:
    // Slots side by side on the sheet; titlesOnly for a run of repeated print titles.
    struct Run {
        int first = 0;
        int last = 0;
        bool titlesOnly = false;
    };

    std::optional<SlotSpan> span(int r, const Run& run, const Spill& spill) const;

    const LaidOutPage& m_page;
    const xls::Sheet& m_sheet;
    const SheetMetrics& m_metrics;
    SharedSpills m_spills;
    std::vector<Run> m_runs;
};

} // namespace report
