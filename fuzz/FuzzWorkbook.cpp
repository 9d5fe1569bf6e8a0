// libFuzzer target: reads any input as a whole .xls file (when it starts like a compound file)
// or as a bare workbook stream, walks the model the way a printer would, shown texts and charts
// included, then lays out every worksheet and paints pages of it (charts included) into a small
// image, and each chart sheet's page, so that no page setup a file may hold can crash, hang or
// exhaust memory.

#include "report/CellFonts.h"
#include "report/CommentList.h"
#include "report/FontMapper.h"
#include "report/HeaderFooter.h"
#include "report/LaidOutSheets.h"
#include "report/PageLayout.h"
#include "report/PagePainter.h"
#include "report/SheetMetrics.h"
#include "report/TextShaper.h"

#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

namespace {

// A sheet may print millions of pages, each made and painted the same way: its first two pages
// and its last are painted, which reaches both ends of the page list and one page after
// another on the same painter. Every worksheet is laid out whole.
constexpr int kFirstPagesPainted = 2;
// Small enough to paint quickly, large enough that lines and texts still reach pixels.
constexpr int kImageWidth = 60;
constexpr int kImageHeight = 85;

int walkChartData(const xls::ChartData& data) {
    int sum = static_cast<int>(data.areas.size());
    for (const xls::ChartValue& point : data.points)
        sum += static_cast<int>(point.text.size()) + (point.number ? 1 : 0);
    return sum;
}

int walkChartText(const xls::Workbook& workbook, const std::optional<xls::ChartText>& text) {
    return text ? static_cast<int>(text->text.size()) + workbook.font(text->fontIndex).height : 0;
}

int walkChartFormat(const xls::Workbook& workbook, const xls::ChartFormat& format) {
    int sum = format.explosion;
    if (format.line)
        sum += workbook.palette().color(format.line->color.paletteIndex).isValid() ? 1 : 0;
    if (format.fill)
        sum += workbook.palette().color(format.fill->foreground.paletteIndex).isValid() ? 1 : 0;
    if (format.marker)
        sum += format.marker->sizeTwips;
    return sum;
}

// Touches what a chart painter reads; a series naming a chart group that is not there is a
// fault of the reader and stops the run.
int walkChart(const xls::Workbook& workbook, const xls::Chart& chart) {
    int sum = walkChartText(workbook, chart.title) + workbook.font(chart.defaultFontIndex).height;
    for (const xls::ChartSeries& series : chart.series) {
        if (!chart.groups.empty() && series.group >= static_cast<int>(chart.groups.size()))
            std::abort();
        sum += walkChartData(series.values) + walkChartData(series.categories) +
               walkChartData(series.bubbleSizes) + static_cast<int>(series.name.size());
        sum += walkChartFormat(workbook, series.format);
        for (const xls::PointFormat& point : series.points)
            sum += point.point + walkChartFormat(workbook, point.format);
    }
    for (const xls::ChartGroup& group : chart.groups)
        sum += group.holeSize + walkChartFormat(workbook, group.seriesFormat);
    for (const xls::AxisGroup& axes : chart.axisGroups) {
        for (const xls::ChartAxis& axis : axes.axes)
            sum += walkChartText(workbook, axis.title) + workbook.font(axis.fontIndex).height +
                   workbook.numberFormatCode(axis.formatIndex).size();
    }
    if (chart.legend)
        sum += workbook.font(chart.legend->fontIndex).height;
    return sum;
}

// Touches what a printer reads of a drawing object and its members.
int walkObject(const xls::Workbook& workbook, const xls::SheetObject& object) {
    int sum = object.anchor.lastRow + object.anchor.lastColumn;
    if (object.chart)
        sum += walkChart(workbook, *object.chart);
    if (object.picture)
        sum += static_cast<int>(workbook.pictures().at(*object.picture).data.size());
    if (object.text) {
        sum += static_cast<int>(object.text->text.size());
        for (const xls::TextRun& run : object.text->runs)
            sum += workbook.font(run.fontIndex).height;
    }
    for (const xls::SheetObject& child : object.children)
        sum += walkObject(workbook, child);
    return sum;
}

// The font runs, phonetic guide and conditional format a printer asks for; positions that
// fall outside their texts are a fault of the reader and stop the run.
int walkRichText(const xls::Workbook& workbook, const xls::Sheet& sheet, const xls::Cell& cell) {
    int sum = 0;
    int previous = -1;
    for (const xls::TextRun& run : workbook.textRuns(cell)) {
        if (run.position <= previous || run.position >= cell.text().size())
            std::abort();
        previous = run.position;
        sum += workbook.font(run.fontIndex).height;
    }
    if (const xls::PhoneticText* guide = workbook.shownPhonetic(sheet, cell)) {
        for (const xls::PhoneticRun& run : guide->runs) {
            if (run.phoneticStart > guide->text.size() ||
                run.baseStart + run.baseLength > cell.text().size())
                std::abort();
        }
        sum += workbook.font(guide->fontIndex).height;
    }
    if (const xls::DifferentialFormat* format = sheet.conditionalFormat(cell.row(), cell.column()))
        sum += format->fontColorIndex.value_or(0);
    return sum;
}

// Touches what a printer reads of each cell, so that a model that lies is caught here.
int walk(const xls::Workbook& workbook) {
    int sum = 0;
    const xls::CellText cellText(workbook);
    for (const xls::Sheet& sheet : workbook.sheets()) {
        for (const xls::Cell& cell : sheet.cells()) {
            sum += static_cast<int>(cellText.text(cell).size());
            const xls::CellFormat& format = workbook.cellFormat(cell.formatIndex());
            sum += workbook.font(format.fontIndex).height;
            sum += workbook.palette().color(format.patternColorIndex).isValid() ? 1 : 0;
            sum += sheet.cell(cell.row(), cell.column()) == &cell ? 1 : 0;
            sum += walkRichText(workbook, sheet, cell);
            sum += static_cast<int>(cell.text().size()) + (sheet.isRowHidden(cell.row()) ? 1 : 0) +
                   sheet.rowHeight(cell.row()) + (sheet.isColumnHidden(cell.column()) ? 1 : 0);
        }
        sum += static_cast<int>(sheet.mergedRanges().size() + sheet.printAreas().size());
        if (sheet.chart())
            sum += walkChart(workbook, *sheet.chart());
        for (const xls::SheetObject& object : sheet.objects())
            sum += walkObject(workbook, object);
    }
    return sum;
}

void paintSheet(const xls::Workbook& workbook, const xls::Sheet& sheet,
                const report::CellFonts& fonts, const xls::CellText& cellText, QImage& image) {
    const report::SheetMetrics metrics(sheet, fonts.mapper().maxDigitWidth(workbook.font(0)));
    const report::PageLayout layout(workbook, sheet, metrics);
    const int count = layout.pageCount();
    std::set<int> ordinals;
    for (int ordinal = 0; ordinal < std::min(count, kFirstPagesPainted); ++ordinal)
        ordinals.insert(ordinal);
    if (count > 0)
        ordinals.insert(count - 1);

    const report::PagePainter pagePainter(workbook, sheet, metrics, fonts, cellText);
    const QSizeF paper = layout.frame().pageLayout.fullRect(QPageLayout::Point).size();
    report::HeaderFooterFields fields;
    fields.pageCount = count;
    fields.sheetName = sheet.name();
    for (const int ordinal : ordinals) {
        const report::LaidOutPage page = layout.page(ordinal);
        fields.page = page.number;
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(kImageWidth / paper.width(), kImageHeight / paper.height());
        pagePainter.paint(painter, layout.frame(), page, fields);
    }
    // The comment list's first and last pages, when the sheet lists its comments.
    const report::CommentList comments(workbook, sheet, layout.frame(), fonts);
    for (const int ordinal : {0, comments.pageCount() - 1}) {
        if (ordinal < 0)
            continue;
        QPainter painter(&image);
        comments.paint(painter, ordinal);
    }
}

// A chart sheet's one page; embedded charts are painted with their worksheet's pages.
void paintChartSheet(const xls::Workbook& workbook, const xls::Sheet& sheet,
                     const report::CellFonts& fonts, const xls::CellText& cellText,
                     QImage& image) {
    const report::SheetMetrics metrics(sheet, fonts.mapper().maxDigitWidth(workbook.font(0)));
    const report::PageLayout layout(workbook, sheet, metrics);
    const report::PagePainter pagePainter(workbook, sheet, metrics, fonts, cellText);
    const QSizeF paper = layout.frame().pageLayout.fullRect(QPageLayout::Point).size();
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(kImageWidth / paper.width(), kImageHeight / paper.height());
    pagePainter.paintChartSheet(painter, layout.frame(), {});
}

void paintPages(const xls::Workbook& workbook) {
    static const report::FontMapper mapper;
    static const report::TextShaper shaper;
    const report::CellFonts fonts(workbook, mapper, shaper);
    const xls::CellText cellText(workbook);
    QImage image(kImageWidth, kImageHeight, QImage::Format_RGB32);
    for (const xls::Sheet& sheet : workbook.sheets()) {
        if (sheet.kind() == xls::SheetKind::Worksheet)
            paintSheet(workbook, sheet, fonts, cellText, image);
        else if (report::isChartSheet(sheet))
            paintChartSheet(workbook, sheet, fonts, cellText, image);
    }
}

} // namespace

// Fonts and painting need a GUI application; the offscreen platform needs no display. Qt sees
// none of libFuzzer's arguments.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "xls_fuzz";
    static char* argv[] = {name, nullptr};
    static const QGuiApplication application(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const xls::IconvCodePages codePages;
    const xls::WorkbookReader reader(codePages);
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const bool container = input.startsWith(QByteArrayView("\xD0\xCF\x11\xE0", 4));
        const xls::Workbook workbook =
            container ? reader.readFileImage(input) : reader.readStream(input);
        volatile int sink = walk(workbook);
        (void)sink;
        paintPages(workbook);
    } catch (const xls::ReadError&) {
        // Every kind of bad input ends here.
    }
    return 0;
}
