#include "EmfText.h"

#include "EmfDeviceContext.h"
#include "EmfRecords.h"
#include "FontMapper.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringDecoder>

#include <cmath>
#include <numeric>

namespace report {

namespace {

constexpr quint32 kOpaque = 0x2;
constexpr quint32 kClipped = 0x4;
constexpr quint32 kGlyphIndex = 0x10;
constexpr quint32 kNoRectangle = 0x100;
constexpr quint32 kPairedAdvances = 0x2000; // ETO_PDY: an x and a y advance per character
constexpr quint32 kAlignCentre = 6;
constexpr quint32 kAlignRight = 2;
constexpr quint32 kVerticalMask = 0x18;
constexpr quint32 kAlignBottom = 0x8;
constexpr quint32 kAlignBaseline = 0x18;
// Text is laid out in a font of this many pixels and scaled to its size.
constexpr int kLayoutPixels = 128;
// Glyphs are drawn between these sizes in the painter's device pixels, and no more than this
// much wider than high or the other way round.
constexpr double kSmallestGlyph = 0.01;
constexpr double kLargestGlyph = 32768;
constexpr double kMostStretch = 1000;
// A font of height 0 is this many device pixels high.
constexpr double kDefaultPixels = 12;

const char* codecOf(int charSet) {
    switch (charSet) {
    case 128:
        return "Shift_JIS";
    case 129:
        return "windows-949";
    case 134:
        return "GBK";
    case 136:
        return "Big5";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 186:
        return "windows-1257";
    case 204:
        return "windows-1251";
    case 222:
        return "windows-874";
    case 238:
        return "windows-1250";
    default:
        return "windows-1252";
    }
}

// Wide text: one character per code unit, a surrogate pair joined with both its advances.
void readWide(EmfFields& f, qint64 at, qint64 count, const QList<double>& dx, EmfTextRun& run) {
    for (qint64 i = 0; i < count; ++i) {
        QString character(QChar(char16_t(f.u16(at + i * 2))));
        double advance = dx.isEmpty() ? 0 : dx[i];
        if (character[0].isHighSurrogate() && i + 1 < count) {
            ++i;
            character.append(QChar(char16_t(f.u16(at + i * 2))));
            advance += dx.isEmpty() ? 0 : dx[i];
        }
        run.characters.append(character);
        run.advances.append(advance);
    }
}

// Narrow text: the bytes of a double-byte character share one character, and their advances.
void readNarrow(EmfFields& f, qint64 at, qint64 count, const QList<double>& dx, int charSet,
                EmfTextRun& run) {
    QStringDecoder decoder(codecOf(charSet));
    double advance = 0;
    for (qint64 i = 0; i < count; ++i) {
        const char byte = char(f.u8(at + i));
        advance += dx.isEmpty() ? 0 : dx[i];
        const QString character = decoder.decode(QByteArrayView(&byte, 1));
        if (character.isEmpty())
            continue;
        run.characters.append(character);
        run.advances.append(advance);
        advance = 0;
    }
}

// Whether glyphs laid out at kLayoutPixels come out, through the transform, at a size the
// font engine renders: neither vanishing nor beyond any page, nor squeezed flat. (Qt's
// FreeType engine fails on glyphs far outside these, and then reads a null bitmap.)
bool drawable(const QTransform& glyphs) {
    const double across = std::hypot(glyphs.m11(), glyphs.m12()) * kLayoutPixels;
    const double down = std::hypot(glyphs.m21(), glyphs.m22()) * kLayoutPixels;
    return std::isfinite(across + down + glyphs.dx() + glyphs.dy()) && across >= kSmallestGlyph &&
           down >= kSmallestGlyph && across <= kLargestGlyph && down <= kLargestGlyph &&
           across <= down * kMostStretch && down <= across * kMostStretch;
}

} // namespace

std::optional<EmfTextRun> emfTextRun(const EmfRecord& record, bool wide, int charSet) {
    EmfFields f(record);
    EmfTextRun run;
    run.reference = f.pointL(36);
    const qint64 count = f.u32(44);
    const qint64 stringAt = f.u32(48);
    run.options = f.u32(52);
    const bool hasRectangle = (run.options & kNoRectangle) == 0;
    if (hasRectangle)
        run.rectangle = f.rectL(56);
    const qint64 dxAt = f.u32(hasRectangle ? 72 : 56);
    if ((run.options & kGlyphIndex) != 0 || !f.has(stringAt, count, wide ? 2 : 1))
        return std::nullopt;
    const qint64 step = (run.options & kPairedAdvances) != 0 ? 8 : 4;
    QList<double> dx;
    if (dxAt != 0 && f.has(dxAt, count, step)) {
        for (qint64 i = 0; i < count; ++i)
            dx.append(f.i32(dxAt + i * step));
    }
    if (wide)
        readWide(f, stringAt, count, dx, run);
    else
        readNarrow(f, stringAt, count, dx, charSet, run);
    if (dx.isEmpty())
        run.advances.clear();
    if (!f.ok())
        return std::nullopt;
    return run;
}

double EmfTextPainter::paint(QPainter& painter, const EmfDeviceContext& dc,
                             const QTransform& toDevice, const QTransform& deviceToTarget,
                             const EmfTextRun& run) const {
    const EmfFont& lf = dc.font;
    QFont font = m_fonts.font(lf.face, 10, lf.weight >= 600, lf.italic);
    font.setFamilies(m_fonts.families(lf.face, lf.pitchAndFamily >> 4, lf.charSet));
    font.setPixelSize(kLayoutPixels);
    font.setUnderline(lf.underline);
    font.setStrikeOut(lf.strikeOut);
    const QFontMetricsF metrics(font, painter.device());
    const double devicePerLogical = std::sqrt(std::abs(toDevice.determinant()));
    if (!(devicePerLogical > 0) || !std::isfinite(devicePerLogical))
        return 0;
    double em = lf.height < 0   ? -double(lf.height)
                : lf.height > 0 ? lf.height * kLayoutPixels / metrics.height()
                                : kDefaultPixels / devicePerLogical;
    const double scale = em / kLayoutPixels;
    const double stretch = lf.width > 0 ? lf.width / (metrics.averageCharWidth() * scale) : 1.0;
    const QString text = run.characters.join(QString());
    const double width = run.advances.isEmpty()
                             ? metrics.horizontalAdvance(text) * scale * stretch
                             : std::accumulate(run.advances.begin(), run.advances.end(), 0.0);

    const QTransform logicalToTarget = toDevice * deviceToTarget;
    painter.setTransform(logicalToTarget);
    if ((run.options & kOpaque) != 0 && run.rectangle.isValid())
        painter.fillRect(run.rectangle.normalized(), dc.backgroundColor);
    if ((run.options & kClipped) != 0)
        painter.setClipRect(run.rectangle.normalized(), Qt::IntersectClip);

    // The baseline's own space: x along the baseline, turned by the escapement, upright.
    const QTransform upright =
        toDevice.determinant() < 0 ? QTransform::fromScale(1, -1) : QTransform();
    const QTransform baseline = QTransform().rotate(-lf.escapement / 10.0) * upright *
                                QTransform::fromTranslate(run.reference.x(), run.reference.y()) *
                                logicalToTarget;
    const quint32 horizontal = dc.textAlign & kAlignCentre;
    const double left = horizontal == kAlignCentre  ? -width / 2
                        : horizontal == kAlignRight ? -width
                                                    : 0;
    const quint32 vertical = dc.textAlign & kVerticalMask;
    const double base = vertical == kAlignBaseline ? 0
                        : vertical == kAlignBottom ? -metrics.descent() * scale
                                                   : metrics.ascent() * scale;
    if (dc.opaqueBackground) {
        painter.setTransform(baseline);
        painter.fillRect(
            QRectF(left, base - metrics.ascent() * scale, width, metrics.height() * scale),
            dc.backgroundColor);
    }
    painter.setFont(font);
    painter.setPen(dc.textColor);
    const auto draw = [&](double x, const QString& piece) {
        const QTransform glyphs = QTransform::fromScale(scale * stretch, scale) *
                                  QTransform::fromTranslate(x, base) * baseline;
        if (!drawable(glyphs))
            return;
        painter.setTransform(glyphs);
        painter.drawText(QPointF(0, 0), piece);
    };
    if (run.advances.isEmpty()) {
        draw(left, text);
        return width;
    }
    double x = left;
    for (qsizetype i = 0; i < run.characters.size(); ++i) {
        draw(x, run.characters[i]);
        x += run.advances[i];
    }
    return width;
}

} // namespace report
