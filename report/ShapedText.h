#pragma once

#include "GlyphRuns.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <QTextLayout>

#include <optional>
#include <vector>

class QPaintDevice;
class QPainter;

namespace report {

class TextShaper;

// A stretch of a text in one font and colour: the characters from start up to end, raised
// (rise above 0) or lowered from the line's baseline by rise points.
struct TextPiece {
    int start = 0;
    int end = 0;
    QFont font;
    QColor color;
    double rise = 0;
};

// A text shaped once in the fonts of its pieces, for measuring and for drawing: lines broken
// at line separators only, or wrapped to a width as well. A single line in one font, colour
// and baseline, as most cells hold, is shaped by the shaper when one is given; the rest by
// Qt's text layout.
class ShapedText {
public:
    // pieces: in order, covering the whole text. alignment: of each line within the widest
    // (or within wrapWidth). wrapWidth: where lines wrap, 0 for no wrapping.
    ShapedText(const QString& text, std::vector<TextPiece> pieces, QPaintDevice* device,
               Qt::Alignment alignment = Qt::AlignLeft, double wrapWidth = 0,
               const TextShaper* shaper = nullptr);
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
    int lineCount() const { return m_line ? 1 : m_layout->lineCount(); }
    // The top and bottom of a line, from the top of the text.
    double lineTop(int line) const;
    double lineBottom(int line) const;
    // Draws the text with its top left corner at `topLeft`, in the pieces' colours: the
    // painter's pen is left in the last one.
    void draw(QPainter& painter, QPointF topLeft) const;
    // Draws lines first to last (inclusive) alone, with the top of `first` at topLeft.
    void drawLines(QPainter& painter, QPointF topLeft, int first, int last) const;

private:
    bool shapesAlone(const QString& text, double wrapWidth) const;
    void layOut(Qt::Alignment alignment, double wrapWidth);
    void drawRun(QPainter& painter, QPointF origin, const QGlyphRun& run, const QFont& font) const;

    const TextShaper* m_shaper;
    QString m_text;
    std::optional<ShapedLine> m_line;    // the line when the shaper shaped it
    std::optional<QTextLayout> m_layout; // else Qt's layout of the text
    std::vector<TextPiece> m_pieces;
    double m_width = 0;
    double m_height = 0;
    double m_ascent = 0;
    double m_descent = 0;
};

} // namespace report
