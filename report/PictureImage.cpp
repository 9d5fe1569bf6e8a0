#include "PictureImage.h"

#include "xls/SheetObject.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace report {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12; // the OS/2 header, with 3-byte palette entries
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kBitFields = 3;
constexpr quint32 kAlphaBitFields = 6;
constexpr quint32 kMostColors = 256;

quint32 le32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}
quint16 le16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

// A DIB with the bitmap file header before it: "BM", the file's size and where its pixels
// start, after the header and the colour table. Empty when the DIB's header is damaged.
QByteArray withFileHeader(const QByteArray& dib) {
    if (dib.size() < qsizetype{kCoreHeaderSize})
        return {};
    const quint32 headerSize = le32(dib, 0);
    if (headerSize < kCoreHeaderSize || headerSize > quint32(dib.size()))
        return {};
    quint32 tableBytes = 0;
    if (headerSize == kCoreHeaderSize) {
        const quint16 bits = le16(dib, 10);
        tableBytes = bits <= 8 ? (1U << bits) * 3 : 0;
    } else {
        if (headerSize < kInfoHeaderSize)
            return {};
        const quint16 bits = le16(dib, 14);
        const quint32 compression = le32(dib, 16);
        const quint32 used = le32(dib, 32);
        if (used > kMostColors && bits <= 8)
            return {};
        const quint32 colors =
            used != 0 ? std::min(used, kMostColors) : (bits <= 8 ? 1U << bits : 0);
        tableBytes = colors * 4;
        // The colour masks follow a 40-byte header; larger headers hold them inside.
        if (headerSize == kInfoHeaderSize && compression == kBitFields)
            tableBytes += 12;
        if (headerSize == kInfoHeaderSize && compression == kAlphaBitFields)
            tableBytes += 16;
    }
    const quint32 offset = kFileHeaderSize + headerSize + tableBytes;
    QByteArray file(kFileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(kFileHeaderSize + dib.size()), file.data() + 2);
    qToLittleEndian<quint32>(offset, file.data() + 10);
    return file + dib;
}

QImage decode(const QByteArray& data, const char* format) {
    if (data.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer, format);
    // The reader refuses images that would take more memory than its allocation limit, so a
    // damaged header claiming any size costs nothing.
    return reader.read();
}

} // namespace

QImage pictureImage(const xls::Picture& picture) {
    switch (picture.format) {
    case xls::PictureFormat::Png:
        return decode(picture.data, "png");
    case xls::PictureFormat::Jpeg:
        return decode(picture.data, "jpeg");
    case xls::PictureFormat::Dib:
        return decode(withFileHeader(picture.data), "bmp");
    default:
        return {};
    }
}

} // namespace report
