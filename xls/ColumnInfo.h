#pragma once

namespace xls {

// What a COLINFO record says about a run of columns (from 0, both ends included).
struct ColumnInfo {
    int firstColumn = 0;
    int lastColumn = 0;
    // In 1/256 of the width of the digit "0" in the workbook's first font, as the file
    // stores it (the cell's padding included).
    int width = 0;
    bool hidden = false;
    int formatIndex = 15; // the default cell format of empty cells in these columns
};

} // namespace xls
