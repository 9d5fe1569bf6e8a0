#include "PagePainter.h"

#include "FontMapper.h"
#include "SheetMetrics.h"

#include "xls/CellText.h"
#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace report {

namespace {

constexpr double kPixel = 0.75;          // one pixel at 96 dpi, in points
constexpr double kPaddingX = 2 * kPixel; // between a cell's edge and its text
constexpr double kPaddingY = 1 * kPixel;
constexpr double kGridlineWidth = 0.5;
constexpr int kStacked = 255;
const QColor kAutomaticLine(Qt::black);
const QColor kGridlineColor(Qt::black);

using xls::HorizontalAlignment;
using xls::VerticalAlignment;

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

QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

// Excel's fill patterns 2 to 18 as 8 by 8 bitmaps, a row a byte, highest bit leftmost.
QImage patternImage(int pattern, const QColor& foreground, const QColor& background) {
    static constexpr unsigned char kPatterns[17][8] = {
        {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, // 50 % grey
        {0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55}, // 75 % grey
        {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}, // 25 % grey
        {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}, // horizontal stripe
        {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC}, // vertical stripe
        {0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33, 0x99}, // reverse diagonal stripe
        {0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99}, // diagonal stripe
        {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33}, // diagonal crosshatch
        {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99}, // thick diagonal crosshatch
        {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, // thin horizontal stripe
        {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, // thin vertical stripe
        {0x88, 0x44, 0x22, 0x11, 0x88, 0x44, 0x22, 0x11}, // thin reverse diagonal stripe
        {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88}, // thin diagonal stripe
        {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}, // thin horizontal crosshatch
        {0x88, 0x55, 0x22, 0x55, 0x88, 0x55, 0x22, 0x55}, // thin diagonal crosshatch
        {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00}, // 12.5 % grey
        {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00}, // 6.25 % grey
    };
    QImage image(8, 8, QImage::Format_RGB32);
    const auto& bits = kPatterns[std::clamp(pattern, 2, 18) - 2];
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool set = (bits[y] >> (7 - x)) & 1;
            image.setPixel(x, y, (set ? foreground : background).rgb());
        }
    }
    return image;
}

bool isEmptyCell(const xls::Cell* cell) {
    return cell == nullptr || cell->type() == xls::CellType::Blank;
}

QString withoutLineBreaks(QString text) {
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Trailing zeros of the decimals, and a decimal point left bare, go: "1.50" is "1.5".
QString withoutTrailingZeros(QString number) {
    const qsizetype exponent = number.indexOf(QLatin1Char('E'));
    QString mantissa = exponent < 0 ? number : number.left(exponent);
    const QString rest = exponent < 0 ? QString() : number.mid(exponent);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    return mantissa + rest;
}

// A General number made narrow enough for its cell, as the spreadsheet narrows it: fewer
// decimals first, then exponent notation with fewer digits; empty when nothing fits.
template <typename Fits> QString narrowedGeneral(double value, Fits fits) {
    if (std::isfinite(value) && std::abs(value) < 1e11 && std::abs(value) >= 1e-4) {
        for (int decimals = 9; decimals >= 0; --decimals) {
            const QString candidate = withoutTrailingZeros(QString::number(value, 'f', decimals));
            if (candidate != QLatin1String("0") && candidate != QLatin1String("-0") &&
                fits(candidate))
                return candidate;
        }
    }
    if (!std::isfinite(value))
        return {};
    for (int digits = 5; digits >= 0; --digits) {
        const QString candidate = withoutTrailingZeros(QString::number(value, 'E', digits));
        if (fits(candidate))
            return candidate;
    }
    return {};
}

// One line of text shaped once, for measuring and for drawing.
class ShapedText {
public:
    ShapedText(const QString& text, const QFont& font, QPaintDevice* device)
        : m_layout(text, font, device) {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        m_layout.setTextOption(option);
        m_layout.setCacheEnabled(true);
        m_layout.beginLayout();
        m_line = m_layout.createLine();
        m_layout.endLayout();
    }
    double width() const { return m_line.isValid() ? m_line.naturalTextWidth() : 0; }
    void draw(QPainter& painter, QPointF baseline) const {
        const double ascent = m_line.isValid() ? m_line.ascent() : 0;
        m_layout.draw(&painter, baseline - QPointF(0, ascent));
    }

private:
    QTextLayout m_layout;
    QTextLine m_line;
};

} // namespace

// The page's cells: which band each slot is, and the merged areas that show on the page.
struct PagePainter::Grid {
    struct Merge {
        xls::CellRange range;
        QRectF rect;     // the whole merged area, reaching off the page where it does
        QRectF visible;  // the part of it on this page
        int rowSlot = 0; // the slot of its first visible cell
        int columnSlot = 0;
    };

    QList<Band> rows;
    QList<Band> columns;
    std::vector<Merge> merges;
    std::vector<int> mergeAt; // per slot, into merges, -1 for none
    // Per slot, whether text flowing out of its cell stands across the slot's right edge.
    std::vector<bool> textAcrossRight;

    int slot(int rowSlot, int columnSlot) const {
        return rowSlot * static_cast<int>(columns.size()) + columnSlot;
    }
    const Merge* mergeOf(int rowSlot, int columnSlot) const {
        const int index = mergeAt[static_cast<size_t>(slot(rowSlot, columnSlot))];
        return index < 0 ? nullptr : &merges[static_cast<size_t>(index)];
    }
    QRectF cellRect(int rowSlot, int columnSlot) const {
        const Band& row = rows[rowSlot];
        const Band& column = columns[columnSlot];
        return {column.offset, row.offset, column.size, row.size};
    }
};

PagePainter::PagePainter(const xls::Workbook& workbook, const xls::Sheet& sheet,
                         const SheetMetrics& metrics, const FontMapper& fonts,
                         const xls::CellText& cellText)
    : m_workbook(workbook)
    , m_sheet(sheet)
    , m_metrics(metrics)
    , m_fonts(fonts)
    , m_cellText(cellText) {}

const xls::CellFormat* PagePainter::formatAt(int row, int column) const {
    if (const xls::Cell* cell = m_sheet.cell(row, column))
        return &m_workbook.cellFormat(cell->formatIndex());
    if (const xls::RowInfo* info = m_sheet.rowInfo(row); info != nullptr && info->formatIndex >= 0)
        return &m_workbook.cellFormat(info->formatIndex);
    if (const xls::ColumnInfo* info = m_sheet.columnInfo(column))
        return &m_workbook.cellFormat(info->formatIndex);
    return nullptr;
}

const QFont& PagePainter::cellQFont(int fontIndex) const {
    auto found = m_cellFonts.find(fontIndex);
    if (found == m_cellFonts.end()) {
        const xls::Font& cellFont = m_workbook.font(fontIndex);
        QFont font = m_fonts.font(cellFont);
        if (cellFont.script != xls::Script::Normal)
            font.setPointSizeF(font.pointSizeF() * 2 / 3);
        found = m_cellFonts.emplace(fontIndex, font).first;
    }
    return found->second;
}

QColor PagePainter::color(int index, const QColor& automatic) const {
    const QColor found = m_workbook.palette().color(index);
    return found.isValid() ? found : automatic;
}

QPen PagePainter::borderPen(int style, const QColor& color) {
    const auto pen = [&color](double pixels, QList<qreal> dashPixels = {}) {
        QPen result(color, pixels * kPixel);
        if (dashPixels.isEmpty()) {
            result.setCapStyle(Qt::SquareCap);
            return result;
        }
        // Dash lengths count in pen widths.
        for (qreal& length : dashPixels)
            length /= pixels;
        result.setDashPattern(dashPixels);
        result.setCapStyle(Qt::FlatCap);
        return result;
    };
    switch (static_cast<xls::BorderStyle>(style)) {
    case xls::BorderStyle::None:
        return QPen(Qt::NoPen);
    case xls::BorderStyle::Thin:
    case xls::BorderStyle::Double:
        return pen(1);
    case xls::BorderStyle::Medium:
        return pen(2);
    case xls::BorderStyle::Thick:
        return pen(3);
    case xls::BorderStyle::Dashed:
        return pen(1, {3, 1});
    case xls::BorderStyle::Dotted:
        return pen(1, {1, 1});
    case xls::BorderStyle::Hair:
        return pen(0.67, {0.67, 0.67});
    case xls::BorderStyle::MediumDashed:
        return pen(2, {9, 3});
    case xls::BorderStyle::DashDot:
        return pen(1, {9, 3, 3, 3});
    case xls::BorderStyle::MediumDashDot:
        return pen(2, {9, 3, 3, 3});
    case xls::BorderStyle::DashDotDot:
        return pen(1, {9, 3, 3, 3, 3, 3});
    case xls::BorderStyle::MediumDashDotDot:
        return pen(2, {9, 3, 3, 3, 3, 3});
    case xls::BorderStyle::SlantedDashDot:
        return pen(2, {11, 1, 5, 1});
    }
    return pen(1);
}

void PagePainter::paint(QPainter& painter, const PageFrame& frame, const LaidOutPage& page,
                        const HeaderFooterFields& fields) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const xls::PageSetup& setup = m_sheet.pageSetup();
    paintHeaderFooter(painter, frame, setup.header, fields, true);
    paintHeaderFooter(painter, frame, setup.footer, fields, false);

    painter.translate(page.origin);
    painter.scale(frame.scale, frame.scale);
    painter.setClipRect(QRectF(QPointF(0, 0), page.blockSize));

    Grid grid;
    grid.rows = page.rows;
    grid.columns = page.columns;
    grid.mergeAt.assign(static_cast<size_t>(page.rows.size() * page.columns.size()), -1);
    grid.textAcrossRight.assign(grid.mergeAt.size(), false);
    const auto start = [](const QList<Band>& bands, const Run& run, int first, const auto& sizeOf) {
        double offset = bands[run.first].offset;
        for (int index = first; index < bands[run.first].index; ++index)
            offset -= sizeOf(index);
        return offset;
    };
    const auto rowSize = [this](int row) { return m_metrics.rowHeight(row); };
    const auto columnSize = [this](int column) { return m_metrics.columnWidth(column); };
    if (!page.rows.isEmpty() && !page.columns.isEmpty()) {
        const int firstRow =
            std::min_element(page.rows.begin(), page.rows.end(), [](const Band& a, const Band& b) {
                return a.index < b.index;
            })->index;
        const int lastRow =
            std::max_element(page.rows.begin(), page.rows.end(), [](const Band& a, const Band& b) {
                return a.index < b.index;
            })->index;
        for (const xls::CellRange& range : m_sheet.mergedRanges()) {
            if (range.lastRow < firstRow || range.firstRow > lastRow)
                continue;
            const std::vector<Run> rowRuns = runsWithin(page.rows, range.firstRow, range.lastRow);
            if (rowRuns.empty())
                continue;
            const std::vector<Run> columnRuns =
                runsWithin(page.columns, range.firstColumn, range.lastColumn);
            double height = 0;
            for (int row = range.firstRow; row <= range.lastRow; ++row)
                height += rowSize(row);
            double width = 0;
            for (int column = range.firstColumn; column <= range.lastColumn; ++column)
                width += columnSize(column);
            for (const Run& rowRun : rowRuns) {
                for (const Run& columnRun : columnRuns) {
                    Grid::Merge merge;
                    merge.range = range;
                    merge.rowSlot = rowRun.first;
                    merge.columnSlot = columnRun.first;
                    merge.rect =
                        QRectF(start(page.columns, columnRun, range.firstColumn, columnSize),
                               start(page.rows, rowRun, range.firstRow, rowSize), width, height);
                    const Band& lastRowBand = page.rows[rowRun.last];
                    const Band& lastColumnBand = page.columns[columnRun.last];
                    merge.visible = QRectF(QPointF(page.columns[columnRun.first].offset,
                                                   page.rows[rowRun.first].offset),
                                           QPointF(lastColumnBand.offset + lastColumnBand.size,
                                                   lastRowBand.offset + lastRowBand.size));
                    const int index = static_cast<int>(grid.merges.size());
                    grid.merges.push_back(merge);
                    for (int r = rowRun.first; r <= rowRun.last; ++r) {
                        for (int c = columnRun.first; c <= columnRun.last; ++c)
                            grid.mergeAt[static_cast<size_t>(grid.slot(r, c))] = index;
                    }
                }
            }
        }
    }

    paintFills(painter, grid);
    // Texts first: where they flow across cells, the gridlines under them are left out.
    paintTexts(painter, grid);
    if (frame.gridlines)
        paintGridlines(painter, grid);
    paintBorders(painter, grid);
    if (frame.headings)
        paintHeadings(painter, grid, page);
    painter.restore();
}

void PagePainter::paintFills(QPainter& painter, const Grid& grid) const {
    const auto fill = [&](const QRectF& rect, const xls::CellFormat& format) {
        if (format.fillPattern <= 0)
            return;
        const QColor pattern = color(format.patternColorIndex, Qt::black);
        if (format.fillPattern == 1) {
            painter.fillRect(rect, pattern);
            return;
        }
        const QColor background = color(format.backgroundColorIndex, Qt::white);
        QBrush brush(patternImage(format.fillPattern, pattern, background));
        // A pattern pixel is a screen pixel, as the spreadsheet draws it.
        brush.setTransform(QTransform::fromScale(kPixel, kPixel));
        painter.fillRect(rect, brush);
    };
    for (int r = 0; r < grid.rows.size(); ++r) {
        for (int c = 0; c < grid.columns.size(); ++c) {
            if (const Grid::Merge* merge = grid.mergeOf(r, c)) {
                if (merge->rowSlot != r || merge->columnSlot != c)
                    continue;
                if (const xls::CellFormat* format =
                        formatAt(merge->range.firstRow, merge->range.firstColumn)) {
                    painter.save();
                    painter.setClipRect(merge->visible, Qt::IntersectClip);
                    fill(merge->rect, *format);
                    painter.restore();
                }
                continue;
            }
            if (const xls::CellFormat* format = formatAt(grid.rows[r].index, grid.columns[c].index))
                fill(grid.cellRect(r, c), *format);
        }
    }
}

void PagePainter::paintGridlines(QPainter& painter, const Grid& grid) const {
    painter.save();
    painter.setPen(QPen(kGridlineColor, kGridlineWidth));
    painter.setBrush(Qt::NoBrush);
    for (int r = 0; r < grid.rows.size(); ++r) {
        for (int c = 0; c < grid.columns.size(); ++c) {
            const Grid::Merge* merge = grid.mergeOf(r, c);
            if (merge == nullptr) {
                const QRectF rect = grid.cellRect(r, c);
                const bool left =
                    c > 0 && grid.textAcrossRight[static_cast<size_t>(grid.slot(r, c - 1))];
                const bool right = grid.textAcrossRight[static_cast<size_t>(grid.slot(r, c))];
                if (!left && !right) {
                    painter.drawRect(rect);
                    continue;
                }
                painter.drawLine(rect.topLeft(), rect.topRight());
                painter.drawLine(rect.bottomLeft(), rect.bottomRight());
                if (!left)
                    painter.drawLine(rect.topLeft(), rect.bottomLeft());
                if (!right)
                    painter.drawLine(rect.topRight(), rect.bottomRight());
            } else if (merge->rowSlot == r && merge->columnSlot == c) {
                painter.save();
                painter.setClipRect(merge->visible.adjusted(-1, -1, 1, 1), Qt::IntersectClip);
                painter.drawRect(merge->rect);
                painter.restore();
            }
        }
    }
    painter.restore();
}

void PagePainter::paintTexts(QPainter& painter, Grid& grid) const {
    for (int r = 0; r < grid.rows.size(); ++r) {
        for (int c = 0; c < grid.columns.size(); ++c)
            paintText(painter, grid, r, c);
    }
}

void PagePainter::paintText(QPainter& painter, Grid& grid, int rowSlot, int columnSlot) const {
    const Grid::Merge* merge = grid.mergeOf(rowSlot, columnSlot);
    if (merge != nullptr && (merge->rowSlot != rowSlot || merge->columnSlot != columnSlot))
        return;
    const int row = merge != nullptr ? merge->range.firstRow : grid.rows[rowSlot].index;
    const int column = merge != nullptr ? merge->range.firstColumn : grid.columns[columnSlot].index;
    const xls::Cell* cell = m_sheet.cell(row, column);
    if (isEmptyCell(cell))
        return;
    const xls::CellFormat& format = m_workbook.cellFormat(cell->formatIndex());
    xls::FormattedValue shown = m_cellText.shown(*cell);
    if (shown.text.isEmpty())
        return;

    const xls::Font& cellFont = m_workbook.font(format.fontIndex);
    QFont font = cellQFont(format.fontIndex);
    const QColor ink =
        shown.color > 0 ? color(shown.color + 7, Qt::black) : color(cellFont.colorIndex, Qt::black);

    QRectF cellRect = merge != nullptr ? merge->rect : grid.cellRect(rowSlot, columnSlot);
    QRectF clip = merge != nullptr ? merge->visible : cellRect;
    const bool isNumber = cell->type() == xls::CellType::Number;

    HorizontalAlignment horizontal = format.horizontal;
    if (horizontal == HorizontalAlignment::General) {
        if (isNumber)
            horizontal = HorizontalAlignment::Right;
        else if (cell->type() == xls::CellType::Text)
            horizontal = HorizontalAlignment::Left;
        else
            horizontal = HorizontalAlignment::Center;
    }
    // Centred across the blank cells to the right that are centred across selection too.
    if (horizontal == HorizontalAlignment::CenterAcrossSelection && merge == nullptr) {
        int next = columnSlot + 1;
        while (next < grid.columns.size() &&
               grid.columns[next].title == grid.columns[columnSlot].title &&
               grid.mergeOf(rowSlot, next) == nullptr &&
               isEmptyCell(m_sheet.cell(row, grid.columns[next].index))) {
            const xls::CellFormat* nextFormat = formatAt(row, grid.columns[next].index);
            if (nextFormat == nullptr ||
                nextFormat->horizontal != HorizontalAlignment::CenterAcrossSelection)
                break;
            ++next;
        }
        cellRect.setRight(grid.columns[next - 1].offset + grid.columns[next - 1].size);
        clip = cellRect;
        horizontal = HorizontalAlignment::Center;
    }

    const QRectF content = cellRect.adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY);
    const double indent =
        (horizontal == HorizontalAlignment::Left || horizontal == HorizontalAlignment::Right)
            ? format.indent * 3 * m_metrics.maxDigitWidth() * kPixel
            : 0.0;
    const double available = std::max(0.0, content.width() - indent);

    // Rotated and stacked text: placed by its turned outline, kept within the cell.
    if (format.rotation != 0) {
        painter.save();
        painter.setPen(ink);
        painter.setFont(font);
        painter.setClipRect(clip, Qt::IntersectClip);
        const QFontMetricsF metrics(font, painter.device());
        const QString text = withoutLineBreaks(shown.text);
        if (format.rotation == kStacked) {
            const double lineHeight = metrics.height();
            const double height = lineHeight * text.size();
            double width = 0;
            for (const QChar ch : text)
                width = std::max(width, metrics.horizontalAdvance(ch));
            double x = content.left();
            if (horizontal == HorizontalAlignment::Center)
                x = content.center().x() - width / 2;
            else if (horizontal == HorizontalAlignment::Right)
                x = content.right() - width;
            double y = content.top();
            if (format.vertical == VerticalAlignment::Bottom)
                y = content.bottom() - height;
            else if (format.vertical == VerticalAlignment::Center)
                y = content.center().y() - height / 2;
            for (const QChar ch : text) {
                painter.drawText(
                    QPointF(x + (width - metrics.horizontalAdvance(ch)) / 2, y + metrics.ascent()),
                    QString(ch));
                y += lineHeight;
            }
        } else {
            const double degrees =
                format.rotation <= 90 ? format.rotation : -(format.rotation - 90.0);
            const double radians = std::abs(degrees) * std::numbers::pi / 180;
            const double w = metrics.horizontalAdvance(text);
            const double h = metrics.height();
            const double outlineWidth = w * std::cos(radians) + h * std::sin(radians);
            const double outlineHeight = w * std::sin(radians) + h * std::cos(radians);
            double cx = content.center().x();
            if (horizontal == HorizontalAlignment::Left)
                cx = content.left() + outlineWidth / 2;
            else if (horizontal == HorizontalAlignment::Right)
                cx = content.right() - outlineWidth / 2;
            double cy = content.center().y();
            if (format.vertical == VerticalAlignment::Top)
                cy = content.top() + outlineHeight / 2;
            else if (format.vertical == VerticalAlignment::Bottom)
                cy = content.bottom() - outlineHeight / 2;
            painter.translate(cx, cy);
            painter.rotate(-degrees);
            painter.drawText(QPointF(-w / 2, -h / 2 + metrics.ascent()), text);
        }
        painter.restore();
        return;
    }

    const bool wraps = format.wrap || horizontal == HorizontalAlignment::Justify ||
                       horizontal == HorizontalAlignment::Distributed ||
                       format.vertical == VerticalAlignment::Justify ||
                       format.vertical == VerticalAlignment::Distributed;
    if (wraps) {
        painter.save();
        painter.setPen(ink);
        painter.setFont(font);
        painter.setClipRect(clip, Qt::IntersectClip);
        int flags = Qt::TextWordWrap;
        switch (horizontal) {
        case HorizontalAlignment::Center:
            flags |= Qt::AlignHCenter;
            break;
        case HorizontalAlignment::Right:
            flags |= Qt::AlignRight;
            break;
        case HorizontalAlignment::Justify:
        case HorizontalAlignment::Distributed:
            flags |= Qt::AlignJustify;
            break;
        default:
            flags |= Qt::AlignLeft;
            break;
        }
        switch (format.vertical) {
        case VerticalAlignment::Top:
        case VerticalAlignment::Justify:
            flags |= Qt::AlignTop;
            break;
        case VerticalAlignment::Center:
        case VerticalAlignment::Distributed:
            flags |= Qt::AlignVCenter;
            break;
        case VerticalAlignment::Bottom:
            flags |= Qt::AlignBottom;
            break;
        }
        QString text = shown.text;
        text.remove(QLatin1Char('\r'));
        QRectF area = content;
        if (horizontal == HorizontalAlignment::Left)
            area.setLeft(area.left() + indent);
        else if (horizontal == HorizontalAlignment::Right)
            area.setRight(area.right() - indent);
        painter.drawText(area, flags, text);
        painter.restore();
        return;
    }

    QString text = withoutLineBreaks(shown.text);
    QFontMetricsF metrics(font, painter.device());
    if (shown.fillAt >= 0 && shown.fillAt <= text.size() && !shown.fillChar.isNull()) {
        const double fillWidth = metrics.horizontalAdvance(shown.fillChar);
        const double rest = available - metrics.horizontalAdvance(text);
        const int count = fillWidth > 0 ? std::max(0, static_cast<int>(rest / fillWidth)) : 0;
        text.insert(shown.fillAt, QString(count, shown.fillChar));
    }
    auto shaped = std::make_unique<ShapedText>(text, font, painter.device());
    double width = shaped->width();
    const auto reshape = [&] {
        shaped = std::make_unique<ShapedText>(text, font, painter.device());
        width = shaped->width();
    };
    if (format.shrinkToFit && width > available && width > 0 && available > 0) {
        font.setPointSizeF(std::max(1.0, font.pointSizeF() * available / width));
        metrics = QFontMetricsF(font, painter.device());
        reshape();
    } else if (horizontal == HorizontalAlignment::Fill) {
        // The text repeated as often as it fits whole, at least once.
        const int count = width > 0 ? std::max(1, static_cast<int>(available / width)) : 1;
        text = text.repeated(count);
        reshape();
        horizontal = HorizontalAlignment::Left;
    } else if (isNumber && width > available) {
        // A number never shows in part. In the General format it first gives up decimals,
        // then goes to exponent notation; otherwise, or when even that is too wide, it shows
        // as many # as the cell holds.
        const bool general = m_workbook.numberFormatCode(format.formatIndex)
                                 .compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
        const QString narrowed =
            general ? narrowedGeneral(cell->number(),
                                      [&](const QString& candidate) {
                                          return metrics.horizontalAdvance(candidate) <= available;
                                      })
                    : QString();
        if (!narrowed.isEmpty()) {
            text = narrowed;
        } else {
            const double hashWidth = metrics.horizontalAdvance(QLatin1Char('#'));
            const int count = hashWidth > 0 ? static_cast<int>(available / hashWidth) : 0;
            text = QString(count, QLatin1Char('#'));
        }
        reshape();
    } else if (width > available && merge == nullptr && cell->type() == xls::CellType::Text) {
        // Text flows into empty neighbours: left-aligned to the right, right-aligned to the
        // left, centred both ways, up to a cell that holds something or the block's edge.
        const bool right = horizontal != HorizontalAlignment::Right;
        const bool left =
            horizontal == HorizontalAlignment::Right || horizontal == HorizontalAlignment::Center;
        const double need =
            horizontal == HorizontalAlignment::Center ? (width - available) / 2 : width - available;
        // The furthest slot the text reaches in a direction, its own when none.
        const auto reach = [&](int step) {
            double gained = 0;
            int slot = columnSlot;
            for (int next = slot + step;
                 gained < need && next >= 0 && next < grid.columns.size() &&
                 grid.columns[next].title == grid.columns[columnSlot].title &&
                 grid.mergeOf(rowSlot, next) == nullptr &&
                 isEmptyCell(m_sheet.cell(row, grid.columns[next].index));
                 next += step) {
                gained += grid.columns[next].size;
                slot = next;
            }
            return slot;
        };
        const int last = right ? reach(1) : columnSlot;
        const int first = left ? reach(-1) : columnSlot;
        if (last != columnSlot)
            clip.setRight(grid.columns[last].offset + grid.columns[last].size);
        if (first != columnSlot)
            clip.setLeft(grid.columns[first].offset);
        for (int slot = first; slot < last; ++slot)
            grid.textAcrossRight[static_cast<size_t>(grid.slot(rowSlot, slot))] = true;
    }

    double x = content.left() + indent;
    if (horizontal == HorizontalAlignment::Right)
        x = content.right() - indent - width;
    else if (horizontal == HorizontalAlignment::Center)
        x = content.center().x() - width / 2;
    double y = content.bottom() - metrics.descent();
    if (format.vertical == VerticalAlignment::Top)
        y = content.top() + metrics.ascent();
    else if (format.vertical == VerticalAlignment::Center)
        y = content.center().y() - metrics.height() / 2 + metrics.ascent();

    painter.setPen(ink);
    painter.setFont(font);
    // Clipping costs a graphics state of its own in the document: only text that reaches
    // beyond its cell (or the cells it flows into) is clipped.
    const QRectF inked(x, y - metrics.ascent(), width, metrics.ascent() + metrics.descent());
    const bool clipped = !clip.contains(inked);
    if (clipped) {
        painter.save();
        painter.setClipRect(clip, Qt::IntersectClip);
    }
    shaped->draw(painter, QPointF(x, y));
    // Double and accounting underlines, which the font does not draw: accounting ones run
    // under the whole cell.
    const xls::Underline underline = cellFont.underline;
    if (underline != xls::Underline::None && underline != xls::Underline::Single) {
        const bool accounting = underline == xls::Underline::SingleAccounting ||
                                underline == xls::Underline::DoubleAccounting;
        const double left = accounting ? content.left() : x;
        const double right = accounting ? content.right() : x + width;
        const double thickness = std::max(0.5, metrics.lineWidth());
        const double first = y + metrics.underlinePos() + (accounting ? thickness : 0);
        painter.save();
        painter.setPen(QPen(ink, thickness, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(left, first), QPointF(right, first));
        if (underline != xls::Underline::SingleAccounting) {
            const double second = first + 2 * thickness;
            painter.drawLine(QPointF(left, second), QPointF(right, second));
        }
        painter.restore();
    }
    if (clipped)
        painter.restore();
}

void PagePainter::paintBorderLine(QPainter& painter, const xls::Border& border, QPointF from,
                                  QPointF to, QPointF inward) const {
    if (border.style == xls::BorderStyle::None)
        return;
    const QColor ink = color(border.colorIndex, kAutomaticLine);
    QPen pen = borderPen(static_cast<int>(border.style), ink);
    if (border.style == xls::BorderStyle::Double) {
        pen.setWidthF(0.5);
        painter.setPen(pen);
        const QPointF apart = inward * 1.0;
        painter.drawLine(from - apart, to - apart);
        painter.drawLine(from + apart, to + apart);
        return;
    }
    painter.setPen(pen);
    painter.drawLine(from, to);
}

void PagePainter::paintBorders(QPainter& painter, const Grid& grid) const {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    paintEdgeBorders(painter, grid);
    for (int r = 0; r < grid.rows.size(); ++r) {
        for (int c = 0; c < grid.columns.size(); ++c) {
            const int row = grid.rows[r].index;
            const int column = grid.columns[c].index;
            const Grid::Merge* merge = grid.mergeOf(r, c);
            const xls::CellFormat* format = formatAt(row, column);
            const QRectF rect = grid.cellRect(r, c);
            if (format != nullptr) {
                // Inside a merged area only the edges on its outline show.
                const bool top = merge == nullptr || row == merge->range.firstRow;
                const bool bottom = merge == nullptr || row == merge->range.lastRow;
                const bool left = merge == nullptr || column == merge->range.firstColumn;
                const bool right = merge == nullptr || column == merge->range.lastColumn;
                if (top)
                    paintBorderLine(painter, format->top, rect.topLeft(), rect.topRight(), {0, 1});
                if (bottom)
                    paintBorderLine(painter, format->bottom, rect.bottomLeft(), rect.bottomRight(),
                                    {0, -1});
                if (left)
                    paintBorderLine(painter, format->left, rect.topLeft(), rect.bottomLeft(),
                                    {1, 0});
                if (right)
                    paintBorderLine(painter, format->right, rect.topRight(), rect.bottomRight(),
                                    {-1, 0});
            }
            // Diagonals cross the whole cell, or the whole merged area from its anchor.
            const bool anchor = merge == nullptr || (merge->rowSlot == r && merge->columnSlot == c);
            if (!anchor)
                continue;
            const xls::CellFormat* diagonalFormat =
                merge == nullptr ? format
                                 : formatAt(merge->range.firstRow, merge->range.firstColumn);
            if (diagonalFormat == nullptr ||
                diagonalFormat->diagonal.style == xls::BorderStyle::None)
                continue;
            const QRectF area = merge == nullptr ? rect : merge->rect;
            painter.save();
            if (merge != nullptr)
                painter.setClipRect(merge->visible, Qt::IntersectClip);
            if (diagonalFormat->diagonalDown)
                paintBorderLine(painter, diagonalFormat->diagonal, area.topLeft(),
                                area.bottomRight(), {0, 0});
            if (diagonalFormat->diagonalUp)
                paintBorderLine(painter, diagonalFormat->diagonal, area.bottomLeft(),
                                area.topRight(), {0, 0});
            painter.restore();
        }
    }
    painter.restore();
}

void PagePainter::paintEdgeBorders(QPainter& painter, const Grid& grid) const {
    // A cell off the page (or off its run of bands) whose border lies on the edge of the
    // page's block: its line shows along that edge, as the cells on the page share it.
    const auto runEnds = [](const QList<Band>& bands, int slot, int step) {
        const int next = slot + step;
        return next < 0 || next >= bands.size() || bands[next].title != bands[slot].title;
    };
    const auto merged = [&](int r, int c) { return grid.mergeOf(r, c) != nullptr; };
    for (int r = 0; r < grid.rows.size(); ++r) {
        for (int c = 0; c < grid.columns.size(); ++c) {
            if (merged(r, c))
                continue;
            const int row = grid.rows[r].index;
            const int column = grid.columns[c].index;
            const QRectF rect = grid.cellRect(r, c);
            if (runEnds(grid.rows, r, -1) && row > 0) {
                if (const xls::CellFormat* above = formatAt(row - 1, column))
                    paintBorderLine(painter, above->bottom, rect.topLeft(), rect.topRight(),
                                    {0, 1});
            }
            if (runEnds(grid.rows, r, 1)) {
                if (const xls::CellFormat* below = formatAt(row + 1, column))
                    paintBorderLine(painter, below->top, rect.bottomLeft(), rect.bottomRight(),
                                    {0, -1});
            }
            if (runEnds(grid.columns, c, -1) && column > 0) {
                if (const xls::CellFormat* left = formatAt(row, column - 1))
                    paintBorderLine(painter, left->right, rect.topLeft(), rect.bottomLeft(),
                                    {1, 0});
            }
            if (runEnds(grid.columns, c, 1)) {
                if (const xls::CellFormat* right = formatAt(row, column + 1))
                    paintBorderLine(painter, right->left, rect.topRight(), rect.bottomRight(),
                                    {-1, 0});
            }
        }
    }
}

void PagePainter::paintHeadings(QPainter& painter, const Grid& grid,
                                const LaidOutPage& page) const {
    painter.save();
    const QFont font = m_fonts.font(m_workbook.font(0));
    painter.setFont(font);
    painter.setPen(QPen(kGridlineColor, kGridlineWidth));
    painter.setBrush(Qt::NoBrush);
    const double width = page.headingWidth;
    const double height = page.headingHeight;
    painter.drawRect(QRectF(0, 0, width, height));
    for (const Band& column : grid.columns) {
        const QRectF rect(column.offset, 0, column.size, height);
        painter.drawRect(rect);
        painter.drawText(rect, Qt::AlignCenter, columnLetters(column.index));
    }
    for (const Band& row : grid.rows) {
        const QRectF rect(0, row.offset, width, row.size);
        painter.drawRect(rect);
        painter.drawText(rect, Qt::AlignCenter, QString::number(row.index + 1));
    }
    painter.restore();
}

void PagePainter::paintHeaderFooter(QPainter& painter, const PageFrame& frame, const QString& code,
                                    const HeaderFooterFields& fields, bool header) const {
    if (code.isEmpty())
        return;
    const HeaderFooterText text = expandHeaderFooter(code, fields, m_workbook.font(0));
    const QRectF paper(QPointF(0, 0), frame.pageLayout.fullRect(QPageLayout::Point).size());
    const QMarginsF margins = frame.pageLayout.margins(QPageLayout::Point);
    const double left = margins.left();
    const double right = paper.width() - margins.right();

    const auto runFont = [this](const HeaderFooterRun& run) {
        const bool shifted = run.superscript || run.subscript;
        QFont font = m_fonts.font(run.fontName, run.pointSize * (shifted ? 2.0 / 3 : 1.0), run.bold,
                                  run.italic);
        font.setUnderline(run.underline || run.doubleUnderline);
        font.setStrikeOut(run.strikeout);
        return font;
    };
    struct LineSize {
        double width = 0;
        double ascent = 0;
        double descent = 0;
    };
    const auto measure = [&](const HeaderFooterLine& line) {
        LineSize size;
        for (const HeaderFooterRun& run : line) {
            const QFontMetricsF metrics(runFont(run), painter.device());
            size.width += metrics.horizontalAdvance(run.text);
            size.ascent = std::max(size.ascent, metrics.ascent());
            size.descent = std::max(size.descent, metrics.descent());
        }
        if (line.isEmpty()) {
            const QFontMetricsF metrics(m_fonts.font(m_workbook.font(0)), painter.device());
            size.ascent = metrics.ascent();
            size.descent = metrics.descent();
        }
        return size;
    };

    painter.save();
    const auto paintSection = [&](const HeaderFooterSection& section, int alignment) {
        std::vector<LineSize> sizes;
        double total = 0;
        for (const HeaderFooterLine& line : section.lines) {
            sizes.push_back(measure(line));
            total += sizes.back().ascent + sizes.back().descent;
        }
        double y = header ? frame.headerMargin : paper.height() - frame.footerMargin - total;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const HeaderFooterLine& line = section.lines[static_cast<qsizetype>(i)];
            double x = left;
            if (alignment == Qt::AlignHCenter)
                x = (left + right - sizes[i].width) / 2;
            else if (alignment == Qt::AlignRight)
                x = right - sizes[i].width;
            const double baseline = y + sizes[i].ascent;
            for (const HeaderFooterRun& run : line) {
                const QFont font = runFont(run);
                const QFontMetricsF metrics(font, painter.device());
                double shift = 0;
                if (run.superscript)
                    shift = -metrics.ascent() / 2;
                else if (run.subscript)
                    shift = metrics.descent();
                painter.setFont(font);
                painter.setPen(Qt::black);
                painter.drawText(QPointF(x, baseline + shift), run.text);
                if (run.doubleUnderline) {
                    const double under =
                        baseline + metrics.underlinePos() + metrics.lineWidth() * 2;
                    painter.setPen(QPen(Qt::black, metrics.lineWidth()));
                    painter.drawLine(QPointF(x, under),
                                     QPointF(x + metrics.horizontalAdvance(run.text), under));
                }
                x += metrics.horizontalAdvance(run.text);
            }
            y += sizes[i].ascent + sizes[i].descent;
        }
    };
    paintSection(text.left, Qt::AlignLeft);
    paintSection(text.center, Qt::AlignHCenter);
    paintSection(text.right, Qt::AlignRight);
    painter.restore();
}

} // namespace report
