#include "PdfBuffer.h"

#include <cmath>

namespace report {

namespace {

// Digits of value written backwards from end; returns where they begin.
char* digits(quint64 value, char* end) {
    do {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return end;
}

} // namespace

PdfBuffer& PdfBuffer::operator<<(qint64 value) {
    char text[24];
    char* end = text + sizeof text;
    const quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : value;
    char* begin = digits(magnitude, end);
    if (value < 0)
        *--begin = '-';
    m_bytes.append(begin, end - begin);
    return *this;
}

PdfBuffer& PdfBuffer::operator<<(double value) {
    if (!std::isfinite(value))
        value = 0;
    const auto thousandths = static_cast<qint64>(std::llround(value * 1000));
    const quint64 magnitude = thousandths < 0 ? 0 - static_cast<quint64>(thousandths) : thousandths;
    char text[32];
    char* end = text + sizeof text;
    char* begin = end;
    unsigned fraction = magnitude % 1000;
    if (fraction != 0) {
        int places = 3;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        for (int i = 0; i < places; ++i) {
            *--begin = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        *--begin = '.';
    }
    begin = digits(magnitude / 1000, begin);
    if (thousandths < 0)
        *--begin = '-';
    m_bytes.append(begin, end - begin);
    return *this;
}

void PdfBuffer::appendHex(quint16 code) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char text[4] = {kHex[code >> 12], kHex[(code >> 8) & 15], kHex[(code >> 4) & 15],
                          kHex[code & 15]};
    m_bytes.append(text, 4);
}

} // namespace report
