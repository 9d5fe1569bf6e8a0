#pragma once

#include "CellRange.h"

#include <QList>
#include <QRgb>
#include <QString>

#include <optional>
#include <vector>

namespace xls {

// A chart colour: an RGB value and the palette index it came from (Palette::color; 0x40 and
// above are system colours). Automatic colours are the painter's choice, in series order.
struct ChartColor {
    QRgb rgb = 0xFF000000;
    int paletteIndex = -1;
};

enum class ChartDash {
    Solid,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    None,
    DarkGray,
    MediumGray,
    LightGray
};
enum class ChartLineWeight { Hairline, Single, Double, Triple };

struct ChartLine {
    bool automatic = true;
    ChartColor color;
    ChartDash dash = ChartDash::Solid;
    ChartLineWeight weight = ChartLineWeight::Hairline;
};

// Pattern 0 is no fill, 1 solid; the others are the spreadsheet's fill patterns of foreground
// over background.
struct ChartFill {
    bool automatic = true;
    int pattern = 1;
    ChartColor foreground{0xFFFFFFFF, -1};
    ChartColor background{0xFF000000, -1};
    bool invertNegative = false;
};

enum class MarkerShape {
    None,
    Square,
    Diamond,
    Triangle,
    Cross,
    Star,
    DowJones,
    StdDev,
    Circle,
    Plus
};

struct ChartMarker {
    bool automatic = true;
    MarkerShape shape = MarkerShape::None;
    ChartColor foreground;
    ChartColor background;
    bool filled = true;
    bool bordered = true;
    int sizeTwips = 100;
};

// What a series, a data point or a chart group says about its look; absent parts are
// automatic.
struct ChartFormat {
    std::optional<ChartLine> line;
    std::optional<ChartFill> fill;
    std::optional<ChartMarker> marker;
    int explosion = 0; // pie slices: distance from the centre in percent of the radius
    bool smoothed = false;
};

struct DataLabels {
    bool value = false;
    bool percent = false;
    bool category = false;
    bool seriesName = false;
    bool any() const { return value || percent || category || seriesName; }
};

// One area of cells that a series or a text refers to. sheet is the index in
// Workbook::sheets(), or -1 when the reference leads outside the workbook.
struct ChartArea {
    int sheet = -1;
    CellRange range;
};

// A text of the chart: the title, an axis title or a data label.
struct ChartText {
    QString text;
    int fontIndex = -1; // into Workbook::font(); -1 for the chart's default font
    bool automaticColor = true;
    ChartColor color;
    // Degrees counter-clockwise (-90..90), or 255 for letters stacked.
    int rotation = 0;
    bool deleted = false;
    bool automaticText = false; // the text is made by the chart (a pie's series name)
    DataLabels labels;          // data labels only
    QList<ChartArea> areas;     // a title linked to a cell: where its text comes from
};

// One point of a series' values or categories: a number, a text, or neither (blank).
struct ChartValue {
    std::optional<double> number;
    QString text;
};

struct ChartData {
    QList<ChartArea> areas; // empty when the chart holds the values itself
    QList<ChartValue> points;
    int formatIndex = -1; // the number format of the values, -1 for the cells' own
};

struct PointFormat {
    int point = 0;
    ChartFormat format;
    DataLabels labels;
};

struct ChartSeries {
    QString name;
    QList<ChartArea> nameAreas;
    ChartData values;
    ChartData categories; // empty: categories 1, 2, 3, ...
    ChartData bubbleSizes;
    int group = 0; // index into Chart::groups (0 when the chart has none)
    ChartFormat format;
    DataLabels labels;
    QList<PointFormat> points; // formats of single points, in point order
    // Trend lines and error bars are series of their own in the file; the painter skips them.
    bool auxiliary = false;
};

enum class ChartType { Bar, Line, Pie, Area, Scatter, Radar, FilledRadar, Surface, PieOfPie };
enum class ChartGrouping { Standard, Stacked, PercentStacked };

struct ChartGroup {
    ChartType type = ChartType::Bar;
    ChartGrouping grouping = ChartGrouping::Standard;
    bool horizontal = false; // bars: drawn from the left axis
    bool threeD = false;
    bool secondaryAxis = false;
    bool varyColors = false; // each point its own colour
    int overlap = 0;         // bars: percent of a bar's width, negative for gaps
    int gap = 150;           // bars: between categories, percent of a bar's width
    int firstSliceAngle = 0; // pies: degrees clockwise from twelve o'clock
    int holeSize = 0;        // doughnuts: percent of the diameter; 0 for a pie
    bool bubbles = false;
    ChartFormat seriesFormat; // the default look of the group's series
};

enum class AxisKind { Category, Value, Series };
enum class TickMark { None, Inside, Outside, Cross };
enum class TickLabelPosition { None, Low, High, NextToAxis };

// A value axis' scale; absent values are automatic.
struct ValueScale {
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::optional<double> majorUnit;
    std::optional<double> minorUnit;
    std::optional<double> crossesAt;
    bool crossesAtMaximum = false;
    bool logarithmic = false;
    bool reversed = false;
};

// A category or series axis' scale: counts of categories, from 1.
struct CategoryScale {
    int crossesAt = 1;
    int labelInterval = 1;
    int markInterval = 1;
    bool between = true; // the value axis crosses between categories
    bool crossesAtMaximum = false;
    bool reversed = false;
};

struct ChartAxis {
    AxisKind kind = AxisKind::Category;
    ValueScale valueScale;       // value axes, and the category axis of a scatter chart
    CategoryScale categoryScale; // category and series axes
    int formatIndex = -1;        // the tick labels' number format, -1 for the source's
    TickMark majorTicks = TickMark::Outside;
    TickMark minorTicks = TickMark::None;
    TickLabelPosition labels = TickLabelPosition::NextToAxis;
    int labelRotation = 0; // as ChartText::rotation
    bool automaticRotation = true;
    int fontIndex = -1;
    std::optional<ChartColor> labelColor; // absent: automatic
    std::optional<ChartLine> line;        // absent: automatic
    std::optional<ChartLine> majorGridlines;
    std::optional<ChartLine> minorGridlines;
    std::optional<ChartText> title;
};

// The axes of one axis group (primary or secondary) and the plot area they span.
struct AxisGroup {
    bool secondary = false;
    std::vector<ChartAxis> axes;
    const ChartAxis* axis(AxisKind kind) const {
        for (const ChartAxis& axis : axes)
            if (axis.kind == kind)
                return &axis;
        return nullptr;
    }
};

// The border and background of the chart area, the plot area or the legend; absent parts are
// automatic.
struct ChartFrame {
    std::optional<ChartLine> border;
    std::optional<ChartFill> fill;
};

enum class LegendPosition { Bottom, Corner, Top, Right, Left, Floating };

struct ChartLegend {
    LegendPosition position = LegendPosition::Right;
    bool vertical = true;
    ChartFrame frame;
    int fontIndex = -1;
};

enum class BlankCells { Gap, Zero, Interpolated };

// A chart: embedded in a worksheet (SheetObject::chart) or a chart sheet (Sheet::chart).
struct Chart {
    double widthPoints = 0;
    double heightPoints = 0;
    ChartFrame chartArea;
    ChartFrame plotArea;
    std::vector<ChartGroup> groups; // in the file's order
    std::vector<AxisGroup> axisGroups;
    std::vector<ChartSeries> series; // in the file's order
    std::optional<ChartText> title;
    std::optional<ChartLegend> legend;
    bool plotVisibleOnly = true;
    BlankCells blanks = BlankCells::Gap;
    int defaultFontIndex = -1;
    // False when the chart's records were damaged: what was read before the damage is kept.
    bool whole = true;

    const AxisGroup* axisGroup(bool secondary) const {
        for (const AxisGroup& group : axisGroups)
            if (group.secondary == secondary)
                return &group;
        return nullptr;
    }
};

} // namespace xls
