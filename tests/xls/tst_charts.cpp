#include "BiffBuilder.h"

#include "xls/CompoundFile.h"
#include "xls/IconvCodePages.h"
#include "xls/RecordStream.h"
#include "xls/WorkbookReader.h"

#include <QFile>
#include <QtTest>

using namespace xls;
using namespace xlstest;

namespace {

const IconvCodePages& codePages() {
    static const IconvCodePages pages;
    return pages;
}

const Workbook& chartsWorkbook() {
    static const Workbook book = WorkbookReader(codePages()).readFile(fixture("charts.xls"));
    return book;
}

void collectCharts(const std::vector<SheetObject>& objects, std::vector<const Chart*>& into) {
    for (const SheetObject& object : objects) {
        if (object.kind == ObjectKind::Chart)
            into.push_back(object.chart.get());
        collectCharts(object.children, into);
    }
}

QString number(const ChartValue& value) {
    return value.number ? QString::number(*value.number) : value.text;
}

QString joined(const QList<ChartValue>& points, bool preferText) {
    QStringList parts;
    for (const ChartValue& point : points)
        parts.append(preferText && !point.text.isEmpty() ? point.text : number(point));
    return parts.join(QLatin1Char('|'));
}

// The data labels a series shows, as the script names them.
QString labelsField(const DataLabels& labels) {
    QStringList shown;
    if (labels.value)
        shown.append(QStringLiteral("value"));
    if (labels.percent)
        shown.append(QStringLiteral("percent"));
    if (labels.category)
        shown.append(QStringLiteral("category"));
    return shown.join(QLatin1Char('+'));
}

QString scaleField(const std::optional<double>& value) {
    return value ? QString::number(*value) : QStringLiteral("auto");
}

// The fields of the generating script's table, as the chart model gives them.
QStringList describe(const QString& name, const Chart& chart) {
    static const char* const types[] = {"Bar",   "Line",        "Pie",     "Area",    "Scatter",
                                        "Radar", "FilledRadar", "Surface", "PieOfPie"};
    static const char* const groupings[] = {"Standard", "Stacked", "PercentStacked"};
    static const char* const legends[] = {"Bottom", "Corner", "Top", "Right", "Left", "Floating"};
    if (chart.groups.empty() || chart.series.empty())
        return {name, QStringLiteral("no groups or series")};
    const ChartGroup& group = chart.groups.front();
    QStringList names;
    for (const ChartSeries& series : chart.series)
        if (!series.auxiliary)
            names.append(series.name);
    const ChartSeries& first = chart.series.front();
    const AxisGroup* axes = chart.axisGroup(false);
    const ChartAxis* valueAxis = axes ? axes->axis(AxisKind::Value) : nullptr;
    const ValueScale scale = valueAxis ? valueAxis->valueScale : ValueScale{};
    int explosion = first.format.explosion;
    for (const PointFormat& point : first.points)
        explosion = std::max(explosion, point.format.explosion);
    const bool markable = group.type == ChartType::Line || group.type == ChartType::Scatter ||
                          group.type == ChartType::Radar;
    const bool markers =
        markable && (!first.format.marker || first.format.marker->shape != MarkerShape::None);
    const auto secondary = std::count_if(chart.groups.begin(), chart.groups.end(),
                                         [](const ChartGroup& g) { return g.secondaryAxis; });
    return {name,
            QLatin1String(types[static_cast<int>(group.type)]),
            QLatin1String(groupings[static_cast<int>(group.grouping)]),
            QString::number(group.horizontal),
            QString::number(chart.series.size()),
            names.join(QLatin1Char('|')),
            joined(first.values.points, false),
            joined(first.categories.points, true),
            chart.title ? chart.title->text : QString(),
            chart.legend ? QLatin1String(legends[static_cast<int>(chart.legend->position)])
                         : QStringLiteral("none"),
            scaleField(scale.minimum),
            scaleField(scale.maximum),
            scaleField(scale.majorUnit),
            QString::number(scale.logarithmic),
            QString::number(scale.reversed),
            QString::number(explosion),
            QString::number(group.holeSize),
            QString::number(chart.groups.size()),
            QString::number(secondary),
            QString::number(markers),
            labelsField(first.labels),
            QString::number(group.firstSliceAngle)};
}

// The lines of the table the generating script wrote, header first.
QList<QStringList> expectedTable() {
    QFile file(fixture("charts.csv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("charts.csv cannot be read");
    QList<QStringList> table;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty())
            table.append(QString::fromUtf8(line).split(QLatin1Char(',')));
    return table;
}

// The records of the fixture's first chart substream, from its BOF to its EOF, each encoded.
QList<QByteArray> firstChartRecords() {
    const QByteArray stream = CompoundFile::readWorkbookStream(fixture("charts.xls"));
    RecordStream records(stream, 0);
    Record record;
    QList<QByteArray> chart;
    while (records.next(record)) {
        const bool chartBof = record.code == 0x0809 && record.data.size() >= 4 &&
                              record.data[2] == 0x20 && record.data[3] == 0;
        if (chartBof || !chart.isEmpty())
            chart.append(BiffBuilder::encoded(record.code, record.data.toByteArray()));
        if (!chart.isEmpty() && record.code == 0x000A)
            break;
    }
    return chart;
}

// A workbook whose one sheet is a chart sheet made of the given chart substream, with the
// cached records put before its EOF.
Workbook chartSheetWorkbook(const QList<QByteArray>& chartRecords,
                            const QList<QByteArray>& cached = {}) {
    BiffBuilder builder;
    builder.bof(0x0005).boundSheet(QStringLiteral("Chart1"), 0, 2).eof().sheetBof(0x20);
    QByteArray stream = builder.stream();
    for (qsizetype i = 1; i + 1 < chartRecords.size(); ++i)
        stream += chartRecords[i];
    stream += cached.join() + chartRecords.last();
    return WorkbookReader(codePages()).readStream(stream);
}

// The values a chart caches of its first series: SIINDEX, then a NUMBER or LABEL record for
// each point, in column 0.
QList<QByteArray> cachedFirstSeries(int kind, const QStringList& points, bool numbers) {
    QList<QByteArray> records{BiffBuilder::encoded(0x1065, u16(kind))};
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QByteArray cell = u16(static_cast<int>(i)) + u16(0) + u16(0);
        records.append(numbers ? BiffBuilder::encoded(0x0203, cell + f64(points[i].toDouble()))
                               : BiffBuilder::encoded(0x0204, cell + unicodeString(points[i], 2)));
    }
    return records;
}

} // namespace

class TestCharts : public QObject {
    Q_OBJECT

private slots:
    void fixtureCharts_data();
    void fixtureCharts();
    void chartSheetUsesCachedValues();
    void damagedChartKeepsWhatWasRead_data();
    void damagedChartKeepsWhatWasRead();
};

// Each chart the script made reads back as the script set it: type and grouping, series with
// their names, values and categories from the data sheet, title, legend, value axis scale,
// pie explosion, doughnut hole and the secondary axis of the combination.
void TestCharts::fixtureCharts_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("expected");
    const QList<QStringList> table = expectedTable();
    for (qsizetype i = 1; i < table.size(); ++i)
        QTest::newRow(qPrintable(table[i].first())) << static_cast<int>(i - 1) << table[i];
}

void TestCharts::fixtureCharts() {
    QFETCH(int, index);
    QFETCH(QStringList, expected);
    const Workbook& book = chartsWorkbook();
    std::vector<const Chart*> charts;
    collectCharts(book.sheets().at(1).objects(), charts);
    QCOMPARE(static_cast<int>(charts.size()), expectedTable().size() - 1);
    const Chart* chart = charts[static_cast<size_t>(index)];
    QVERIFY(chart);
    QVERIFY(chart->whole);
    QCOMPARE(describe(expected.first(), *chart), expected);
}

// A chart sheet holds its chart. Without the workbook's link tables its references cannot be
// followed, so its series show the values the chart cached (which LibreOffice does not write:
// they are added here).
void TestCharts::chartSheetUsesCachedValues() {
    const QStringList expected = expectedTable().at(1);
    const QStringList values = expected[6].split(QLatin1Char('|'));
    const QStringList categories = expected[7].split(QLatin1Char('|'));
    const Workbook book =
        chartSheetWorkbook(firstChartRecords(), cachedFirstSeries(1, values, true) +
                                                    cachedFirstSeries(2, categories, false));
    const Sheet& sheet = book.sheets().at(0);
    QCOMPARE(sheet.kind(), SheetKind::Chart);
    QVERIFY(sheet.chart());
    QVERIFY(sheet.chart()->whole);
    QVERIFY(!sheet.chart()->series.front().values.areas.isEmpty());
    const QStringList actual = describe(expected[0], *sheet.chart());
    QCOMPARE(actual.mid(1, 3), expected.mid(1, 3));
    QCOMPARE(actual.mid(6, 2), expected.mid(6, 2));
}

void TestCharts::damagedChartKeepsWhatWasRead_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("value range cut short") << QStringLiteral("cut");
    QTest::newRow("blocks never closed") << QStringLiteral("unclosed");
    QTest::newRow("blocks nested too deep") << QStringLiteral("deep");
}

// A chart whose records are damaged after its series keeps the series read before the damage,
// is marked not whole, and the workbook is read.
void TestCharts::damagedChartKeepsWhatWasRead() {
    QFETCH(QString, damage);
    QList<QByteArray> records = firstChartRecords();
    const auto codeOf = [](const QByteArray& r) {
        return static_cast<quint16>(static_cast<quint8>(r[0]) | static_cast<quint8>(r[1]) << 8);
    };
    const auto at = std::find_if(records.begin(), records.end(),
                                 [&](const QByteArray& r) { return codeOf(r) == 0x101F; });
    QVERIFY(at != records.end());
    if (damage == QLatin1String("cut")) {
        *at = BiffBuilder::encoded(0x101F, at->mid(4, 20));
    } else if (damage == QLatin1String("unclosed")) {
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [&](const QByteArray& r) { return codeOf(r) == 0x1034; }),
                      records.end());
    } else {
        QList<QByteArray> deep(40, BiffBuilder::encoded(0x1033, {}));
        records = records.mid(0, at - records.begin()) + deep + records.mid(at - records.begin());
    }
    const Workbook book = chartSheetWorkbook(records);
    const Chart* chart = book.sheets().at(0).chart().get();
    QVERIFY(chart);
    QVERIFY(!chart->whole);
    QCOMPARE(static_cast<int>(chart->series.size()), 3);
    QCOMPARE(static_cast<int>(chart->series.front().values.areas.size()), 1);
}

QTEST_GUILESS_MAIN(TestCharts)
#include "tst_charts.moc"
