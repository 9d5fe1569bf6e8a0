#include "TextShaper.h"

#include "FontFace.h"

#include <hb.h>

#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>

namespace report {

struct TextShaper::Faces {
    std::vector<const FontFace*> list; // the font's families in order; never empty
};

namespace {

// Scripts whose characters print as their glyphs one after another, without reordering,
// joining or marks placed over others.
bool needsShaping(char32_t character) {
    switch (QChar::script(character)) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Hangul:
    case QChar::Script_Bopomofo:
        return false;
    default:
        return true;
    }
}

double pointSizeOf(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() : static_cast<double>(font.pixelSize());
}

// A face Qt makes bolder or slanted itself is the same face.
QString faceKey(const QRawFont& raw) {
    return raw.familyName() + QLatin1Char('\n') + raw.styleName();
}

// The first face that has the character, else the first.
const FontFace* faceFor(const std::vector<const FontFace*>& faces, char32_t character) {
    for (const FontFace* face : faces) {
        if (face->glyph(character) != 0)
            return face;
    }
    return faces.front();
}

GlyphRun& runFor(ShapedLine& line, const FontFace* face, double pointSize, qsizetype glyphs) {
    if (line.runs.empty() || line.runs.back().face != face) {
        line.runs.push_back({face, pointSize, {}, {}, {}});
        GlyphRun& run = line.runs.back();
        run.glyphs.reserve(static_cast<size_t>(glyphs));
        run.x.reserve(static_cast<size_t>(glyphs));
        run.characters.reserve(static_cast<size_t>(glyphs));
    }
    return line.runs.back();
}

// Calls visit with each character of text, surrogate pairs joined.
template <typename Visit> void forEachCharacter(const QString& text, Visit visit) {
    const QChar* units = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (units[i].isHighSurrogate() && i + 1 < size && units[i + 1].isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(units[i], units[i + 1]));
            ++i;
        } else {
            visit(char32_t{units[i].unicode()});
        }
    }
}

bool anyNeedsShaping(const QString& text) {
    bool needed = false;
    forEachCharacter(text, [&](char32_t character) {
        needed = needed || (character >= 0x80 && needsShaping(character));
    });
    return needed;
}

// Character by character: each maps to its glyph and advance.
void placeGlyphs(const QString& text, const std::vector<const FontFace*>& faces, double pointSize,
                 ShapedLine& line) {
    forEachCharacter(text, [&](char32_t character) {
        if (character < 0x20)
            return;
        const FontFace* face = faceFor(faces, character);
        GlyphRun& run = runFor(line, face, pointSize, text.size());
        const quint32 glyph = face->glyph(character);
        run.glyphs.push_back(glyph);
        run.x.push_back(line.width);
        run.characters.push_back(character);
        line.width += face->advance(glyph) * pointSize / face->unitsPerEm();
    });
}

// Characters from..to of text in one face, through HarfBuzz.
void shapeSegment(const QList<uint>& text, qsizetype from, qsizetype to, const FontFace* face,
                  double pointSize, ShapedLine& line) {
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf32(buffer, text.constData(), static_cast<int>(text.size()),
                        static_cast<unsigned>(from), static_cast<int>(to - from));
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(face->hbFont(), buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    const double scale = pointSize / face->unitsPerEm();
    GlyphRun& run = runFor(line, face, pointSize, count);
    for (unsigned i = 0; i < count; ++i) {
        const bool startsCluster = i == 0 || infos[i].cluster != infos[i - 1].cluster;
        run.glyphs.push_back(infos[i].codepoint);
        run.x.push_back(line.width + positions[i].x_offset * scale);
        run.characters.push_back(startsCluster ? text[infos[i].cluster] : 0);
        line.width += positions[i].x_advance * scale;
    }
    hb_buffer_destroy(buffer);
}

// Text that needs shaping: cut where the face changes, each stretch shaped whole.
void shapeGlyphs(const QList<uint>& text, const std::vector<const FontFace*>& faces,
                 double pointSize, ShapedLine& line) {
    qsizetype start = 0;
    while (start < text.size()) {
        const FontFace* face = faceFor(faces, text[start]);
        qsizetype end = start + 1;
        while (end < text.size() && (text[end] < 0x20 || faceFor(faces, text[end]) == face))
            ++end;
        shapeSegment(text, start, end, face, pointSize, line);
        start = end;
    }
}

} // namespace

void synthesize(GlyphRun& run, const QFont& font) {
    run.emboldened = font.bold() && !run.face->isBold();
    run.slanted = font.italic() && !run.face->isItalic();
}

TextShaper::TextShaper() = default;
TextShaper::~TextShaper() = default;

const FontFace& TextShaper::face(const QRawFont& raw) const {
    const QString key = faceKey(raw);
    auto found = m_byName.constFind(key);
    if (found == m_byName.constEnd())
        found = m_byName.insert(key, std::make_shared<FontFace>(raw));
    return **found;
}

const TextShaper::Faces& TextShaper::facesOf(const QFont& font) const {
    if (m_lastFaces != nullptr && font == m_lastFont)
        return *m_lastFaces;
    m_lastFont = font;
    m_lastFaces = &facesByKey(font);
    return *m_lastFaces;
}

const TextShaper::Faces& TextShaper::facesByKey(const QFont& font) const {
    const QStringList families =
        font.families().isEmpty() ? QStringList{font.family()} : font.families();
    const QString key = families.join(QLatin1Char('\n')) + QLatin1Char('\n') +
                        QString::number(font.weight()) + QLatin1Char(font.italic() ? 'i' : 'r');
    auto found = m_byFont.constFind(key);
    if (found != m_byFont.constEnd())
        return **found;
    auto faces = std::make_shared<Faces>();
    for (const QString& family : families) {
        QFont single(font);
        single.setFamilies({family});
        const QRawFont raw = QRawFont::fromFont(single);
        if (raw.isValid())
            faces->list.push_back(&face(raw));
    }
    if (faces->list.empty())
        faces->list.push_back(&face(QRawFont::fromFont(font)));
    return **m_byFont.insert(key, faces);
}

ShapedLine TextShaper::shape(const QString& text, const QFont& font) const {
    ShapedLine line;
    const std::vector<const FontFace*>& faces = facesOf(font).list;
    const double size = pointSizeOf(font);
    if (anyNeedsShaping(text))
        shapeGlyphs(text.toUcs4(), faces, size, line);
    else
        placeGlyphs(text, faces, size, line);
    for (GlyphRun& run : line.runs)
        synthesize(run, font);
    return line;
}

LineMetrics TextShaper::lineMetrics(const QFont& font) const {
    auto found = m_metrics.constFind(font);
    if (found != m_metrics.constEnd())
        return *found;
    // A page's dots per inch: a pixel is a point.
    QImage page(1, 1, QImage::Format_RGB32);
    page.setDotsPerMeterX(2835);
    page.setDotsPerMeterY(2835);
    const QFontMetricsF metrics(font, &page);
    return *m_metrics.insert(font, {metrics.ascent(), metrics.descent()});
}

double TextShaper::width(const QString& text, const QFont& font) const {
    return shape(text, font).width;
}

} // namespace report
