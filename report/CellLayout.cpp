#include "CellLayout.h"

#include "CellFonts.h"
#include "PageFlow.h"
#include "PrintOptions.h"
#include "SheetMetrics.h"

#include "xls/CellText.h"
#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <deque>

namespace report {

namespace {

constexpr double kPixel = 0.75;          // one pixel at 96 dpi, in points
constexpr double kPaddingX = 2 * kPixel; // between a cell's edge and its text
constexpr double kPaddingY = 1 * kPixel;
constexpr int kStacked = 255;
constexpr int kDotsPerMeterAt72Dpi = 2835;
const QColor kAutomaticLine(Qt::black);

using xls::BorderStyle;
using xls::HorizontalAlignment;
using xls::VerticalAlignment;

bool isEmptyCell(const xls::Cell* cell) {
    return cell == nullptr || cell->type() == xls::CellType::Blank;
}

// Moves the pieces with their characters: `to` gives each old position its new one.
void remap(std::vector<TextPiece>& pieces, const std::vector<int>& to) {
    if (to.empty())
        return;
    for (TextPiece& piece : pieces) {
        piece.start = to[static_cast<size_t>(piece.start)];
        piece.end = to[static_cast<size_t>(piece.end)];
    }
}

// Removes every `ch` from text; gives the position map for remap(), empty when none went.
std::vector<int> eraseAll(QString& text, QChar ch) {
    if (!text.contains(ch))
        return {};
    std::vector<int> to(static_cast<size_t>(text.size()) + 1);
    QString kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        to[static_cast<size_t>(i)] = static_cast<int>(kept.size());
        if (text[i] != ch)
            kept += text[i];
    }
    to.back() = static_cast<int>(kept.size());
    text = kept;
    return to;
}

// One line of text: carriage returns left out, line feeds shown as spaces.
std::vector<int> withoutLineBreaks(QString& text, std::vector<TextPiece>& pieces) {
    std::vector<int> to = eraseAll(text, QLatin1Char('\r'));
    remap(pieces, to);
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return to;
}

// The characters of text one to a line (a surrogate pair is one character).
QString stackedLetters(const QString& text, std::vector<TextPiece>& pieces) {
    std::vector<int> to(static_cast<size_t>(text.size()) + 1);
    QString stacked;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0 && !text[i].isLowSurrogate())
            stacked += QChar::LineSeparator;
        to[static_cast<size_t>(i)] = static_cast<int>(stacked.size());
        stacked += text[i];
    }
    to.back() = static_cast<int>(stacked.size());
    remap(pieces, to);
    return stacked;
}

// Pieces from their starts: each runs up to the next one's start, the first from 0 and the
// last to the end of a text of `size` characters; empty ones left out.
void fitPieces(std::vector<TextPiece>& pieces, int size) {
    for (size_t i = 0; i < pieces.size(); ++i)
        pieces[i].end = i + 1 < pieces.size() ? std::min(pieces[i + 1].start, size) : size;
    std::erase_if(pieces, [](const TextPiece& piece) { return piece.end <= piece.start; });
    if (!pieces.empty())
        pieces.front().start = 0;
}

// What a conditional format changes of a font.
void overlay(QFont& font, const xls::DifferentialFormat* condition) {
    if (condition == nullptr)
        return;
    if (condition->bold)
        font.setBold(*condition->bold);
    if (condition->italic)
        font.setItalic(*condition->italic);
    if (condition->strikeout)
        font.setStrikeOut(*condition->strikeout);
    if (condition->underline)
        font.setUnderline(*condition->underline == xls::Underline::Single);
}

// A cell format with a conditional format's borders and fill over it. A solid fill that the
// condition gives is drawn in the colour it keeps as the background.
xls::CellFormat overlaid(xls::CellFormat format, const xls::DifferentialFormat& condition) {
    format.left = condition.left.value_or(format.left);
    format.right = condition.right.value_or(format.right);
    format.top = condition.top.value_or(format.top);
    format.bottom = condition.bottom.value_or(format.bottom);
    format.fillPattern = condition.fillPattern.value_or(format.fillPattern);
    format.patternColorIndex = condition.patternColorIndex.value_or(format.patternColorIndex);
    format.backgroundColorIndex =
        condition.backgroundColorIndex.value_or(format.backgroundColorIndex);
    if (format.fillPattern == 1 && condition.backgroundColorIndex)
        format.patternColorIndex = *condition.backgroundColorIndex;
    return format;
}

// Superscript is raised by a third of its font's full size and subscript lowered by a
// sixth, so that both stay within the line.
double riseOf(const xls::Font& font) {
    const double size = font.height / 20.0;
    if (font.script == xls::Script::Superscript)
        return size / 3;
    if (font.script == xls::Script::Subscript)
        return -size / 6;
    return 0;
}

// A piece in a workbook font from `start` on, with what the condition that holds changes.
// numberColor: the colour the number format asks for, which comes first; else invalid.
TextPiece pieceIn(const CellSources& sources, int fontIndex, int start, const QColor& numberColor,
                  const xls::DifferentialFormat* condition) {
    const xls::Font& font = sources.workbook.font(fontIndex);
    TextPiece piece{start, start, sources.fonts.font(fontIndex), numberColor, riseOf(font)};
    overlay(piece.font, condition);
    if (!piece.color.isValid()) {
        const bool conditioned = condition != nullptr && condition->fontColorIndex;
        piece.color = sources.options.ink(
            conditioned ? *condition->fontColorIndex : font.colorIndex, Qt::black);
    }
    return piece;
}

// The pieces of a cell's shown text: the cell font's, then each font run's. Runs count in
// the cell's own text, so they hold only where the cell shows it unchanged.
std::vector<TextPiece> piecesOf(const CellSources& sources, const xls::Cell& cell,
                                const QString& shown, const QColor& numberColor,
                                const xls::DifferentialFormat* condition) {
    const xls::Workbook& workbook = sources.workbook;
    std::vector<TextPiece> pieces{pieceIn(
        sources, workbook.cellFormat(cell.formatIndex()).fontIndex, 0, numberColor, condition)};
    const QList<xls::TextRun>& runs = workbook.textRuns(cell);
    if (!runs.isEmpty() && cell.text().startsWith(shown)) {
        for (const xls::TextRun& run : runs) {
            while (!pieces.empty() && pieces.back().start >= run.position)
                pieces.pop_back();
            pieces.push_back(pieceIn(sources, run.fontIndex, run.position, numberColor, condition));
        }
    }
    fitPieces(pieces, static_cast<int>(shown.size()));
    return pieces;
}

// Places a reading of a phonetic guide over the base text from left to right, on the
// baseline y: distributed letter by letter, centred, or from the left.
void placeReading(const QString& reading, double left, double right, double y,
                  xls::PhoneticAlignment alignment, const QFontMetricsF& metrics,
                  std::vector<GuidePiece>& out) {
    if (alignment == xls::PhoneticAlignment::Distributed && reading.size() > 1) {
        const double step = (right - left) / static_cast<double>(reading.size());
        for (qsizetype i = 0; i < reading.size(); ++i) {
            const QString letter(reading[i]);
            const double middle = left + step * (static_cast<double>(i) + 0.5);
            out.push_back({letter, {middle - metrics.horizontalAdvance(letter) / 2, y}});
        }
        return;
    }
    const bool centred = alignment == xls::PhoneticAlignment::Center ||
                         alignment == xls::PhoneticAlignment::Distributed;
    const double width = metrics.horizontalAdvance(reading);
    out.push_back({reading, {centred ? (left + right - width) / 2 : left, y}});
}

Qt::Alignment lineAlignment(HorizontalAlignment horizontal) {
    switch (horizontal) {
    case HorizontalAlignment::Center:
        return Qt::AlignHCenter;
    case HorizontalAlignment::Right:
        return Qt::AlignRight;
    case HorizontalAlignment::Justify:
    case HorizontalAlignment::Distributed:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

// The first characters a cell shows, never half of a surrogate pair.
QString capped(QString text) {
    if (text.size() > kMaxShownCharacters) {
        text.truncate(kMaxShownCharacters);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

// General alignment: text to the left, numbers to the right, the rest centred.
HorizontalAlignment resolvedAlignment(HorizontalAlignment horizontal, xls::CellType type) {
    if (horizontal != HorizontalAlignment::General)
        return horizontal;
    if (type == xls::CellType::Number)
        return HorizontalAlignment::Right;
    if (type == xls::CellType::Text)
        return HorizontalAlignment::Left;
    return HorizontalAlignment::Center;
}

bool wraps(const xls::CellFormat& format, HorizontalAlignment horizontal) {
    return format.wrap || horizontal == HorizontalAlignment::Justify ||
           horizontal == HorizontalAlignment::Distributed ||
           format.vertical == VerticalAlignment::Justify ||
           format.vertical == VerticalAlignment::Distributed;
}

double indentOf(const xls::CellFormat& format, HorizontalAlignment horizontal,
                double maxDigitWidth) {
    const bool indents =
        horizontal == HorizontalAlignment::Left || horizontal == HorizontalAlignment::Right;
    return indents ? format.indent * 3 * maxDigitWidth * kPixel : 0.0;
}

// A text wider than its room flows: left-aligned to the right, right-aligned to the left,
// centred both ways by half the excess.
TextReach reachOf(HorizontalAlignment horizontal, double width, double available) {
    if (width <= available)
        return {};
    const double excess = width - available;
    switch (horizontal) {
    case HorizontalAlignment::Left:
        return {0, excess};
    case HorizontalAlignment::Right:
        return {excess, 0};
    case HorizontalAlignment::Center:
        return {excess / 2, excess / 2};
    default:
        return {};
    }
}

// Where two cells share an edge and both draw a line there, the heavier line shows.
int weight(BorderStyle style) {
    switch (style) {
    case BorderStyle::None:
        return 0;
    case BorderStyle::Hair:
        return 1;
    case BorderStyle::Dotted:
    case BorderStyle::Dashed:
    case BorderStyle::DashDot:
    case BorderStyle::DashDotDot:
        return 2;
    case BorderStyle::Thin:
        return 3;
    case BorderStyle::MediumDashed:
    case BorderStyle::MediumDashDot:
    case BorderStyle::MediumDashDotDot:
    case BorderStyle::SlantedDashDot:
        return 4;
    case BorderStyle::Medium:
        return 5;
    case BorderStyle::Double:
        return 6;
    case BorderStyle::Thick:
        return 7;
    }
    return 3;
}

// A run of adjacent slots of one axis: both ends included.
struct Run {
    int first = 0;
    int last = 0;
};

// The runs of slots whose sheet index lies within [first, last]; title and body bands never
// share a run, since they stand apart on the sheet.
std::vector<Run> runsWithin(const QList<Band>& bands, int first, int last) {
    std::vector<Run> runs;
    for (int slot = 0; slot < bands.size(); ++slot) {
        const Band& band = bands[slot];
        if (band.index < first || band.index > last)
            continue;
        const bool joins =
            !runs.empty() && runs.back().last == slot - 1 && bands[slot - 1].title == band.title;
        if (joins)
            runs.back().last = slot;
        else
            runs.push_back({slot, slot});
    }
    return runs;
}

// Whether the slot next to `slot` in direction `step` stands beside it on the sheet's page.
bool continues(const QList<Band>& bands, int slot, int step) {
    const int next = slot + step;
    return next >= 0 && next < bands.size() && bands[next].title == bands[slot].title;
}

} // namespace

ShapedText::ShapedText(const QString& text, std::vector<TextPiece> pieces, QPaintDevice* device,
                       Qt::Alignment alignment, double wrapWidth)
    : m_layout(text, pieces.empty() ? QFont() : pieces.front().font, device)
    , m_pieces(std::move(pieces)) {
    QList<QTextLayout::FormatRange> formats;
    for (const TextPiece& piece : m_pieces) {
        if (piece.font != m_pieces.front().font) {
            QTextLayout::FormatRange range{piece.start, piece.end - piece.start, {}};
            range.format.setFont(piece.font);
            formats.append(range);
        }
        const QFontMetricsF metrics(piece.font, device);
        m_ascent = std::max(m_ascent, metrics.ascent() + piece.rise);
        m_descent = std::max(m_descent, metrics.descent() - piece.rise);
    }
    m_layout.setFormats(formats);
    QTextOption option(wrapWidth > 0 ? alignment : Qt::AlignLeft);
    // A word longer than the line breaks where it reaches the edge, as the spreadsheet's do.
    option.setWrapMode(wrapWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                     : QTextOption::NoWrap);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);
    m_layout.beginLayout();
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        if (wrapWidth > 0)
            line.setLineWidth(wrapWidth);
    }
    m_layout.endLayout();
    for (int i = 0; i < m_layout.lineCount(); ++i)
        m_width = std::max(m_width, m_layout.lineAt(i).naturalTextWidth());
    // Unwrapped lines are aligned within the widest one here, as they have no width.
    const double share = wrapWidth > 0                    ? 0.0
                         : (alignment & Qt::AlignRight)   ? 1.0
                         : (alignment & Qt::AlignHCenter) ? 0.5
                                                          : 0.0;
    for (int i = 0; i < m_layout.lineCount(); ++i) {
        QTextLine line = m_layout.lineAt(i);
        line.setPosition({(m_width - line.naturalTextWidth()) * share, m_height});
        m_height += line.height();
    }
}

double ShapedText::xAt(int position) const {
    if (m_layout.lineCount() == 0)
        return 0;
    const QTextLine line = m_layout.lineAt(0);
    return line.x() + line.cursorToX(position);
}

double ShapedText::baselineOffset() const {
    return m_layout.lineCount() > 0 ? m_layout.lineAt(0).ascent() : 0.0;
}

void ShapedText::draw(QPainter& painter, QPointF topLeft) const {
    if (m_pieces.empty())
        return;
    // Text on one baseline in one colour, as most is, is drawn whole: much quicker.
    const bool plain = std::all_of(m_pieces.begin(), m_pieces.end(), [&](const TextPiece& piece) {
        return piece.rise == 0 && piece.color == m_pieces.front().color;
    });
    if (plain) {
        painter.setPen(m_pieces.front().color);
        m_layout.draw(&painter, topLeft);
        return;
    }
    for (const TextPiece& piece : m_pieces) {
        painter.setPen(piece.color);
        for (const QGlyphRun& run : m_layout.glyphRuns(piece.start, piece.end - piece.start))
            painter.drawGlyphRun(topLeft - QPointF(0, piece.rise), run);
    }
}

// Builds a page's slot table: merged areas first, then each slot's formats, borders and
// gridlines, then the texts (those flowing in from beside the page's columns too), which may
// flow across the gridlines of their neighbours.
class CellLayoutBuilder {
public:
    CellLayoutBuilder(const CellSources& sources, const LaidOutPage& page, QPaintDevice* device,
                      CellLayout& out)
        : m_sources(sources)
        , m_page(page)
        , m_device(device)
        , m_out(out) {}

    void build() {
        m_out.m_rows = static_cast<int>(m_page.rows.size());
        m_out.m_columns = static_cast<int>(m_page.columns.size());
        const auto count = static_cast<size_t>(m_out.m_rows * m_out.m_columns);
        m_out.m_slots.assign(count, CellSlot{});
        m_mergeAt.assign(count, -1);
        m_formats.assign(count, nullptr);
        if (count == 0)
            return;
        placeMerges();
        for (int r = 0; r < m_out.m_rows; ++r) {
            for (int c = 0; c < m_out.m_columns; ++c)
                placeSlot(r, c);
        }
        for (int r = 0; r < m_out.m_rows; ++r) {
            for (int c = 0; c < m_out.m_columns; ++c)
                resolveEdges(r, c);
        }
        const PageFlow flow(m_page, m_sources.sheet, m_sources.metrics, CellTextReach(m_sources));
        for (int r = 0; r < m_out.m_rows; ++r) {
            for (int c = 0; c < m_out.m_columns; ++c)
                placeText(r, c, flow);
            for (const IncomingText& in : flow.incoming(r)) {
                SlotText text;
                text.firstColumnSlot = text.lastColumnSlot = in.covered.first;
                if (!isEmptyCell(in.cell) && shapeText(r, -1, *in.cell, in.cellRect, text))
                    keep(r, -1, std::move(text), in.covered);
            }
        }
    }

private:
    struct Merge {
        xls::CellRange range;
        QRectF rect;    // the whole merged area, reaching off the page where it does
        QRectF visible; // the part of it on this page
        int lastColumnSlot = 0;
    };

    size_t index(int r, int c) const { return static_cast<size_t>(r * m_out.m_columns + c); }
    CellSlot& at(int r, int c) { return m_out.m_slots[index(r, c)]; }
    const Merge* mergeOf(int r, int c) const {
        const int merge = m_mergeAt[index(r, c)];
        return merge < 0 ? nullptr : &m_merges[static_cast<size_t>(merge)];
    }

    // The format of a position: its cell's, else its row's, else its column's; null when the
    // position has none or lies off the sheet.
    const xls::CellFormat* ownFormatAt(int row, int column) const {
        if (row < 0 || row > kLastRow || column < 0 || column > kLastColumn)
            return nullptr;
        const xls::Sheet& sheet = m_sources.sheet;
        const xls::Workbook& workbook = m_sources.workbook;
        if (const xls::Cell* cell = sheet.cell(row, column))
            return &workbook.cellFormat(cell->formatIndex());
        if (const xls::RowInfo* info = sheet.rowInfo(row);
            info != nullptr && info->formatIndex >= 0)
            return &workbook.cellFormat(info->formatIndex);
        if (const xls::ColumnInfo* info = sheet.columnInfo(column))
            return &workbook.cellFormat(info->formatIndex);
        return nullptr;
    }

    // The format a position shows: its own, with the borders and fill of the conditional
    // format that holds there laid over it.
    const xls::CellFormat* formatAt(int row, int column) {
        const xls::CellFormat* own = ownFormatAt(row, column);
        if (row < 0 || row > kLastRow || column < 0 || column > kLastColumn)
            return own;
        const xls::DifferentialFormat* condition = m_sources.sheet.conditionalFormat(row, column);
        if (condition == nullptr)
            return own;
        m_conditioned.push_back(overlaid(own != nullptr ? *own : xls::CellFormat{}, *condition));
        return &m_conditioned.back();
    }

    QColor color(int index, const QColor& automatic) const {
        return m_sources.options.ink(index, automatic);
    }

    EdgeLine line(const xls::Border& border) const {
        if (border.style == BorderStyle::None)
            return {};
        return {border.style, color(border.colorIndex, kAutomaticLine)};
    }

    // The line on an edge two cells share: the heavier of the two, the first on a tie.
    EdgeLine sharedLine(const xls::Border* own, const xls::Border* other) const {
        const BorderStyle mine = own != nullptr ? own->style : BorderStyle::None;
        const BorderStyle theirs = other != nullptr ? other->style : BorderStyle::None;
        if (weight(theirs) > weight(mine))
            return line(*other);
        return own != nullptr ? line(*own) : EdgeLine{};
    }

    enum class Side { Top, Left, Bottom, Right };

    static const xls::Border* sideOfFormat(const xls::CellFormat* format, Side side) {
        if (format == nullptr)
            return nullptr;
        switch (side) {
        case Side::Top:
            return &format->top;
        case Side::Left:
            return &format->left;
        case Side::Bottom:
            return &format->bottom;
        case Side::Right:
            return &format->right;
        }
        return nullptr;
    }
    // Whether a slot's edge lies inside its merged area, which goes on beyond the slot there.
    bool insideMerge(int r, int c, Side side) const {
        const Merge* merge = mergeOf(r, c);
        if (merge == nullptr)
            return false;
        const CellSlot& slot = m_out.m_slots[index(r, c)];
        switch (side) {
        case Side::Top:
            return slot.row != merge->range.firstRow;
        case Side::Left:
            return slot.column != merge->range.firstColumn;
        case Side::Bottom:
            return slot.row != merge->range.lastRow;
        case Side::Right:
            return slot.column != merge->range.lastColumn;
        }
        return false;
    }
    // The border a slot's own format draws on a side, none inside a merged area.
    const xls::Border* sideOf(int r, int c, Side side) const {
        return insideMerge(r, c, side) ? nullptr : sideOfFormat(m_formats[index(r, c)], side);
    }
    const xls::Border* borderAt(int row, int column, Side side) {
        return sideOfFormat(formatAt(row, column), side);
    }

    void placeMerges();
    void placeSlot(int r, int c);
    void resolveEdges(int r, int c);
    void placeText(int r, int c, const PageFlow& flow);
    bool shapeText(int r, int c, const xls::Cell& cell, QRectF area, SlotText& text);
    void placeLine(const xls::Cell& cell, const xls::CellFormat& format,
                   const xls::FormattedValue& shown, std::vector<TextPiece> pieces, SlotText& text);
    void placeGuide(const xls::PhoneticText& phonetic, const std::vector<int>& moved,
                    int cellLength, SlotText& text);
    void keep(int r, int c, SlotText text, const std::optional<SlotSpan>& flowing);

    const CellSources& m_sources;
    const LaidOutPage& m_page;
    QPaintDevice* m_device;
    CellLayout& m_out;
    std::vector<Merge> m_merges;
    std::vector<int> m_mergeAt;                    // per slot, into m_merges, -1 for none
    std::vector<const xls::CellFormat*> m_formats; // per slot, its own position's format
    std::deque<xls::CellFormat> m_conditioned;     // formats with a condition laid over them
};

void CellLayoutBuilder::placeMerges() {
    const auto byIndex = [](const Band& a, const Band& b) { return a.index < b.index; };
    const int firstRow = std::min_element(m_page.rows.begin(), m_page.rows.end(), byIndex)->index;
    const int lastRow = std::max_element(m_page.rows.begin(), m_page.rows.end(), byIndex)->index;
    // Where a run's first band would start if the bands before it on the sheet were shown.
    const auto start = [](const QList<Band>& bands, const Run& run, int first, const auto& sizeOf) {
        double offset = bands[run.first].offset;
        for (int index = first; index < bands[run.first].index; ++index)
            offset -= sizeOf(index);
        return offset;
    };
    const SheetMetrics& metrics = m_sources.metrics;
    const auto rowSize = [&metrics](int row) { return metrics.rowHeight(row); };
    const auto columnSize = [&metrics](int column) { return metrics.columnWidth(column); };
    for (const xls::CellRange& range : m_sources.sheet.mergedRanges()) {
        if (range.lastRow < firstRow || range.firstRow > lastRow)
            continue;
        const std::vector<Run> rowRuns = runsWithin(m_page.rows, range.firstRow, range.lastRow);
        if (rowRuns.empty())
            continue;
        const std::vector<Run> columnRuns =
            runsWithin(m_page.columns, range.firstColumn, range.lastColumn);
        double height = 0;
        for (int row = range.firstRow; row <= range.lastRow; ++row)
            height += rowSize(row);
        double width = 0;
        for (int column = range.firstColumn; column <= range.lastColumn; ++column)
            width += columnSize(column);
        for (const Run& rowRun : rowRuns) {
            for (const Run& columnRun : columnRuns) {
                Merge merge;
                merge.range = range;
                merge.rect =
                    QRectF(start(m_page.columns, columnRun, range.firstColumn, columnSize),
                           start(m_page.rows, rowRun, range.firstRow, rowSize), width, height);
                const Band& lastRowBand = m_page.rows[rowRun.last];
                const Band& lastColumnBand = m_page.columns[columnRun.last];
                merge.visible = QRectF(QPointF(m_page.columns[columnRun.first].offset,
                                               m_page.rows[rowRun.first].offset),
                                       QPointF(lastColumnBand.offset + lastColumnBand.size,
                                               lastRowBand.offset + lastRowBand.size));
                merge.lastColumnSlot = columnRun.last;
                const int number = static_cast<int>(m_merges.size());
                m_merges.push_back(merge);
                for (int r = rowRun.first; r <= rowRun.last; ++r) {
                    for (int c = columnRun.first; c <= columnRun.last; ++c)
                        m_mergeAt[index(r, c)] = number;
                }
                at(rowRun.first, columnRun.first).kind = SlotKind::MergeAnchor;
            }
        }
    }
}

void CellLayoutBuilder::placeSlot(int r, int c) {
    CellSlot& slot = at(r, c);
    const Band& row = m_page.rows[r];
    const Band& column = m_page.columns[c];
    slot.row = row.index;
    slot.column = column.index;
    slot.cell = slot.area = slot.visible = QRectF(column.offset, row.offset, column.size, row.size);
    m_formats[index(r, c)] = formatAt(slot.row, slot.column);
    const Merge* merge = mergeOf(r, c);
    if (merge != nullptr && slot.kind != SlotKind::MergeAnchor) {
        slot.kind = SlotKind::MergeCovered;
        return;
    }
    // A merged area is filled and crossed from its top left cell, whose format it takes.
    const xls::CellFormat* format = merge != nullptr
                                        ? formatAt(merge->range.firstRow, merge->range.firstColumn)
                                        : m_formats[index(r, c)];
    if (merge != nullptr) {
        slot.area = merge->rect;
        slot.visible = merge->visible;
    }
    if (format == nullptr)
        return;
    if (format->fillPattern > 0 && m_sources.options.printsCellFills()) {
        slot.fill.pattern = format->fillPattern;
        slot.fill.foreground = color(format->patternColorIndex, Qt::black);
        slot.fill.background = color(format->backgroundColorIndex, Qt::white);
    }
    slot.diagonal = line(format->diagonal);
    slot.diagonalDown = format->diagonalDown && slot.diagonal.shown();
    slot.diagonalUp = format->diagonalUp && slot.diagonal.shown();
}

void CellLayoutBuilder::resolveEdges(int r, int c) {
    CellSlot& slot = at(r, c);
    const bool above = continues(m_page.rows, r, -1);
    const bool below = continues(m_page.rows, r, 1);
    const bool before = continues(m_page.columns, c, -1);
    const bool after = continues(m_page.columns, c, 1);
    // The other side of an edge: the slot beside it on the page, else the sheet's cell
    // beyond the run (off the page, or across from a print title).
    slot.gridTop = !insideMerge(r, c, Side::Top);
    if (slot.gridTop)
        slot.top = sharedLine(sideOf(r, c, Side::Top),
                              above ? sideOf(r - 1, c, Side::Bottom)
                                    : borderAt(slot.row - 1, slot.column, Side::Bottom));
    slot.gridLeft = !insideMerge(r, c, Side::Left);
    if (slot.gridLeft)
        slot.left = sharedLine(sideOf(r, c, Side::Left),
                               before ? sideOf(r, c - 1, Side::Right)
                                      : borderAt(slot.row, slot.column - 1, Side::Right));
    slot.gridBottom = !below && !insideMerge(r, c, Side::Bottom);
    if (slot.gridBottom)
        slot.bottom =
            sharedLine(sideOf(r, c, Side::Bottom), borderAt(slot.row + 1, slot.column, Side::Top));
    slot.gridRight = !after && !insideMerge(r, c, Side::Right);
    if (slot.gridRight)
        slot.right =
            sharedLine(sideOf(r, c, Side::Right), borderAt(slot.row, slot.column + 1, Side::Left));
}

void CellLayoutBuilder::placeText(int r, int c, const PageFlow& flow) {
    const CellSlot& slot = at(r, c);
    if (slot.kind == SlotKind::MergeCovered)
        return;
    const Merge* merge = mergeOf(r, c);
    const int row = merge != nullptr ? merge->range.firstRow : slot.row;
    const int column = merge != nullptr ? merge->range.firstColumn : slot.column;
    const xls::Cell* cell = m_sources.sheet.cell(row, column);
    SlotText text;
    text.firstColumnSlot = c;
    text.lastColumnSlot = merge != nullptr ? merge->lastColumnSlot : c;
    text.clip = slot.visible;
    if (!isEmptyCell(cell) && shapeText(r, c, *cell, slot.area, text))
        keep(r, c, std::move(text), merge == nullptr ? flow.covered(r, c) : std::nullopt);
}

// Keeps a text, flowing across the slots of its row that it covers (its own among them); the
// gridlines it crosses are left out.
void CellLayoutBuilder::keep(int r, int c, SlotText text, const std::optional<SlotSpan>& flowing) {
    if (flowing) {
        text.firstColumnSlot = std::min(text.firstColumnSlot, flowing->first);
        text.lastColumnSlot = std::max(text.lastColumnSlot, flowing->last);
        text.clip = text.clip.united(flowing->rect);
        for (int slot = flowing->first + 1; slot <= flowing->last; ++slot)
            at(r, slot).gridLeft = false;
    }
    if (c >= 0)
        at(r, c).text = static_cast<int>(m_out.m_texts.size());
    m_out.m_texts.push_back(std::move(text));
}

// Decides a cell's text within area, its cell (or merged area) at slot c on the page, or off
// the page's columns for c = -1. False when it shows none.
bool CellLayoutBuilder::shapeText(int r, int c, const xls::Cell& cell, QRectF area,
                                  SlotText& text) {
    xls::FormattedValue shown = m_sources.cellText.shown(cell);
    if (cell.type() == xls::CellType::Error)
        shown.text = m_sources.options.errorText(shown.text);
    shown.text = capped(shown.text);
    if (shown.text.isEmpty())
        return false;
    const xls::CellFormat& format = m_sources.workbook.cellFormat(cell.formatIndex());
    const xls::DifferentialFormat* condition =
        m_sources.sheet.conditionalFormat(cell.row(), cell.column());
    const QColor numberColor = shown.color > 0 ? color(shown.color + 7, Qt::black) : QColor();
    std::vector<TextPiece> pieces = piecesOf(m_sources, cell, shown.text, numberColor, condition);
    const TextPiece own = pieceIn(m_sources, format.fontIndex, 0, numberColor, condition);
    text.font = own.font;
    text.color = own.color;
    text.underline = condition != nullptr && condition->underline
                         ? *condition->underline
                         : m_sources.workbook.font(format.fontIndex).underline;
    text.vertical = format.vertical;
    const Merge* merge = c >= 0 ? mergeOf(r, c) : nullptr;
    const int row = cell.row();

    HorizontalAlignment horizontal = resolvedAlignment(format.horizontal, cell.type());
    if (horizontal == HorizontalAlignment::CenterAcrossSelection && c >= 0) {
        // Centred across the blank cells to the right that are centred across selection too.
        int next = c + 1;
        while (merge == nullptr && continues(m_page.columns, next - 1, 1) &&
               mergeOf(r, next) == nullptr &&
               isEmptyCell(m_sources.sheet.cell(row, m_page.columns[next].index))) {
            const xls::CellFormat* nextFormat = m_formats[index(r, next)];
            if (nextFormat == nullptr ||
                nextFormat->horizontal != HorizontalAlignment::CenterAcrossSelection)
                break;
            ++next;
        }
        if (merge == nullptr) {
            const Band& last = m_page.columns[next - 1];
            area.setRight(last.offset + last.size);
            text.clip = area;
            text.lastColumnSlot = next - 1;
        }
        horizontal = HorizontalAlignment::Center;
    }
    text.horizontal = horizontal;
    text.content = area.adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY);
    text.indent = indentOf(format, horizontal, m_sources.metrics.maxDigitWidth());

    if (format.rotation != 0) {
        text.text = shown.text;
        withoutLineBreaks(text.text, pieces);
        text.shape = format.rotation == kStacked ? TextShape::Stacked : TextShape::Rotated;
        text.rotation = format.rotation <= 90 ? format.rotation : -(format.rotation - 90.0);
        const bool stacked = text.shape == TextShape::Stacked;
        text.shaped =
            std::make_shared<ShapedText>(stacked ? stackedLetters(text.text, pieces) : text.text,
                                         std::move(pieces), m_device, Qt::AlignHCenter);
    } else if (wraps(format, horizontal)) {
        text.text = shown.text;
        remap(pieces, eraseAll(text.text, QLatin1Char('\r')));
        text.shape = TextShape::Wrapped;
        QString lines = text.text;
        lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
        const double width = std::max(1.0, text.content.width() - text.indent);
        text.shaped = std::make_shared<ShapedText>(lines, std::move(pieces), m_device,
                                                   lineAlignment(horizontal), width);
    } else {
        placeLine(cell, format, shown, std::move(pieces), text);
    }
    return true;
}

void CellLayoutBuilder::placeLine(const xls::Cell& cell, const xls::CellFormat& format,
                                  const xls::FormattedValue& shown, std::vector<TextPiece> pieces,
                                  SlotText& text) {
    const double available = std::max(0.0, text.content.width() - text.indent);
    QString line = shown.text;
    const std::vector<int> moved = withoutLineBreaks(line, pieces);
    bool unchanged = true; // whether the line holds the cell's characters and no others
    QFontMetricsF metrics(text.font, m_device);
    if (shown.fillAt >= 0 && shown.fillAt <= line.size() && !shown.fillChar.isNull()) {
        const double fillWidth = metrics.horizontalAdvance(shown.fillChar);
        const double rest = available - metrics.horizontalAdvance(line);
        const int count = fillWidth > 0 ? std::max(0, static_cast<int>(rest / fillWidth)) : 0;
        line.insert(shown.fillAt, QString(count, shown.fillChar));
        for (TextPiece& piece : pieces)
            piece.start += piece.start >= shown.fillAt ? count : 0;
        unchanged = false;
    }
    const auto reshape = [&] {
        fitPieces(pieces, static_cast<int>(line.size()));
        return std::make_shared<ShapedText>(line, pieces, m_device);
    };
    auto shaped = reshape();
    const double width = shaped->width();
    if (format.shrinkToFit && width > available && width > 0 && available > 0) {
        const double factor = available / width;
        const auto shrink = [factor](QFont& font) {
            font.setPointSizeF(std::max(1.0, font.pointSizeF() * factor));
        };
        shrink(text.font);
        for (TextPiece& piece : pieces) {
            shrink(piece.font);
            piece.rise *= factor;
        }
        metrics = QFontMetricsF(text.font, m_device);
        shaped = reshape();
    } else if (text.horizontal == HorizontalAlignment::Fill) {
        // The text repeated as often as it fits whole, at least once.
        const int count = width > 0 ? std::max(1, static_cast<int>(available / width)) : 1;
        const std::vector<TextPiece> once = pieces;
        for (int copy = 1; copy < count; ++copy) {
            for (TextPiece piece : once) {
                piece.start += copy * static_cast<int>(line.size());
                pieces.push_back(piece);
            }
        }
        line = line.repeated(count);
        shaped = reshape();
        text.horizontal = HorizontalAlignment::Left;
        unchanged = false;
    } else if (cell.type() == xls::CellType::Number && width > available) {
        // A number never shows in part: its format may narrow it, else the cell shows as
        // many # as it holds.
        line = m_sources.cellText.narrowedNumber(cell, [&](const QString& candidate) {
            return metrics.horizontalAdvance(candidate) <= available;
        });
        if (line.isEmpty()) {
            const double hashWidth = metrics.horizontalAdvance(QLatin1Char('#'));
            line = QString(hashWidth > 0 ? static_cast<int>(available / hashWidth) : 0,
                           QLatin1Char('#'));
        }
        shaped = reshape();
    }

    const xls::PhoneticText* phonetic =
        unchanged ? m_sources.workbook.shownPhonetic(m_sources.sheet, cell) : nullptr;
    // The guide stands above the text: the two are aligned in the cell as one block.
    const double guideHeight =
        phonetic != nullptr
            ? QFontMetricsF(m_sources.fonts.font(phonetic->fontIndex), m_device).height()
            : 0.0;
    const QRectF& content = text.content;
    const double shapedWidth = shaped->width();
    double x = content.left() + text.indent;
    if (text.horizontal == HorizontalAlignment::Right)
        x = content.right() - text.indent - shapedWidth;
    else if (text.horizontal == HorizontalAlignment::Center)
        x = content.center().x() - shapedWidth / 2;
    double y = content.bottom() - shaped->descent();
    if (text.vertical == VerticalAlignment::Top)
        y = content.top() + guideHeight + shaped->ascent();
    else if (text.vertical == VerticalAlignment::Center)
        y = content.center().y() + (guideHeight + shaped->ascent() - shaped->descent()) / 2;
    text.baseline = {x, y};
    text.text = line;
    text.shaped = std::move(shaped);
    if (phonetic != nullptr)
        placeGuide(*phonetic, moved, static_cast<int>(shown.text.size()), text);
}

void CellLayoutBuilder::placeGuide(const xls::PhoneticText& phonetic, const std::vector<int>& moved,
                                   int cellLength, SlotText& text) {
    auto guide = std::make_shared<PhoneticGuide>();
    guide->font = m_sources.fonts.font(phonetic.fontIndex);
    guide->color = color(m_sources.workbook.font(phonetic.fontIndex).colorIndex, Qt::black);
    const QFontMetricsF metrics(guide->font, m_device);
    const double y = text.baseline.y() - text.shaped->ascent() - metrics.descent();
    // From a position of the cell's text to the left edge of its character on the page.
    const auto xAt = [&](int position) {
        position = std::clamp(position, 0, cellLength);
        return text.baseline.x() +
               text.shaped->xAt(moved.empty() ? position : moved[static_cast<size_t>(position)]);
    };
    QList<xls::PhoneticRun> runs = phonetic.runs;
    if (runs.isEmpty())
        runs.append({0, 0, cellLength});
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const xls::PhoneticRun& run = runs[i];
        const qsizetype end =
            i + 1 < runs.size() ? runs[i + 1].phoneticStart : phonetic.text.size();
        if (run.phoneticStart < 0 || end <= run.phoneticStart)
            continue;
        placeReading(phonetic.text.mid(run.phoneticStart, end - run.phoneticStart),
                     xAt(run.baseStart), xAt(run.baseStart + run.baseLength), y, phonetic.alignment,
                     metrics, guide->pieces);
    }
    text.guide = std::move(guide);
}

CellLayout::CellLayout(const CellSources& sources, const LaidOutPage& page, QPaintDevice* device) {
    CellLayoutBuilder(sources, page, device, *this).build();
}

CellTextReach::CellTextReach(const CellSources& sources)
    : m_sources(sources) {
    auto device = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    device->setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    device->setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    m_device = std::move(device);
}

CellTextReach::~CellTextReach() = default;

TextReach CellTextReach::reach(const xls::Cell& cell, double cellWidth) const {
    if (cell.type() != xls::CellType::Text)
        return {};
    const xls::CellFormat& format = m_sources.workbook.cellFormat(cell.formatIndex());
    const HorizontalAlignment horizontal = resolvedAlignment(format.horizontal, cell.type());
    if (format.rotation != 0 || format.shrinkToFit || wraps(format, horizontal))
        return {};
    QString text = capped(m_sources.cellText.shown(cell).text);
    std::vector<TextPiece> pieces =
        piecesOf(m_sources, cell, text, QColor(Qt::black),
                 m_sources.sheet.conditionalFormat(cell.row(), cell.column()));
    withoutLineBreaks(text, pieces);
    // Each piece measured alone: most texts are one piece, and this is far quicker than
    // shaping them.
    double width = 0;
    for (const TextPiece& piece : pieces)
        width += QFontMetricsF(piece.font, m_device.get())
                     .horizontalAdvance(text.mid(piece.start, piece.end - piece.start));
    const double available =
        cellWidth - 2 * kPaddingX - indentOf(format, horizontal, m_sources.metrics.maxDigitWidth());
    return reachOf(horizontal, width, std::max(0.0, available));
}

} // namespace report
