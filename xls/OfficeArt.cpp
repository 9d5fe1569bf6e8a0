#include "OfficeArt.h"

#include "ReadError.h"
#include "RecordReader.h"

#include <QtEndian>

namespace xls::officeart {

namespace {

constexpr qsizetype kHeaderSize = 8;
constexpr quint16 kContainerVersion = 0x0F;
constexpr qsizetype kFbseSize = 36;
constexpr qsizetype kMetafileHeaderSize = 34;
constexpr quint8 kDeflate = 0x00;
// A metafile that claims to unpack to more than this is taken to be damaged.
constexpr quint32 kMaxMetafileSize = 64U << 20;

PictureFormat formatOf(quint16 blipType) {
    switch (blipType) {
    case 0xF01A:
        return PictureFormat::Emf;
    case 0xF01B:
        return PictureFormat::Wmf;
    case 0xF01C:
        return PictureFormat::Pict;
    case 0xF01D:
    case 0xF02A:
        return PictureFormat::Jpeg;
    case 0xF01E:
        return PictureFormat::Png;
    case 0xF01F:
        return PictureFormat::Dib;
    case 0xF029:
        return PictureFormat::Tiff;
    default:
        return PictureFormat::Unknown;
    }
}

bool isMetafile(PictureFormat format) {
    return format == PictureFormat::Emf || format == PictureFormat::Wmf ||
           format == PictureFormat::Pict;
}

void readMetafile(RecordReader& reader, Picture& picture) {
    const quint32 size = reader.u32();
    const auto left = static_cast<qint32>(reader.u32());
    const auto top = static_cast<qint32>(reader.u32());
    const auto right = static_cast<qint32>(reader.u32());
    const auto bottom = static_cast<qint32>(reader.u32());
    const auto width = static_cast<qint32>(reader.u32());
    const auto height = static_cast<qint32>(reader.u32());
    const quint32 saved = reader.u32();
    const quint8 compression = reader.u8();
    reader.u8(); // filter
    if (saved > static_cast<quint32>(reader.remaining()))
        throw damaged(QStringLiteral("a metafile is longer than its record"));
    const QByteArray stored = reader.bytes(saved);
    picture.metafileBounds = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    picture.metafileSize = QSize(width, height);
    if (compression != kDeflate) {
        picture.data = stored;
        return;
    }
    if (size > kMaxMetafileSize)
        throw damaged(QStringLiteral("a metafile claims %1 bytes").arg(size));
    // qUncompress takes the unpacked size first, big-endian, then the zlib data.
    QByteArray packed(4, Qt::Uninitialized);
    qToBigEndian(size, packed.data());
    packed.append(stored);
    picture.data = qUncompress(packed);
    if (picture.data.isEmpty())
        throw damaged(QStringLiteral("a compressed metafile cannot be unpacked"));
}

Picture pictureOf(const ArtRecord& blip) {
    Picture picture;
    const PictureFormat format = formatOf(blip.type);
    if (format == PictureFormat::Unknown)
        return picture;
    RecordReader reader = fieldsOf(blip.data);
    // One 16-byte identifier, or two when the instance is odd.
    reader.skip((blip.instance & 1) != 0 ? 32 : 16);
    if (isMetafile(format)) {
        if (reader.remaining() < kMetafileHeaderSize)
            throw damaged(QStringLiteral("a metafile header is cut off"));
        readMetafile(reader, picture);
    } else {
        reader.u8(); // tag
        picture.data = reader.bytes(reader.remaining());
    }
    picture.format = format;
    return picture;
}

// The picture an OfficeArtFBSE holds, when it holds it itself.
Picture storeEntryOf(const ArtRecord& entry) {
    if (entry.type != kFbse || entry.data.size() < kFbseSize)
        return {};
    const auto nameLength = static_cast<quint8>(entry.data[33]);
    if (kFbseSize + nameLength >= entry.data.size())
        return {}; // the picture is kept outside the store, or not at all
    ArtRecords blips(entry.data.sliced(kFbseSize + nameLength));
    ArtRecord blip;
    if (!blips.next(blip))
        return {};
    return pictureOf(blip);
}

} // namespace

ReadError damaged(const QString& what) {
    return {ReadError::Kind::Corrupt, QStringLiteral("drawing layer: %1").arg(what)};
}

RecordReader fieldsOf(QByteArrayView data) {
    return RecordReader(Record{0, 0, data});
}

bool ArtRecords::next(ArtRecord& record) {
    const qsizetype left = m_data.size() - m_position;
    if (left == 0)
        return false;
    if (left < kHeaderSize)
        throw damaged(QStringLiteral("a record header is cut off"));
    const auto* p = reinterpret_cast<const uchar*>(m_data.data() + m_position);
    const quint16 versionAndInstance = qFromLittleEndian<quint16>(p);
    record.version = versionAndInstance & 0x0F;
    record.instance = versionAndInstance >> 4;
    record.type = qFromLittleEndian<quint16>(p + 2);
    const quint32 length = qFromLittleEndian<quint32>(p + 4);
    const qsizetype available = left - kHeaderSize;
    qsizetype size = static_cast<qsizetype>(length);
    if (length > static_cast<quint64>(available)) {
        if (record.version != kContainerVersion)
            throw damaged(QStringLiteral("record 0x%1 claims %2 bytes, %3 remain")
                              .arg(record.type, 4, 16, QLatin1Char('0'))
                              .arg(length)
                              .arg(available));
        size = available;
    }
    record.data = m_data.sliced(m_position + kHeaderSize, size);
    m_position += kHeaderSize + size;
    return true;
}

void ShapeProperties::read(const ArtRecord& record) {
    const qsizetype count = record.instance;
    if (count * 6 > record.data.size())
        throw damaged(QStringLiteral("a property table is longer than its record"));
    RecordReader reader = fieldsOf(record.data);
    // Complex properties keep their data after the table, in the table's order.
    qsizetype complexAt = count * 6;
    for (qsizetype i = 0; i < count; ++i) {
        const quint16 id = reader.u16();
        const quint32 value = reader.u32();
        if ((id & 0x8000) == 0) {
            m_values.insert(id & 0x3FFF, value);
        } else if (complexAt >= 0 &&
                   value <= static_cast<quint32>(record.data.size() - complexAt)) {
            m_complex.insert(id & 0x3FFF, record.data.sliced(complexAt, value).toByteArray());
            complexAt += value;
        } else {
            complexAt = -1; // complex data past the record: the rest is not read
        }
    }
}

std::optional<quint32> ShapeProperties::value(int property) const {
    const auto found = m_values.constFind(property);
    if (found == m_values.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<bool> ShapeProperties::flag(int property, quint32 bit) const {
    const std::optional<quint32> bits = value(property);
    if (!bits || (*bits & (bit << 16)) == 0)
        return std::nullopt;
    return (*bits & bit) != 0;
}

QString ShapeProperties::text(int property) const {
    const QByteArray data = m_complex.value(property);
    QString text(data.size() / 2, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(data.constData(), text.size(), text.data());
    // The text ends at its terminating zero.
    const qsizetype end = text.indexOf(QChar(0));
    return end < 0 ? text : text.left(end);
}

ObjectColor colorOf(quint32 value) {
    const quint8 flags = value >> 24;
    constexpr quint8 kPaletteIndex = 0x01;
    constexpr quint8 kSchemeIndex = 0x08;
    constexpr quint8 kSystemIndex = 0x10;
    ObjectColor color;
    if ((flags & kSystemIndex) != 0)
        color.paletteIndex = 0x40;
    else if ((flags & (kPaletteIndex | kSchemeIndex)) != 0)
        color.paletteIndex = static_cast<int>(value & 0xFF);
    else
        color.rgb = qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    return color;
}

QList<Picture> readPictureStore(QByteArrayView drawingGroup) {
    QList<Picture> pictures;
    try {
        ArtRecords top(drawingGroup);
        ArtRecord group;
        if (!top.next(group) || group.type != kDggContainer)
            return pictures;
        ArtRecords parts(group.data);
        ArtRecord part;
        while (parts.next(part)) {
            if (part.type != kBStoreContainer)
                continue;
            ArtRecords entries(part.data);
            ArtRecord entry;
            while (entries.next(entry)) {
                try {
                    pictures.append(storeEntryOf(entry));
                } catch (const ReadError&) {
                    pictures.append(Picture{}); // this picture is lost, the others are not
                }
            }
        }
    } catch (const ReadError&) {
        // The store is damaged past this point: the pictures read so far stay.
    }
    return pictures;
}

} // namespace xls::officeart
