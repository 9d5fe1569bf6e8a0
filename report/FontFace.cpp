#include "FontFace.h"

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb.h>

#include <QtEndian>

namespace report {

namespace {

// The tables a face is rebuilt from: what measuring, shaping and embedding read. Qt hands out
// a face's tables one by one, whatever file or collection it came from.
constexpr const char* kTables[] = {"cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post",
                                   "glyf", "loca", "cvt ", "fpgm", "prep", "gasp", "CFF ", "CFF2",
                                   "vhea", "vmtx", "GDEF", "GSUB", "GPOS", "kern"};

hb_tag_t tagOf(const char* name) {
    return HB_TAG(name[0], name[1], name[2], name[3]);
}

// The face read straight from its file, which the system maps rather than copies: the file
// fontconfig gives for the family and style Qt chose, when it holds the same face. Null
// when it cannot be told.
hb_face_t* faceFromFile(const QRawFont& raw) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(raw.familyName().toUtf8().constData()));
    FcPatternAddString(pattern, FC_STYLE,
                       reinterpret_cast<const FcChar8*>(raw.styleName().toUtf8().constData()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    hb_face_t* face = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(reinterpret_cast<const char*>(file));
        if (blob != nullptr) {
            face = hb_face_create(blob, static_cast<unsigned>(index));
            hb_blob_destroy(blob);
        }
    }
    FcPatternDestroy(match);
    return face;
}

// Whether face is the one Qt reads: the same glyph count and header.
bool isSameFace(hb_face_t* face, const QRawFont& raw) {
    for (const char* name : {"maxp", "head"}) {
        hb_blob_t* blob = hb_face_reference_table(face, tagOf(name));
        unsigned size = 0;
        const char* data = hb_blob_get_data(blob, &size);
        const QByteArray theirs = raw.fontTable(name);
        const bool same = !theirs.isEmpty() && QByteArrayView(data, size) == theirs;
        hb_blob_destroy(blob);
        if (!same)
            return false;
    }
    return true;
}

hb_face_t* rebuiltFace(const QRawFont& raw) {
    hb_face_t* builder = hb_face_builder_create();
    for (const char* name : kTables) {
        auto* table = new QByteArray(raw.fontTable(name));
        if (table->isEmpty()) {
            delete table;
            continue;
        }
        hb_blob_t* blob = hb_blob_create(table->constData(), static_cast<unsigned>(table->size()),
                                         HB_MEMORY_MODE_READONLY, table,
                                         [](void* held) { delete static_cast<QByteArray*>(held); });
        hb_face_builder_add_table(builder, tagOf(name), blob);
        hb_blob_destroy(blob);
    }
    hb_blob_t* font = hb_face_reference_blob(builder);
    hb_face_destroy(builder);
    hb_face_t* face = hb_face_create(font, 0);
    hb_blob_destroy(font);
    return face;
}

hb_face_t* faceOf(const QRawFont& raw) {
    hb_face_t* face = faceFromFile(raw);
    if (face != nullptr && isSameFace(face, raw))
        return face;
    hb_face_destroy(face);
    return rebuiltFace(raw);
}

QString postScriptNameOf(hb_face_t* face, const QRawFont& raw) {
    char name[128];
    unsigned size = sizeof name;
    hb_ot_name_get_utf8(face, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, name);
    QString result = QString::fromUtf8(name, size);
    if (result.isEmpty())
        result = raw.familyName() + raw.styleName();
    result.remove(QLatin1Char(' '));
    return result;
}

// head's xMin, yMin, xMax and yMax, 16-bit signed at byte 36.
QRectF boxOf(const QByteArray& head) {
    if (head.size() < 44)
        return {};
    const auto at = [&](int offset) {
        return static_cast<double>(qFromBigEndian<qint16>(head.constData() + offset));
    };
    return QRectF(QPointF(at(36), at(38)), QPointF(at(40), at(42)));
}

template <typename Lookup>
qint32 remembered(std::vector<std::unique_ptr<std::array<qint32, 256>>>& pages, quint32 key,
                  Lookup lookup) {
    const quint32 page = key >> 8;
    if (page >= pages.size())
        pages.resize(page + 1);
    auto& entries = pages[page];
    if (!entries) {
        entries = std::make_unique<std::array<qint32, 256>>();
        entries->fill(-1);
    }
    qint32& entry = (*entries)[key & 0xFF];
    if (entry < 0)
        entry = lookup();
    return entry;
}

} // namespace

FontFace::FontFace(const QRawFont& raw)
    : m_raw(raw)
    , m_face(faceOf(raw)) {
    m_font = hb_font_create(m_face);
    m_unitsPerEm = static_cast<int>(hb_face_get_upem(m_face));
    hb_font_set_scale(m_font, m_unitsPerEm, m_unitsPerEm);
    hb_font_extents_t extents{};
    hb_font_get_h_extents(m_font, &extents);
    m_ascent = extents.ascender;
    m_descent = -extents.descender;
    m_postScriptName = postScriptNameOf(m_face, raw);
    const QByteArray head = raw.fontTable("head");
    m_box = boxOf(head);
    // head's macStyle, at byte 44: bit 0 bold, bit 1 italic.
    const int style = head.size() >= 46 ? qFromBigEndian<quint16>(head.constData() + 44) : 0;
    m_bold = (style & 1) != 0;
    m_italic = (style & 2) != 0;
    hb_blob_t* cff = hb_face_reference_table(m_face, tagOf("CFF "));
    m_cff = hb_blob_get_length(cff) > 0;
    hb_blob_destroy(cff);
}

FontFace::~FontFace() {
    hb_font_destroy(m_font);
    hb_face_destroy(m_face);
}

quint32 FontFace::glyph(char32_t character) const {
    // Characters beyond the planes in use are looked up each time rather than paged.
    if (character > 0x3FFFF) {
        hb_codepoint_t found = 0;
        return hb_font_get_nominal_glyph(m_font, character, &found) ? found : 0;
    }
    return static_cast<quint32>(remembered(m_glyphPages, character, [&] {
        hb_codepoint_t found = 0;
        return hb_font_get_nominal_glyph(m_font, character, &found) ? static_cast<qint32>(found)
                                                                    : 0;
    }));
}

int FontFace::advance(quint32 glyph) const {
    if (glyph > 0xFFFF)
        return 0;
    return remembered(m_advancePages, glyph, [&] {
        return static_cast<qint32>(hb_font_get_glyph_h_advance(m_font, glyph));
    });
}

char32_t FontFace::characterOf(quint32 glyph) const {
    if (m_characterOfGlyph.empty()) {
        m_characterOfGlyph.assign(hb_face_get_glyph_count(m_face), 0);
        hb_set_t* characters = hb_set_create();
        hb_face_collect_unicodes(m_face, characters);
        // Ascending: the first character found for a glyph is its lowest.
        for (hb_codepoint_t c = HB_SET_VALUE_INVALID; hb_set_next(characters, &c);) {
            hb_codepoint_t found = 0;
            if (hb_font_get_nominal_glyph(m_font, c, &found) && found < m_characterOfGlyph.size() &&
                m_characterOfGlyph[found] == 0)
                m_characterOfGlyph[found] = c;
        }
        hb_set_destroy(characters);
    }
    return glyph < m_characterOfGlyph.size() ? m_characterOfGlyph[glyph] : 0;
}

} // namespace report
