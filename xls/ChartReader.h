#pragma once

#include "Chart.h"
#include "ChartRecords.h"
#include "ChartReference.h"
#include "Strings.h"

#include <memory>
#include <vector>

namespace xls {

class RecordReader;
class RecordStream;
struct Record;

// Reads one chart substream, the records between its BOF and its EOF, into a chart. The
// records nest in BEGIN/END blocks: each block belongs to the record just before its BEGIN
// (a series, an axis, a chart group, a frame, a text), and the records inside it describe
// that part. After the chart's own block come the values the chart keeps of its series.
//
// A record whose fields run past its end, or nesting deeper than any chart goes, ends the
// reading: the chart keeps what was read before and is marked not whole.
class ChartReader {
public:
    ChartReader(const Strings& strings, ChartReference references);

    // Takes the next record of the substream, with its CONTINUE records.
    void read(const Record& record, RecordStream& records);
    // The chart read so far; the reader starts afresh.
    std::shared_ptr<Chart> take();

private:
    enum class Block {
        None,
        Chart,
        Frame,
        Series,
        DataFormat,
        AxisParent,
        Axis,
        Group,
        Legend,
        Text
    };
    enum class FrameOf { ChartArea, PlotArea, Legend, Other };
    // What a block is about: its kind, and indices that say which part of the chart.
    struct Scope {
        Block block = Block::None;
        int index = -1; // series, axis group, chart group or pending text
        int sub = -1;   // axis in its axis group; data point (-1: the whole series)
        int group = -1; // the chart group whose default series format a DATAFORMAT gives
        FrameOf frame = FrameOf::Other;
    };
    // A text is placed when its block ends, once its OBJECTLINK has said what it labels.
    struct PendingText {
        ChartText text;
        std::optional<ObjectLink> link;
        int axisGroup = -1;
        bool isDefault = false;
    };

    void readRecord(const Record& record, RecordStream& records);
    void readContainer(quint16 code, RecordReader& reader);
    void readInBlock(quint16 code, RecordReader& reader);
    void readFormat(quint16 code, RecordReader& reader, ChartFormat& format);
    void readAxisRecord(quint16 code, RecordReader& reader, ChartAxis& axis);
    void readTextRecord(quint16 code, RecordReader& reader, PendingText& pending);
    void readSeriesRecord(quint16 code, RecordReader& reader, ChartSeries& series);
    void readCachedValue(const Record& record, RecordStream& records);
    void endBlock();
    void placeText(PendingText& pending);
    ChartAxis* axisOf(int axisGroup, AxisKind kind);
    ChartFormat* formatOf(const Scope& scope);
    int currentAxisGroup() const;

    const Strings& m_strings;
    ChartReference m_references;
    std::shared_ptr<Chart> m_chart;
    std::vector<Scope> m_scopes;
    Scope m_opened;         // the block that a BEGIN now would open
    int m_axisLineKind = 0; // which line of an axis the next LINEFORMAT gives
    bool m_nextTextIsDefault = false;
    bool m_defaultTextIsAll = false;
    int m_cachedKind = 0; // SIINDEX: 1 values, 2 categories, 3 bubble sizes
    std::vector<PendingText> m_texts;
    std::vector<int> m_groupOrders; // per chart group, the number that series name it by
    bool m_stopped = false;
};

} // namespace xls
