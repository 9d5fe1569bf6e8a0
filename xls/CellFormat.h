#pragma once

namespace xls {

enum class HorizontalAlignment {
    General, // text left, numbers right, booleans and errors centred
    Left,
    Center,
    Right,
    Fill,
    Justify,
    CenterAcrossSelection,
    Distributed,
};

enum class VerticalAlignment { Top, Center, Bottom, Justify, Distributed };

// Line styles of cell borders, by their codes in the file.
enum class BorderStyle {
    None,
    Thin,
    Medium,
    Dashed,
    Dotted,
    Thick,
    Double,
    Hair,
    MediumDashed,
    DashDot,
    MediumDashDot,
    DashDotDot,
    MediumDashDotDot,
    SlantedDashDot,
};

struct Border {
    BorderStyle style = BorderStyle::None;
    int colorIndex = 0x40; // into the palette; 0x40 is the automatic (window text) colour

    bool operator==(const Border&) const = default;
};

// A cell format (an XF record): everything that decides how a cell looks, less its value.
// Cell protection is not kept, since it does not change what prints.
struct CellFormat {
    int fontIndex = 0;   // Workbook::font() takes it as it is
    int formatIndex = 0; // number format: Workbook::numberFormatCode() takes it
    bool isStyle = false;
    int parentIndex = 0; // the cell style this cell format is based on

    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    bool shrinkToFit = false;
    int indent = 0; // in steps of three character widths
    // 0 level; 1 to 90 counter-clockwise in degrees; 91 to 180 clockwise by (value - 90)
    // degrees; 255 letters stacked top to bottom.
    int rotation = 0;

    Border left;
    Border right;
    Border top;
    Border bottom;
    Border diagonal;
    bool diagonalDown = false; // from top left to bottom right
    bool diagonalUp = false;   // from bottom left to top right

    int fillPattern = 0;             // 0 none, 1 solid, 2 to 18 hatches and dots
    int patternColorIndex = 0x40;    // the pattern's colour (the whole fill when solid)
    int backgroundColorIndex = 0x41; // the colour behind the pattern
};

} // namespace xls
