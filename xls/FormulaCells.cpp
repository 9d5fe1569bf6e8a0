#include "FormulaCells.h"

#include "RecordCodes.h"

namespace xls {

namespace {

constexpr quint8 kGroupMarker = 0x01; // ptgExp: the formula is its group's

quint32 cellKey(int row, int column) {
    return (static_cast<quint32>(row) << 8) | static_cast<quint32>(column & 0xFF);
}

} // namespace

FormulaCells::FormulaCells(const Strings& strings, const FormulaNames& names)
    : m_strings(strings)
    , m_names(names) {}

void FormulaCells::clear() {
    m_formulas.clear();
    m_groups.clear();
}

void FormulaCells::read(RecordReader& reader, const Record& record, size_t index, int row,
                        int column) {
    reader.skip(6); // option flags and a field that is not used
    const QByteArray tokens = reader.bytes(reader.u16());
    const QByteArray extra = reader.bytes(reader.remaining());
    Formula formula{index, row, column, {}, 0};
    if (tokens.size() == 5 && static_cast<quint8>(tokens[0]) == kGroupMarker) {
        RecordReader marker(Record{record.code, record.offset, tokens});
        marker.u8();
        const int firstRow = marker.u16();
        const int firstColumn =
            m_strings.version() == BiffVersion::Biff8 ? marker.u16() : marker.u8();
        formula.group = cellKey(firstRow, firstColumn);
    } else {
        const std::optional<QString> text = formulaText(
            {Record{record.code, record.offset, tokens}, extra, row, column}, m_strings, m_names);
        if (!text)
            return;
        formula.text = *text;
    }
    m_formulas.push_back(std::move(formula));
}

void FormulaCells::readGroup(const Record& record) {
    RecordReader reader(record);
    const int firstRow = reader.u16();
    reader.u16(); // last row
    const int firstColumn = reader.u8();
    reader.u8(); // last column
    Group group;
    group.array = record.code == record::kArray;
    reader.skip(group.array ? 6 : 2); // flags (and for arrays a field that is not used)
    group.tokens = reader.bytes(reader.u16());
    group.extra = reader.bytes(reader.remaining());
    group.record = Record{record.code, record.offset, {}};
    m_groups.insert(cellKey(firstRow, firstColumn), group);
}

QString FormulaCells::groupText(const Formula& formula) const {
    const auto found = m_groups.constFind(formula.group);
    if (found == m_groups.constEnd())
        return QString();
    const Group& group = *found;
    const std::optional<QString> text =
        formulaText({Record{group.record.code, group.record.offset, group.tokens}, group.extra,
                     formula.row, formula.column},
                    m_strings, m_names);
    if (!text)
        return QString();
    return group.array ? QLatin1Char('{') + *text + QLatin1Char('}') : *text;
}

void FormulaCells::showIn(std::vector<Cell>& cells) const {
    for (const Formula& formula : m_formulas) {
        const QString text = formula.text.isEmpty() ? groupText(formula) : formula.text;
        if (text.isEmpty() || formula.index >= cells.size())
            continue;
        const Cell& cell = cells[formula.index];
        cells[formula.index] = Cell::text(cell.row(), cell.column(), cell.formatIndex(), text);
    }
}

} // namespace xls
