#pragma once

#include "xls/format/FormatCode.h"
#include "xls/format/NumberFormat.h"

namespace xls::format {

// Writes a magnitude (zero or more) through a number, scientific, fraction or General section,
// after a minus sign when the section is to show one.
void renderNumber(const FormatSection& section, double magnitude, bool minus, FormattedValue& out);

// Marks where a fill goes: only the first fill of a section counts.
void markFill(const FormatToken& token, FormattedValue& out);

} // namespace xls::format
