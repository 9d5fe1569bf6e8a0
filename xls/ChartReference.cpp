#include "ChartReference.h"

#include "RecordReader.h"

#include <algorithm>
#include <utility>

namespace xls {

namespace {

// Formula tokens, without the class bits (0x20, 0x40) that say how an operand is used.
constexpr quint8 kUnion = 0x10;
constexpr quint8 kParenthesis = 0x15;
constexpr quint8 kRef = 0x04;
constexpr quint8 kArea = 0x05;
constexpr quint8 kMemArea = 0x06;
constexpr quint8 kMemFunc = 0x09;
constexpr quint8 kRef3d = 0x1A;
constexpr quint8 kArea3d = 0x1B;
constexpr int kLastColumn = 255;

// Row and column fields keep relative-reference flags in their top bits: Excel 97-2003 in
// the column field, Excel 5.0/95 in the row field.
struct Fields {
    BiffVersion version;

    int row(RecordReader& formula) const {
        const quint16 field = formula.u16();
        return version == BiffVersion::Biff8 ? field : (field & 0x3FFF);
    }
    int column(RecordReader& formula) const {
        if (version != BiffVersion::Biff8)
            return formula.u8();
        return std::min<int>(formula.u16() & 0x3FFF, kLastColumn);
    }
    CellRange cell(RecordReader& formula) const {
        CellRange range;
        range.firstRow = range.lastRow = row(formula);
        range.firstColumn = range.lastColumn = column(formula);
        return range;
    }
    CellRange area(RecordReader& formula) const {
        CellRange range;
        range.firstRow = row(formula);
        range.lastRow = row(formula);
        range.firstColumn = column(formula);
        range.lastColumn = column(formula);
        if (range.firstRow > range.lastRow)
            std::swap(range.firstRow, range.lastRow);
        if (range.firstColumn > range.lastColumn)
            std::swap(range.firstColumn, range.lastColumn);
        return range;
    }
};

} // namespace

ChartReference::ChartReference(BiffVersion version, SheetOf sheetOf)
    : m_version(version)
    , m_sheetOf(std::move(sheetOf)) {}

QList<ChartArea> ChartReference::areas(const QByteArray& bytes) const {
    const Record record{0, 0, bytes};
    RecordReader formula(record);
    const Fields fields{m_version};
    // The sheet part of a 3-D reference. Excel 5.0/95 names the sheet itself after a
    // negative (own workbook) link index and eight reserved bytes.
    const auto sheet = [&] {
        if (m_version == BiffVersion::Biff8)
            return m_sheetOf(formula.u16());
        const qint16 link = static_cast<qint16>(formula.u16());
        formula.skip(8);
        const qint16 first = static_cast<qint16>(formula.u16());
        formula.u16(); // last sheet
        return link < 0 && first >= 0 ? static_cast<int>(first) : -1;
    };
    QList<ChartArea> areas;
    while (!formula.atEnd()) {
        const quint8 token = formula.u8();
        const quint8 base = token >= 0x20 ? (token & 0x1F) : token;
        if (token == kUnion || token == kParenthesis)
            continue;
        if (token < 0x20)
            return {};
        switch (base) {
        case kMemFunc:
            formula.skip(2);
            break;
        case kMemArea:
            formula.skip(6);
            break;
        case kRef:
            areas.append({-1, fields.cell(formula)});
            break;
        case kArea:
            areas.append({-1, fields.area(formula)});
            break;
        case kRef3d: {
            const int index = sheet();
            areas.append({index, fields.cell(formula)});
            break;
        }
        case kArea3d: {
            const int index = sheet();
            areas.append({index, fields.area(formula)});
            break;
        }
        default:
            return {};
        }
    }
    return areas;
}

} // namespace xls
