#include "ObjReader.h"

#include "DrawingRecords.h"
#include "ImDataPicture.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

#include <QtEndian>

namespace xls {

namespace {

// Object types of the OBJ record.
enum ObjType {
    kGroup = 0x00,
    kLine = 0x01,
    kRectangle = 0x02,
    kOval = 0x03,
    kArc = 0x04,
    kChart = 0x05,
    kText = 0x06,
    kButton = 0x07,
    kPicture = 0x08,
    kPolygon = 0x09,
    kCheckBox = 0x0B,
    kOptionButton = 0x0C,
    kLabel = 0x0E,
    kListBox = 0x12,
    kGroupBox = 0x13,
    kComboBox = 0x14,
};

constexpr quint16 kFtCmo = 0x0015; // how every OBJ of the Office Art form starts
constexpr qsizetype kCommonSize = 34;
constexpr quint16 kFlagHidden = 0x0100;
constexpr quint16 kFlagPrints = 0x0400;
// The drawing layer's preset number of an arc: a quarter of an ellipse.
constexpr int kArcShape = 19;
// Line weights (hairline, single, double, thick) in EMUs.
constexpr int kLineWidths[] = {3175, 9525, 19050, 28575};
// Line styles 0 to 4 are solid, dash, dot, dash-dot and dash-dot-dot, numbered as the drawing
// layer numbers its dashes; 5 is none and 6 to 8 are grey patterns, drawn solid.
constexpr int kLastDash = 4;
constexpr int kLastPatternLine = 8;
constexpr int kNoLine = 5;

ObjectKind kindOf(int type) {
    switch (type) {
    case kLine:
        return ObjectKind::Line;
    case kRectangle:
        return ObjectKind::Rectangle;
    case kOval:
        return ObjectKind::Ellipse;
    case kArc:
        return ObjectKind::Shape;
    case kChart:
        return ObjectKind::Chart;
    case kText:
        return ObjectKind::TextBox;
    case kButton:
        return ObjectKind::Button;
    case kPicture:
        return ObjectKind::Picture;
    case kCheckBox:
        return ObjectKind::CheckBox;
    case kOptionButton:
        return ObjectKind::OptionButton;
    case kLabel:
        return ObjectKind::Label;
    case kListBox:
        return ObjectKind::ListBox;
    case kGroupBox:
        return ObjectKind::GroupBox;
    case kComboBox:
        return ObjectKind::ComboBox;
    default:
        return ObjectKind::Other;
    }
}

bool hasFill(int type) {
    return type == kRectangle || type == kOval || type == kArc || type == kText || type == kPicture;
}

// Background and foreground colour, pattern and the automatic flag. Pattern 0 is no fill, 1
// solid in the foreground colour; the other patterns are drawn in their background colour.
void readFill(RecordReader& reader, ObjectFill& fill) {
    const int background = reader.u8();
    const int foreground = reader.u8();
    const int pattern = reader.u8();
    const bool automatic = reader.u8() != 0;
    if (automatic)
        return; // the default: solid white
    fill.filled = pattern != 0;
    fill.color = ObjectColor{0xFF000000, pattern == 1 ? foreground : background};
}

// Colour, style, weight and the automatic flag; true for an automatic line, which keeps the
// default.
bool readLine(RecordReader& reader, ObjectLine& line) {
    const int color = reader.u8();
    const int style = reader.u8();
    const int weight = reader.u8();
    const bool automatic = reader.u8() != 0;
    if (automatic)
        return true;
    line.color = ObjectColor{0xFF000000, color};
    line.visible = style <= kLastPatternLine && style != kNoLine;
    line.dash = style <= kLastDash ? style : 0;
    line.widthEmu = kLineWidths[weight & 0x03];
    return false;
}

// Arrowheads: the low 4 bits say none, open at the end, filled at the end, open at both ends
// or filled at both ends.
void applyArrows(quint16 arrows, ObjectLine& line) {
    constexpr int kTriangle = 1;
    constexpr int kOpen = 5;
    switch (arrows & 0x0F) {
    case 1:
        line.endArrowhead = kOpen;
        break;
    case 2:
        line.endArrowhead = kTriangle;
        break;
    case 3:
        line.startArrowhead = line.endArrowhead = kOpen;
        break;
    case 4:
        line.startArrowhead = line.endArrowhead = kTriangle;
        break;
    default:
        break;
    }
}

// A line runs from the top-left corner of its box unless it starts at another corner: 1
// top-right, 2 bottom-right, 3 bottom-left. Mirroring the box gives the same line.
void applyLineStart(int corner, SheetObject& object) {
    object.flipH = corner == 1 || corner == 2;
    object.flipV = corner == 2 || corner == 3;
}

// The quarter of the ellipse an arc shows: 0 top-right, 1 top-left, 2 bottom-left,
// 3 bottom-right, as the top-right quarter mirrored.
void applyQuadrant(int quadrant, SheetObject& object) {
    object.flipH = quadrant == 1 || quadrant == 2;
    object.flipV = quadrant == 2 || quadrant == 3;
}

} // namespace

ObjReader::ObjReader(BiffVersion version, const Strings& strings)
    : m_version(version)
    , m_strings(strings) {}

bool ObjReader::takes(const Record& record) const {
    if (record.code == record::kImData)
        return true;
    if (record.code != record::kObj)
        return false;
    if (m_version != BiffVersion::Biff8)
        return true;
    // In an Excel 97-2003 sheet, an OBJ record that does not start with the common object
    // data of the drawing layer's form is of the older form.
    return record.data.size() >= kCommonSize &&
           qFromLittleEndian<quint16>(record.data.data()) != kFtCmo;
}

void ObjReader::clear() {
    m_objects.clear();
    m_pictureDue = false;
}

void ObjReader::read(const Record& record, RecordStream& records) {
    RecordReader reader(record, records.takeContinues());
    const bool pictureWasDue = m_pictureDue;
    // An IMDATA record belongs to the picture object right before it, and to no other.
    m_pictureDue = false;
    try {
        if (record.code == record::kImData) {
            if (pictureWasDue)
                readImData(reader);
        } else {
            readObj(reader);
        }
    } catch (const ReadError& error) {
        qWarning("%s; read on without it", qPrintable(error.message()));
    }
}

void ObjReader::readObj(RecordReader& reader) {
    reader.u32(); // the count of objects in the sheet
    const int type = reader.u16();
    SheetObject object;
    object.kind = kindOf(type);
    object.objectId = reader.u16();
    const quint16 flags = reader.u16();
    object.prints = (flags & kFlagPrints) != 0;
    object.hidden = (flags & kFlagHidden) != 0;
    object.anchor = drawingrecords::anchor(reader);
    const int macroSize = reader.u16();
    reader.skip(6);
    // A group's members are objects of the sheet in their own right; a polygon's points are
    // in a record of their own that is not read.
    if (type == kGroup || type == kPolygon)
        return;
    if (type == kLine) {
        readLine(reader, object.line);
        applyArrows(reader.u16(), object.line);
        applyLineStart(reader.u8(), object);
    } else if (hasFill(type)) {
        readFill(reader, object.fill);
        // A picture has a frame only where its line is given.
        if (readLine(reader, object.line) && type == kPicture)
            object.line.visible = false;
        if (type == kArc) {
            object.shapeType = kArcShape;
            applyQuadrant(reader.u8(), object);
            reader.skip(1);
        } else {
            reader.u16(); // frame flags
        }
        if (type == kText)
            readText(reader, macroSize, object);
    }
    m_pictureDue = type == kPicture;
    m_objects.push_back(std::move(object));
}

// A text box's text: its length, formatting and alignment, then after the macro the
// characters and, last in the record, the formatting runs.
void ObjReader::readText(RecordReader& reader, int macroSize, SheetObject& object) const {
    const int length = reader.u16();
    reader.skip(2);
    const int runBytes = reader.u16();
    const int font = reader.u16();
    reader.skip(2);
    const quint16 flags = reader.u16();
    const quint16 orientation = reader.u16();
    reader.skip(8);
    reader.skip(macroSize);
    ObjectText text;
    drawingrecords::applyTextLayout(flags, orientation, text);
    text.text = m_version == BiffVersion::Biff8 ? QString::fromLatin1(reader.bytes(length))
                                                : m_strings.stringOfLength(reader, length);
    if (runBytes > reader.remaining())
        throw reader.corrupt(QStringLiteral("a text box's formatting runs are cut off"));
    reader.skip(reader.remaining() - runBytes);
    text.runs = drawingrecords::textRuns(reader.bytes(runBytes), int(text.text.size()));
    if (text.runs.isEmpty() && font != 0)
        text.runs.append(TextRun{0, font});
    object.text = std::move(text);
}

void ObjReader::readImData(RecordReader& reader) {
    if (m_pictures == nullptr)
        return;
    std::optional<Picture> picture = imDataPicture(reader);
    if (!picture)
        return;
    m_pictures->append(std::move(*picture));
    m_objects.back().picture = int(m_pictures->size() - 1);
}

} // namespace xls
