#pragma once

#include "Chart.h"
#include "RichText.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

namespace xls {

// A picture of the workbook's picture store, kept once however many shapes show it.
enum class PictureFormat { Unknown, Emf, Wmf, Pict, Jpeg, Png, Dib, Tiff };

struct Picture {
    PictureFormat format = PictureFormat::Unknown;
    // The picture's file data. Metafiles are stored uncompressed here; a WMF has no
    // placeable header and a DIB no 14-byte bitmap file header, as the workbook keeps them.
    QByteArray data;
    // Metafiles only: the bounds of the picture in its own units and its size in EMUs
    // (914,400 to the inch).
    QRect metafileBounds;
    QSize metafileSize;
};

enum class ObjectKind {
    Picture,
    Rectangle,
    RoundRectangle,
    Ellipse,
    Line,  // straight lines and connectors
    Shape, // another preset shape: see SheetObject::shapeType
    TextBox,
    Group,
    Chart,
    CheckBox,
    OptionButton,
    GroupBox,
    Label,
    Button,
    ListBox,
    ComboBox,
    Comment,
    Other, // any other form control or object
};

// Where an object lies on its sheet: the cells of its top-left and bottom-right corners with
// offsets in 1/1024 of the column's width and 1/256 of the row's height.
struct ObjectAnchor {
    int firstColumn = 0;
    int firstColumnOffset = 0;
    int firstRow = 0;
    int firstRowOffset = 0;
    int lastColumn = 0;
    int lastColumnOffset = 0;
    int lastRow = 0;
    int lastRowOffset = 0;
};

// A drawing colour: an RGB value, or an index into the workbook's palette (Palette::color;
// 0x40 and above are system colours, which the painter chooses).
struct ObjectColor {
    QRgb rgb = 0xFF000000;
    int paletteIndex = -1;
};

struct ObjectFill {
    bool filled = true;
    ObjectColor color{0xFFFFFFFF, -1};
    double opacity = 1.0; // 0 transparent .. 1 opaque
    int type = 0;         // 0 solid; other values are patterns, gradients and pictures
};

// Dash styles as the drawing layer numbers them: 0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 short dot, 6 short dash, 7 long dash, 8 short dash-dot,
// 9 long dash-dot, 10 long dash-dot-dot.
// Arrowheads: 0 none, 1 triangle, 2 stealth, 3 diamond, 4 oval, 5 open.
struct ObjectLine {
    bool visible = true;
    ObjectColor color{0xFF000000, -1};
    double opacity = 1.0;
    int widthEmu = 9525; // 12,700 EMUs to the point
    int dash = 0;
    int startArrowhead = 0;
    int endArrowhead = 0;
};

enum class TextHAlign { Left, Center, Right, Justify, Distributed };
enum class TextVAlign { Top, Middle, Bottom, Justify, Distributed };
// 0 horizontal, 1 letters stacked, 2 turned 90 degrees counter-clockwise, 3 clockwise.
enum class TextOrientation { Horizontal, Stacked, Up, Down };

struct ObjectText {
    QString text;
    QList<TextRun> runs; // in order of start; empty when the text has one font throughout
    TextHAlign hAlign = TextHAlign::Left;
    TextVAlign vAlign = TextVAlign::Top;
    TextOrientation orientation = TextOrientation::Horizontal;
    // Inner margins in EMUs.
    int marginLeft = 91440;
    int marginTop = 45720;
    int marginRight = 91440;
    int marginBottom = 45720;
};

// A comment's note: the cell it belongs to and whether it is shown on the sheet.
struct CommentNote {
    int row = 0;
    int column = 0;
    bool shown = false;
    QString author;
};

// One drawing object of a sheet, as the painter needs it.
struct SheetObject {
    ObjectKind kind = ObjectKind::Other;
    int shapeType = 0; // the drawing layer's preset shape number (1 rectangle, 3 ellipse, ...)
    int objectId = 0;  // the id that comments' notes refer to
    // Top-level objects are anchored to cells. Members of a group carry childAnchor instead,
    // in the coordinates that their group's childFrame spans.
    ObjectAnchor anchor;
    std::optional<QRect> childAnchor;
    QRect childFrame; // groups only
    // False when the OBJ record or the shape's own flag keeps the object off the page.
    // Comments carry it off as a rule: they print as the page setup's comments choice says.
    bool prints = true;
    bool hidden = false;
    ObjectFill fill;
    ObjectLine line;
    double rotation = 0; // degrees, clockwise
    bool flipH = false;
    bool flipV = false;
    std::optional<ObjectText> text;
    // The index into Workbook::pictures(); absent when there is none or it is missing.
    std::optional<int> picture;
    // Fractions of the picture cut away at each edge (negative values add space).
    double cropTop = 0;
    double cropBottom = 0;
    double cropLeft = 0;
    double cropRight = 0;
    // Check boxes and option buttons: 0 off, 1 on, 2 mixed.
    int checked = 0;
    // Combo boxes: the text shown in the box, where the workbook records it.
    QString shownValue;
    std::optional<CommentNote> note;   // comments only
    std::shared_ptr<Chart> chart;      // charts only, when their chart could be read
    std::vector<SheetObject> children; // groups only, in drawing order
};

} // namespace xls
