#pragma once

#include "RecordStream.h"
#include "Strings.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace xls {

// What a formula's tokens name outside themselves.
struct FormulaNames {
    // The defined names in the order of their NAME records (tokens count them from 1).
    QStringList definedNames;
    // Per EXTERNSHEET entry (Excel 97-2003): the sheet part of a 3-D reference, quoted as the
    // spreadsheet quotes it ("Sheet2", "'Q1 data'", "Jan:Mar"); empty when it leads outside
    // this workbook.
    QStringList externSheets;
    // The workbook's sheet names in order, for Excel 5.0/95 3-D references.
    QStringList sheets;
};

// A formula as a cell keeps it: its tokens, the data some tokens keep after them (array
// constants, the areas of a reference subexpression), and the cell it belongs to, against
// which the relative references of a shared formula count.
struct ParsedFormula {
    Record tokens;
    QByteArrayView extra;
    int row = 0;
    int column = 0;
};

// The text the spreadsheet shows for a formula when a sheet displays formulas, with its
// leading "=": "=SUM(A1:B2)*2", "=IF(A1>0,\"yes\",B$3)". Nothing when a token is one this
// reader does not know, or the tokens run past their data.
std::optional<QString> formulaText(const ParsedFormula& formula, const Strings& strings,
                                   const FormulaNames& names);

// A sheet name as a reference writes it: in single quotes (and quotes doubled) unless it is
// letters, digits, underscores and dots only and does not start with a digit.
QString quotedSheetName(const QString& name);

} // namespace xls
