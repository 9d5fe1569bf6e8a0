#include "ShapedText.h"

#include "GlyphPainting.h"
#include "TextShaper.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace report {

namespace {

LineMetrics lineMetricsOf(const QFont& font, QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    return {metrics.ascent(), metrics.descent()};
}

} // namespace

ShapedText::ShapedText(const QString& text, std::vector<TextPiece> pieces, QPaintDevice* device,
                       Qt::Alignment alignment, double wrapWidth, const TextShaper* shaper)
    : m_shaper(shaper)
    , m_pieces(std::move(pieces)) {
    for (const TextPiece& piece : m_pieces) {
        const LineMetrics metrics = m_shaper != nullptr ? m_shaper->lineMetrics(piece.font)
                                                        : lineMetricsOf(piece.font, device);
        m_ascent = std::max(m_ascent, metrics.ascent + piece.rise);
        m_descent = std::max(m_descent, metrics.descent - piece.rise);
    }
    if (shapesAlone(text, wrapWidth)) {
        m_text = text;
        m_line = m_shaper->shape(text, m_pieces.front().font);
        m_width = m_line->width;
        m_height = m_ascent + m_descent;
        return;
    }
    m_layout.emplace(text, m_pieces.empty() ? QFont() : m_pieces.front().font, device);
    layOut(alignment, wrapWidth);
}

bool ShapedText::shapesAlone(const QString& text, double wrapWidth) const {
    if (m_shaper == nullptr || wrapWidth > 0 || m_pieces.empty())
        return false;
    const TextPiece& first = m_pieces.front();
    const bool plain = std::all_of(m_pieces.begin(), m_pieces.end(), [&](const TextPiece& piece) {
        return piece.rise == 0 && piece.color == first.color && piece.font == first.font;
    });
    return plain && !text.contains(QChar::LineSeparator) && !text.contains(QLatin1Char('\n'));
}

void ShapedText::layOut(Qt::Alignment alignment, double wrapWidth) {
    QTextLayout& layout = *m_layout;
    QList<QTextLayout::FormatRange> formats;
    for (const TextPiece& piece : m_pieces) {
        if (piece.font != m_pieces.front().font) {
            QTextLayout::FormatRange range{piece.start, piece.end - piece.start, {}};
            range.format.setFont(piece.font);
            formats.append(range);
        }
    }
    layout.setFormats(formats);
    QTextOption option(wrapWidth > 0 ? alignment : Qt::AlignLeft);
    // A word longer than the line breaks where it reaches the edge, as the spreadsheet's do.
    option.setWrapMode(wrapWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                     : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (wrapWidth > 0)
            line.setLineWidth(wrapWidth);
    }
    layout.endLayout();
    for (int i = 0; i < layout.lineCount(); ++i)
        m_width = std::max(m_width, layout.lineAt(i).naturalTextWidth());
    // Unwrapped lines are aligned within the widest one here, as they have no width.
    const double share = wrapWidth > 0                    ? 0.0
                         : (alignment & Qt::AlignRight)   ? 1.0
                         : (alignment & Qt::AlignHCenter) ? 0.5
                                                          : 0.0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        QTextLine line = layout.lineAt(i);
        line.setPosition({(m_width - line.naturalTextWidth()) * share, m_height});
        m_height += line.height();
    }
}

double ShapedText::xAt(int position) const {
    if (m_line)
        return m_shaper->width(m_text.left(position), m_pieces.front().font);
    if (m_layout->lineCount() == 0)
        return 0;
    const QTextLine line = m_layout->lineAt(0);
    return line.x() + line.cursorToX(position);
}

double ShapedText::baselineOffset() const {
    if (m_line)
        return m_ascent;
    return m_layout->lineCount() > 0 ? m_layout->lineAt(0).ascent() : 0.0;
}

double ShapedText::lineTop(int line) const {
    return m_line ? 0.0 : m_layout->lineAt(line).y();
}

double ShapedText::lineBottom(int line) const {
    if (m_line)
        return m_height;
    const QTextLine text = m_layout->lineAt(line);
    return text.y() + text.height();
}

void ShapedText::drawLines(QPainter& painter, QPointF topLeft, int first, int last) const {
    if (first > last || first < 0 || last >= lineCount())
        return;
    if (m_line) {
        draw(painter, topLeft);
        return;
    }
    const QPointF origin = topLeft - QPointF(0, lineTop(first));
    const int from = m_layout->lineAt(first).textStart();
    const QTextLine end = m_layout->lineAt(last);
    const int to = end.textStart() + end.textLength();
    for (const TextPiece& piece : m_pieces) {
        const int start = std::max(piece.start, from);
        const int stop = std::min(piece.end, to);
        if (stop <= start)
            continue;
        painter.setPen(piece.color);
        for (const QGlyphRun& run : m_layout->glyphRuns(start, stop - start))
            drawRun(painter, origin - QPointF(0, piece.rise), run, piece.font);
    }
}

void ShapedText::drawRun(QPainter& painter, QPointF origin, const QGlyphRun& run,
                         const QFont& font) const {
    if (m_shaper != nullptr)
        drawGlyphRun(painter, origin, run, font, *m_shaper);
    else
        painter.drawGlyphRun(origin, run);
}

void ShapedText::draw(QPainter& painter, QPointF topLeft) const {
    if (m_pieces.empty())
        return;
    if (m_line) {
        painter.setPen(m_pieces.front().color);
        drawShapedLine(painter, topLeft + QPointF(0, m_ascent), *m_line);
        return;
    }
    // Text on one baseline in one colour, as most is, is drawn whole: much quicker.
    const bool plain = std::all_of(m_pieces.begin(), m_pieces.end(), [&](const TextPiece& piece) {
        return piece.rise == 0 && piece.color == m_pieces.front().color;
    });
    if (plain) {
        painter.setPen(m_pieces.front().color);
        m_layout->draw(&painter, topLeft);
        return;
    }
    for (const TextPiece& piece : m_pieces) {
        painter.setPen(piece.color);
        for (const QGlyphRun& run : m_layout->glyphRuns(piece.start, piece.end - piece.start))
            drawRun(painter, topLeft - QPointF(0, piece.rise), run, piece.font);
    }
}

} // namespace report
