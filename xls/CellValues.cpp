#include "CellValues.h"

#include <QtEndian>

#include <cstring>

namespace xls {

double CellValues::rkValue(quint32 rk) {
    double value = 0;
    if ((rk & 0x02) != 0) {
        value = static_cast<double>(static_cast<qint32>(rk) >> 2);
    } else {
        const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCU) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) != 0 ? value / 100.0 : value;
}

CellError CellValues::errorOf(quint8 code) {
    switch (code) {
    case 0x00:
    case 0x07:
    case 0x0F:
    case 0x17:
    case 0x1D:
    case 0x24:
    case 0x2A:
        return static_cast<CellError>(code);
    default:
        return CellError::NotAvailable;
    }
}

FormulaResult CellValues::formulaResult(int row, int column, int format, QByteArrayView result) {
    const auto byte = [&](int i) { return static_cast<quint8>(result[i]); };
    FormulaResult out{Cell::blank(row, column, format)};
    if (byte(6) != 0xFF || byte(7) != 0xFF) {
        const quint64 bits = qFromLittleEndian<quint64>(result.data());
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        out.cell = Cell::number(row, column, format, value);
    } else if (byte(0) == 1) {
        out.cell = Cell::boolean(row, column, format, byte(2) != 0);
    } else if (byte(0) == 2) {
        out.cell = Cell::error(row, column, format, errorOf(byte(2)));
    } else {
        out.cell = Cell::text(row, column, format, QString());
        out.textFollows = byte(0) == 0;
    }
    out.cell.setFormula(true);
    return out;
}

} // namespace xls
