#include "CellText.h"

#include "Dates.h"

namespace xls {

namespace {

FormattedValue plain(const QString& text) {
    FormattedValue value;
    value.text = text;
    return value;
}

} // namespace

CellText::CellText(const Workbook& workbook)
    : m_workbook(workbook)
    , m_dates(dateSystemOf(workbook)) {}

const NumberFormat& CellText::numberFormat(int formatIndex) const {
    auto found = m_formats.find(formatIndex);
    if (found == m_formats.end())
        found =
            m_formats.emplace(formatIndex, NumberFormat(m_workbook.numberFormatCode(formatIndex)))
                .first;
    return found->second;
}

FormattedValue CellText::shown(const Cell& cell) const {
    const int formatIndex = m_workbook.cellFormat(cell.formatIndex()).formatIndex;
    switch (cell.type()) {
    case CellType::Number:
        return numberFormat(formatIndex).formatNumber(cell.number(), m_dates);
    case CellType::Text:
        return numberFormat(formatIndex).formatText(cell.text());
    case CellType::Boolean:
        return plain(cell.boolean() ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    case CellType::Error:
        return plain(errorText(cell.error()));
    case CellType::Blank:
        break;
    }
    return {};
}

QString CellText::text(const Cell& cell) const {
    return shown(cell).text;
}

QString CellText::narrowedNumber(const Cell& cell,
                                 const std::function<bool(const QString&)>& fits) const {
    if (cell.type() != CellType::Number)
        return {};
    const int formatIndex = m_workbook.cellFormat(cell.formatIndex()).formatIndex;
    return numberFormat(formatIndex).narrowedNumber(cell.number(), fits);
}

} // namespace xls
