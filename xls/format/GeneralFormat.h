#pragma once

#include <QString>

namespace xls::format {

// Appends |value| as the General format shows it, whatever the column width: at most 11
// characters (the decimal point counts, a minus sign would not), fixed notation from 1E-4 up
// to 11 integer digits and exponent notation beyond, trailing zeros dropped.
void appendGeneral(QString& out, double magnitude);

} // namespace xls::format
