#pragma once

#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace report {

// One record of an enhanced metafile: its type and its whole bytes, the 8-byte type and size
// header included, so that the offsets its fields give are counted from its start.
struct EmfRecord {
    quint32 type = 0;
    QByteArrayView bytes;
};

// Reads a record's fields at byte offsets from its start. A field that does not lie wholly
// inside the record reads as zero and marks the reader bad, so that a record is checked once,
// after all its fields are read, rather than at every field.
class EmfFields {
public:
    explicit EmfFields(const EmfRecord& record)
        : m_bytes(record.bytes) {}

    bool ok() const { return m_ok; }
    // Marks the record bad for a fault its fields show together.
    void fail() { m_ok = false; }
    // Whether count items of the given size fit from the offset on; marks the reader bad if not.
    bool has(qint64 at, qint64 count, qint64 size = 1);

    quint8 u8(qint64 at);
    quint16 u16(qint64 at);
    quint32 u32(qint64 at);
    qint32 i32(qint64 at);
    qint16 i16(qint64 at);
    float f32(qint64 at);
    QPointF pointL(qint64 at); // two 32-bit coordinates
    QPointF pointS(qint64 at); // two 16-bit coordinates
    QSizeF sizeL(qint64 at);
    // An inclusive rectangle of four 32-bit edges (left, top, right, bottom).
    QRectF rectL(qint64 at);
    // Bytes of the record; empty (and bad) when they run past it.
    QByteArrayView bytes(qint64 at, qint64 size);

private:
    QByteArrayView m_bytes;
    bool m_ok = true;
};

// What the header record says of the picture: the frame it fills, in hundredths of a
// millimetre, and the reference device's size in pixels and in millimetres, which relate the
// device units the records draw in to the frame.
struct EmfHeader {
    QRectF bounds; // device units, inclusive
    QRectF frame;  // hundredths of a millimetre, inclusive
    QSizeF devicePixels;
    QSizeF deviceMillimetres;
    quint32 handles = 0;
};

// Splits an enhanced metafile into its records. The first must be a header with the EMF
// signature. Every record's size is checked against what is left of the data: a record that
// runs past the data, or whose size is not a whole number of 32-bit words of at least its own
// header, ends the list, and the records before it stay; the end-of-file record ends it too.
class EmfRecords {
public:
    explicit EmfRecords(QByteArrayView emf);

    // Whether the data begins with a valid header.
    bool valid() const { return m_header.has_value(); }
    const EmfHeader& header() const { return *m_header; }
    const QList<EmfRecord>& records() const { return m_records; }

private:
    static std::optional<EmfHeader> readHeader(const EmfRecord& record);

    std::optional<EmfHeader> m_header;
    QList<EmfRecord> m_records;
};

} // namespace report
