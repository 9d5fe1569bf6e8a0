#include "Cell.h"

namespace xls {

QString errorText(CellError error) {
    switch (error) {
    case CellError::Null:
        return QStringLiteral("#NULL!");
    case CellError::DivideByZero:
        return QStringLiteral("#DIV/0!");
    case CellError::Value:
        return QStringLiteral("#VALUE!");
    case CellError::Reference:
        return QStringLiteral("#REF!");
    case CellError::Name:
        return QStringLiteral("#NAME?");
    case CellError::Number:
        return QStringLiteral("#NUM!");
    case CellError::NotAvailable:
        return QStringLiteral("#N/A");
    }
    return QStringLiteral("#N/A");
}

Cell::Cell(int row, int column, int formatIndex, CellType type)
    : m_row(static_cast<quint16>(row))
    , m_column(static_cast<quint16>(column))
    , m_formatIndex(static_cast<quint16>(formatIndex))
    , m_type(type) {}

Cell Cell::blank(int row, int column, int formatIndex) {
    return {row, column, formatIndex, CellType::Blank};
}

Cell Cell::number(int row, int column, int formatIndex, double value) {
    Cell cell(row, column, formatIndex, CellType::Number);
    cell.m_number = value;
    return cell;
}

Cell Cell::text(int row, int column, int formatIndex, const QString& value, int richText) {
    Cell cell(row, column, formatIndex, CellType::Text);
    cell.m_text = value;
    cell.m_number = richText;
    return cell;
}

Cell Cell::boolean(int row, int column, int formatIndex, bool value) {
    Cell cell(row, column, formatIndex, CellType::Boolean);
    cell.m_number = value ? 1.0 : 0.0;
    return cell;
}

Cell Cell::error(int row, int column, int formatIndex, CellError value) {
    Cell cell(row, column, formatIndex, CellType::Error);
    cell.m_number = static_cast<int>(value);
    return cell;
}

} // namespace xls
