#include "ChartReader.h"

#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

#include <algorithm>
#include <utility>

namespace xls {

namespace {

using namespace chartrecord;

// Charts nest a handful of blocks deep; more is damage, not a chart.
constexpr size_t kMaxDepth = 32;
// The spreadsheet keeps at most this many points in a series.
constexpr int kMaxPoints = 32000;
// ... and at most this many series in a chart; the blocks of further ones are passed over.
constexpr size_t kMaxSeries = 255;
constexpr int kAllTextDefault = 2;

// The chart's size in points from a 16.16 fixed-point field.
double fixedPoint(RecordReader& reader) {
    return static_cast<qint32>(reader.u32()) / 65536.0;
}

ChartData* dataOf(ChartSeries& series, int kind) {
    switch (kind) {
    case ReferenceRecord::Values:
        return &series.values;
    case ReferenceRecord::Categories:
        return &series.categories;
    case ReferenceRecord::BubbleSizes:
        return &series.bubbleSizes;
    default:
        return nullptr;
    }
}

DataLabels merged(DataLabels a, const DataLabels& b) {
    a.value = a.value || b.value;
    a.percent = a.percent || b.percent;
    a.category = a.category || b.category;
    a.seriesName = a.seriesName || b.seriesName;
    return a;
}

PointFormat& pointOf(ChartSeries& series, int point) {
    for (PointFormat& format : series.points)
        if (format.point == point)
            return format;
    const auto at = std::find_if(series.points.begin(), series.points.end(),
                                 [&](const PointFormat& format) { return format.point > point; });
    return *series.points.insert(at, PointFormat{point, {}, {}});
}

} // namespace

ChartReader::ChartReader(const Strings& strings, ChartReference references)
    : m_strings(strings)
    , m_references(std::move(references))
    , m_chart(std::make_shared<Chart>()) {}

std::shared_ptr<Chart> ChartReader::take() {
    // Series name their chart group by its drawing-order number.
    for (ChartSeries& series : m_chart->series) {
        const auto at = std::find(m_groupOrders.begin(), m_groupOrders.end(), series.group);
        series.group = at == m_groupOrders.end() ? 0 : static_cast<int>(at - m_groupOrders.begin());
    }
    if (!m_scopes.empty())
        m_chart->whole = false;
    std::shared_ptr<Chart> chart = std::exchange(m_chart, std::make_shared<Chart>());
    m_scopes.clear();
    m_opened = {};
    m_axisLineKind = 0;
    m_nextTextIsDefault = false;
    m_cachedKind = 0;
    m_texts.clear();
    m_groupOrders.clear();
    m_stopped = false;
    return chart;
}

void ChartReader::read(const Record& record, RecordStream& records) {
    if (m_stopped)
        return;
    try {
        readRecord(record, records);
    } catch (const ReadError& error) {
        qWarning("%s; the chart keeps what was read before it", qPrintable(error.message()));
        m_chart->whole = false;
        m_stopped = true;
    }
}

void ChartReader::readRecord(const Record& record, RecordStream& records) {
    if (record.code == kBegin) {
        if (m_scopes.size() >= kMaxDepth)
            throw ReadError(ReadError::Kind::Corrupt,
                            QStringLiteral("a chart nests blocks deeper than %1").arg(kMaxDepth));
        m_scopes.push_back(m_opened);
        m_opened = {};
        return;
    }
    if (record.code == kEnd) {
        endBlock();
        return;
    }
    if (m_scopes.empty()) {
        readCachedValue(record, records);
        return;
    }
    RecordReader reader(record);
    m_opened = {};
    readContainer(record.code, reader);
    if (m_opened.block == Block::None)
        readInBlock(record.code, reader);
}

void ChartReader::endBlock() {
    if (m_scopes.empty())
        return;
    const Scope closed = m_scopes.back();
    m_scopes.pop_back();
    m_opened = {};
    if (closed.block == Block::Text)
        placeText(m_texts[static_cast<size_t>(closed.index)]);
}

int ChartReader::currentAxisGroup() const {
    for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope)
        if (scope->block == Block::AxisParent || scope->block == Block::Axis)
            return scope->index;
    return -1;
}

// Records that open a block of their own: what a BEGIN right after them would be about.
void ChartReader::readContainer(quint16 code, RecordReader& reader) {
    Chart& chart = *m_chart;
    const Scope& scope = m_scopes.back();
    switch (code) {
    case kChart:
        reader.skip(8); // position
        chart.widthPoints = fixedPoint(reader);
        chart.heightPoints = fixedPoint(reader);
        m_opened = {Block::Chart};
        break;
    case kSeries:
        if (chart.series.size() >= kMaxSeries)
            break;
        chart.series.emplace_back();
        m_opened = {Block::Series, static_cast<int>(chart.series.size()) - 1};
        break;
    case kDataFormat: {
        const quint16 point = reader.u16();
        const int pointIndex = point == 0xFFFF ? -1 : std::min<int>(point, kMaxPoints);
        if (scope.block == Block::Series)
            m_opened = {Block::DataFormat, scope.index, pointIndex};
        else if (scope.block == Block::Group)
            m_opened = {Block::DataFormat, -1, -1, scope.index};
        break;
    }
    case kAxisParent: {
        AxisGroup group;
        group.secondary = reader.u16() == 1;
        chart.axisGroups.push_back(group);
        m_opened = {Block::AxisParent, static_cast<int>(chart.axisGroups.size()) - 1};
        break;
    }
    case kAxis:
        if (scope.block == Block::AxisParent) {
            std::vector<ChartAxis>& axes = chart.axisGroups[static_cast<size_t>(scope.index)].axes;
            axes.emplace_back().kind = chartrecords::axisKind(reader);
            m_axisLineKind = 0;
            m_opened = {Block::Axis, scope.index, static_cast<int>(axes.size()) - 1};
        }
        break;
    case kChartFormat:
        if (scope.block == Block::AxisParent) {
            reader.skip(16);
            ChartGroup& group = chart.groups.emplace_back();
            group.varyColors = (reader.u16() & 0x0001) != 0;
            m_groupOrders.push_back(reader.u16());
            group.secondaryAxis = chart.axisGroups[static_cast<size_t>(scope.index)].secondary;
            m_opened = {Block::Group, static_cast<int>(chart.groups.size()) - 1};
        }
        break;
    case kLegend:
        if (!chart.legend)
            chart.legend = chartrecords::legend(reader);
        m_opened = {Block::Legend};
        break;
    case kFrame: {
        FrameOf frame = FrameOf::Other;
        if (scope.block == Block::Chart)
            frame = FrameOf::ChartArea;
        else if (scope.block == Block::AxisParent)
            frame = FrameOf::PlotArea;
        else if (scope.block == Block::Legend)
            frame = FrameOf::Legend;
        m_opened = {Block::Frame, -1, -1, -1, frame};
        break;
    }
    case kText: {
        PendingText pending{chartrecords::text(reader), std::nullopt, currentAxisGroup(),
                            m_nextTextIsDefault};
        m_nextTextIsDefault = false;
        m_texts.push_back(std::move(pending));
        m_opened = {Block::Text, static_cast<int>(m_texts.size()) - 1};
        break;
    }
    default:
        break;
    }
}

// Records that describe the part of the chart whose block they are in.
void ChartReader::readInBlock(quint16 code, RecordReader& reader) {
    Chart& chart = *m_chart;
    const Scope scope = m_scopes.back();
    if (code == kDefaultText) {
        m_nextTextIsDefault = true;
        m_defaultTextIsAll = reader.u16() == kAllTextDefault;
        return;
    }
    switch (scope.block) {
    case Block::Chart:
        if (code == kShtProps) {
            const quint16 flags = reader.u16();
            chart.plotVisibleOnly = (flags & 0x0002) != 0;
            const quint8 blanks = reader.u8();
            chart.blanks = blanks <= 2 ? static_cast<BlankCells>(blanks) : BlankCells::Gap;
        }
        break;
    case Block::Frame: {
        ChartFrame* frame = nullptr;
        if (scope.frame == FrameOf::ChartArea)
            frame = &chart.chartArea;
        else if (scope.frame == FrameOf::PlotArea)
            frame = &chart.plotArea;
        else if (scope.frame == FrameOf::Legend && chart.legend)
            frame = &chart.legend->frame;
        if (frame && code == kLineFormat)
            frame->border = chartrecords::lineFormat(reader);
        else if (frame && code == kAreaFormat)
            frame->fill = chartrecords::areaFormat(reader);
        break;
    }
    case Block::Series:
        readSeriesRecord(code, reader, chart.series[static_cast<size_t>(scope.index)]);
        break;
    case Block::DataFormat:
        if (ChartFormat* format = formatOf(scope))
            readFormat(code, reader, *format);
        break;
    case Block::Axis:
        readAxisRecord(code, reader,
                       chart.axisGroups[static_cast<size_t>(scope.index)]
                           .axes[static_cast<size_t>(scope.sub)]);
        break;
    case Block::Group:
        if (code == kChart3d)
            chart.groups[static_cast<size_t>(scope.index)].threeD = true;
        else
            chartrecords::groupType(code, reader, chart.groups[static_cast<size_t>(scope.index)]);
        break;
    case Block::Text:
        readTextRecord(code, reader, m_texts[static_cast<size_t>(scope.index)]);
        break;
    default:
        break;
    }
}

ChartFormat* ChartReader::formatOf(const Scope& scope) {
    Chart& chart = *m_chart;
    if (scope.index < 0)
        return scope.group < 0 ? nullptr
                               : &chart.groups[static_cast<size_t>(scope.group)].seriesFormat;
    ChartSeries& series = chart.series[static_cast<size_t>(scope.index)];
    return scope.sub < 0 ? &series.format : &pointOf(series, scope.sub).format;
}

void ChartReader::readFormat(quint16 code, RecordReader& reader, ChartFormat& format) {
    switch (code) {
    case kLineFormat:
        format.line = chartrecords::lineFormat(reader);
        break;
    case kAreaFormat:
        format.fill = chartrecords::areaFormat(reader);
        break;
    case kMarkerFormat:
        format.marker = chartrecords::markerFormat(reader);
        break;
    case kPieFormat:
        format.explosion = std::clamp<int>(static_cast<qint16>(reader.u16()), 0, 400);
        break;
    case kSerFmt:
        format.smoothed = (reader.u16() & 0x0001) != 0;
        break;
    case kAttachedLabel: {
        const Scope& scope = m_scopes.back();
        if (scope.index < 0)
            break;
        ChartSeries& series = m_chart->series[static_cast<size_t>(scope.index)];
        DataLabels& labels = scope.sub < 0 ? series.labels : pointOf(series, scope.sub).labels;
        labels = merged(labels, chartrecords::attachedLabel(reader));
        break;
    }
    default:
        break;
    }
}

void ChartReader::readSeriesRecord(quint16 code, RecordReader& reader, ChartSeries& series) {
    switch (code) {
    case kBai: {
        const ReferenceRecord reference = chartrecords::reference(reader);
        const QList<ChartArea> areas =
            reference.isReference ? m_references.areas(reference.formula) : QList<ChartArea>();
        if (reference.id == ReferenceRecord::Name) {
            series.nameAreas = areas;
        } else if (ChartData* data = dataOf(series, reference.id)) {
            data->areas = areas;
            data->formatIndex = reference.formatIndex;
        }
        break;
    }
    case kSeriesText:
        reader.u16();
        series.name = m_strings.shortString(reader);
        break;
    case kSerToCrt:
        series.group = reader.u16();
        break;
    case kSerParent:
        series.auxiliary = true;
        break;
    default:
        break;
    }
}

void ChartReader::readAxisRecord(quint16 code, RecordReader& reader, ChartAxis& axis) {
    switch (code) {
    case kValueRange:
        chartrecords::valueRange(reader, axis.valueScale);
        break;
    case kCatSerRange:
        chartrecords::catSerRange(reader, axis.categoryScale);
        break;
    case kTick:
        chartrecords::tick(reader, axis);
        break;
    case kIfmt:
        axis.formatIndex = reader.u16();
        break;
    case kFontX:
        axis.fontIndex = reader.u16();
        break;
    case kAxisLineFormat:
        m_axisLineKind = reader.u16();
        break;
    case kLineFormat: {
        const ChartLine line = chartrecords::lineFormat(reader);
        if (m_axisLineKind == 0)
            axis.line = line;
        else if (m_axisLineKind == 1)
            axis.majorGridlines = line;
        else if (m_axisLineKind == 2)
            axis.minorGridlines = line;
        break;
    }
    default:
        break;
    }
}

void ChartReader::readTextRecord(quint16 code, RecordReader& reader, PendingText& pending) {
    switch (code) {
    case kFontX:
        pending.text.fontIndex = reader.u16();
        break;
    case kSeriesText:
        reader.u16();
        pending.text.text = m_strings.shortString(reader);
        break;
    case kObjectLink:
        pending.link = chartrecords::objectLink(reader);
        break;
    case kBai: {
        const ReferenceRecord reference = chartrecords::reference(reader);
        if (reference.isReference)
            pending.text.areas = m_references.areas(reference.formula);
        break;
    }
    default:
        break;
    }
}

ChartAxis* ChartReader::axisOf(int axisGroup, AxisKind kind) {
    std::vector<AxisGroup>& groups = m_chart->axisGroups;
    if (axisGroup < 0) {
        // Texts outside the axis groups belong to the primary axes.
        const auto primary = std::find_if(groups.begin(), groups.end(),
                                          [](const AxisGroup& group) { return !group.secondary; });
        axisGroup = primary == groups.end() ? -1 : static_cast<int>(primary - groups.begin());
    }
    if (axisGroup < 0)
        return nullptr;
    for (ChartAxis& axis : groups[static_cast<size_t>(axisGroup)].axes)
        if (axis.kind == kind)
            return &axis;
    return nullptr;
}

void ChartReader::placeText(PendingText& pending) {
    Chart& chart = *m_chart;
    const Block parent = m_scopes.empty() ? Block::None : m_scopes.back().block;
    if (parent == Block::Legend) {
        if (chart.legend)
            chart.legend->fontIndex = pending.text.fontIndex;
        return;
    }
    if (pending.isDefault) {
        if (m_defaultTextIsAll || chart.defaultFontIndex < 0)
            chart.defaultFontIndex = pending.text.fontIndex;
        return;
    }
    if (!pending.link)
        return;
    const ObjectLink& link = *pending.link;
    ChartAxis* axis = nullptr;
    switch (link.target) {
    case ObjectLink::Title:
        chart.title = pending.text;
        return;
    case ObjectLink::ValueAxis:
        axis = axisOf(pending.axisGroup, AxisKind::Value);
        break;
    case ObjectLink::CategoryAxis:
        axis = axisOf(pending.axisGroup, AxisKind::Category);
        break;
    case ObjectLink::SeriesAxis:
        axis = axisOf(pending.axisGroup, AxisKind::Series);
        break;
    case ObjectLink::DataLabel:
        if (link.series < static_cast<int>(chart.series.size()) && !pending.text.deleted) {
            ChartSeries& series = chart.series[static_cast<size_t>(link.series)];
            DataLabels& labels =
                link.point < 0 ? series.labels : pointOf(series, link.point).labels;
            labels = merged(labels, pending.text.labels);
        }
        return;
    default:
        return;
    }
    if (axis)
        axis->title = pending.text;
}

// The values a chart keeps of its series, after its own block: SIINDEX says which data of the
// series follow, each cell record's row is the point and its column the series.
void ChartReader::readCachedValue(const Record& record, RecordStream& records) {
    RecordReader reader(record);
    if (record.code == kSiIndex) {
        m_cachedKind = reader.u16();
        return;
    }
    if (record.code != record::kNumber && record.code != record::kLabel &&
        record.code != record::kBoolErr && record.code != record::kBlank)
        return;
    const int point = reader.u16();
    const int column = reader.u16();
    reader.u16(); // cell format
    std::vector<ChartSeries>& series = m_chart->series;
    ChartData* data = column < static_cast<int>(series.size())
                          ? dataOf(series[static_cast<size_t>(column)], m_cachedKind)
                          : nullptr;
    if (!data || point >= kMaxPoints)
        return;
    ChartValue value;
    if (record.code == record::kNumber) {
        value.number = reader.f64();
    } else if (record.code == record::kLabel) {
        RecordReader text(record, records.takeContinues());
        text.skip(6);
        value.text = m_strings.longString(text);
    } else if (record.code == record::kBoolErr) {
        const quint8 byte = reader.u8();
        if (reader.u8() == 0)
            value.number = byte;
    }
    if (data->points.size() <= point)
        data->points.resize(point + 1);
    data->points[point] = value;
}

} // namespace xls
