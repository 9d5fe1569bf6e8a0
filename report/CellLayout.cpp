#include "CellLayout.h"

#include "CellFonts.h"
#include "SheetMetrics.h"

#include "xls/CellText.h"
#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace report {

namespace {

constexpr double kPixel = 0.75;          // one pixel at 96 dpi, in points
constexpr double kPaddingX = 2 * kPixel; // between a cell's edge and its text
constexpr double kPaddingY = 1 * kPixel;
constexpr int kStacked = 255;
constexpr int kLastRow = 65535;
constexpr int kLastColumn = 255;
constexpr int kDotsPerMeterAt72Dpi = 2835;
const QColor kAutomaticLine(Qt::black);

using xls::BorderStyle;
using xls::HorizontalAlignment;
using xls::VerticalAlignment;

bool isEmptyCell(const xls::Cell* cell) {
    return cell == nullptr || cell->type() == xls::CellType::Blank;
}

QString withoutLineBreaks(QString text) {
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
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

ShapedLine::ShapedLine(const QString& text, const QFont& font, QPaintDevice* device)
    : m_layout(text, font, device) {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);
    m_layout.beginLayout();
    m_line = m_layout.createLine();
    m_layout.endLayout();
}

double ShapedLine::width() const {
    return m_line.isValid() ? m_line.naturalTextWidth() : 0;
}

double ShapedLine::ascent() const {
    return m_line.isValid() ? m_line.ascent() : 0;
}

double ShapedLine::descent() const {
    return m_line.isValid() ? m_line.descent() : 0;
}

void ShapedLine::draw(QPainter& painter, QPointF baseline) const {
    m_layout.draw(&painter, baseline - QPointF(0, ascent()));
}

// Builds a page's slot table: merged areas first, then each slot's formats, borders and
// gridlines, then the texts, which may flow across the gridlines of their neighbours.
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
        for (int r = 0; r < m_out.m_rows; ++r) {
            for (int c = 0; c < m_out.m_columns; ++c)
                placeText(r, c);
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
    const xls::CellFormat* formatAt(int row, int column) const {
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

    QColor color(int index, const QColor& automatic) const {
        const QColor found = m_sources.workbook.palette().color(index);
        return found.isValid() ? found : automatic;
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
    const xls::Border* borderAt(int row, int column, Side side) const {
        return sideOfFormat(formatAt(row, column), side);
    }

    void placeMerges();
    void placeSlot(int r, int c);
    void resolveEdges(int r, int c);
    void placeText(int r, int c);
    void placeLine(int r, int c, const xls::Cell& cell, const xls::CellFormat& format,
                   const xls::FormattedValue& shown, SlotText& text);
    void flow(int r, int c, const TextReach& reach, SlotText& text);

    const CellSources& m_sources;
    const LaidOutPage& m_page;
    QPaintDevice* m_device;
    CellLayout& m_out;
    std::vector<Merge> m_merges;
    std::vector<int> m_mergeAt;                    // per slot, into m_merges, -1 for none
    std::vector<const xls::CellFormat*> m_formats; // per slot, its own position's format
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
    if (format->fillPattern > 0) {
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

void CellLayoutBuilder::placeText(int r, int c) {
    const CellSlot& slot = at(r, c);
    if (slot.kind == SlotKind::MergeCovered)
        return;
    const Merge* merge = mergeOf(r, c);
    const int row = merge != nullptr ? merge->range.firstRow : slot.row;
    const int column = merge != nullptr ? merge->range.firstColumn : slot.column;
    const xls::Cell* cell = m_sources.sheet.cell(row, column);
    if (isEmptyCell(cell))
        return;
    xls::FormattedValue shown = m_sources.cellText.shown(*cell);
    shown.text = capped(shown.text);
    if (shown.text.isEmpty())
        return;
    const xls::CellFormat& format = m_sources.workbook.cellFormat(cell->formatIndex());
    const xls::Font& cellFont = m_sources.workbook.font(format.fontIndex);

    SlotText text;
    text.font = m_sources.fonts.font(format.fontIndex);
    text.color =
        shown.color > 0 ? color(shown.color + 7, Qt::black) : color(cellFont.colorIndex, Qt::black);
    text.underline = cellFont.underline;
    text.vertical = format.vertical;
    text.firstColumnSlot = c;
    text.lastColumnSlot = merge != nullptr ? merge->lastColumnSlot : c;
    QRectF area = slot.area;
    text.clip = slot.visible;

    HorizontalAlignment horizontal = resolvedAlignment(format.horizontal, cell->type());
    if (horizontal == HorizontalAlignment::CenterAcrossSelection) {
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
        text.text = withoutLineBreaks(shown.text);
        text.shape = format.rotation == kStacked ? TextShape::Stacked : TextShape::Rotated;
        text.rotation = format.rotation <= 90 ? format.rotation : -(format.rotation - 90.0);
    } else if (wraps(format, horizontal)) {
        text.text = shown.text;
        text.text.remove(QLatin1Char('\r'));
        text.shape = TextShape::Wrapped;
    } else {
        placeLine(r, c, *cell, format, shown, text);
    }
    at(r, c).text = static_cast<int>(m_out.m_texts.size());
    m_out.m_texts.push_back(std::move(text));
}

void CellLayoutBuilder::placeLine(int r, int c, const xls::Cell& cell,
                                  const xls::CellFormat& format, const xls::FormattedValue& shown,
                                  SlotText& text) {
    const double available = std::max(0.0, text.content.width() - text.indent);
    QString line = withoutLineBreaks(shown.text);
    QFontMetricsF metrics(text.font, m_device);
    if (shown.fillAt >= 0 && shown.fillAt <= line.size() && !shown.fillChar.isNull()) {
        const double fillWidth = metrics.horizontalAdvance(shown.fillChar);
        const double rest = available - metrics.horizontalAdvance(line);
        const int count = fillWidth > 0 ? std::max(0, static_cast<int>(rest / fillWidth)) : 0;
        line.insert(shown.fillAt, QString(count, shown.fillChar));
    }
    auto shaped = std::make_shared<ShapedLine>(line, text.font, m_device);
    const auto reshape = [&] { shaped = std::make_shared<ShapedLine>(line, text.font, m_device); };
    const double width = shaped->width();
    if (format.shrinkToFit && width > available && width > 0 && available > 0) {
        text.font.setPointSizeF(std::max(1.0, text.font.pointSizeF() * available / width));
        metrics = QFontMetricsF(text.font, m_device);
        reshape();
    } else if (text.horizontal == HorizontalAlignment::Fill) {
        // The text repeated as often as it fits whole, at least once.
        const int count = width > 0 ? std::max(1, static_cast<int>(available / width)) : 1;
        line = line.repeated(count);
        reshape();
        text.horizontal = HorizontalAlignment::Left;
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
        reshape();
    } else if (cell.type() == xls::CellType::Text && mergeOf(r, c) == nullptr) {
        flow(r, c, reachOf(text.horizontal, width, available), text);
    }

    const QRectF& content = text.content;
    const double shapedWidth = shaped->width();
    double x = content.left() + text.indent;
    if (text.horizontal == HorizontalAlignment::Right)
        x = content.right() - text.indent - shapedWidth;
    else if (text.horizontal == HorizontalAlignment::Center)
        x = content.center().x() - shapedWidth / 2;
    double y = content.bottom() - metrics.descent();
    if (text.vertical == VerticalAlignment::Top)
        y = content.top() + metrics.ascent();
    else if (text.vertical == VerticalAlignment::Center)
        y = content.center().y() - metrics.height() / 2 + metrics.ascent();
    text.baseline = {x, y};
    text.text = line;
    text.shaped = std::move(shaped);
}

// Text flows into empty neighbours up to a cell that holds something, a merged area or the
// edge of its run of columns; the gridlines it crosses are left out.
void CellLayoutBuilder::flow(int r, int c, const TextReach& reach, SlotText& text) {
    if (reach.left <= 0 && reach.right <= 0)
        return;
    const int row = m_page.rows[r].index;
    const auto furthest = [&](int step, double need) {
        double gained = 0;
        int slot = c;
        for (int next = c + step;
             gained < need && continues(m_page.columns, next - step, step) &&
             mergeOf(r, next) == nullptr &&
             isEmptyCell(m_sources.sheet.cell(row, m_page.columns[next].index));
             next += step) {
            gained += m_page.columns[next].size;
            slot = next;
        }
        return slot;
    };
    const int first = furthest(-1, reach.left);
    const int last = furthest(1, reach.right);
    text.firstColumnSlot = std::min(text.firstColumnSlot, first);
    text.lastColumnSlot = std::max(text.lastColumnSlot, last);
    text.clip.setLeft(std::min(text.clip.left(), m_page.columns[first].offset));
    text.clip.setRight(
        std::max(text.clip.right(), m_page.columns[last].offset + m_page.columns[last].size));
    for (int slot = first + 1; slot <= last; ++slot)
        at(r, slot).gridLeft = false;
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
    const QString text = withoutLineBreaks(capped(m_sources.cellText.shown(cell).text));
    const QFontMetricsF metrics(m_sources.fonts.font(format.fontIndex), m_device.get());
    const double available =
        cellWidth - 2 * kPaddingX - indentOf(format, horizontal, m_sources.metrics.maxDigitWidth());
    return reachOf(horizontal, metrics.horizontalAdvance(text), std::max(0.0, available));
}

} // namespace report
