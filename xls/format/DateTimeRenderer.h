#pragma once

#include "xls/format/FormatCode.h"
#include "xls/format/NumberFormat.h"

namespace xls::format {

// Writes a date serial (zero or more) through a date and time section; false when the serial
// has no date in that date system.
bool renderDateTime(const FormatSection& section, double serial, DateSystem system,
                    FormattedValue& out);

} // namespace xls::format
