#pragma once

namespace xls {

// What a ROW record says about one row (from 0).
struct RowInfo {
    int row = 0;
    int height = 255;           // in twips
    bool defaultHeight = false; // as high as DEFAULTROWHEIGHT says, whatever height holds
    bool hidden = false;
    bool customHeight = false; // set by the user rather than fitted to the row's fonts
    int formatIndex = -1;      // the row's own cell format, -1 when it has none
};

} // namespace xls
