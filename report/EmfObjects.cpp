#include "EmfObjects.h"

#include "EmfBitmap.h"
#include "EmfRecordType.h"
#include "EmfRecords.h"

#include <algorithm>
#include <iterator>

namespace report {

namespace {

constexpr quint32 kStockObject = 0x80000000;
constexpr quint32 kPenStyleMask = 0x0F;
constexpr quint32 kEndCapMask = 0x0F00;
constexpr quint32 kJoinMask = 0xF000;
constexpr quint32 kGeometric = 0x10000;
constexpr quint32 kNullPen = 5;
constexpr quint32 kUserStyle = 7;
constexpr quint32 kNullBrush = 1;
constexpr quint32 kHatchedBrush = 2;
constexpr qint64 kMostDashes = 16;
constexpr qint64 kFaceNameBytes = 64; // 32 UTF-16 code units

QColor colorRef(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

Qt::PenStyle penStyle(quint32 style) {
    switch (style & kPenStyleMask) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case kNullPen:
        return Qt::NoPen;
    case kUserStyle:
        return Qt::CustomDashLine;
    case 8:
        return Qt::DotLine; // every other pixel
    default:
        return Qt::SolidLine;
    }
}

// A cosmetic pen, and a pen of width 0, is one device pixel wide whatever the transform.
EmfPen pen(quint32 style, double width, QColor color, bool cosmetic) {
    EmfPen result;
    result.style = penStyle(style);
    result.width = std::max(0.0, width);
    result.cosmetic = cosmetic || width <= 0;
    result.color = color;
    const quint32 cap = style & kEndCapMask;
    result.cap = cap == 0x100 ? Qt::SquareCap : cap == 0x200 ? Qt::FlatCap : Qt::RoundCap;
    const quint32 join = style & kJoinMask;
    result.join = join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin;
    return result;
}

QBrush hatch(quint32 hatchStyle, QColor color) {
    static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                  Qt::FDiagPattern, Qt::BDiagPattern,
                                                  Qt::CrossPattern, Qt::DiagCrossPattern};
    return QBrush(color,
                  hatchStyle < std::size(kHatches) ? kHatches[hatchStyle] : Qt::SolidPattern);
}

std::optional<CreatedObject> createPen(EmfFields& f) {
    return CreatedObject{f.u32(8), pen(f.u32(12), f.i32(16), colorRef(f.u32(24)), false)};
}

std::optional<CreatedObject> extCreatePen(EmfFields& f) {
    const quint32 style = f.u32(28);
    EmfPen result = pen(style, f.u32(32), colorRef(f.u32(40)), (style & kGeometric) == 0);
    if (f.u32(36) == kNullBrush)
        result.style = Qt::NoPen;
    const qint64 entries = f.u32(48);
    if (result.style == Qt::CustomDashLine && entries > 0 && entries <= kMostDashes &&
        f.has(52, entries, 4)) {
        for (qint64 i = 0; i < entries; ++i)
            result.dashes.append(std::max<qreal>(f.u32(52 + i * 4), 1));
    }
    if (result.dashes.size() % 2 != 0 || result.dashes.isEmpty())
        result.style = result.style == Qt::CustomDashLine ? Qt::SolidLine : result.style;
    return CreatedObject{f.u32(8), result};
}

std::optional<CreatedObject> createBrush(EmfFields& f) {
    const quint32 style = f.u32(12);
    const QColor color = colorRef(f.u32(16));
    EmfBrush result;
    if (style == kNullBrush)
        result.brush = Qt::NoBrush;
    else if (style == kHatchedBrush) {
        result.brush = hatch(f.u32(20), color);
        result.hatched = true;
    } else
        result.brush = QBrush(color);
    return CreatedObject{f.u32(8), result};
}

std::optional<CreatedObject> patternBrush(EmfFields& f) {
    const QImage image = emfBitmap(f, f.u32(16), f.u32(20), f.u32(24), f.u32(28));
    EmfBrush result;
    result.brush = image.isNull() ? QBrush(Qt::black) : QBrush(image);
    return CreatedObject{f.u32(8), result};
}

std::optional<CreatedObject> createFont(EmfFields& f) {
    EmfFont font;
    font.height = f.i32(12);
    font.width = f.i32(16);
    font.escapement = f.i32(20);
    font.weight = f.i32(28);
    font.italic = f.u8(32) != 0;
    font.underline = f.u8(33) != 0;
    font.strikeOut = f.u8(34) != 0;
    font.charSet = f.u8(35);
    font.pitchAndFamily = f.u8(39);
    const QByteArrayView name = f.bytes(40, kFaceNameBytes);
    for (qsizetype i = 0; i + 1 < name.size(); i += 2) {
        const auto unit = char16_t(quint8(name[i]) | quint8(name[i + 1]) << 8);
        if (unit == 0)
            break;
        font.face.append(QChar(unit));
    }
    return CreatedObject{f.u32(8), font};
}

// The stock objects: white, light grey, grey, dark grey, black and null brushes, white,
// black and null pens, the fonts (all the default font), and the DC brush and pen, which
// start white and black.
std::optional<EmfObject> stockObject(quint32 index) {
    static constexpr int kBrushGreys[] = {255, 192, 128, 64, 0};
    if (index < std::size(kBrushGreys)) {
        const int grey = kBrushGreys[index];
        return EmfBrush{QBrush(QColor(grey, grey, grey)), false};
    }
    switch (index) {
    case 5:
        return EmfBrush{QBrush(Qt::NoBrush), false};
    case 6:
        return pen(0, 0, Qt::white, false);
    case 7:
    case 19:
        return pen(0, 0, Qt::black, false);
    case 8:
        return pen(kNullPen, 0, Qt::black, false);
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        return EmfFont{};
    case 18:
        return EmfBrush{QBrush(Qt::white), false};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<CreatedObject> createdObject(const EmfRecord& record) {
    EmfFields fields(record);
    std::optional<CreatedObject> created;
    switch (record.type) {
    case kEmfCreatePen:
        created = createPen(fields);
        break;
    case kEmfExtCreatePen:
        created = extCreatePen(fields);
        break;
    case kEmfCreateBrushIndirect:
        created = createBrush(fields);
        break;
    case kEmfCreateDibPatternBrushPt:
    case kEmfCreateMonoBrush:
        created = patternBrush(fields);
        break;
    case kEmfExtCreateFontIndirectW:
        created = createFont(fields);
        break;
    default:
        return std::nullopt;
    }
    if (!fields.ok() || (created && (created->index & kStockObject) != 0))
        return std::nullopt;
    return created;
}

void EmfObjects::create(const CreatedObject& created) {
    m_objects.insert(created.index, created.object);
}

void EmfObjects::remove(quint32 index) {
    m_objects.remove(index);
}

std::optional<EmfObject> EmfObjects::find(quint32 index) const {
    if ((index & kStockObject) != 0)
        return stockObject(index & ~kStockObject);
    const auto found = m_objects.constFind(index);
    if (found == m_objects.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace report
