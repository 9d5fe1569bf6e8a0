#pragma once

#include "CellFormat.h"
#include "CellRange.h"
#include "Font.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace xls {

class Cell;

// What a conditional format changes on a cell while its condition holds. Each attribute the
// format does not give stays as the cell format has it.
struct DifferentialFormat {
    std::optional<int> fontColorIndex; // into the palette
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> strikeout;
    std::optional<Underline> underline;
    std::optional<Border> left;
    std::optional<Border> right;
    std::optional<Border> top;
    std::optional<Border> bottom;
    // The fill, as in CellFormat. A solid fill (pattern 1) that a conditional format gives
    // is drawn in its background colour: differential formats keep a solid fill's colour
    // there, not in the pattern colour.
    std::optional<int> fillPattern;
    std::optional<int> patternColorIndex;
    std::optional<int> backgroundColorIndex;
};

enum class ConditionKind { CellValue, Formula };

// How a cell's value is compared with a condition's operands, by their codes in the file.
enum class ComparisonOperator {
    None = 0,
    Between = 1,
    NotBetween = 2,
    Equal = 3,
    NotEqual = 4,
    Greater = 5,
    Less = 6,
    GreaterOrEqual = 7,
    LessOrEqual = 8,
};

// An operand that is a constant: a number or a text.
using Constant = std::variant<double, QString>;

// One condition of a conditional format, with the formulas of its operands in their parsed
// (token) form as the file stores them. An operand that is a number or a text, negated or
// not, is also given as its constant; the condition can be evaluated only when each operand
// it uses is one.
struct Condition {
    ConditionKind kind = ConditionKind::CellValue;
    ComparisonOperator comparison = ComparisonOperator::None;
    QByteArray formula1;
    QByteArray formula2;
    std::optional<Constant> constant1;
    std::optional<Constant> constant2;
    DifferentialFormat format;

    // True when the condition compares the cell's value with constants only.
    bool canEvaluate() const;
    // Whether the condition holds for a cell (nullptr for an empty position). A condition
    // that cannot be evaluated never holds.
    bool holds(const Cell* cell) const;
};

// The conditions, in priority order, that apply to a set of ranges of a sheet.
struct ConditionalFormat {
    QList<CellRange> ranges;
    QList<Condition> conditions;
};

// The differential format of the first condition that holds at a position, over the
// conditional formats in file order; nullptr when none holds.
const DifferentialFormat* firstTrueCondition(const QList<ConditionalFormat>& formats, int row,
                                             int column, const Cell* cell);

} // namespace xls
