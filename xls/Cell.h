#pragma once

#include <QString>
#include <QtGlobal>

namespace xls {

// What a cell holds. A formula cell holds the result that the spreadsheet stored when it last
// calculated the formula; Blank is a cell that carries only formatting (its borders and fill
// still print).
enum class CellType : quint8 { Blank, Number, Text, Boolean, Error };

// The error values a cell can hold, by their codes in the file.
enum class CellError : quint8 {
    Null = 0x00,
    DivideByZero = 0x07,
    Value = 0x0F,
    Reference = 0x17,
    Name = 0x1D,
    Number = 0x24,
    NotAvailable = 0x2A,
};

// The text the spreadsheet shows for an error value: "#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
// "#NAME?", "#NUM!" or "#N/A".
QString errorText(CellError error);

// One cell of a sheet: its position (from 0), its cell format (an index into the workbook's
// cell formats) and its value.
class Cell {
public:
    static Cell blank(int row, int column, int formatIndex);
    static Cell number(int row, int column, int formatIndex, double value);
    // A text cell; richText is the index of its font runs and phonetic guide in the
    // workbook's table (Workbook::richText), or -1 when it has none.
    static Cell text(int row, int column, int formatIndex, const QString& value, int richText = -1);
    static Cell boolean(int row, int column, int formatIndex, bool value);
    static Cell error(int row, int column, int formatIndex, CellError value);

    int row() const { return m_row; }
    int column() const { return m_column; }
    int formatIndex() const { return m_formatIndex; }
    void setFormatIndex(int formatIndex) { m_formatIndex = static_cast<quint16>(formatIndex); }
    CellType type() const { return m_type; }
    // True when the value is a formula's stored result.
    bool isFormula() const { return m_formula; }
    void setFormula(bool formula) { m_formula = formula; }

    // The value; each is meaningful only for its own type (0, the empty text, false or
    // #NULL! otherwise).
    double number() const { return m_type == CellType::Number ? m_number : 0.0; }
    const QString& text() const { return m_text; }
    // The index of a text cell's font runs and phonetic guide in the workbook's table, or -1.
    int richTextIndex() const { return m_type == CellType::Text ? static_cast<int>(m_number) : -1; }
    bool boolean() const { return m_type == CellType::Boolean && m_number != 0.0; }
    CellError error() const {
        return m_type == CellType::Error ? static_cast<CellError>(static_cast<int>(m_number))
                                         : CellError::Null;
    }

private:
    Cell(int row, int column, int formatIndex, CellType type);

    QString m_text;
    double m_number = 0.0; // the number, the boolean or error code, or the rich text index
    quint16 m_row;
    quint16 m_column;
    quint16 m_formatIndex;
    CellType m_type;
    bool m_formula = false;
};

} // namespace xls
