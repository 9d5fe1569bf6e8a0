#pragma once

#include "Cell.h"

#include <QByteArrayView>
#include <QtGlobal>

namespace xls {

// The value of a formula cell as its record caches it, and whether a STRING record brings
// its text next.
struct FormulaResult {
    Cell cell;
    bool textFollows = false;
};

// Cell values stored the same way in every version of the file format.
class CellValues {
public:
    // A number stored in 30 bits: an integer or the high bits of a double, either divided
    // by 100.
    static double rkValue(quint32 rk);
    // An error value by its code; an unknown code is #N/A.
    static CellError errorOf(quint8 code);
    // The cell that the 8 bytes of a formula's cached result describe: a number, or, marked by
    // 0xFFFF in the last two bytes, a text (which follows), a boolean, an error or nothing.
    static FormulaResult formulaResult(int row, int column, int format, QByteArrayView result);
};

} // namespace xls
