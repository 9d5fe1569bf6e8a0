#pragma once

#include "ConditionalFormat.h"
#include "RecordReader.h"
#include "Strings.h"

#include <optional>

namespace xls {

// Decodes a CF record, one condition of the conditional format (CONDFMT) before it: the kind
// of condition and its comparison, the differential format it applies (font colour and style,
// borders, fill; number format, alignment and protection are skipped) and its two operands'
// formulas. An operand whose formula is one number or text token, with unary plus, minus or
// parentheses around it, is given as a constant as well.
class ConditionalFormatReader {
public:
    // The condition, or none when the record is damaged; such a condition is left out.
    static std::optional<Condition> condition(RecordReader& reader, const Strings& strings);
};

} // namespace xls
