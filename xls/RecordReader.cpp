#include "RecordReader.h"

#include "ReadError.h"

#include <cstring>

namespace xls {

RecordReader::RecordReader(const Record& record)
    : RecordReader(record, {}) {}

RecordReader::RecordReader(const Record& record, const QList<QByteArrayView>& continues)
    : m_code(record.code)
    , m_offset(record.offset) {
    m_parts.reserve(continues.size() + 1);
    m_parts.append(record.data);
    m_parts.append(continues);
}

ReadError RecordReader::corrupt(const QString& what) const {
    return {ReadError::Kind::Corrupt, QStringLiteral("record 0x%1 at offset %2: %3")
                                          .arg(m_code, 4, 16, QLatin1Char('0'))
                                          .arg(m_offset)
                                          .arg(what)};
}

qsizetype RecordReader::remaining() const {
    qsizetype left = m_parts[m_part].size() - m_position;
    for (qsizetype i = m_part + 1; i < m_parts.size(); ++i)
        left += m_parts[i].size();
    return left;
}

void RecordReader::need(qsizetype count) const {
    if (count < 0 || count > remaining())
        throw corrupt(QStringLiteral("the record is shorter than its fields"));
}

bool RecordReader::nextPartIfDone() {
    while (m_position == m_parts[m_part].size()) {
        if (m_part + 1 == m_parts.size())
            return false;
        ++m_part;
        m_position = 0;
    }
    return true;
}

QByteArray RecordReader::bytes(qsizetype count) {
    need(count);
    QByteArray out;
    out.reserve(count);
    while (count > 0) {
        nextPartIfDone();
        const qsizetype take = std::min(count, m_parts[m_part].size() - m_position);
        out.append(m_parts[m_part].sliced(m_position, take));
        m_position += take;
        count -= take;
    }
    return out;
}

void RecordReader::skip(qsizetype count) {
    need(count);
    while (count > 0) {
        nextPartIfDone();
        const qsizetype take = std::min(count, m_parts[m_part].size() - m_position);
        m_position += take;
        count -= take;
    }
}

quint8 RecordReader::u8() {
    need(1);
    nextPartIfDone();
    return static_cast<quint8>(m_parts[m_part][m_position++]);
}

quint16 RecordReader::u16() {
    const QByteArrayView& part = m_parts[m_part];
    if (part.size() - m_position >= 2) {
        const auto* p = reinterpret_cast<const unsigned char*>(part.data() + m_position);
        m_position += 2;
        return static_cast<quint16>(p[0] | (p[1] << 8));
    }
    const quint8 low = u8();
    return static_cast<quint16>(low | (u8() << 8));
}

quint32 RecordReader::u32() {
    const quint32 low = u16();
    return low | (static_cast<quint32>(u16()) << 16);
}

double RecordReader::f64() {
    const quint64 low = u32();
    const quint64 bits = low | (static_cast<quint64>(u32()) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString RecordReader::characters(qsizetype count, bool highByte) {
    if (count < 0)
        throw corrupt(QStringLiteral("a string has a negative length"));
    QString text;
    text.reserve(std::min(count, remaining()));
    while (count > 0) {
        if (m_position == m_parts[m_part].size()) {
            // The string goes on in the next CONTINUE record, behind a new flag byte.
            if (m_part + 1 == m_parts.size())
                throw corrupt(QStringLiteral("a string runs past the end of the record"));
            ++m_part;
            m_position = 0;
            if (m_parts[m_part].isEmpty())
                continue;
            highByte = (static_cast<quint8>(m_parts[m_part][m_position++]) & 0x01) != 0;
            continue;
        }
        const QByteArrayView& part = m_parts[m_part];
        const qsizetype width = highByte ? 2 : 1;
        const qsizetype available = (part.size() - m_position) / width;
        if (available == 0)
            throw corrupt(QStringLiteral("a 16-bit character is split between records"));
        const qsizetype take = std::min(count, available);
        const auto* p = reinterpret_cast<const unsigned char*>(part.data() + m_position);
        if (highByte) {
            for (qsizetype i = 0; i < take; ++i)
                text.append(QChar(static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8))));
        } else {
            text.append(QLatin1StringView(reinterpret_cast<const char*>(p), take));
        }
        m_position += take * width;
        count -= take;
    }
    return text;
}

} // namespace xls
