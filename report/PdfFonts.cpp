#include "PdfFonts.h"

#include "FontFace.h"
#include "PdfBuffer.h"
#include "PdfDocument.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace report {

namespace {

// Tables a font embedded for printing does without: shaping is done before the PDF is written.
constexpr hb_tag_t kDroppedTables[] = {
    HB_TAG('G', 'S', 'U', 'B'), HB_TAG('G', 'P', 'O', 'S'), HB_TAG('G', 'D', 'E', 'F'),
    HB_TAG('B', 'A', 'S', 'E'), HB_TAG('J', 'S', 'T', 'F'), HB_TAG('M', 'A', 'T', 'H'),
    HB_TAG('k', 'e', 'r', 'n'), HB_TAG('D', 'S', 'I', 'G'), HB_TAG('v', 'h', 'e', 'a'),
    HB_TAG('v', 'm', 't', 'x'), HB_TAG('V', 'O', 'R', 'G')};

// A subset of a face: its font file, and each old glyph's glyph in it.
struct Subset {
    QByteArray file;
    QHash<quint32, quint32> newGlyph;
};

Subset subsetOf(const FontFace& face, const std::vector<quint32>& glyphs, bool retainGlyphIds) {
    Subset subset;
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (input == nullptr)
        return subset;
    hb_set_t* glyphSet = hb_subset_input_glyph_set(input);
    for (const quint32 glyph : glyphs)
        hb_set_add(glyphSet, glyph);
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const hb_tag_t tag : kDroppedTables)
        hb_set_add(dropped, tag);
    hb_subset_input_set_flags(input,
                              HB_SUBSET_FLAGS_NO_HINTING |
                                  (retainGlyphIds ? unsigned{HB_SUBSET_FLAGS_RETAIN_GIDS} : 0u));
    hb_subset_plan_t* plan = hb_subset_plan_create_or_fail(face.hbFace(), input);
    hb_subset_input_destroy(input);
    if (plan == nullptr)
        return subset;
    const hb_map_t* mapping = hb_subset_plan_old_to_new_glyph_mapping(plan);
    for (const quint32 glyph : glyphs)
        subset.newGlyph.insert(glyph, hb_map_get(mapping, glyph));
    if (hb_face_t* result = hb_subset_plan_execute_or_fail(plan)) {
        hb_blob_t* blob = hb_face_reference_blob(result);
        unsigned length = 0;
        const char* data = hb_blob_get_data(blob, &length);
        subset.file = QByteArray(data, static_cast<qsizetype>(length));
        hb_blob_destroy(blob);
        hb_face_destroy(result);
    }
    hb_subset_plan_destroy(plan);
    return subset;
}

// A name as PDF names allow it: printable ASCII without delimiters.
QByteArray nameOf(const QString& text) {
    QByteArray name;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u > 32 && u < 127 && !QByteArrayView("()<>[]{}/%#").contains(static_cast<char>(u)))
            name.append(static_cast<char>(u));
    }
    return name.isEmpty() ? QByteArrayLiteral("Font") : name;
}

// Appends a character as UTF-16 hex, a surrogate pair beyond the basic plane.
void appendUtf16(PdfBuffer& out, char32_t character) {
    if (character < 0x10000) {
        out.appendHex(static_cast<quint16>(character));
        return;
    }
    const char32_t offset = character - 0x10000;
    out.appendHex(static_cast<quint16>(0xD800 + (offset >> 10)));
    out.appendHex(static_cast<quint16>(0xDC00 + (offset & 0x3FF)));
}

} // namespace

PdfFonts::Font::Font(const FontFace& face, int index, int object)
    : m_face(face)
    , m_object(object)
    , m_ownCodes(!face.isCff()) {
    m_name = "/F" + QByteArray::number(index);
    addGlyph(0);
}

quint16 PdfFonts::Font::code(quint32 glyph, char32_t character) {
    quint32 slot = glyph < m_codeOfGlyph.size() ? m_codeOfGlyph[glyph] : 0;
    if (slot == 0 && glyph != 0)
        slot = addGlyph(glyph);
    const quint16 code = m_ownCodes ? static_cast<quint16>(slot) : static_cast<quint16>(glyph);
    // The missing glyph stands for whatever character a face lacks, so it maps to none.
    char32_t& known = m_characterOfCode[slot];
    if (known == 0 && glyph != 0)
        known = character;
    return code;
}

quint16 PdfFonts::Font::addGlyph(quint32 glyph) {
    const auto slot = static_cast<quint16>(m_glyphOfCode.size());
    if (glyph >= m_codeOfGlyph.size())
        m_codeOfGlyph.resize(glyph + 256, 0);
    m_codeOfGlyph[glyph] = slot;
    m_glyphOfCode.push_back(glyph);
    m_characterOfCode.push_back(0);
    return slot;
}

QByteArray PdfFonts::Font::baseFont() const {
    // The subset's tag: six capitals that differ with the glyphs embedded.
    quint32 hash = 2166136261u;
    for (const quint32 glyph : m_glyphOfCode)
        hash = (hash ^ glyph) * 16777619u;
    QByteArray tag(6, 'A');
    for (char& letter : tag) {
        letter = static_cast<char>('A' + hash % 26);
        hash /= 26;
    }
    return tag + '+' +
           nameOf(m_face.postScriptName().isEmpty() ? m_face.familyName()
                                                    : m_face.postScriptName());
}

QByteArray PdfFonts::Font::widths(const std::vector<quint32>& glyphOfCode) const {
    std::vector<std::pair<quint32, quint32>> codes; // code, glyph
    codes.reserve(glyphOfCode.size());
    for (std::size_t slot = 0; slot < glyphOfCode.size(); ++slot)
        codes.emplace_back(m_ownCodes ? slot : glyphOfCode[slot], glyphOfCode[slot]);
    std::sort(codes.begin(), codes.end());
    PdfBuffer out;
    out << '[';
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i == 0 || codes[i].first != codes[i - 1].first + 1)
            out << (i == 0 ? "" : "] ") << static_cast<qint64>(codes[i].first) << " [";
        else
            out << ' ';
        out << width(codes[i].second);
    }
    out << "]]";
    return out.bytes();
}

int PdfFonts::Font::writeDescriptor(PdfDocument& document, const QByteArray& baseFont,
                                    const QByteArray& fontFile) const {
    const double scale = 1000.0 / m_face.unitsPerEm();
    const QRectF box = m_face.boundingBox();
    hb_position_t capHeight = m_face.ascent();
    hb_ot_metrics_get_position(m_face.hbFont(), HB_OT_METRICS_TAG_CAP_HEIGHT, &capHeight);
    const float slant = hb_style_get_value(m_face.hbFont(), HB_STYLE_TAG_SLANT_ANGLE);
    PdfBuffer out;
    // Flags: symbolic (its glyphs are not the standard Latin set), italic.
    out << "<< /Type /FontDescriptor /FontName /" << baseFont << " /Flags "
        << (4 | (m_face.isItalic() ? 64 : 0)) << " /FontBBox [";
    out.operand(std::min(box.left(), box.right()) * scale)
            .operand(std::min(box.top(), box.bottom()) * scale)
            .operand(std::max(box.left(), box.right()) * scale)
        << std::max(box.top(), box.bottom()) * scale << "] /ItalicAngle "
        << static_cast<double>(slant) << " /Ascent " << std::round(m_face.ascent() * scale)
        << " /Descent " << -std::round(m_face.descent() * scale) << " /CapHeight "
        << std::round(capHeight * scale) << " /StemV " << (m_face.isBold() ? 120 : 80);
    if (!fontFile.isEmpty()) {
        PdfBuffer dictionary;
        if (m_face.isCff())
            dictionary << " /Subtype /OpenType";
        else
            dictionary << " /Length1 " << static_cast<qint64>(fontFile.size());
        out << (m_face.isCff() ? " /FontFile3 " : " /FontFile2 ")
            << document.addStream(dictionary.bytes(), fontFile) << " 0 R";
    }
    out << " >>";
    return document.addObject(out.bytes());
}

int PdfFonts::Font::writeToUnicode(PdfDocument& document) const {
    std::vector<std::pair<quint32, char32_t>> mapped;
    for (std::size_t slot = 0; slot < m_glyphOfCode.size(); ++slot) {
        const quint32 glyph = m_glyphOfCode[slot];
        const char32_t character =
            m_characterOfCode[slot] != 0 ? m_characterOfCode[slot] : m_face.characterOf(glyph);
        if (character != 0)
            mapped.emplace_back(m_ownCodes ? slot : glyph, character);
    }
    std::sort(mapped.begin(), mapped.end());
    PdfBuffer out;
    out << "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // A block of the map holds at most 100 entries.
    for (std::size_t first = 0; first < mapped.size(); first += 100) {
        const std::size_t count = std::min<std::size_t>(100, mapped.size() - first);
        out << static_cast<qint64>(count) << " beginbfchar\n";
        for (std::size_t i = first; i < first + count; ++i) {
            out << '<';
            out.appendHex(static_cast<quint16>(mapped[i].first));
            out << "> <";
            appendUtf16(out, mapped[i].second);
            out << ">\n";
        }
        out << "endbfchar\n";
    }
    out << "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return document.addStream(QByteArray(), out.bytes());
}

void PdfFonts::Font::write(PdfDocument& document) const {
    const Subset subset = subsetOf(m_face, m_glyphOfCode, !m_ownCodes);
    const QByteArray name = baseFont();
    const int descriptor = writeDescriptor(document, name, subset.file);
    PdfBuffer cidFont;
    cidFont << "<< /Type /Font /Subtype " << (m_face.isCff() ? "/CIDFontType0" : "/CIDFontType2")
            << " /BaseFont /" << name
            << " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
            << " /FontDescriptor " << descriptor << " 0 R /W " << widths(m_glyphOfCode);
    if (m_ownCodes) {
        // Each code's glyph in the subset, two bytes a code.
        QByteArray map;
        map.reserve(static_cast<qsizetype>(m_glyphOfCode.size()) * 2);
        for (const quint32 glyph : m_glyphOfCode) {
            const quint32 newGlyph = subset.newGlyph.value(glyph, 0);
            map.append(static_cast<char>(newGlyph >> 8)).append(static_cast<char>(newGlyph & 255));
        }
        cidFont << " /CIDToGIDMap " << document.addStream(QByteArray(), map) << " 0 R";
    }
    cidFont << " >>";
    const int descendant = document.addObject(cidFont.bytes());
    const int toUnicode = writeToUnicode(document);
    PdfBuffer type0;
    type0 << "<< /Type /Font /Subtype /Type0 /BaseFont /" << name
          << " /Encoding /Identity-H /DescendantFonts [" << descendant << " 0 R] /ToUnicode "
          << toUnicode << " 0 R >>";
    document.writeObject(m_object, type0.bytes());
}

PdfFonts::PdfFonts(PdfDocument& document)
    : m_document(document) {}

PdfFonts::~PdfFonts() = default;

PdfFonts::Font& PdfFonts::font(const FontFace& face) {
    if (m_last != nullptr && &m_last->face() == &face)
        return *m_last;
    Font*& known = m_byFace[&face];
    if (known == nullptr) {
        m_fonts.push_back(std::make_unique<Font>(face, static_cast<int>(m_fonts.size()) + 1,
                                                 m_document.reserve()));
        known = m_fonts.back().get();
    }
    m_last = known;
    return *known;
}

void PdfFonts::write(PdfBuffer& resources) {
    if (m_fonts.empty())
        return;
    resources << " /Font <<";
    for (const auto& font : m_fonts) {
        font->write(m_document);
        resources << ' ' << font->name() << ' ' << font->object() << " 0 R";
    }
    resources << " >>";
}

} // namespace report
