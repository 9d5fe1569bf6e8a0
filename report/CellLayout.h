#pragma once

#include "PageLayout.h"
#include "TextSpills.h"

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
class PrintOptions;
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
    const PrintOptions& options; // the sheet's black and white and error printing
};

// A stretch of a cell's text in one font and colour: the characters from start up to end,
// raised (rise above 0) or lowered from the line's baseline by rise points.
struct TextPiece {
    int start = 0;
    int end = 0;
    QFont font;
    QColor color;
    double rise = 0;
};

// A cell's text shaped once in the fonts of its pieces, for measuring and for drawing: lines
// broken at line separators only, or wrapped to a width as well.
class ShapedText {
public:
    // pieces: in order, covering the whole text. alignment: of each line within the widest
    // (or within wrapWidth). wrapWidth: where lines wrap, 0 for no wrapping.
    ShapedText(const QString& text, std::vector<TextPiece> pieces, QPaintDevice* device,
               Qt::Alignment alignment = Qt::AlignLeft, double wrapWidth = 0);
    const std::vector<TextPiece>& pieces() const { return m_pieces; }
    double width() const { return m_width; } // of the widest line
    double height() const { return m_height; }
    // Above and below the first line's baseline, raised and lowered pieces included.
    double ascent() const { return m_ascent; }
    double descent() const { return m_descent; }
    // From the top of the text to its first line's baseline.
    double baselineOffset() const;
    // Where a position of the first line starts, from the text's left edge.
    double xAt(int position) const;
    // Draws the text with its top left corner at `topLeft`, in the pieces' colours: the
    // painter's pen is left in the last one.
    void draw(QPainter& painter, QPointF topLeft) const;

private:
    QTextLayout m_layout;
    std::vector<TextPiece> m_pieces;
    double m_width = 0;
    double m_height = 0;
    double m_ascent = 0;
    double m_descent = 0;
};

// A piece of a phonetic guide, drawn in the guide's font with its baseline at `baseline`.
struct GuidePiece {
    QString text;
    QPointF baseline;
};

// The phonetic guide over a line of text.
struct PhoneticGuide {
    QFont font;
    QColor color;
    std::vector<GuidePiece> pieces;
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
    QFont font;   // the cell's, shrunk when the cell shrinks its text to fit
    QColor color; // the cell's; `shaped` gives each piece its own font and colour
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
    // Line: the start of the baseline. Other shapes are placed within `content` when drawn.
    QPointF baseline;
    std::shared_ptr<const ShapedText> shaped; // the text in the fonts of its pieces
    // Line: the phonetic guide over the text, when the sheet shows it; else null.
    std::shared_ptr<const PhoneticGuide> guide;
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
// cell fonts on a 72 dots-per-inch device: the one measure from which TextSpills decide the
// columns a text covers, for the printed range, the blank pages and the pages' layouts.
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
