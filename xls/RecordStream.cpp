#include "RecordStream.h"

#include "ReadError.h"
#include "RecordCodes.h"

namespace xls {

namespace {

quint16 u16At(QByteArrayView bytes, qsizetype offset) {
    return static_cast<quint16>(static_cast<unsigned char>(bytes[offset]) |
                                (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}

} // namespace

RecordStream::RecordStream(QByteArrayView stream, qsizetype start)
    : m_stream(stream)
    , m_position(std::clamp<qsizetype>(start, 0, stream.size())) {}

bool RecordStream::next(Record& record) {
    const qsizetype left = m_stream.size() - m_position;
    if (left == 0)
        return false;
    if (left < 4)
        throw ReadError(ReadError::Kind::Corrupt,
                        QStringLiteral("the workbook stream ends inside a record header at "
                                       "offset %1")
                            .arg(m_position));
    const quint16 code = u16At(m_stream, m_position);
    const quint16 length = u16At(m_stream, m_position + 2);
    if (length > left - 4)
        throw ReadError(ReadError::Kind::Corrupt,
                        QStringLiteral("record 0x%1 at offset %2 claims %3 bytes, but only %4 "
                                       "remain in the workbook stream")
                            .arg(code, 4, 16, QLatin1Char('0'))
                            .arg(m_position)
                            .arg(length)
                            .arg(left - 4));
    record.code = code;
    record.offset = m_position;
    record.data = m_stream.sliced(m_position + 4, length);
    m_position += 4 + length;
    return true;
}

QList<QByteArrayView> RecordStream::takeContinues() {
    QList<QByteArrayView> parts;
    Record record;
    while (m_stream.size() - m_position >= 4 && u16At(m_stream, m_position) == record::kContinue) {
        next(record);
        parts.append(record.data);
    }
    return parts;
}

} // namespace xls
