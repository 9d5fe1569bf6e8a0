#include "ShapedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace report {

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

double ShapedText::lineTop(int line) const {
    return m_layout.lineAt(line).y();
}

double ShapedText::lineBottom(int line) const {
    const QTextLine text = m_layout.lineAt(line);
    return text.y() + text.height();
}

void ShapedText::drawLines(QPainter& painter, QPointF topLeft, int first, int last) const {
    if (first > last || first < 0 || last >= lineCount())
        return;
    const QPointF origin = topLeft - QPointF(0, lineTop(first));
    const int from = m_layout.lineAt(first).textStart();
    const QTextLine end = m_layout.lineAt(last);
    const int to = end.textStart() + end.textLength();
    for (const TextPiece& piece : m_pieces) {
        const int start = std::max(piece.start, from);
        const int stop = std::min(piece.end, to);
        if (stop <= start)
            continue;
        painter.setPen(piece.color);
        for (const QGlyphRun& run : m_layout.glyphRuns(start, stop - start))
            painter.drawGlyphRun(origin - QPointF(0, piece.rise), run);
    }
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

} // namespace report
