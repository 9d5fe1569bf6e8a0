#include "DrawingReader.h"

#include "DrawingRecords.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

#include <QtEndian>

#include <algorithm>

namespace xls {

using officeart::ArtRecord;
using officeart::ArtRecords;
using officeart::damaged;
using officeart::fieldsOf;
using officeart::ShapeProperties;

namespace {

// Groups nest this deep at most; deeper nesting is taken for damage, not followed.
constexpr int kMaxGroupDepth = 16;

ObjectKind kindOfShape(int shapeType) {
    switch (shapeType) {
    case 1:
        return ObjectKind::Rectangle;
    case 2:
        return ObjectKind::RoundRectangle;
    case 3:
        return ObjectKind::Ellipse;
    case 20: // line
    case 32: // straight connector
    case 33: // bent connectors
    case 34:
    case 35:
    case 36:
    case 37: // curved connectors
    case 38:
    case 39:
    case 40:
        return ObjectKind::Line;
    case 75:
        return ObjectKind::Picture;
    case 202:
        return ObjectKind::TextBox;
    default:
        return ObjectKind::Shape;
    }
}

// The kind from the OBJ record's object type, or from the shape type for drawn shapes.
ObjectKind kindOf(int objectType, int shapeType) {
    switch (objectType) {
    case 0x00:
        return ObjectKind::Group;
    case 0x05:
        return ObjectKind::Chart;
    case 0x06:
        return ObjectKind::TextBox;
    case 0x07:
        return ObjectKind::Button;
    case 0x08:
        return ObjectKind::Picture;
    case 0x0B:
        return ObjectKind::CheckBox;
    case 0x0C:
        return ObjectKind::OptionButton;
    case 0x0E:
        return ObjectKind::Label;
    case 0x12:
        return ObjectKind::ListBox;
    case 0x13:
        return ObjectKind::GroupBox;
    case 0x14:
        return ObjectKind::ComboBox;
    case 0x19:
        return ObjectKind::Comment;
    case -1:   // no OBJ record
    case 0x01: // line
    case 0x02: // rectangle
    case 0x03: // oval
    case 0x04: // arc
    case 0x09: // polygon
    case 0x1E: // drawing object
        return kindOfShape(shapeType);
    default:
        return ObjectKind::Other;
    }
}

ObjectAnchor anchorOf(QByteArrayView data) {
    RecordReader reader = fieldsOf(data);
    reader.u16(); // how the object moves and sizes with cells
    return drawingrecords::anchor(reader);
}

QRect rectOf(QByteArrayView data) {
    RecordReader reader = fieldsOf(data);
    const auto left = static_cast<qint32>(reader.u32());
    const auto top = static_cast<qint32>(reader.u32());
    const auto right = static_cast<qint32>(reader.u32());
    const auto bottom = static_cast<qint32>(reader.u32());
    return {QPoint(left, top), QPoint(right, bottom)};
}

double fixedPoint(quint32 value) {
    return static_cast<qint32>(value) / 65536.0;
}

double opacityOf(quint32 value) {
    return std::clamp(fixedPoint(value), 0.0, 1.0);
}

// Whether a CONTINUE record's data starts the next piece of drawing data: a shape or group
// container, or a shape's empty client text box. Some writers carry the next shapes this way
// after an OBJ or a TXO rather than in a new MSODRAWING record. Text and formatting runs cannot
// start with these headers: a text starts with a flag byte of 0 or 1 before its characters.
bool startsDrawingData(QByteArrayView data) {
    if (data.size() < 8)
        return false;
    const auto versionAndInstance = qFromLittleEndian<quint16>(data.data());
    const auto type = qFromLittleEndian<quint16>(data.data() + 2);
    return (versionAndInstance == 0x000F &&
            (type == officeart::kSpContainer || type == officeart::kSpgrContainer)) ||
           (versionAndInstance == 0 && type == officeart::kClientTextbox);
}

} // namespace

bool DrawingReader::isDrawingRecord(quint16 code) {
    return code == record::kMsoDrawing || code == record::kObj || code == record::kTxo ||
           code == record::kNote;
}

void DrawingReader::clear() {
    m_drawing.clear();
    m_objs.clear();
    m_texts.clear();
    m_notes.clear();
    m_damaged = false;
}

void DrawingReader::read(const Record& record, RecordStream& records) {
    QList<QByteArrayView> continues = records.takeContinues();
    if (m_damaged)
        return;
    if (record.code == record::kObj || record.code == record::kTxo) {
        const auto drawing = std::find_if(continues.cbegin(), continues.cend(), startsDrawingData);
        const qsizetype own = drawing - continues.cbegin();
        for (const QByteArrayView part : continues.sliced(own))
            m_drawing.append(part);
        continues.resize(own);
    }
    try {
        switch (record.code) {
        case record::kMsoDrawing:
            m_drawing.append(record.data);
            for (const QByteArrayView part : continues)
                m_drawing.append(part);
            break;
        case record::kObj: {
            RecordReader reader(record, continues);
            m_objs.push_back(drawingrecords::obj(reader));
            break;
        }
        case record::kTxo:
            m_texts.push_back(drawingrecords::txo(record, continues));
            break;
        case record::kNote: {
            RecordReader reader(record, continues);
            m_notes.append(drawingrecords::note(reader));
            break;
        }
        default:
            break;
        }
    } catch (const ReadError&) {
        // The drawing is lost from here on; the shapes before this record stay.
        m_damaged = true;
    }
}

std::vector<SheetObject> DrawingReader::objects() {
    std::vector<SheetObject> objects;
    if (m_drawing.isEmpty())
        return objects;
    try {
        ArtRecords top(m_drawing);
        ArtRecord drawing;
        if (top.next(drawing) && drawing.type == officeart::kDgContainer) {
            ArtRecords parts(drawing.data);
            ArtRecord part;
            while (parts.next(part)) {
                if (part.type == officeart::kSpgrContainer) {
                    readShapes(part, objects, nullptr, 0);
                    break;
                }
            }
        }
    } catch (const ReadError&) {
        // Damaged drawing data: the objects read before the damage stay.
    }
    attachNotes(objects);
    return objects;
}

// The shapes of a group container. Its first shape describes the group itself: the owner,
// or, for the sheet's top-level container, the sheet's drawing as a whole.
void DrawingReader::readShapes(const ArtRecord& group, std::vector<SheetObject>& into,
                               SheetObject* owner, int depth) {
    if (depth > kMaxGroupDepth)
        throw damaged(QStringLiteral("groups nested more than %1 deep").arg(kMaxGroupDepth));
    ArtRecords items(group.data);
    ArtRecord item;
    bool first = true;
    while (items.next(item)) {
        if (item.type == officeart::kSpContainer) {
            SheetObject shape = readShape(item);
            if (first && owner != nullptr) {
                shape.kind = ObjectKind::Group;
                *owner = std::move(shape);
            } else if (!first) {
                into.push_back(std::move(shape));
            }
        } else if (item.type == officeart::kSpgrContainer) {
            SheetObject child;
            child.kind = ObjectKind::Group;
            readShapes(item, child.children, &child, depth + 1);
            into.push_back(std::move(child));
        }
        first = false;
    }
}

SheetObject DrawingReader::readShape(const ArtRecord& container) {
    SheetObject object;
    ShapeProperties properties;
    bool hasObj = false;
    bool hasText = false;
    ArtRecords parts(container.data);
    ArtRecord part;
    while (parts.next(part)) {
        switch (part.type) {
        case officeart::kFsp: {
            RecordReader reader = fieldsOf(part.data);
            object.shapeType = part.instance;
            reader.u32(); // shape id
            const quint32 flags = reader.u32();
            object.flipH = (flags & 0x0040) != 0;
            object.flipV = (flags & 0x0080) != 0;
            break;
        }
        case officeart::kFopt:
        case officeart::kTertiaryFopt:
            properties.read(part);
            break;
        case officeart::kClientAnchor:
            object.anchor = anchorOf(part.data);
            break;
        case officeart::kChildAnchor:
            object.childAnchor = rectOf(part.data);
            break;
        case officeart::kFspgr:
            object.childFrame = rectOf(part.data);
            break;
        case officeart::kClientData:
            hasObj = true;
            break;
        case officeart::kClientTextbox:
            hasText = true;
            break;
        default:
            break;
        }
    }
    int objectType = -1;
    if (hasObj) {
        // Each shape with client data has its OBJ record after it, in drawing order.
        if (m_objs.empty())
            throw damaged(QStringLiteral("a shape has no OBJ record"));
        const ObjRecord obj = m_objs.front();
        m_objs.pop_front();
        objectType = obj.type;
        object.objectId = obj.id;
        object.prints = obj.prints;
        object.checked = obj.checked;
        object.shownValue = obj.shownValue;
    }
    if (hasText && !m_texts.empty()) {
        object.text = m_texts.front();
        m_texts.pop_front();
    }
    object.kind = kindOf(objectType, object.shapeType);
    // A picture has no frame unless its properties give it a line.
    if (object.kind == ObjectKind::Picture)
        object.line.visible = false;
    applyProperties(properties, object);
    return object;
}

void DrawingReader::applyProperties(const ShapeProperties& properties, SheetObject& object) const {
    const auto set = [&](int property, auto apply) {
        if (const std::optional<quint32> value = properties.value(property))
            apply(*value);
    };
    set(0x0004, [&](quint32 v) { object.rotation = fixedPoint(v); });
    set(0x0100, [&](quint32 v) { object.cropTop = fixedPoint(v); });
    set(0x0101, [&](quint32 v) { object.cropBottom = fixedPoint(v); });
    set(0x0102, [&](quint32 v) { object.cropLeft = fixedPoint(v); });
    set(0x0103, [&](quint32 v) { object.cropRight = fixedPoint(v); });
    set(0x0104, [&](quint32 v) {
        // Pictures are numbered from 1; one the store does not hold is missing.
        if (m_pictures != nullptr && v >= 1 && v <= static_cast<quint32>(m_pictures->size()) &&
            (*m_pictures)[v - 1].format != PictureFormat::Unknown)
            object.picture = static_cast<int>(v - 1);
    });
    set(0x0180, [&](quint32 v) { object.fill.type = static_cast<int>(v); });
    set(0x0181, [&](quint32 v) { object.fill.color = officeart::colorOf(v); });
    set(0x0182, [&](quint32 v) { object.fill.opacity = opacityOf(v); });
    object.fill.filled = properties.flag(0x01BF, 0x10).value_or(object.fill.filled);
    set(0x01C0, [&](quint32 v) { object.line.color = officeart::colorOf(v); });
    set(0x01C1, [&](quint32 v) { object.line.opacity = opacityOf(v); });
    set(0x01CB, [&](quint32 v) { object.line.widthEmu = static_cast<int>(v & 0x7FFFFFFF); });
    set(0x01CE, [&](quint32 v) { object.line.dash = static_cast<int>(v); });
    set(0x01D0, [&](quint32 v) { object.line.startArrowhead = static_cast<int>(v); });
    set(0x01D1, [&](quint32 v) { object.line.endArrowhead = static_cast<int>(v); });
    object.line.visible = properties.flag(0x01FF, 0x08).value_or(object.line.visible);
    object.hidden = properties.flag(0x03BF, 0x02).value_or(false);
    // Either the OBJ record or the shape's own print flag can keep an object off the page.
    object.prints = object.prints && properties.flag(0x03BF, 0x01).value_or(true);
    if (object.text) {
        ObjectText& text = *object.text;
        set(0x0081, [&](quint32 v) { text.marginLeft = static_cast<int>(v & 0x7FFFFFFF); });
        set(0x0082, [&](quint32 v) { text.marginTop = static_cast<int>(v & 0x7FFFFFFF); });
        set(0x0083, [&](quint32 v) { text.marginRight = static_cast<int>(v & 0x7FFFFFFF); });
        set(0x0084, [&](quint32 v) { text.marginBottom = static_cast<int>(v & 0x7FFFFFFF); });
    }
}

void DrawingReader::attachNotes(std::vector<SheetObject>& objects) const {
    for (const NoteRecord& note : m_notes) {
        const auto found = std::find_if(objects.begin(), objects.end(), [&](const SheetObject& o) {
            return o.kind == ObjectKind::Comment && o.objectId == note.objectId;
        });
        if (found != objects.end())
            found->note = note.note;
    }
}

} // namespace xls
