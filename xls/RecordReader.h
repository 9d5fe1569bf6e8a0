#pragma once

#include "ReadError.h"
#include "RecordStream.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace xls {

// Reads the fields of one record, and of the CONTINUE records that carry the rest of it, in
// little-endian order. Every read is checked against the data: reading past the end throws
// ReadError (Corrupt) naming the record.
class RecordReader {
public:
    explicit RecordReader(const Record& record);
    // The record followed by the data of its CONTINUE records.
    RecordReader(const Record& record, const QList<QByteArrayView>& continues);

    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    void skip(qsizetype count);
    // Bytes taken across CONTINUE boundaries as if they were one run.
    QByteArray bytes(qsizetype count);
    // count characters of an Excel 97-2003 string whose first part is 16-bit (highByte) or
    // 8-bit. Where the characters cross into a CONTINUE record, that record starts with a
    // fresh flag byte that says how the rest is stored.
    QString characters(qsizetype count, bool highByte);

    // Bytes left in the record and its CONTINUE records.
    qsizetype remaining() const;
    bool atEnd() const { return remaining() == 0; }
    quint16 code() const { return m_code; }
    qsizetype offset() const { return m_offset; }
    // An error about this record, for what its fields say.
    ReadError corrupt(const QString& what) const;

private:
    // Moves to the next part when the current one is used up; false when there is none.
    bool nextPartIfDone();
    void need(qsizetype count) const;

    QList<QByteArrayView> m_parts;
    qsizetype m_part = 0;
    qsizetype m_position = 0;
    quint16 m_code;
    qsizetype m_offset;
};

} // namespace xls
