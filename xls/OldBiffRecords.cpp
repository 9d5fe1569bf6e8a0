#include "OldBiffRecords.h"

#include "Formatting.h"

#include <algorithm>

namespace xls {

namespace {

constexpr int kLastColumn = 255;

int bits(quint32 value, int first, int count) {
    return static_cast<int>((value >> first) & ((1U << count) - 1U));
}

// A five-bit colour index of an Excel 3.0 or 4.0 cell format: 0 to 23 name the same colours
// as later, 24 and 25 the system's window text and window background.
int colourOf(int code) {
    switch (code) {
    case 24:
        return 0x40;
    case 25:
        return 0x41;
    default:
        return code;
    }
}

Border borderOf(quint32 borders, int first) {
    return {Formatting::borderStyle(bits(borders, first, 3)),
            colourOf(bits(borders, first + 3, 5))};
}

// The background and the four borders, laid out alike in Excel 3.0 and 4.0.
void readFillAndBorders(RecordReader& reader, CellFormat& format) {
    const quint16 fill = reader.u16();
    format.fillPattern = bits(fill, 0, 6);
    format.patternColorIndex = colourOf(bits(fill, 6, 5));
    format.backgroundColorIndex = colourOf(bits(fill, 11, 5));
    const quint32 borders = reader.u32();
    format.top = borderOf(borders, 0);
    format.left = borderOf(borders, 8);
    format.bottom = borderOf(borders, 16);
    format.right = borderOf(borders, 24);
}

// Text orientation: level, stacked, turned counter-clockwise, turned clockwise.
int rotationOf(int code) {
    constexpr int kRotations[] = {0, 255, 90, 180};
    return kRotations[code & 0x03];
}

} // namespace

std::optional<BiffVersion> OldBiffRecords::versionOfBof(quint16 code) {
    switch (code) {
    case oldrecord::kBofBiff2:
        return BiffVersion::Biff2;
    case oldrecord::kBofBiff3:
        return BiffVersion::Biff3;
    case oldrecord::kBofBiff4:
        return BiffVersion::Biff4;
    default:
        return std::nullopt;
    }
}

Font OldBiffRecords::font(RecordReader& reader, const Strings& strings) {
    Font font;
    font.height = reader.u16();
    const quint16 attributes = reader.u16();
    font.weight = (attributes & 0x0001) != 0 ? 700 : 400;
    font.italic = (attributes & 0x0002) != 0;
    font.underline = (attributes & 0x0004) != 0 ? Underline::Single : Underline::None;
    font.strikeout = (attributes & 0x0008) != 0;
    font.outline = (attributes & 0x0010) != 0;
    font.shadow = (attributes & 0x0020) != 0;
    // Excel 2.x gives the colour in a FONTCOLOR record after the font.
    if (reader.code() == oldrecord::kFont3)
        font.colorIndex = reader.u16();
    font.name = strings.shortString(reader);
    return font;
}

CellFormat OldBiffRecords::cellFormat(RecordReader& reader) {
    CellFormat format;
    format.fontIndex = reader.u8();
    format.formatIndex = reader.u8();
    if (reader.code() == oldrecord::kXf3) {
        format.isStyle = (reader.u8() & 0x04) != 0;
        reader.u8(); // which attributes differ from the parent style
        const quint16 alignment = reader.u16();
        format.horizontal = static_cast<HorizontalAlignment>(bits(alignment, 0, 3));
        format.wrap = (alignment & 0x0008) != 0;
        format.parentIndex = bits(alignment, 4, 12);
    } else {
        const quint16 type = reader.u16();
        format.isStyle = (type & 0x0004) != 0;
        format.parentIndex = bits(type, 4, 12);
        const quint8 alignment = reader.u8();
        format.horizontal = static_cast<HorizontalAlignment>(bits(alignment, 0, 3));
        format.wrap = (alignment & 0x08) != 0;
        format.vertical = static_cast<VerticalAlignment>(bits(alignment, 4, 2));
        format.rotation = rotationOf(bits(alignment, 6, 2));
        reader.u8(); // which attributes differ from the parent style
    }
    readFillAndBorders(reader, format);
    return format;
}

CellFormat OldBiffRecords::attributeFormat(quint8 formatAndFont, quint8 style) {
    CellFormat format;
    format.formatIndex = bits(formatAndFont, 0, 6);
    format.fontIndex = bits(formatAndFont, 6, 2);
    format.horizontal = static_cast<HorizontalAlignment>(bits(style, 0, 3));
    // Borders are thin and black; shading is a light dotted grey.
    const Border thin{BorderStyle::Thin, 0};
    const Border none;
    format.left = (style & 0x08) != 0 ? thin : none;
    format.right = (style & 0x10) != 0 ? thin : none;
    format.top = (style & 0x20) != 0 ? thin : none;
    format.bottom = (style & 0x40) != 0 ? thin : none;
    if ((style & 0x80) != 0) {
        format.fillPattern = 17;
        format.patternColorIndex = 0;
        format.backgroundColorIndex = 1;
    }
    return format;
}

RowInfo OldBiffRecords::row(RecordReader& reader, std::optional<quint16>& attributes) {
    RowInfo info;
    info.row = reader.u16();
    reader.skip(4); // first and last column
    const quint16 height = reader.u16();
    info.height = height & 0x7FFF;
    info.defaultHeight = (height & 0x8000) != 0;
    attributes.reset();
    if (reader.code() == oldrecord::kRow2) {
        reader.skip(2);
        const bool hasAttributes = reader.u8() != 0;
        reader.skip(2); // where the row's first cell record is
        if (hasAttributes) {
            reader.u8(); // protection and cell format index
            const quint8 formatAndFont = reader.u8();
            attributes = static_cast<quint16>(formatAndFont | (reader.u8() << 8));
        }
        // Excel 2.x hides a row by giving it no height.
        info.hidden = info.height == 0 && !info.defaultHeight;
        return info;
    }
    reader.skip(4);
    const quint16 flags = reader.u16();
    const quint16 format = reader.u16();
    info.hidden = (flags & 0x0020) != 0;
    info.customHeight = (flags & 0x0040) != 0;
    info.formatIndex = (flags & 0x0080) != 0 ? (format & 0x0FFF) : -1;
    return info;
}

ColumnInfo OldBiffRecords::columnWidth(RecordReader& reader) {
    ColumnInfo info;
    info.firstColumn = reader.u8();
    info.lastColumn = reader.u8();
    info.width = reader.u16();
    info.hidden = info.width == 0;
    info.formatIndex = -1; // Excel 2.x columns have no format of their own here
    return info;
}

ColumnInfo OldBiffRecords::columnInfo(RecordReader& reader) {
    ColumnInfo info;
    info.firstColumn = reader.u16();
    info.lastColumn = std::min<int>(reader.u16(), kLastColumn);
    info.width = reader.u16();
    info.formatIndex = reader.u16();
    info.hidden = (reader.u16() & 0x0001) != 0;
    return info;
}

} // namespace xls
