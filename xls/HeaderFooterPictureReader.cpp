#include "HeaderFooterPictureReader.h"

#include "OfficeArt.h"
#include "ReadError.h"
#include "RecordReader.h"

#include <array>
#include <optional>

namespace xls {

using officeart::ArtRecord;
using officeart::ArtRecords;

namespace {

// The future record header (record type, flags, 8 reserved bytes) before the flags.
constexpr qsizetype kFrtHeaderSize = 12;
constexpr quint16 kIsDrawing = 0x0001;
constexpr quint16 kIsDrawingGroup = 0x0002;
constexpr quint16 kContinues = 0x0004;
constexpr int kPictureId = 0x0104;
constexpr int kShapeName = 0x0380;
constexpr qsizetype kAnchorSize = 8;

std::optional<HeaderFooterPlace> placeOf(const QString& name) {
    static const std::array<std::pair<const char16_t*, HeaderFooterPlace>, 6> kPlaces = {{
        {u"LH", HeaderFooterPlace::LeftHeader},
        {u"CH", HeaderFooterPlace::CenterHeader},
        {u"RH", HeaderFooterPlace::RightHeader},
        {u"LF", HeaderFooterPlace::LeftFooter},
        {u"CF", HeaderFooterPlace::CenterFooter},
        {u"RF", HeaderFooterPlace::RightFooter},
    }};
    for (const auto& [code, place] : kPlaces)
        if (name == QStringView(code))
            return place;
    return std::nullopt; // first-page and even-page pictures among them
}

// One picture shape: its section, its size from the header-footer anchor and its picture.
void readShape(const ArtRecord& container, const QList<Picture>& store,
               QMap<HeaderFooterPlace, HeaderFooterPicture>& into) {
    officeart::ShapeProperties properties;
    QSize pixels;
    ArtRecords parts(container.data);
    ArtRecord part;
    while (parts.next(part)) {
        if (part.type == officeart::kFopt || part.type == officeart::kTertiaryFopt) {
            properties.read(part);
        } else if (part.type == officeart::kClientAnchor && part.data.size() >= kAnchorSize) {
            RecordReader reader = officeart::fieldsOf(part.data);
            const auto width = static_cast<qint32>(reader.u32());
            pixels = QSize(width, static_cast<qint32>(reader.u32()));
        }
    }
    const std::optional<HeaderFooterPlace> place = placeOf(properties.text(kShapeName));
    const quint32 pib = properties.value(kPictureId).value_or(0);
    // Pictures are numbered from 1; one the store does not hold, or that has no size, is left out.
    if (!place || pixels.isEmpty() || pib < 1 || pib > static_cast<quint32>(store.size()) ||
        store[pib - 1].format == PictureFormat::Unknown)
        return;
    into.insert(*place, HeaderFooterPicture{store[pib - 1], pixels});
}

} // namespace

void HeaderFooterPictureReader::read(const Record& record, bool drawingGroup) {
    if (record.data.size() < kFrtHeaderSize + 2)
        return;
    RecordReader reader(record);
    reader.skip(kFrtHeaderSize);
    const quint16 flags = reader.u16();
    if ((flags & (drawingGroup ? kIsDrawingGroup : kIsDrawing)) == 0)
        return;
    // A record that does not go on from the one before starts the data afresh.
    if (!m_continued)
        m_data.clear();
    m_data.append(record.data.sliced(kFrtHeaderSize + 2));
    m_continued = (flags & kContinues) != 0;
}

void HeaderFooterPictureReader::clear() {
    m_data.clear();
    m_continued = false;
}

QList<Picture> HeaderFooterPictureReader::store() const {
    return officeart::readPictureStore(m_data);
}

QMap<HeaderFooterPlace, HeaderFooterPicture>
HeaderFooterPictureReader::pictures(const QList<Picture>& store) const {
    QMap<HeaderFooterPlace, HeaderFooterPicture> pictures;
    try {
        ArtRecords top(m_data);
        ArtRecord drawing;
        if (!top.next(drawing) || drawing.type != officeart::kDgContainer)
            return pictures;
        ArtRecords parts(drawing.data);
        ArtRecord part;
        while (parts.next(part)) {
            if (part.type != officeart::kSpgrContainer)
                continue;
            ArtRecords shapes(part.data);
            ArtRecord shape;
            while (shapes.next(shape))
                if (shape.type == officeart::kSpContainer)
                    readShape(shape, store, pictures);
        }
    } catch (const ReadError&) {
        // Damaged drawing data: the pictures read before the damage stay.
    }
    return pictures;
}

} // namespace xls
