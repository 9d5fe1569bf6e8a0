#include "Formatting.h"

namespace xls {

namespace {

// The bits of value from bit first, count bits wide.
int bits(quint32 value, int first, int count) {
    return static_cast<int>((value >> first) & ((1U << count) - 1U));
}

HorizontalAlignment horizontalOf(int code) {
    return static_cast<HorizontalAlignment>(code); // three bits: every value is named
}

VerticalAlignment verticalOf(int code) {
    return code <= static_cast<int>(VerticalAlignment::Distributed)
               ? static_cast<VerticalAlignment>(code)
               : VerticalAlignment::Bottom;
}

// The first three fields, the same in both layouts.
CellFormat commonPart(RecordReader& reader) {
    CellFormat format;
    format.fontIndex = reader.u16();
    format.formatIndex = reader.u16();
    const quint16 type = reader.u16();
    format.isStyle = (type & 0x0004) != 0;
    format.parentIndex = bits(type, 4, 12);
    return format;
}

void readBiff8Layout(RecordReader& reader, CellFormat& format) {
    const quint8 alignment = reader.u8();
    format.horizontal = horizontalOf(bits(alignment, 0, 3));
    format.wrap = (alignment & 0x08) != 0;
    format.vertical = verticalOf(bits(alignment, 4, 3));
    const quint8 rotation = reader.u8();
    format.rotation = rotation <= 180 || rotation == 255 ? rotation : 0;
    const quint8 indentation = reader.u8();
    format.indent = bits(indentation, 0, 4);
    format.shrinkToFit = (indentation & 0x10) != 0;
    reader.u8(); // which attributes differ from the parent style
    const quint32 borders = reader.u32();
    format.left = {Formatting::borderStyle(bits(borders, 0, 4)), bits(borders, 16, 7)};
    format.right = {Formatting::borderStyle(bits(borders, 4, 4)), bits(borders, 23, 7)};
    format.top.style = Formatting::borderStyle(bits(borders, 8, 4));
    format.bottom.style = Formatting::borderStyle(bits(borders, 12, 4));
    format.diagonalDown = (borders & 0x40000000U) != 0;
    format.diagonalUp = (borders & 0x80000000U) != 0;
    const quint32 more = reader.u32();
    format.top.colorIndex = bits(more, 0, 7);
    format.bottom.colorIndex = bits(more, 7, 7);
    format.diagonal = {Formatting::borderStyle(bits(more, 21, 4)), bits(more, 14, 7)};
    format.fillPattern = bits(more, 26, 6);
    const quint16 fill = reader.u16();
    format.patternColorIndex = bits(fill, 0, 7);
    format.backgroundColorIndex = bits(fill, 7, 7);
}

void readBiff5Layout(RecordReader& reader, CellFormat& format) {
    const quint8 alignment = reader.u8();
    format.horizontal = horizontalOf(bits(alignment, 0, 3));
    format.wrap = (alignment & 0x08) != 0;
    format.vertical = verticalOf(bits(alignment, 4, 3));
    switch (bits(reader.u8(), 0, 2)) {
    case 1:
        format.rotation = 255; // stacked
        break;
    case 2:
        format.rotation = 90; // counter-clockwise
        break;
    case 3:
        format.rotation = 180; // clockwise
        break;
    default:
        format.rotation = 0;
        break;
    }
    const quint32 fillAndBottom = reader.u32();
    format.patternColorIndex = bits(fillAndBottom, 0, 7);
    format.backgroundColorIndex = bits(fillAndBottom, 7, 7);
    format.fillPattern = bits(fillAndBottom, 16, 6);
    format.bottom = {Formatting::borderStyle(bits(fillAndBottom, 22, 3)),
                     bits(fillAndBottom, 25, 7)};
    const quint32 otherBorders = reader.u32();
    format.top = {Formatting::borderStyle(bits(otherBorders, 0, 3)), bits(otherBorders, 9, 7)};
    format.left = {Formatting::borderStyle(bits(otherBorders, 3, 3)), bits(otherBorders, 16, 7)};
    format.right = {Formatting::borderStyle(bits(otherBorders, 6, 3)), bits(otherBorders, 23, 7)};
}

} // namespace

Underline Formatting::underline(quint8 code) {
    switch (code) {
    case 0x01:
        return Underline::Single;
    case 0x02:
        return Underline::Double;
    case 0x21:
        return Underline::SingleAccounting;
    case 0x22:
        return Underline::DoubleAccounting;
    default:
        return Underline::None;
    }
}

BorderStyle Formatting::borderStyle(int code) {
    return code <= static_cast<int>(BorderStyle::SlantedDashDot) ? static_cast<BorderStyle>(code)
                                                                 : BorderStyle::None;
}

Font Formatting::font(RecordReader& reader, const Strings& strings) {
    Font font;
    font.height = reader.u16();
    const quint16 attributes = reader.u16();
    font.italic = (attributes & 0x0002) != 0;
    font.strikeout = (attributes & 0x0008) != 0;
    font.outline = (attributes & 0x0010) != 0;
    font.shadow = (attributes & 0x0020) != 0;
    font.colorIndex = reader.u16();
    font.weight = reader.u16();
    const quint16 script = reader.u16();
    font.script = script == 1   ? Script::Superscript
                  : script == 2 ? Script::Subscript
                                : Script::Normal;
    font.underline = underline(reader.u8());
    font.family = reader.u8();
    font.charSet = reader.u8();
    reader.u8();
    font.name = strings.shortString(reader);
    return font;
}

CellFormat Formatting::cellFormat(RecordReader& reader, BiffVersion version) {
    CellFormat format = commonPart(reader);
    if (version == BiffVersion::Biff8)
        readBiff8Layout(reader, format);
    else
        readBiff5Layout(reader, format);
    return format;
}

std::pair<int, QString> Formatting::numberFormat(RecordReader& reader, const Strings& strings) {
    const int index = reader.u16();
    // The code's length takes two bytes in Excel 97-2003 and one in Excel 5.0/95.
    QString code = strings.version() == BiffVersion::Biff8 ? strings.longString(reader)
                                                           : strings.shortString(reader);
    return {index, code};
}

void Formatting::readPalette(RecordReader& reader, Palette& palette) {
    const int count = reader.u16();
    for (int i = 0; i < count && i < Palette::kPaletteSize; ++i) {
        const quint8 red = reader.u8();
        const quint8 green = reader.u8();
        const quint8 blue = reader.u8();
        reader.u8();
        palette.setColor(Palette::kFirstPaletteIndex + i, QColor(red, green, blue));
    }
}

} // namespace xls
