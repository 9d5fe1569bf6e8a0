#pragma once

#include <QRawFont>
#include <QRectF>
#include <QString>

#include <array>
#include <memory>
#include <vector>

struct hb_face_t;
struct hb_font_t;

namespace report {

// One installed font face as the report reads it: its tables through HarfBuzz, its character
// map and advances in font units, each looked up once and remembered. Text is measured,
// shaped and embedded from the same tables, so what is measured is what is printed. One
// object serves one thread.
class FontFace {
public:
    explicit FontFace(const QRawFont& raw);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // The face as Qt knows it, at an arbitrary size.
    const QRawFont& rawFont() const { return m_raw; }
    hb_face_t* hbFace() const { return m_face; }
    // A HarfBuzz font of the face scaled to font units, for shaping.
    hb_font_t* hbFont() const { return m_font; }

    QString familyName() const { return m_raw.familyName(); }
    QString postScriptName() const { return m_postScriptName; }
    int unitsPerEm() const { return m_unitsPerEm; }
    // Font units, ascent up and descent down, both positive as fonts give them.
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }
    // The glyphs' bounding box in font units, y up.
    QRectF boundingBox() const { return m_box; }
    // True when the outlines are CFF (PostScript) rather than TrueType.
    bool isCff() const { return m_cff; }
    // The face's own style, as its header gives it: Qt may have been asked for, and report,
    // a style it only imitates.
    bool isBold() const { return m_bold; }
    bool isItalic() const { return m_italic; }

    // The glyph of a character, 0 (the missing glyph) when the face has none.
    quint32 glyph(char32_t character) const;
    // The advance of a glyph in font units.
    int advance(quint32 glyph) const;
    // The lowest character the face maps to a glyph, 0 when none does: for glyphs placed by
    // Qt's text layout, which do not say what they stand for.
    char32_t characterOf(quint32 glyph) const;

private:
    QRawFont m_raw;
    hb_face_t* m_face = nullptr;
    hb_font_t* m_font = nullptr;
    QString m_postScriptName;
    int m_unitsPerEm = 1000;
    int m_ascent = 0;
    int m_descent = 0;
    QRectF m_box;
    bool m_cff = false;
    bool m_bold = false;
    bool m_italic = false;
    // Lazily filled pages of 256 characters and of 256 glyphs; -1 marks not yet looked up.
    mutable std::vector<std::unique_ptr<std::array<qint32, 256>>> m_glyphPages;
    mutable std::vector<std::unique_ptr<std::array<qint32, 256>>> m_advancePages;
    mutable std::vector<char32_t> m_characterOfGlyph; // filled at the first question
};

} // namespace report
