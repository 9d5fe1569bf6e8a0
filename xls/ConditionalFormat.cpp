#include "ConditionalFormat.h"

#include "Cell.h"

#include <algorithm>

namespace xls {

namespace {

// Values of different kinds compare numbers below texts below booleans, as the spreadsheet's
// comparisons do.
enum class Rank { Number, Text, Boolean };

struct Value {
    Rank rank = Rank::Number;
    double number = 0.0;
    QString text;
};

// A cell's value for a comparison with constant; none for an error, which compares with
// nothing. An empty cell counts as 0 against a number and as the empty text against a text.
std::optional<Value> valueOf(const Cell* cell, const Constant& constant) {
    const CellType type = cell != nullptr ? cell->type() : CellType::Blank;
    switch (type) {
    case CellType::Blank:
        if (std::holds_alternative<double>(constant))
            return Value{Rank::Number, 0.0, {}};
        return Value{Rank::Text, 0.0, {}};
    case CellType::Number:
        return Value{Rank::Number, cell->number(), {}};
    case CellType::Text:
        return Value{Rank::Text, 0.0, cell->text()};
    case CellType::Boolean:
        return Value{Rank::Boolean, cell->boolean() ? 1.0 : 0.0, {}};
    case CellType::Error:
        break;
    }
    return std::nullopt;
}

int sign(double difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

// The order of a cell's value against a constant (-1, 0, 1); texts compare without regard
// to letter case. None when the value is an error.
std::optional<int> compareWith(const Cell* cell, const Constant& constant) {
    const std::optional<Value> value = valueOf(cell, constant);
    if (!value)
        return std::nullopt;
    const Rank rank = std::holds_alternative<double>(constant) ? Rank::Number : Rank::Text;
    if (value->rank != rank)
        return value->rank < rank ? -1 : 1;
    if (rank == Rank::Number)
        return sign(value->number - std::get<double>(constant));
    return sign(QString::compare(value->text, std::get<QString>(constant), Qt::CaseInsensitive));
}

bool usesTwoOperands(ComparisonOperator comparison) {
    return comparison == ComparisonOperator::Between ||
           comparison == ComparisonOperator::NotBetween;
}

} // namespace

bool Condition::canEvaluate() const {
    return kind == ConditionKind::CellValue && comparison >= ComparisonOperator::Between &&
           comparison <= ComparisonOperator::LessOrEqual && constant1.has_value() &&
           (!usesTwoOperands(comparison) || constant2.has_value());
}

bool Condition::holds(const Cell* cell) const {
    if (!canEvaluate())
        return false;
    const std::optional<int> first = compareWith(cell, *constant1);
    if (!first)
        return false;
    switch (comparison) {
    case ComparisonOperator::Equal:
        return *first == 0;
    case ComparisonOperator::NotEqual:
        return *first != 0;
    case ComparisonOperator::Greater:
        return *first > 0;
    case ComparisonOperator::Less:
        return *first < 0;
    case ComparisonOperator::GreaterOrEqual:
        return *first >= 0;
    case ComparisonOperator::LessOrEqual:
        return *first <= 0;
    default:
        break;
    }
    // Between either way round: the spreadsheet accepts the larger operand first.
    const std::optional<int> second = compareWith(cell, *constant2);
    if (!second)
        return false;
    const bool inside = (*first >= 0 && *second <= 0) || (*first <= 0 && *second >= 0);
    return inside == (comparison == ComparisonOperator::Between);
}

const DifferentialFormat* firstTrueCondition(const QList<ConditionalFormat>& formats, int row,
                                             int column, const Cell* cell) {
    for (const ConditionalFormat& format : formats) {
        const bool applies =
            std::any_of(format.ranges.begin(), format.ranges.end(),
                        [&](const CellRange& range) { return range.contains(row, column); });
        if (!applies)
            continue;
        for (const Condition& condition : format.conditions) {
            if (condition.holds(cell))
                return &condition.format;
        }
    }
    return nullptr;
}

} // namespace xls
