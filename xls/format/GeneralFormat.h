#pragma once

#include <QString>

#include <functional>

namespace xls::format {

// Appends |value| as the General format shows it, whatever the column width: at most 11
// characters (the decimal point counts, a minus sign would not), fixed notation from 1E-4 up
// to 11 integer digits and exponent notation beyond, trailing zeros dropped.
void appendGeneral(QString& out, double magnitude);

// The General text of |value| (sign included) narrowed for a column too narrow for it, as the
// spreadsheet narrows it: fewer decimals first (never down to a bare 0), then exponent notation
// with fewer and fewer mantissa digits. fits() tells whether a candidate fits; the result is the
// first that does, or the empty text when none does (the cell then shows # marks).
QString narrowedGeneral(double value, const std::function<bool(const QString&)>& fits);

} // namespace xls::format
