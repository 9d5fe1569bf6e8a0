#pragma once

#include "PageLayout.h"
#include "UsedRange.h"

#include "xls/CellFormat.h"
#include "xls/Font.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

namespace xls {
class Cell;
class CellText;
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class CellFonts;
class SheetMetrics;

// The most characters of its text a cell shows; the rest is never printed.
constexpr qsizetype kMaxShownCharacters = 1024;

// What the layout of a sheet's cells reads.
struct CellSources {
    const xls::Workbook& workbook;
    const xls::Sheet& sheet;
    const SheetMetrics& metrics;
    const CellFonts& fonts;
    const xls::CellText& cellText;
};

// One line of text shaped once, for measuring and for drawing.
class ShapedLine {
public:
    ShapedLine(const QString& text, const QFont& font, QPaintDevice* device);
    double width() const;
    double ascent() const;
    double descent() const;
    // Draws the line with its baseline starting at `baseline`.
    void draw(QPainter& painter, QPointF baseline) const;

private:
    QTextLayout m_layout;
    QTextLine m_line;
};

// A line along a cell edge; no line when its style is None.
struct EdgeLine {
    xls::BorderStyle style = xls::BorderStyle::None;
    QColor color;
    bool shown() const { return style != xls::BorderStyle::None; }
};

struct CellFill {
    int pattern = 0; // 0 none, 1 solid, 2 to 18 the patterns
    QColor foreground;
    QColor background;
};

enum class TextShape {
    Line,    // one line, which may flow into empty neighbours
    Wrapped, // broken into lines within the cell
    Rotated, // one line turned by `rotation` degrees, counter-clockwise
    Stacked, // letters top to bottom
};

// The text a cell shows on the page, decided once: what is drawn, in which font and colour,
// and where.
struct SlotText {
    QString text; // after narrowing, `*` fill or repetition; never more than the cell shows
    QFont font;   // shrunk when the cell shrinks its text to fit
    QColor color;
    xls::Underline underline = xls::Underline::None;
    TextShape shape = TextShape::Line;
    // Left, Center, Right, Justify or Distributed: General, Fill and centring across the
    // selection are resolved.
    xls::HorizontalAlignment horizontal = xls::HorizontalAlignment::Left;
    xls::VerticalAlignment vertical = xls::VerticalAlignment::Bottom;
    double rotation = 0;     // Rotated: degrees counter-clockwise, -90 to 90
    QRectF content;          // the cell (or area) less its padding
    double indent = 0;       // from the aligned edge, for left and right alignment
    QRectF clip;             // where the text may ink: its cell, or the cells it flows across
    int firstColumnSlot = 0; // the column slots `clip` spans
    int lastColumnSlot = 0;
    QPointF baseline;                         // Line: the start of the baseline
    std::shared_ptr<const ShapedLine> shaped; // Line: the text shaped for `font`
};

enum class SlotKind {
    Single,       // a cell of its own
    MergeAnchor,  // the first slot of a merged area on the page: it shows the area's value
    MergeCovered, // another slot of a merged area: only its share of the outline shows
};

// One row and column slot of a page.
struct CellSlot {
    int row = 0; // the sheet's row and column
    int column = 0;
    SlotKind kind = SlotKind::Single;
    QRectF cell; // the slot's own cell
    // What the slot's value, fill and diagonals cover: an anchor's whole merged area,
    // reaching off the page where it does; else the cell.
    QRectF area;
    QRectF visible; // the part of `area` on the page
    CellFill fill;  // of singles and anchors, over `area` within `visible`
    // The borders on the slot's edges, each edge resolved between the two cells that share
    // it (neighbours off the page included); none inside a merged area. An edge between two
    // adjacent slots of a run belongs to the lower (right) one: the upper's bottom and the
    // left one's right are none.
    EdgeLine top;
    EdgeLine left;
    EdgeLine bottom;
    EdgeLine right;
    EdgeLine diagonal; // singles and anchors, across `area`
    bool diagonalDown = false;
    bool diagonalUp = false;
    // Which edges a printed gridline follows, owned as the borders are: none inside a merged
    // area, nor where text flows across.
    bool gridTop = true;
    bool gridLeft = true;
    bool gridBottom = false;
    bool gridRight = false;
    int text = -1; // into CellLayout::texts(), -1 for none
};

// The cells of one page laid out: a slot for every row and column the page shows, and the
// texts they show. Everything a painter draws for the cells is decided here.
class CellLayout {
public:
    // device: the paint device the texts are shaped for.
    CellLayout(const CellSources& sources, const LaidOutPage& page, QPaintDevice* device);

    int rowCount() const { return m_rows; }
    int columnCount() const { return m_columns; }
    const CellSlot& slot(int rowSlot, int columnSlot) const {
        return m_slots[static_cast<size_t>(rowSlot * m_columns + columnSlot)];
    }
    const std::vector<CellSlot>& cellSlots() const { return m_slots; }
    const std::vector<SlotText>& texts() const { return m_texts; }

private:
    friend class CellLayoutBuilder;

    int m_rows = 0;
    int m_columns = 0;
    std::vector<CellSlot> m_slots;
    std::vector<SlotText> m_texts;
};

// How far a cell's text reaches past its own cell into empty neighbours, measured with the
// cell fonts on a 72 dots-per-inch device: what widens the printed range.
class CellTextReach : public TextReachMeasure {
public:
    explicit CellTextReach(const CellSources& sources);
    ~CellTextReach() override;
    TextReach reach(const xls::Cell& cell, double cellWidth) const override;

private:
    CellSources m_sources;
    std::unique_ptr<QPaintDevice> m_device;
};

} // namespace report
