#pragma once

#include "GlyphRuns.h"

#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

namespace report {

class FontFace;

// A font's extent above and below the baseline, in points.
struct LineMetrics {
    double ascent = 0;
    double descent = 0;
};

// Shapes lines of text in a font into glyph runs, and measures them, from the fonts' own
// tables: text of scripts that need no shaping (Latin, kana, kanji, digits and the like) maps
// character by character to glyphs and advances, remembered per face for the run; other
// scripts go through HarfBuzz. A character the font's first family lacks comes from the first
// of its families that has it. Sizes are in points. One object serves one thread.
// Marks a run of a face without the bold or italic the font asks for, to be drawn so.
void synthesize(GlyphRun& run, const QFont& font);

class TextShaper {
public:
    TextShaper();
    ~TextShaper();
    TextShaper(const TextShaper&) = delete;
    TextShaper& operator=(const TextShaper&) = delete;

    ShapedLine shape(const QString& text, const QFont& font) const;
    double width(const QString& text, const QFont& font) const;
    // As Qt measures the font on a page, remembered per font.
    LineMetrics lineMetrics(const QFont& font) const;
    // The face of a raw font Qt chose (a glyph run of a text layout), made once.
    const FontFace& face(const QRawFont& raw) const;

private:
    struct Faces;
    const Faces& facesOf(const QFont& font) const;
    const Faces& facesByKey(const QFont& font) const;

    mutable QHash<QString, std::shared_ptr<FontFace>> m_byName;
    mutable QHash<QString, std::shared_ptr<Faces>> m_byFont;
    // The font asked for last, as a cell's neighbours mostly share it.
    mutable QFont m_lastFont;
    mutable const Faces* m_lastFaces = nullptr;
    mutable QHash<QFont, LineMetrics> m_metrics;
};

} // namespace report
