#pragma once

#include "Chart.h"
#include "RecordReader.h"

#include <QtGlobal>

namespace xls {

// The record numbers of a chart substream that the chart reader looks at.
namespace chartrecord {
constexpr quint16 kUnits = 0x1001;
constexpr quint16 kChart = 0x1002;
constexpr quint16 kSeries = 0x1003;
constexpr quint16 kDataFormat = 0x1006;
constexpr quint16 kLineFormat = 0x1007;
constexpr quint16 kMarkerFormat = 0x1009;
constexpr quint16 kAreaFormat = 0x100A;
constexpr quint16 kPieFormat = 0x100B;
constexpr quint16 kAttachedLabel = 0x100C;
constexpr quint16 kSeriesText = 0x100D;
constexpr quint16 kChartFormat = 0x1014;
constexpr quint16 kLegend = 0x1015;
constexpr quint16 kBar = 0x1017;
constexpr quint16 kLine = 0x1018;
constexpr quint16 kPie = 0x1019;
constexpr quint16 kArea = 0x101A;
constexpr quint16 kScatter = 0x101B;
constexpr quint16 kAxis = 0x101D;
constexpr quint16 kTick = 0x101E;
constexpr quint16 kValueRange = 0x101F;
constexpr quint16 kCatSerRange = 0x1020;
constexpr quint16 kAxisLineFormat = 0x1021;
constexpr quint16 kDefaultText = 0x1024;
constexpr quint16 kText = 0x1025;
constexpr quint16 kFontX = 0x1026;
constexpr quint16 kObjectLink = 0x1027;
constexpr quint16 kFrame = 0x1032;
constexpr quint16 kBegin = 0x1033;
constexpr quint16 kEnd = 0x1034;
constexpr quint16 kPlotArea = 0x1035;
constexpr quint16 kChart3d = 0x103A;
constexpr quint16 kDropBar = 0x103D;
constexpr quint16 kRadar = 0x103E;
constexpr quint16 kSurface = 0x103F;
constexpr quint16 kRadarArea = 0x1040;
constexpr quint16 kAxisParent = 0x1041;
constexpr quint16 kShtProps = 0x1044;
constexpr quint16 kSerToCrt = 0x1045;
constexpr quint16 kSerParent = 0x104A;
constexpr quint16 kIfmt = 0x104E;
constexpr quint16 kBai = 0x1051; // the references of a series or a text
constexpr quint16 kSerFmt = 0x105D;
constexpr quint16 kPieOfPie = 0x1061;
constexpr quint16 kSiIndex = 0x1065;
} // namespace chartrecord

// What an OBJECTLINK record ties its text to.
struct ObjectLink {
    enum Target { Title = 1, ValueAxis = 2, CategoryAxis = 3, DataLabel = 4, SeriesAxis = 7 };
    int target = 0;
    int series = 0;
    int point = -1; // -1: the whole series
};

// The fixed part of a reference record (BRAI): what it refers for and the formula's bytes.
struct ReferenceRecord {
    enum Id { Name = 0, Values = 1, Categories = 2, BubbleSizes = 3 };
    int id = 0;
    bool isReference = false; // false: the values are in the chart, or the text is literal
    int formatIndex = -1;     // -1 when the values keep their source's format
    QByteArray formula;
};

// Decodes the fields of single chart records; each read is bounds-checked by RecordReader.
namespace chartrecords {
ChartLine lineFormat(RecordReader& reader);
ChartFill areaFormat(RecordReader& reader);
ChartMarker markerFormat(RecordReader& reader);
void valueRange(RecordReader& reader, ValueScale& scale);
void catSerRange(RecordReader& reader, CategoryScale& scale);
void tick(RecordReader& reader, ChartAxis& axis);
ChartText text(RecordReader& reader);
ChartLegend legend(RecordReader& reader);
DataLabels attachedLabel(RecordReader& reader);
// BAR, LINE, PIE, AREA, SCATTER, RADAR, RADARAREA, SURF and BOPPOP: the group's type.
void groupType(quint16 code, RecordReader& reader, ChartGroup& group);
ObjectLink objectLink(RecordReader& reader);
ReferenceRecord reference(RecordReader& reader);
// A series axis that the chart numbers 0, 1, 2: category, value or series.
AxisKind axisKind(RecordReader& reader);
} // namespace chartrecords

} // namespace xls
