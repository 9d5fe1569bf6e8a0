#include "ImDataPicture.h"

#include "RecordReader.h"

namespace xls {

namespace {

constexpr quint16 kFormatMetafile = 0x0002;
constexpr quint16 kFormatBitmap = 0x0009;
constexpr quint16 kEnvironmentWindows = 0x0001;
constexpr quint16 kEnvironmentMac = 0x0002;
constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableHeaderSize = 22;
// mm, xExt, yExt and a handle: the clipboard's metafile description that some writers keep
// before the metafile itself.
constexpr qsizetype kMetafilePictSize = 8;

quint32 littleEndian(const QByteArray& data, qsizetype at, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(data.at(at + i));
    return value;
}

// Whether a Windows metafile's own header starts at: type 1 (memory) or 2 (disk), then a
// header of 9 words.
bool metafileHeaderAt(const QByteArray& data, qsizetype at) {
    if (data.size() < at + 4)
        return false;
    const quint32 type = littleEndian(data, at, 2);
    const quint32 headerWords = littleEndian(data, at + 2, 2);
    return (type == 1 || type == 2) && headerWords == 9;
}

// The metafile itself, with no placeable or clipboard header before it; empty when none of
// the known forms is found.
QByteArray bareMetafile(const QByteArray& data) {
    if (data.size() >= 4 && littleEndian(data, 0, 4) == kPlaceableKey &&
        metafileHeaderAt(data, kPlaceableHeaderSize))
        return data.sliced(kPlaceableHeaderSize);
    if (metafileHeaderAt(data, 0))
        return data;
    if (metafileHeaderAt(data, kMetafilePictSize))
        return data.sliced(kMetafilePictSize);
    return {};
}

} // namespace

std::optional<Picture> imDataPicture(RecordReader& reader) {
    const quint16 format = reader.u16();
    const quint16 environment = reader.u16();
    const quint32 size = reader.u32();
    if (size > static_cast<quint32>(reader.remaining()))
        throw reader.corrupt(
            QStringLiteral("the picture's %1 bytes run past its records").arg(size));
    Picture picture;
    picture.data = reader.bytes(size);
    if (format == kFormatBitmap) {
        picture.format = PictureFormat::Dib;
    } else if (format == kFormatMetafile && environment == kEnvironmentWindows) {
        picture.format = PictureFormat::Wmf;
        picture.data = bareMetafile(picture.data);
    } else if (format == kFormatMetafile && environment == kEnvironmentMac) {
        picture.format = PictureFormat::Pict;
    }
    if (picture.format == PictureFormat::Unknown || picture.data.isEmpty())
        return std::nullopt;
    return picture;
}

} // namespace xls
