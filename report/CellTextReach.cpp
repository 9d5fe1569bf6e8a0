#include "CellTextReach.h"

#include "CellAlignment.h"
#include "CellFonts.h"
#include "SheetMetrics.h"
#include "TextPieces.h"

#include "xls/CellText.h"
#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QImage>

#include <algorithm>

namespace report {

namespace {

constexpr int kDotsPerMeterAt72Dpi = 2835;

using xls::HorizontalAlignment;

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

} // namespace

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
    // Shaped as the placement shapes a line, so that both agree on where the text stops.
    const double width = ShapedText(text, std::move(pieces), m_device.get(), Qt::AlignLeft, 0,
                                    &m_sources.fonts.shaper())
                             .width();
    const double available = cellWidth - 2 * kCellPaddingX -
                             indentOf(format, horizontal, m_sources.metrics.maxDigitWidth());
    return reachOf(horizontal, width, std::max(0.0, available));
}

} // namespace report
