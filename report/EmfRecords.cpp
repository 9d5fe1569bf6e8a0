#include "EmfRecords.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace report {

namespace {

constexpr quint32 kHeaderType = 1;
constexpr quint32 kEndOfFileType = 14;
constexpr quint32 kSignature = 0x464D4520; // " EMF"
constexpr qint64 kRecordHeaderSize = 8;
constexpr qint64 kSmallestHeader = 88; // up to and including the reference device's size

} // namespace

bool EmfFields::has(qint64 at, qint64 count, qint64 size) {
    const qint64 length = m_bytes.size();
    const bool fits =
        at >= 0 && count >= 0 && size > 0 && at <= length && count <= (length - at) / size;
    m_ok = m_ok && fits;
    return fits;
}

quint8 EmfFields::u8(qint64 at) {
    return has(at, 1) ? quint8(m_bytes[at]) : 0;
}

quint16 EmfFields::u16(qint64 at) {
    return has(at, 2) ? qFromLittleEndian<quint16>(m_bytes.data() + at) : 0;
}

quint32 EmfFields::u32(qint64 at) {
    return has(at, 4) ? qFromLittleEndian<quint32>(m_bytes.data() + at) : 0;
}

qint32 EmfFields::i32(qint64 at) {
    return qint32(u32(at));
}

qint16 EmfFields::i16(qint64 at) {
    return qint16(u16(at));
}

float EmfFields::f32(qint64 at) {
    const quint32 bits = u32(at);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QPointF EmfFields::pointL(qint64 at) {
    return {double(i32(at)), double(i32(at + 4))};
}

QPointF EmfFields::pointS(qint64 at) {
    return {double(i16(at)), double(i16(at + 2))};
}

QSizeF EmfFields::sizeL(qint64 at) {
    return {double(i32(at)), double(i32(at + 4))};
}

QRectF EmfFields::rectL(qint64 at) {
    const QPointF topLeft = pointL(at);
    const QPointF bottomRight = pointL(at + 8);
    return {topLeft, bottomRight};
}

QByteArrayView EmfFields::bytes(qint64 at, qint64 size) {
    return has(at, size) ? m_bytes.sliced(at, size) : QByteArrayView();
}

EmfRecords::EmfRecords(QByteArrayView emf) {
    qint64 at = 0;
    while (at + kRecordHeaderSize <= emf.size()) {
        const quint32 type = qFromLittleEndian<quint32>(emf.data() + at);
        const quint32 size = qFromLittleEndian<quint32>(emf.data() + at + 4);
        if (size < kRecordHeaderSize || size % 4 != 0 || size > emf.size() - at)
            break;
        const EmfRecord record{type, emf.sliced(at, size)};
        if (m_records.isEmpty()) {
            m_header = type == kHeaderType ? readHeader(record) : std::nullopt;
            if (!m_header)
                return;
        }
        m_records.append(record);
        if (type == kEndOfFileType)
            break;
        at += size;
    }
}

std::optional<EmfHeader> EmfRecords::readHeader(const EmfRecord& record) {
    EmfFields fields(record);
    if (!fields.has(0, kSmallestHeader) || fields.u32(40) != kSignature)
        return std::nullopt;
    EmfHeader header;
    header.bounds = fields.rectL(8);
    header.frame = fields.rectL(24);
    header.handles = fields.u16(56);
    header.devicePixels = fields.sizeL(72);
    header.deviceMillimetres = fields.sizeL(80);
    if (header.devicePixels.width() <= 0 || header.devicePixels.height() <= 0 ||
        header.deviceMillimetres.width() <= 0 || header.deviceMillimetres.height() <= 0)
        return std::nullopt;
    return header;
}

} // namespace report
