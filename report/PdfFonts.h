#pragma once

#include <QByteArray>
#include <QHash>

#include "FontFace.h"

#include <cmath>

#include <memory>
#include <vector>

namespace report {

class PdfBuffer;
class PdfDocument;

// The fonts of one PDF document: for each face used, the glyphs used and the character each
// stands for. Content streams show a glyph by a two-byte code the face gives it at its first
// use; at the end each face is embedded as a subset of those glyphs, with the widths, the
// descriptor and the map back to Unicode that make its text measurable and extractable.
class PdfFonts {
public:
    // One face in the document: its resource name and its glyphs' codes.
    class Font {
    public:
        Font(const FontFace& face, int index, int object);
        const FontFace& face() const { return m_face; }
        // The resource name, "/F" and a number.
        const QByteArray& name() const { return m_name; }
        int object() const { return m_object; }
        // The code a glyph is shown by, given at its first use with the character it stands
        // for (0 for none).
        quint16 code(quint32 glyph, char32_t character);
        // A glyph's advance in thousandths of the font size, as the widths give it.
        double width(quint32 glyph) const {
            return std::round(m_face.advance(glyph) * 1e6 / m_face.unitsPerEm()) / 1000;
        }
        void write(PdfDocument& document) const;

    private:
        quint16 addGlyph(quint32 glyph);
        QByteArray baseFont() const;
        QByteArray widths(const std::vector<quint32>& glyphOfCode) const;
        int writeDescriptor(PdfDocument& document, const QByteArray& baseFont,
                            const QByteArray& fontFile) const;
        int writeToUnicode(PdfDocument& document) const;

        const FontFace& m_face;
        QByteArray m_name;
        int m_object;
        // A CFF face keeps its glyph ids as codes, since a CFF font is indexed by code
        // itself; a TrueType face numbers its glyphs in order of first use, so the subset's
        // map from codes to glyphs stays as small as the subset.
        bool m_ownCodes;
        std::vector<quint16> m_codeOfGlyph; // 0: not used yet (glyph 0 is code 0)
        std::vector<quint32> m_glyphOfCode;
        std::vector<char32_t> m_characterOfCode;
    };

    explicit PdfFonts(PdfDocument& document);
    ~PdfFonts();
    PdfFonts(const PdfFonts&) = delete;
    PdfFonts& operator=(const PdfFonts&) = delete;

    // The document's font of a face, added at its first use.
    Font& font(const FontFace& face);
    // Embeds every face used and appends the Font entries of the resource dictionary.
    void write(PdfBuffer& resources);

private:
    PdfDocument& m_document;
    std::vector<std::unique_ptr<Font>> m_fonts;
    QHash<const FontFace*, Font*> m_byFace;
    Font* m_last = nullptr;
};

} // namespace report
