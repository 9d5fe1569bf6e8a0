#include "ChartRecords.h"

#include <algorithm>
#include <cmath>

namespace xls::chartrecords {

namespace {

constexpr int kStackedRotation = 255;

bool bit(quint16 flags, int index) {
    return (flags & (1U << index)) != 0;
}

// A colour as red, green and blue bytes and one unused byte.
QRgb rgbOf(RecordReader& reader) {
    const int red = reader.u8();
    const int green = reader.u8();
    const int blue = reader.u8();
    reader.u8();
    return qRgb(red, green, blue);
}

// Rotation fields count 0..90 degrees counter-clockwise and 91..180 as 1..90 clockwise.
int rotationOf(quint16 field) {
    if (field == kStackedRotation)
        return kStackedRotation;
    if (field > 180)
        return 0;
    return field <= 90 ? field : 90 - field;
}

ChartGrouping groupingOf(bool stacked, bool percent) {
    if (percent)
        return ChartGrouping::PercentStacked;
    return stacked ? ChartGrouping::Stacked : ChartGrouping::Standard;
}

} // namespace

ChartLine lineFormat(RecordReader& reader) {
    ChartLine line;
    line.color.rgb = rgbOf(reader);
    const quint16 pattern = reader.u16();
    const qint16 weight = static_cast<qint16>(reader.u16());
    const quint16 flags = reader.u16();
    line.color.paletteIndex = reader.u16();
    line.dash = pattern <= static_cast<int>(ChartDash::LightGray) ? static_cast<ChartDash>(pattern)
                                                                  : ChartDash::Solid;
    line.weight = static_cast<ChartLineWeight>(std::clamp<int>(weight + 1, 0, 3));
    line.automatic = bit(flags, 0);
    return line;
}

ChartFill areaFormat(RecordReader& reader) {
    ChartFill fill;
    fill.foreground.rgb = rgbOf(reader);
    fill.background.rgb = rgbOf(reader);
    fill.pattern = reader.u16();
    const quint16 flags = reader.u16();
    fill.foreground.paletteIndex = reader.u16();
    fill.background.paletteIndex = reader.u16();
    fill.automatic = bit(flags, 0);
    fill.invertNegative = bit(flags, 1);
    return fill;
}

ChartMarker markerFormat(RecordReader& reader) {
    ChartMarker marker;
    marker.foreground.rgb = rgbOf(reader);
    marker.background.rgb = rgbOf(reader);
    const quint16 shape = reader.u16();
    const quint16 flags = reader.u16();
    marker.foreground.paletteIndex = reader.u16();
    marker.background.paletteIndex = reader.u16();
    marker.sizeTwips = static_cast<int>(std::min<quint32>(reader.u32(), 0x7FFF));
    marker.shape = shape <= static_cast<int>(MarkerShape::Plus) ? static_cast<MarkerShape>(shape)
                                                                : MarkerShape::Square;
    marker.automatic = bit(flags, 0);
    marker.filled = !bit(flags, 4);
    marker.bordered = !bit(flags, 5);
    return marker;
}

void valueRange(RecordReader& reader, ValueScale& scale) {
    const double minimum = reader.f64();
    const double maximum = reader.f64();
    const double major = reader.f64();
    const double minor = reader.f64();
    const double cross = reader.f64();
    const quint16 flags = reader.u16();
    const auto fixed = [&](double value, int autoBit) {
        return bit(flags, autoBit) || !std::isfinite(value) ? std::nullopt
                                                            : std::optional<double>(value);
    };
    scale.minimum = fixed(minimum, 0);
    scale.maximum = fixed(maximum, 1);
    scale.majorUnit = fixed(major, 2);
    scale.minorUnit = fixed(minor, 3);
    scale.crossesAt = fixed(cross, 4);
    scale.logarithmic = bit(flags, 5);
    scale.reversed = bit(flags, 6);
    scale.crossesAtMaximum = bit(flags, 7);
}

void catSerRange(RecordReader& reader, CategoryScale& scale) {
    scale.crossesAt = std::max<int>(1, reader.u16());
    scale.labelInterval = std::max<int>(1, reader.u16());
    scale.markInterval = std::max<int>(1, reader.u16());
    const quint16 flags = reader.u16();
    scale.between = bit(flags, 0);
    scale.crossesAtMaximum = bit(flags, 1);
    scale.reversed = bit(flags, 2);
}

void tick(RecordReader& reader, ChartAxis& axis) {
    const quint8 major = reader.u8();
    const quint8 minor = reader.u8();
    const quint8 labels = reader.u8();
    reader.u8(); // background mode
    const QRgb color = rgbOf(reader);
    reader.skip(16);
    const quint16 flags = reader.u16();
    const int colorIndex = reader.u16();
    const quint16 rotation = reader.u16();
    const auto mark = [](quint8 value) {
        return value <= 3 ? static_cast<TickMark>(value) : TickMark::None;
    };
    axis.majorTicks = mark(major);
    axis.minorTicks = mark(minor);
    axis.labels = labels <= 3 ? static_cast<TickLabelPosition>(labels) : TickLabelPosition::None;
    if (!bit(flags, 0))
        axis.labelColor = ChartColor{color, colorIndex};
    axis.automaticRotation = bit(flags, 5);
    axis.labelRotation = rotationOf(rotation);
}

ChartText text(RecordReader& reader) {
    ChartText text;
    reader.skip(4); // alignments and background mode
    text.color.rgb = rgbOf(reader);
    reader.skip(16); // position and size, which the layout decides
    const quint16 flags = reader.u16();
    text.color.paletteIndex = reader.u16();
    reader.u16(); // label placement and reading order
    text.rotation = rotationOf(reader.u16());
    text.automaticColor = bit(flags, 0);
    text.automaticText = bit(flags, 4);
    text.deleted = bit(flags, 6);
    text.labels.value = bit(flags, 2);
    text.labels.percent = bit(flags, 11) || bit(flags, 12);
    text.labels.category = bit(flags, 11) || bit(flags, 14);
    return text;
}

ChartLegend legend(RecordReader& reader) {
    ChartLegend legend;
    reader.skip(16); // position and size, which the layout decides
    const quint8 type = reader.u8();
    reader.u8(); // spacing
    const quint16 flags = reader.u16();
    switch (type) {
    case 0:
        legend.position = LegendPosition::Bottom;
        break;
    case 1:
        legend.position = LegendPosition::Corner;
        break;
    case 2:
        legend.position = LegendPosition::Top;
        break;
    case 3:
        legend.position = LegendPosition::Right;
        break;
    case 4:
        legend.position = LegendPosition::Left;
        break;
    default:
        legend.position = LegendPosition::Floating;
        break;
    }
    legend.vertical = bit(flags, 4);
    return legend;
}

DataLabels attachedLabel(RecordReader& reader) {
    const quint16 flags = reader.u16();
    DataLabels labels;
    labels.value = bit(flags, 0);
    labels.percent = bit(flags, 1) || bit(flags, 2);
    labels.category = bit(flags, 2) || bit(flags, 4);
    labels.seriesName = bit(flags, 6);
    return labels;
}

void groupType(quint16 code, RecordReader& reader, ChartGroup& group) {
    switch (code) {
    case chartrecord::kBar: {
        group.type = ChartType::Bar;
        group.overlap = static_cast<qint16>(reader.u16());
        group.gap = reader.u16();
        const quint16 flags = reader.u16();
        group.horizontal = bit(flags, 0);
        group.grouping = groupingOf(bit(flags, 1), bit(flags, 2));
        break;
    }
    case chartrecord::kLine:
    case chartrecord::kArea: {
        group.type = code == chartrecord::kLine ? ChartType::Line : ChartType::Area;
        const quint16 flags = reader.u16();
        group.grouping = groupingOf(bit(flags, 0), bit(flags, 1));
        break;
    }
    case chartrecord::kPie:
        group.type = ChartType::Pie;
        group.firstSliceAngle = reader.u16() % 360;
        group.holeSize = std::min<int>(reader.u16(), 90);
        break;
    case chartrecord::kScatter:
        group.type = ChartType::Scatter;
        reader.skip(4); // bubble size ratio and meaning
        group.bubbles = bit(reader.u16(), 0);
        break;
    case chartrecord::kRadar:
        group.type = ChartType::Radar;
        break;
    case chartrecord::kRadarArea:
        group.type = ChartType::FilledRadar;
        break;
    case chartrecord::kSurface:
        group.type = ChartType::Surface;
        break;
    case chartrecord::kPieOfPie:
        group.type = ChartType::PieOfPie;
        break;
    default:
        break;
    }
}

ObjectLink objectLink(RecordReader& reader) {
    ObjectLink link;
    link.target = reader.u16();
    link.series = reader.u16();
    const quint16 point = reader.u16();
    link.point = point == 0xFFFF ? -1 : point;
    return link;
}

ReferenceRecord reference(RecordReader& reader) {
    ReferenceRecord record;
    record.id = reader.u8();
    record.isReference = reader.u8() == 2;
    const quint16 flags = reader.u16();
    const int format = reader.u16();
    if (bit(flags, 0))
        record.formatIndex = format;
    const quint16 size = reader.u16();
    record.formula = reader.bytes(size);
    return record;
}

AxisKind axisKind(RecordReader& reader) {
    const quint16 type = reader.u16();
    return type <= 2 ? static_cast<AxisKind>(type) : AxisKind::Value;
}

} // namespace xls::chartrecords
