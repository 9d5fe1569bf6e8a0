#include "TextPlacement.h"

#include "CellAlignment.h"
#include "CellFonts.h"
#include "MergedRuns.h"
#include "PrintOptions.h"
#include "SheetMetrics.h"
#include "TextPieces.h"
#include "TextShaper.h"

#include "xls/CellText.h"
#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QFontMetricsF>

#include <algorithm>

namespace report {

namespace {

constexpr int kStacked = 255;

using xls::HorizontalAlignment;
using xls::VerticalAlignment;

bool isEmptyCell(const xls::Cell* cell) {
    return cell == nullptr || cell->type() == xls::CellType::Blank;
}

// Places a reading of a phonetic guide over the base text from left to right, on the
// baseline y: distributed letter by letter, centred, or from the left.
void placeReading(const QString& reading, double left, double right, double y,
                  xls::PhoneticAlignment alignment, const TextShaper& shaper, const QFont& font,
                  std::vector<GuidePiece>& out) {
    if (alignment == xls::PhoneticAlignment::Distributed && reading.size() > 1) {
        const double step = (right - left) / static_cast<double>(reading.size());
        for (qsizetype i = 0; i < reading.size(); ++i) {
            const QString letter(reading[i]);
            const double middle = left + step * (static_cast<double>(i) + 0.5);
            out.push_back({letter, {middle - shaper.width(letter, font) / 2, y}});
        }
        return;
    }
    const bool centred = alignment == xls::PhoneticAlignment::Center ||
                         alignment == xls::PhoneticAlignment::Distributed;
    const double width = shaper.width(reading, font);
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

} // namespace

TextPlacement::TextPlacement(const CellSources& sources, const LaidOutPage& page,
                             const MergedRuns& merges,
                             const std::vector<const xls::CellFormat*>& formats,
                             QPaintDevice* device)
    : m_sources(sources)
    , m_page(page)
    , m_merges(merges)
    , m_formats(formats)
    , m_device(device) {}

QColor TextPlacement::color(int index, const QColor& automatic) const {
    return m_sources.options.ink(index, automatic);
}

bool TextPlacement::shape(int r, int c, const xls::Cell& cell, QRectF area, SlotText& text) const {
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
    const MergeOnPage* merge = c >= 0 ? m_merges.at(r, c) : nullptr;
    const int row = cell.row();

    HorizontalAlignment horizontal = resolvedAlignment(format.horizontal, cell.type());
    if (horizontal == HorizontalAlignment::CenterAcrossSelection && c >= 0) {
        // Centred across the blank cells to the right that are centred across selection too.
        int next = c + 1;
        while (merge == nullptr && standsBeside(m_page.columns, next - 1, 1) &&
               m_merges.at(r, next) == nullptr &&
               isEmptyCell(m_sources.sheet.cell(row, m_page.columns[next].index))) {
            const xls::CellFormat* nextFormat =
                m_formats[static_cast<size_t>(r * m_page.columns.size() + next)];
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
    text.content = area.adjusted(kCellPaddingX, kCellPaddingY, -kCellPaddingX, -kCellPaddingY);
    text.indent = indentOf(format, horizontal, m_sources.metrics.maxDigitWidth());

    if (format.rotation != 0) {
        text.text = shown.text;
        withoutLineBreaks(text.text, pieces);
        text.shape = format.rotation == kStacked ? TextShape::Stacked : TextShape::Rotated;
        text.rotation = format.rotation <= 90 ? format.rotation : -(format.rotation - 90.0);
        const bool stacked = text.shape == TextShape::Stacked;
        text.shaped = std::make_shared<ShapedText>(
            stacked ? stackedLetters(text.text, pieces) : text.text, std::move(pieces), m_device,
            Qt::AlignHCenter, 0, &m_sources.fonts.shaper());
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

void TextPlacement::placeLine(const xls::Cell& cell, const xls::CellFormat& format,
                              const xls::FormattedValue& shown, std::vector<TextPiece> pieces,
                              SlotText& text) const {
    const double available = std::max(0.0, text.content.width() - text.indent);
    QString line = shown.text;
    const std::vector<int> moved = withoutLineBreaks(line, pieces);
    bool unchanged = true; // whether the line holds the cell's characters and no others
    const TextShaper& shaper = m_sources.fonts.shaper();
    if (shown.fillAt >= 0 && shown.fillAt <= line.size() && !shown.fillChar.isNull()) {
        const double fillWidth = shaper.width(shown.fillChar, text.font);
        const double rest = available - shaper.width(line, text.font);
        const int count = fillWidth > 0 ? std::max(0, static_cast<int>(rest / fillWidth)) : 0;
        line.insert(shown.fillAt, QString(count, shown.fillChar));
        for (TextPiece& piece : pieces)
            piece.start += piece.start >= shown.fillAt ? count : 0;
        unchanged = false;
    }
    const auto reshape = [&] {
        fitPieces(pieces, static_cast<int>(line.size()));
        return std::make_shared<ShapedText>(line, pieces, m_device, Qt::AlignLeft, 0, &shaper);
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
            return shaper.width(candidate, text.font) <= available;
        });
        if (line.isEmpty()) {
            const double hashWidth = shaper.width(QStringLiteral("#"), text.font);
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

void TextPlacement::placeGuide(const xls::PhoneticText& phonetic, const std::vector<int>& moved,
                               int cellLength, SlotText& text) const {
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
                     m_sources.fonts.shaper(), guide->font, guide->pieces);
    }
    text.guide = std::move(guide);
}

} // namespace report
