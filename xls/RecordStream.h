#pragma once

#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

namespace xls {

// One record of a workbook stream: its number, where it starts and its data.
struct Record {
    quint16 code = 0;
    qsizetype offset = 0;
    QByteArrayView data;
};

// The records of a workbook stream, one after the other. Each record is a 2-byte number, a
// 2-byte length and that many bytes of data; a record whose length runs past the end of the
// stream is an error, never a read beyond it.
class RecordStream {
public:
    RecordStream(QByteArrayView stream, qsizetype start);

    // Reads the next record into record; false at the end of the stream. Throws ReadError
    // (Corrupt) for a record cut off by the end of the stream.
    bool next(Record& record);
    // The data of the CONTINUE records right after the last record read, which carry the rest
    // of its data; they are consumed.
    QList<QByteArrayView> takeContinues();
    qsizetype position() const { return m_position; }

private:
    QByteArrayView m_stream;
    qsizetype m_position;
};

} // namespace xls
