#include "DrawingRecords.h"

#include "ReadError.h"
#include "RecordCodes.h"

namespace xls::drawingrecords {

namespace {

constexpr quint16 kFtEnd = 0x0000;
constexpr quint16 kFtCmo = 0x0015;
constexpr quint16 kFtCbls = 0x000A;
constexpr quint16 kFtCblsData = 0x0012;
constexpr quint16 kFtLbsData = 0x0013;
constexpr int kComboBox = 0x14;
constexpr qsizetype kRunSize = 8;

QString unicodeString(RecordReader& reader) {
    const int count = reader.u16();
    const bool wide = (reader.u8() & 0x01) != 0;
    return reader.characters(count, wide);
}

// A list or combo box: the text in a combo box's field, else the selected line of the list
// when the list keeps its lines itself.
void readListData(RecordReader& reader, int type, ObjRecord& obj) {
    reader.skip(reader.u16()); // the formula of the source range
    const int lines = reader.u16();
    const int selected = reader.u16();
    const quint16 flags = reader.u16();
    reader.u16(); // the edit box linked to the list
    if (type == kComboBox) {
        reader.skip(6); // style, lines shown, minimum width
        const qsizetype before = reader.remaining();
        obj.shownValue = unicodeString(reader);
        if ((before - reader.remaining()) % 2 != 0 && !reader.atEnd())
            reader.u8(); // padding to an even size
    }
    if ((flags & 0x0002) == 0)
        return;
    for (int line = 1; line <= lines; ++line) {
        const QString text = unicodeString(reader);
        if (line == selected && obj.shownValue.isEmpty())
            obj.shownValue = text;
    }
}

TextHAlign hAlignOf(int code) {
    switch (code) {
    case 2:
        return TextHAlign::Center;
    case 3:
        return TextHAlign::Right;
    case 4:
        return TextHAlign::Justify;
    case 7:
        return TextHAlign::Distributed;
    default:
        return TextHAlign::Left;
    }
}

TextVAlign vAlignOf(int code) {
    switch (code) {
    case 2:
        return TextVAlign::Middle;
    case 3:
        return TextVAlign::Bottom;
    case 4:
        return TextVAlign::Justify;
    case 7:
        return TextVAlign::Distributed;
    default:
        return TextVAlign::Top;
    }
}

} // namespace

ObjectAnchor anchor(RecordReader& reader) {
    ObjectAnchor result;
    result.firstColumn = reader.u16();
    result.firstColumnOffset = reader.u16();
    result.firstRow = reader.u16();
    result.firstRowOffset = reader.u16();
    result.lastColumn = reader.u16();
    result.lastColumnOffset = reader.u16();
    result.lastRow = reader.u16();
    result.lastRowOffset = reader.u16();
    return result;
}

ObjRecord obj(RecordReader& reader) {
    ObjRecord obj;
    while (reader.remaining() >= 4) {
        const quint16 ft = reader.u16();
        const quint16 size = reader.u16();
        if (ft == kFtEnd)
            break;
        if (ft == kFtLbsData) {
            // Its size field does not give its size, and it comes last.
            try {
                readListData(reader, obj.type, obj);
            } catch (const ReadError&) {
                obj.shownValue.clear(); // the list's contents are lost, the object is not
            }
            break;
        }
        if (ft == kFtCmo && size >= 6) {
            obj.type = reader.u16();
            obj.id = reader.u16();
            obj.prints = (reader.u16() & 0x0010) != 0;
            reader.skip(size - 6);
        } else if ((ft == kFtCblsData || ft == kFtCbls) && size >= 2) {
            // Some writers keep the state in the older check box sub-record only; where both
            // are present the later one wins.
            obj.checked = reader.u16();
            reader.skip(size - 2);
        } else {
            reader.skip(size);
        }
    }
    return obj;
}

ObjectText txo(const Record& record, const QList<QByteArrayView>& continues) {
    RecordReader reader(record);
    const quint16 flags = reader.u16();
    const quint16 rotation = reader.u16();
    reader.skip(6);
    const int length = reader.u16();
    const int runBytes = reader.u16();
    ObjectText text;
    applyTextLayout(flags, rotation, text);
    if (length == 0)
        return text;
    if (continues.isEmpty())
        throw reader.corrupt(QStringLiteral("a text box's text is missing"));
    RecordReader characters(Record{record::kContinue, record.offset, continues.first()},
                            continues.mid(1));
    const bool wide = (characters.u8() & 0x01) != 0;
    text.text = characters.characters(length, wide);
    // The runs are the last bytes of the CONTINUE records, after the text.
    QByteArray tail;
    for (qsizetype i = continues.size() - 1; i >= 0 && tail.size() < runBytes; --i)
        tail.prepend(continues[i].toByteArray());
    if (runBytes > characters.remaining() || runBytes > tail.size())
        throw reader.corrupt(QStringLiteral("a text box's formatting runs are cut off"));
    text.runs = textRuns(QByteArrayView(tail).last(runBytes), length);
    return text;
}

QList<TextRun> textRuns(QByteArrayView runs, int textLength) {
    QList<TextRun> out;
    RecordReader reader(Record{record::kContinue, 0, runs});
    while (reader.remaining() >= kRunSize) {
        TextRun run;
        run.position = reader.u16();
        run.fontIndex = reader.u16();
        reader.skip(4);
        // The last run only marks the end of the text.
        if (run.position < textLength && (out.isEmpty() || run.position > out.last().position))
            out.append(run);
    }
    return out;
}

void applyTextLayout(quint16 flags, quint16 rotation, ObjectText& text) {
    text.hAlign = hAlignOf((flags >> 1) & 0x07);
    text.vAlign = vAlignOf((flags >> 4) & 0x07);
    text.orientation =
        rotation <= 3 ? static_cast<TextOrientation>(rotation) : TextOrientation::Horizontal;
}

NoteRecord note(RecordReader& reader) {
    NoteRecord note;
    note.note.row = reader.u16();
    note.note.column = reader.u16();
    note.note.shown = (reader.u16() & 0x0002) != 0;
    note.objectId = reader.u16();
    note.note.author = unicodeString(reader);
    return note;
}

} // namespace xls::drawingrecords
