#include "EmfBitmap.h"

#include "EmfRecords.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace report {

namespace {

constexpr qint64 kFileHeaderSize = 14;
constexpr qint64 kInfoHeaderSize = 40;
constexpr quint32 kUncompressed = 0;
// Larger pictures are refused, as Qt's reader refuses them.
constexpr qint64 kMostPixels = 64LL * 1024 * 1024;

QImage readBmp(QByteArrayView header, QByteArrayView bits) {
    QByteArray file(kFileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(kFileHeaderSize + header.size() + bits.size()),
                             file.data() + 2);
    qToLittleEndian<quint32>(quint32(kFileHeaderSize + header.size()), file.data() + 10);
    file.append(header.data(), header.size());
    file.append(bits.data(), bits.size());
    QBuffer buffer(&file);
    QImageReader reader(&buffer, "bmp");
    return reader.read();
}

// A 32-bit uncompressed bitmap with its alpha bytes kept; bottom-up unless its height is
// negative. Null when it is not one or its pixels are short.
QImage readArgb(QByteArrayView header, QByteArrayView bits) {
    if (header.size() < kInfoHeaderSize)
        return {};
    const auto width = qFromLittleEndian<qint32>(header.data() + 4);
    const auto height = qFromLittleEndian<qint32>(header.data() + 8);
    const auto depth = qFromLittleEndian<quint16>(header.data() + 14);
    const auto compression = qFromLittleEndian<quint32>(header.data() + 16);
    const qint64 rows = height < 0 ? -qint64{height} : height;
    if (depth != 32 || compression != kUncompressed || width <= 0 || rows == 0 ||
        qint64{width} * rows > kMostPixels || qint64{width} * rows * 4 > bits.size())
        return {};
    QImage image(width, int(rows), QImage::Format_ARGB32_Premultiplied);
    bool anyAlpha = false;
    for (qint64 row = 0; row < rows; ++row) {
        const qint64 from = (height < 0 ? row : rows - 1 - row) * width * 4;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(row)));
        for (qint32 x = 0; x < width; ++x) {
            line[x] = qFromLittleEndian<quint32>(bits.data() + from + qint64{x} * 4);
            anyAlpha = anyAlpha || qAlpha(line[x]) != 0;
        }
    }
    return anyAlpha ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage emfBitmap(EmfFields& fields, qint64 headerOffset, qint64 headerSize, qint64 bitsOffset,
                 qint64 bitsSize, bool withAlpha) {
    const QByteArrayView header = fields.bytes(headerOffset, headerSize);
    const QByteArrayView bits = fields.bytes(bitsOffset, bitsSize);
    if (!fields.ok() || header.size() < 12)
        return {};
    if (withAlpha) {
        if (QImage image = readArgb(header, bits); !image.isNull())
            return image;
    }
    return readBmp(header, bits);
}

} // namespace report
