#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace report {

// Bytes of PDF syntax as they are built: text, integers, and numbers with at most three
// decimals and no trailing zeros, each appended in place without a temporary string.
class PdfBuffer {
public:
    PdfBuffer& operator<<(const char* text) {
        m_bytes.append(text);
        return *this;
    }
    PdfBuffer& operator<<(const QByteArray& bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    PdfBuffer& operator<<(char c) {
        m_bytes.append(c);
        return *this;
    }
    PdfBuffer& operator<<(qint64 value);
    PdfBuffer& operator<<(int value) { return *this << static_cast<qint64>(value); }
    PdfBuffer& operator<<(double value);
    // A number followed by a blank, as operands are written.
    PdfBuffer& operand(double value) { return *this << value << ' '; }
    // Four hexadecimal digits of a two-byte code.
    void appendHex(quint16 code);

    const QByteArray& bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }
    // Empties the buffer but keeps its memory for what is built next.
    void clear() { m_bytes.resize(0); }

private:
    QByteArray m_bytes;
};

} // namespace report
