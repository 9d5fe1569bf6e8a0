#pragma once

#include <QtGlobal>

#include <vector>

namespace report {

class FontFace;

// Glyphs of one face in one size on one baseline, as text is printed: x offsets in points from
// the line's origin, and for each glyph the characters it stands for, so that the printed text
// can be searched and copied.
struct GlyphRun {
    const FontFace* face = nullptr;
    double pointSize = 0;
    std::vector<quint32> glyphs;
    std::vector<double> x;
    std::vector<char32_t> characters; // one per glyph; 0 where a glyph stands for none alone
    // Bold or italic asked of a face that has neither: drawn thicker or slanted, as Qt does.
    bool emboldened = false;
    bool slanted = false;
};

// A line of text shaped: its runs left to right and its width in points.
struct ShapedLine {
    std::vector<GlyphRun> runs;
    double width = 0;
};

} // namespace report
