#include "CommentBoxes.h"

#include "ObjectPlacement.h"
#include "RichTextPainter.h"
#include "UsedRange.h"

#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QPainter>

#include <algorithm>

namespace report {

namespace {

constexpr double kEmuPerPoint = 12700;
// The system colours comment boxes are drawn in when the file names one: the tooltip
// background behind the text, window text for lines.
constexpr int kInfoBackground = 0x50;
const QColor kNoteBackground(0xFF, 0xFF, 0xE1);

QColor colorOf(const xls::ObjectColor& color, const xls::Palette& palette, const QColor& system) {
    if (color.paletteIndex < 0)
        return QColor::fromRgb(color.rgb);
    const QColor found = palette.color(color.paletteIndex);
    return found.isValid() ? found : system;
}

QPen linePen(const xls::ObjectLine& line, const xls::Palette& palette) {
    if (!line.visible || line.opacity <= 0)
        return Qt::NoPen;
    QColor color = colorOf(line.color, palette, Qt::black);
    color.setAlphaF(static_cast<float>(std::clamp(line.opacity, 0.0, 1.0)));
    QPen pen(color, std::max(0.0, line.widthEmu / kEmuPerPoint));
    // Dash numbers 0 to 10: solid, dash, dot, dash-dot, dash-dot-dot, then the short and
    // long variants of those.
    static const Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                           Qt::DashDotLine, Qt::DashDotDotLine, Qt::DotLine,
                                           Qt::DashLine,    Qt::DashLine,       Qt::DashDotLine,
                                           Qt::DashDotLine, Qt::DashDotDotLine};
    if (line.dash > 0 && line.dash < static_cast<int>(std::size(kStyles)))
        pen.setStyle(kStyles[line.dash]);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush fillBrush(const xls::ObjectFill& fill, const xls::Palette& palette) {
    if (!fill.filled || fill.opacity <= 0)
        return Qt::NoBrush;
    const QColor system =
        fill.color.paletteIndex == kInfoBackground ? kNoteBackground : QColor(Qt::white);
    QColor color = colorOf(fill.color, palette, system);
    color.setAlphaF(static_cast<float>(std::clamp(fill.opacity, 0.0, 1.0)));
    return color;
}

Qt::Alignment alignmentOf(const xls::ObjectText& text) {
    Qt::Alignment alignment = Qt::AlignLeft;
    if (text.hAlign == xls::TextHAlign::Center)
        alignment = Qt::AlignHCenter;
    else if (text.hAlign == xls::TextHAlign::Right)
        alignment = Qt::AlignRight;
    else if (text.hAlign == xls::TextHAlign::Justify || text.hAlign == xls::TextHAlign::Distributed)
        alignment = Qt::AlignJustify;
    if (text.vAlign == xls::TextVAlign::Middle)
        return alignment | Qt::AlignVCenter;
    if (text.vAlign == xls::TextVAlign::Bottom)
        return alignment | Qt::AlignBottom;
    return alignment | Qt::AlignTop;
}

bool overlaps(const xls::CellRange& a, const xls::CellRange& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstColumn <= b.lastColumn &&
           b.firstColumn <= a.lastColumn;
}

void paintBox(QPainter& painter, const xls::SheetObject& box, const QRectF& rect,
              const xls::Workbook& workbook, const CellFonts& fonts) {
    painter.setPen(linePen(box.line, workbook.palette()));
    painter.setBrush(fillBrush(box.fill, workbook.palette()));
    painter.drawRect(rect);
    if (!box.text)
        return;
    const xls::ObjectText& text = *box.text;
    const QRectF inner =
        rect.adjusted(text.marginLeft / kEmuPerPoint, text.marginTop / kEmuPerPoint,
                      -text.marginRight / kEmuPerPoint, -text.marginBottom / kEmuPerPoint);
    paintRichText(painter, inner, text.text, text.runs, 0, alignmentOf(text), workbook, fonts);
}

} // namespace

std::vector<const xls::SheetObject*> printedCommentBoxes(const xls::Sheet& sheet) {
    std::vector<const xls::SheetObject*> boxes;
    if (sheet.pageSetup().comments != xls::CommentPrinting::AsDisplayed)
        return boxes;
    for (const xls::SheetObject& object : sheet.objects()) {
        if (object.kind == xls::ObjectKind::Comment && object.note && object.note->shown)
            boxes.push_back(&object);
    }
    return boxes;
}

std::optional<xls::CellRange> commentBoxCells(const xls::Sheet& sheet) {
    std::optional<xls::CellRange> range;
    for (const xls::SheetObject* box : printedCommentBoxes(sheet))
        include(range, anchoredCells(box->anchor));
    return range;
}

void paintCommentBoxes(QPainter& painter, const xls::Workbook& workbook, const xls::Sheet& sheet,
                       const LaidOutPage& page, const SheetMetrics& metrics,
                       const CellFonts& fonts) {
    const std::vector<const xls::SheetObject*> boxes = printedCommentBoxes(sheet);
    const std::optional<xls::CellRange> own = ownCells(page);
    if (boxes.empty() || !own)
        return;
    painter.save();
    painter.setClipRect(objectArea(page), Qt::IntersectClip);
    for (const xls::SheetObject* box : boxes) {
        if (overlaps(anchoredCells(box->anchor), *own))
            paintBox(painter, *box, placeOnPage(box->anchor, page, metrics), workbook, fonts);
    }
    painter.restore();
}

} // namespace report
