#include "ChartValues.h"

#include "CellText.h"

#include <algorithm>

namespace xls {

namespace {

// The spreadsheet plots at most this many points of a series, and of a whole chart.
constexpr qsizetype kMaxPoints = 32000;
constexpr qsizetype kMaxChartPoints = 256000;
// Rows looked at for one chart, hidden ones included, so that references to whole columns of
// hidden rows end in time.
constexpr qsizetype kMaxChartRows = 4 * 1024 * 1024;

class Resolver {
public:
    explicit Resolver(const Workbook& workbook)
        : m_workbook(workbook)
        , m_cellText(workbook) {}

    void resolve(Chart& chart) const {
        qsizetype budget = kMaxChartPoints;
        m_rowsLeft = kMaxChartRows;
        for (ChartSeries& series : chart.series) {
            for (ChartData* data : {&series.values, &series.categories, &series.bubbleSizes})
                resolveData(*data, chart.plotVisibleOnly, budget);
            resolveText(series.nameAreas, series.name);
        }
        if (chart.title)
            resolveText(chart.title->areas, chart.title->text);
        for (AxisGroup& group : chart.axisGroups)
            for (ChartAxis& axis : group.axes)
                if (axis.title)
                    resolveText(axis.title->areas, axis.title->text);
    }

    void resolveObjects(const std::vector<SheetObject>& objects) const {
        for (const SheetObject& object : objects) {
            if (object.chart)
                resolve(*object.chart);
            resolveObjects(object.children);
        }
    }

private:
    // The worksheet every area lies on, or nullptr for the first that cannot be followed.
    const Sheet* sheetOf(const ChartArea& area) const {
        if (area.sheet < 0 || area.sheet >= m_workbook.sheetCount())
            return nullptr;
        const Sheet& sheet = m_workbook.sheets()[static_cast<size_t>(area.sheet)];
        return sheet.kind() == SheetKind::Worksheet ? &sheet : nullptr;
    }

    bool followable(const QList<ChartArea>& areas) const {
        return !areas.isEmpty() && std::all_of(areas.begin(), areas.end(), [&](const ChartArea& a) {
            return sheetOf(a) != nullptr;
        });
    }

    ChartValue valueOf(const Cell* cell) const {
        ChartValue value;
        if (!cell)
            return value;
        if (cell->type() == CellType::Number)
            value.number = cell->number();
        else if (cell->type() == CellType::Boolean)
            value.number = cell->boolean() ? 1 : 0;
        if (cell->type() != CellType::Blank)
            value.text = m_cellText.text(*cell);
        return value;
    }

    // Cells beyond the budget of the chart's points are left out.
    void resolveData(ChartData& data, bool visibleOnly, qsizetype& budget) const {
        if (!followable(data.areas))
            return;
        const qsizetype limit = std::min(kMaxPoints, budget);
        QList<ChartValue> points;
        for (const ChartArea& area : data.areas)
            appendArea(area, visibleOnly, limit, points);
        budget -= points.size();
        data.points = points;
    }

    void appendArea(const ChartArea& area, bool visibleOnly, qsizetype limit,
                    QList<ChartValue>& points) const {
        const Sheet& sheet = *sheetOf(area);
        const CellRange& range = area.range;
        for (int row = range.firstRow; row <= range.lastRow && m_rowsLeft > 0; ++row) {
            --m_rowsLeft;
            if (visibleOnly && sheet.isRowHidden(row))
                continue;
            for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
                if (points.size() >= limit)
                    return;
                if (!visibleOnly || !sheet.isColumnHidden(column))
                    points.append(valueOf(sheet.cell(row, column)));
            }
        }
    }

    void resolveText(const QList<ChartArea>& areas, QString& text) const {
        if (!followable(areas))
            return;
        const ChartArea& area = areas.first();
        text = valueOf(sheetOf(area)->cell(area.range.firstRow, area.range.firstColumn)).text;
    }

    const Workbook& m_workbook;
    CellText m_cellText;
    mutable qsizetype m_rowsLeft = kMaxChartRows;
};

} // namespace

void ChartValues::resolve(const Workbook& workbook) {
    const Resolver resolver(workbook);
    for (const Sheet& sheet : workbook.sheets()) {
        if (sheet.chart())
            resolver.resolve(*sheet.chart());
        resolver.resolveObjects(sheet.objects());
    }
}

} // namespace xls
