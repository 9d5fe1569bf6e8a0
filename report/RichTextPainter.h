#pragma once

#include "xls/RichText.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTextLayout>

class QPaintDevice;
class QPainter;

namespace xls {
class Workbook;
}

namespace report {

class CellFonts;
class PrintOptions;

// A text's runs as the layout's format ranges over its first length characters: each run's
// font from CellFonts, its colour from the workbook's palette (black when automatic) as the
// sheet's options print it.
// Characters before the first run are in baseFontIndex's font; runs out of order or past the
// end are dropped.
QList<QTextLayout::FormatRange> runFormats(qsizetype length, const QList<xls::TextRun>& runs,
                                           int baseFontIndex, const xls::Workbook& workbook,
                                           const CellFonts& fonts, const PrintOptions& options);

// A text in the fonts and colours of its runs, broken into lines at a width: each run's font
// from CellFonts, its colour from the workbook's palette (black when automatic). Characters
// before the first run are in baseFontIndex's font. A line feed starts a new line. Sizes are
// in the device's pixels; on the 72 dots-per-inch devices the report paints on, in points.
class RichTextLayout {
public:
    RichTextLayout(const QString& text, const QList<xls::TextRun>& runs, int baseFontIndex,
                   const xls::Workbook& workbook, const CellFonts& fonts,
                   const PrintOptions& options, QPaintDevice* device);
    RichTextLayout(const RichTextLayout&) = delete;
    RichTextLayout& operator=(const RichTextLayout&) = delete;

    // Breaks the text into lines no wider than width (a word longer than that is broken
    // where it must) and places each line along that width as alignment says.
    void wrap(double width, Qt::Alignment alignment);
    int lineCount() const { return m_layout.lineCount(); }
    // The top and bottom of a line, from the top of the first line.
    double lineTop(int line) const;
    double lineBottom(int line) const;
    double height() const { return lineCount() == 0 ? 0 : lineBottom(lineCount() - 1); }
    // Draws lines first to last (inclusive) with the top of `first` at topLeft.
    void draw(QPainter& painter, QPointF topLeft, int first, int last) const;

private:
    QTextLayout m_layout;
};

} // namespace report
