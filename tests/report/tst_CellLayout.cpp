// The slot table of hand-made pages and of a workbook LibreOffice wrote: merged areas, text
// flowing across neighbours and the gridlines it hides, the texts cells show in their fonts,
// phonetic guides, borders resolved between neighbours, conditional formats.

#include "HandMadeSheet.h"

#include "report/CellFonts.h"
#include "report/CellLayout.h"
#include "report/CellTextReach.h"
#include "report/FontMapper.h"
#include "report/PrintOptions.h"
#include "report/ShapedText.h"
#include "report/SheetMetrics.h"
#include "report/TextShaper.h"
#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/WorkbookReader.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QtTest>

using handmade::Book;
using handmade::kColumn;
using handmade::kRow;
using handmade::pageOf;
using report::CellLayout;
using xls::BorderStyle;
using xls::HorizontalAlignment;

Q_DECLARE_METATYPE(QList<xls::CellRange>)
Q_DECLARE_METATYPE(xls::HorizontalAlignment)
Q_DECLARE_METATYPE(xls::PhoneticAlignment)
Q_DECLARE_METATYPE(xls::Script)
Q_DECLARE_METATYPE(xls::PrintErrors)

namespace {

constexpr double kDigit = 7; // default columns of 64 pixels, 48 points

// Lays out a page as the painter would on a 72 dots-per-inch device.
class Laid {
public:
    Laid(const xls::Workbook& workbook, const xls::Sheet& sheet, const report::LaidOutPage& page)
        : m_device(at72Dpi())
        , m_metrics(sheet, kDigit)
        , m_cellFonts(workbook, m_fonts, m_shaper)
        , m_cellText(workbook)
        , m_options(workbook.palette(), sheet.pageSetup())
        , m_sources{workbook, sheet, m_metrics, m_cellFonts, m_cellText, m_options}
        , m_layout(m_sources, page, &m_device) {}
    Laid(Book& book, const report::LaidOutPage& page)
        : Laid(book.workbook, book.sheet(), page) {}

    const CellLayout& operator*() const { return m_layout; }
    const CellLayout* operator->() const { return &m_layout; }
    const report::SlotText& text(int r, int c) const {
        const int index = m_layout.slot(r, c).text;
        if (index < 0)
            qFatal("slot %d,%d shows no text", r, c);
        return m_layout.texts()[static_cast<size_t>(index)];
    }
    const report::CellSources& sources() const { return m_sources; }

private:
    static QImage at72Dpi() {
        QImage image(10, 10, QImage::Format_RGB32);
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(2835);
        return image;
    }
    QImage m_device;
    report::SheetMetrics m_metrics;
    report::FontMapper m_fonts;
    report::TextShaper m_shaper;
    report::CellFonts m_cellFonts;
    xls::CellText m_cellText;
    report::PrintOptions m_options;
    report::CellSources m_sources;
    CellLayout m_layout;
};

xls::Workbook richFixture() {
    const xls::IconvCodePages codePages;
    return xls::WorkbookReader(codePages).readFile(QStringLiteral(TESSALY_XLS_FIXTURES) +
                                                   QStringLiteral("/richtext.xls"));
}

// The pieces of a shown text, apart by spaces: each piece's characters, then after ':' b
// for bold, i for italic, r for red, s for smaller than the cell's font, ^ raised, _ lowered.
QString pieces(const report::SlotText& text) {
    QStringList out;
    for (const report::TextPiece& piece : text.shaped->pieces()) {
        QString shown = text.text.mid(piece.start, piece.end - piece.start);
        if (text.shape == report::TextShape::Stacked) // the shaped text has a letter a line
            shown = text.text.mid(piece.start / 2, (piece.end - piece.start + 1) / 2);
        QString marks;
        marks += piece.font.bold() ? QStringLiteral("b") : QString();
        marks += piece.font.italic() ? QStringLiteral("i") : QString();
        marks += piece.color == QColor(Qt::red) ? QStringLiteral("r") : QString();
        marks += piece.font.pointSizeF() < text.font.pointSizeF() ? QStringLiteral("s") : QString();
        marks += piece.rise > 0 ? QStringLiteral("^") : piece.rise < 0 ? QStringLiteral("_") : "";
        out += marks.isEmpty() ? shown : shown + u':' + marks;
    }
    return out.join(u' ');
}

// Slot kinds row by row: '.' a cell of its own, 'A' an anchor, 'C' covered; rows apart by '|'.
QString kinds(const CellLayout& layout) {
    QString out;
    for (int r = 0; r < layout.rowCount(); ++r) {
        if (r > 0)
            out += u'|';
        for (int c = 0; c < layout.columnCount(); ++c) {
            const report::SlotKind kind = layout.slot(r, c).kind;
            out += kind == report::SlotKind::Single        ? u'.'
                   : kind == report::SlotKind::MergeAnchor ? u'A'
                                                           : u'C';
        }
    }
    return out;
}

// Which slots of a row a vertical gridline starts: '1' shown, '0' left out.
QString gridLefts(const CellLayout& layout, int r) {
    QString out;
    for (int c = 0; c < layout.columnCount(); ++c)
        out += layout.slot(r, c).gridLeft ? u'1' : u'0';
    return out;
}

QString wide(int characters) {
    return QString(characters, u'M'); // 8.3 points each in the default font
}

} // namespace

class CellLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void mergedAreasHaveOneAnchorPerRun_data();
    void mergedAreasHaveOneAnchorPerRun();
    void mergedAreasShowOnlyTheirOutline();
    void textFlowsAcrossEmptyNeighbours_data();
    void textFlowsAcrossEmptyNeighbours();
    void shownTexts_data();
    void shownTexts();
    void bordersAreResolvedPerEdge_data();
    void bordersAreResolvedPerEdge();
    void reachMeasuresWhatFlows_data();
    void reachMeasuresWhatFlows();
    void runsKeepTheirFontsInEveryShape_data();
    void runsKeepTheirFontsInEveryShape();
    void phoneticGuideStandsOverItsText_data();
    void phoneticGuideStandsOverItsText();
    void conditionalFormatsShowOnThePage_data();
    void conditionalFormatsShowOnThePage();
    void pageOptionsDecideInksAndErrors_data();
    void pageOptionsDecideInksAndErrors();
    void linesDrawAloneInTheirPiecesColours_data();
    void linesDrawAloneInTheirPiecesColours();
};

void CellLayoutTest::mergedAreasHaveOneAnchorPerRun_data() {
    QTest::addColumn<xls::CellRange>("merge");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<int>("titleRows");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QRectF>("area"); // of the first anchor
    QTest::addColumn<QRectF>("visible");
    QTest::newRow("whole on the page")
        << xls::CellRange{0, 1, 0, 1} << QList<int>{0, 1, 2} << QList<int>{0, 1, 2} << 0
        << "AC.|CC.|..." << QRectF(0, 0, 2 * kColumn, 2 * kRow)
        << QRectF(0, 0, 2 * kColumn, 2 * kRow);
    QTest::newRow("starting off the page")
        << xls::CellRange{0, 0, 0, 3} << QList<int>{0} << QList<int>{2, 3} << 0 << "AC"
        << QRectF(-2 * kColumn, 0, 4 * kColumn, kRow) << QRectF(0, 0, 2 * kColumn, kRow);
    QTest::newRow("under a print title")
        << xls::CellRange{0, 6, 0, 0} << QList<int>{0, 5, 6} << QList<int>{0} << 1 << "A|A|C"
        << QRectF(0, 0, kColumn, 7 * kRow) << QRectF(0, 0, kColumn, kRow);
}

void CellLayoutTest::mergedAreasHaveOneAnchorPerRun() {
    QFETCH(xls::CellRange, merge);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, columns);
    QFETCH(int, titleRows);
    QFETCH(QString, kinds);
    QFETCH(QRectF, area);
    QFETCH(QRectF, visible);
    Book book;
    book.sheet().setDefaultRowHeight(static_cast<int>(kRow * 20), false);
    xls::ColumnInfo widths; // kColumn: 80 pixels with a digit of 7
    widths.firstColumn = 0;
    widths.lastColumn = 3;
    widths.width = 2908;
    book.sheet().setColumns({widths});
    book.sheet().setMergedRanges({merge});
    const Laid laid(book, pageOf(rows, columns, titleRows));
    QCOMPARE(::kinds(*laid), kinds);
    QCOMPARE(laid->slot(0, 0).area, area);
    QCOMPARE(laid->slot(0, 0).visible, visible);
}

void CellLayoutTest::mergedAreasShowOnlyTheirOutline() {
    Book book;
    xls::CellFormat boxed;
    boxed.top = boxed.left = boxed.bottom = boxed.right = {BorderStyle::Thin, 8};
    const int format = book.addFormat(boxed);
    book.sheet().setCells({xls::Cell::blank(0, 0, format), xls::Cell::blank(0, 1, format),
                           xls::Cell::blank(1, 0, format), xls::Cell::blank(1, 1, format)});
    book.sheet().setMergedRanges({{0, 1, 0, 1}});
    const Laid laid(book, pageOf({0, 1}, {0, 1}));
    const auto& anchor = laid->slot(0, 0);
    const auto& corner = laid->slot(1, 1);
    QVERIFY(anchor.top.shown() && anchor.left.shown() && corner.bottom.shown() &&
            corner.right.shown());
    QVERIFY(!laid->slot(0, 1).left.shown() && !laid->slot(1, 0).top.shown() &&
            !corner.top.shown() && !corner.left.shown());
    QVERIFY(!laid->slot(0, 1).gridLeft && !laid->slot(1, 1).gridTop && laid->slot(0, 1).gridTop);
    QCOMPARE(gridLefts(*laid, 1), QStringLiteral("10"));
}

void CellLayoutTest::textFlowsAcrossEmptyNeighbours_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<HorizontalAlignment>("horizontal");
    // What stands beside: "filled" or "merge" at column 2, "across" at column 1.
    QTest::addColumn<QString>("neighbour");
    QTest::addColumn<QList<int>>("page");  // its columns
    QTest::addColumn<int>("titles");       // how many of them are repeated print titles
    QTest::addColumn<QList<int>>("spans"); // the first and last column slot of each text
    QTest::addColumn<QString>("gridLefts");
    const auto left = HorizontalAlignment::General;
    const auto right = HorizontalAlignment::Right;
    const QList<int> five{0, 1, 2, 3, 4};
    // A cell's room is 57 points: 11 M reach one more column, 20 M two, 40 M five.
    QTest::newRow("fits") << 0 << wide(5) << left << "" << five << 0 << QList<int>{0, 0} << "11111";
    QTest::newRow("one more column")
        << 0 << wide(11) << left << "" << five << 0 << QList<int>{0, 1} << "10111";
    QTest::newRow("two more columns")
        << 0 << wide(20) << left << "" << five << 0 << QList<int>{0, 2} << "10011";
    QTest::newRow("stops at a filled cell")
        << 0 << wide(20) << left << "filled" << five << 0 << QList<int>{0, 1, 2, 2} << "10111";
    QTest::newRow("stops at a merged area")
        << 0 << wide(20) << left << "merge" << five << 0 << QList<int>{0, 1} << "10101";
    QTest::newRow("right-aligned flows left")
        << 3 << wide(11) << right << "" << five << 0 << QList<int>{2, 3} << "11101";
    QTest::newRow("centred flows both ways") << 2 << wide(20) << HorizontalAlignment::Center << ""
                                             << five << 0 << QList<int>{1, 3} << "11001";
    QTest::newRow("centred across the selection")
        << 0 << wide(5) << HorizontalAlignment::CenterAcrossSelection << "across" << five << 0
        << QList<int>{0, 1} << "11111";
    QTest::newRow("stops at the block edge")
        << 4 << wide(20) << left << "" << five << 0 << QList<int>{4, 4} << "11111";
    QTest::newRow("justified wraps instead") << 0 << wide(20) << HorizontalAlignment::Justify << ""
                                             << five << 0 << QList<int>{0, 0} << "11111";
    // Each page shows the part of a text that falls in its columns.
    QTest::newRow("from a page on the left")
        << 0 << wide(20) << left << "" << QList<int>{2, 3, 4} << 0 << QList<int>{0, 0} << "111";
    QTest::newRow("through the whole page")
        << 0 << wide(40) << left << "" << QList<int>{2, 3, 4} << 0 << QList<int>{0, 2} << "100";
    QTest::newRow("from a page on the right")
        << 5 << wide(20) << right << "" << QList<int>{1, 2, 3} << 0 << QList<int>{2, 2} << "111";
    QTest::newRow("not onto the next page's columns")
        << 0 << wide(20) << left << "filled" << QList<int>{3, 4} << 0 << QList<int>{} << "11";
    // Repeated print titles keep a title's text to themselves; the page's own columns show
    // where the text falls in them. Print titles in place let it flow on.
    QTest::newRow("repeated print titles") << 0 << wide(40) << left << "" << QList<int>{0, 3, 4}
                                           << 1 << QList<int>{0, 0, 1, 2} << "110";
    QTest::newRow("print titles in place")
        << 0 << wide(20) << left << "" << five << 1 << QList<int>{0, 2} << "10011";
}

void CellLayoutTest::textFlowsAcrossEmptyNeighbours() {
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(HorizontalAlignment, horizontal);
    QFETCH(QString, neighbour);
    QFETCH(QList<int>, page);
    QFETCH(int, titles);
    QFETCH(QList<int>, spans);
    QFETCH(QString, gridLefts);
    Book book;
    book.sheet().setColumns({{0, 255, 2908, false, 15}}); // kColumn, as on the page
    xls::CellFormat aligned;
    aligned.horizontal = horizontal;
    std::vector<xls::Cell> cells{xls::Cell::text(0, column, book.addFormat(aligned), text)};
    if (neighbour == QLatin1String("filled"))
        cells.push_back(xls::Cell::text(0, 2, 0, QStringLiteral(" ")));
    if (neighbour == QLatin1String("across"))
        cells.push_back(xls::Cell::blank(0, 1, cells.front().formatIndex()));
    if (neighbour == QLatin1String("merge"))
        book.sheet().setMergedRanges({{0, 0, 2, 3}});
    std::sort(cells.begin(), cells.end(),
              [](const xls::Cell& a, const xls::Cell& b) { return a.column() < b.column(); });
    book.sheet().setCells(cells);
    const Laid laid(book, pageOf({0}, page, 0, titles));
    QList<int> shown;
    for (const report::SlotText& each : laid->texts()) {
        const int first = each.firstColumnSlot;
        const int last = each.lastColumnSlot;
        shown << first << last;
        QCOMPARE(each.clip, QRectF(first * kColumn, 0, (last - first + 1) * kColumn, kRow));
    }
    QCOMPARE(shown, spans);
    QCOMPARE(::gridLefts(*laid, 0), gridLefts);
}

void CellLayoutTest::shownTexts_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("code");
    QTest::addColumn<HorizontalAlignment>("horizontal");
    QTest::addColumn<QString>("shown"); // a pattern for the whole text
    const auto general = HorizontalAlignment::General;
    // 11 digits are too wide for the 57 points of room; 9 are not.
    QTest::newRow("General narrows")
        << QVariant(123456789.123) << "General" << general << "123456789";
    QTest::newRow("other formats show marks")
        << QVariant(12345678901.0) << "0.00" << general << "#+";
    QTest::newRow("fill character fills the cell")
        << QVariant("ab") << "@*-" << general << "ab-{5,}";
    QTest::newRow("fill alignment repeats the text")
        << QVariant("ab") << "General" << HorizontalAlignment::Fill << "(ab){2,}";
    QTest::newRow("at most 1,024 characters")
        << QVariant(QString(2000, u'x')) << "General" << general << "x{1024}";
    QTest::newRow("never half a character")
        << QVariant(QString(1023, u'x') + QStringLiteral("😀")) << "General" << general << "x{1023}";
}

void CellLayoutTest::shownTexts() {
    QFETCH(QVariant, value);
    QFETCH(QString, code);
    QFETCH(HorizontalAlignment, horizontal);
    QFETCH(QString, shown);
    Book book;
    book.workbook.setNumberFormats({{164, code}});
    xls::CellFormat format;
    format.formatIndex = 164;
    format.horizontal = horizontal;
    const int index = book.addFormat(format);
    book.sheet().setCells({value.typeId() == QMetaType::Double
                               ? xls::Cell::number(0, 0, index, value.toDouble())
                               : xls::Cell::text(0, 0, index, value.toString())});
    const Laid laid(book, pageOf({0}, {0}));
    const QString text = laid.text(0, 0).text;
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(shown)).match(text).hasMatch(),
             qPrintable(text.left(80)));
}

void CellLayoutTest::bordersAreResolvedPerEdge_data() {
    // The page shows B and C; A and D are off it. Styles of A's right, B's left and right,
    // C's left and right, D's left.
    QTest::addColumn<QList<int>>("styles");
    // B's left, B's right, C's left, C's right as laid out.
    QTest::addColumn<QList<int>>("edges");
    const int none = int(BorderStyle::None);
    const int thin = int(BorderStyle::Thin);
    const int thick = int(BorderStyle::Thick);
    const int dashed = int(BorderStyle::Dashed);
    QTest::newRow("own lines") << QList<int>{none, thin, none, none, none, none}
                               << QList<int>{thin, none, none, none};
    QTest::newRow("from off the page left")
        << QList<int>{thick, none, none, none, none, none} << QList<int>{thick, none, none, none};
    QTest::newRow("from off the page right")
        << QList<int>{none, none, none, none, none, dashed} << QList<int>{none, none, none, dashed};
    QTest::newRow("the heavier of two")
        << QList<int>{none, none, thin, thick, none, none} << QList<int>{none, none, thick, none};
    QTest::newRow("own heavier") << QList<int>{dashed, thick, none, none, thin, dashed}
                                 << QList<int>{thick, none, none, thin};
}

void CellLayoutTest::bordersAreResolvedPerEdge() {
    QFETCH(QList<int>, styles);
    QFETCH(QList<int>, edges);
    Book book;
    std::vector<xls::Cell> cells;
    const QList<int> lefts{-1, styles[1], styles[3], styles[5]};
    const QList<int> rights{styles[0], styles[2], styles[4], -1};
    for (int column = 0; column < 4; ++column) {
        xls::CellFormat format;
        format.left.style = static_cast<BorderStyle>(std::max(0, lefts[column]));
        format.right.style = static_cast<BorderStyle>(std::max(0, rights[column]));
        cells.push_back(xls::Cell::blank(0, column, book.addFormat(format)));
    }
    book.sheet().setCells(cells);
    const Laid laid(book, pageOf({0}, {1, 2}));
    const QList<int> laidOut{int(laid->slot(0, 0).left.style), int(laid->slot(0, 0).right.style),
                             int(laid->slot(0, 1).left.style), int(laid->slot(0, 1).right.style)};
    QCOMPARE(laidOut, edges);
}

void CellLayoutTest::reachMeasuresWhatFlows_data() {
    QTest::addColumn<HorizontalAlignment>("horizontal");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::newRow("left-aligned") << HorizontalAlignment::General << false << false << true;
    QTest::newRow("right-aligned") << HorizontalAlignment::Right << false << true << false;
    QTest::newRow("centred") << HorizontalAlignment::Center << false << true << true;
    QTest::newRow("wrapped") << HorizontalAlignment::General << true << false << false;
    QTest::newRow("filled") << HorizontalAlignment::Fill << false << false << false;
}

void CellLayoutTest::reachMeasuresWhatFlows() {
    QFETCH(HorizontalAlignment, horizontal);
    QFETCH(bool, wrap);
    QFETCH(bool, left);
    QFETCH(bool, right);
    Book book;
    xls::CellFormat format;
    format.horizontal = horizontal;
    format.wrap = wrap;
    const xls::Cell cell = xls::Cell::text(0, 0, book.addFormat(format), wide(20));
    book.sheet().setCells({cell});
    const Laid laid(book, pageOf({0}, {0}));
    const report::CellTextReach measure(laid.sources());
    const report::TextReach reach = measure.reach(cell, kColumn);
    QCOMPARE(reach.left > 0, left);
    QCOMPARE(reach.right > 0, right);
    // As far as the layout lets it flow: 20 M less the room of a cell, halved when centred.
    const double excess = laid.text(0, 0).shaped ? laid.text(0, 0).shaped->width() - 57 : 0;
    if (right && !left)
        QCOMPARE(qRound(reach.right), qRound(excess));
}

void CellLayoutTest::runsKeepTheirFontsInEveryShape_data() {
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("shrink");
    QTest::addColumn<xls::Script>("script"); // of the second run
    QTest::addColumn<QString>("pieces");
    const auto normal = xls::Script::Normal;
    const QString three = QStringLiteral("abc def:b ghi:ir");
    QTest::newRow("one line, flowing") << false << 0 << false << normal << three;
    QTest::newRow("wrapped") << true << 0 << false << normal << three;
    QTest::newRow("rotated") << false << 45 << false << normal << three;
    QTest::newRow("stacked") << false << 255 << false << normal << three;
    QTest::newRow("shrunk to fit") << false << 0 << true << normal << three;
    QTest::newRow("superscript") << false << 0 << false << xls::Script::Superscript
                                 << "abc def:bs^ ghi:ir";
    QTest::newRow("subscript") << false << 0 << false << xls::Script::Subscript
                               << "abc def:bs_ ghi:ir";
}

void CellLayoutTest::runsKeepTheirFontsInEveryShape() {
    QFETCH(bool, wrap);
    QFETCH(int, rotation);
    QFETCH(bool, shrink);
    QFETCH(xls::Script, script);
    QFETCH(QString, pieces);
    // "abcdefghi" of 20 points in three runs: plain, bold, italic red.
    Book book;
    xls::Font plain;
    plain.height = 400;
    xls::Font bold = plain;
    bold.weight = 700;
    bold.script = script;
    xls::Font italic = plain;
    italic.italic = true;
    italic.colorIndex = 10; // red
    book.workbook.setFonts({plain, bold, italic});
    book.workbook.richTexts().push_back({{{3, 1}, {6, 2}}, std::nullopt});
    xls::CellFormat format;
    format.wrap = wrap;
    format.rotation = rotation;
    format.shrinkToFit = shrink;
    const xls::Cell cell = xls::Cell::text(0, 0, book.addFormat(format), "abcdefghi", 0);
    book.sheet().setCells({cell});
    const Laid laid(book, pageOf({0}, {0, 1, 2}));
    const report::SlotText& text = laid.text(0, 0);
    QCOMPARE(::pieces(text), pieces);
    for (const report::TextPiece& piece : text.shaped->pieces())
        QCOMPARE(piece.font.pointSizeF() < 20, shrink || piece.rise != 0);
    if (wrap) // 9 characters of 20 points do not fit on one line of 57 points
        QVERIFY(text.shaped->height() > 1.5 * (text.shaped->ascent() + text.shaped->descent()));
    // The reach that decides the printed range ends where the placed text ends.
    if (!wrap && rotation == 0 && !shrink) {
        const double reach = report::CellTextReach(laid.sources()).reach(cell, kColumn).right;
        QCOMPARE(reach, text.shaped->width() - 57);
    }
}

void CellLayoutTest::phoneticGuideStandsOverItsText_data() {
    QTest::addColumn<bool>("shown");
    QTest::addColumn<xls::PhoneticAlignment>("alignment");
    QTest::addColumn<bool>("top"); // the cell's vertical alignment: top, else bottom
    QTest::addColumn<int>("pieces");
    using xls::PhoneticAlignment;
    QTest::newRow("not shown") << false << PhoneticAlignment::Left << false << 0;
    QTest::newRow("left") << true << PhoneticAlignment::Left << false << 2;
    QTest::newRow("general is left") << true << PhoneticAlignment::General << false << 2;
    QTest::newRow("centred, cell aligned top") << true << PhoneticAlignment::Center << true << 2;
    QTest::newRow("distributed") << true << PhoneticAlignment::Distributed << false << 4;
}

void CellLayoutTest::phoneticGuideStandsOverItsText() {
    QFETCH(bool, shown);
    QFETCH(xls::PhoneticAlignment, alignment);
    QFETCH(bool, top);
    QFETCH(int, pieces);
    Book book;
    xls::Font small;
    small.height = 100;
    book.workbook.setFonts({xls::Font{}, small});
    // "wx" reads "ab", "yz" reads "cd".
    xls::PhoneticText guide{QStringLiteral("wxyz"), {{0, 0, 2}, {2, 2, 2}}, 1, {}, alignment};
    book.workbook.richTexts().push_back({{}, guide});
    xls::CellFormat format;
    format.vertical = top ? xls::VerticalAlignment::Top : xls::VerticalAlignment::Bottom;
    book.sheet().setCells({xls::Cell::text(0, 0, book.addFormat(format), "abcd", 0)});
    xls::PhoneticSettings settings;
    if (shown)
        settings.shownRanges = {{0, 0, 0, 0}};
    book.sheet().setPhoneticSettings(settings);
    const Laid laid(book, pageOf({0}, {0}));
    const report::SlotText& text = laid.text(0, 0);
    QCOMPARE(text.guide ? int(text.guide->pieces.size()) : 0, pieces);
    if (pieces == 0)
        return;
    const std::vector<report::GuidePiece>& placed = text.guide->pieces;
    // Above the text, and the two within the row.
    const double textTop = text.baseline.y() - text.shaped->ascent();
    for (const report::GuidePiece& piece : placed)
        QVERIFY(piece.baseline.y() <= textTop && piece.baseline.y() - 5 >= 0);
    QVERIFY(text.baseline.y() + text.shaped->descent() <= kRow);
    const double start = text.baseline.x();
    const double middle = start + text.shaped->xAt(2); // where "cd" starts
    const double first = placed.front().baseline.x();
    const double last = placed.back().baseline.x();
    if (alignment == xls::PhoneticAlignment::Left || alignment == xls::PhoneticAlignment::General)
        QVERIFY(first == start && last == middle);
    else
        QVERIFY(first > start && first < middle && last > middle);
}

void CellLayoutTest::conditionalFormatsShowOnThePage_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("hits"); // rows 1 to 3: 1 shows the format, 0 does not
    QTest::newRow("between 2 and 4") << 0 << "010";
    QTest::newRow("not between 2 and 4") << 1 << "101";
    QTest::newRow("equal to 3") << 2 << "010";
    QTest::newRow("not equal to 3") << 3 << "101";
    QTest::newRow("greater than 3") << 4 << "001";
    QTest::newRow("less than 3") << 5 << "100";
    QTest::newRow("greater than or equal to 3") << 6 << "011";
    QTest::newRow("less than or equal to 3") << 7 << "110";
    QTest::newRow("equal to a text") << 8 << "101";
    QTest::newRow("a formula, left alone") << 9 << "000";
    QTest::newRow("greater than -2") << 10 << "001";
    QTest::newRow("a cell operand, left alone") << 11 << "000";
}

void CellLayoutTest::conditionalFormatsShowOnThePage() {
    QFETCH(int, column);
    QFETCH(QString, hits);
    const xls::Workbook workbook = richFixture();
    const Laid laid(workbook, workbook.sheets()[1], pageOf({0, 1, 2, 3}, {column}));
    // Each cell: '1' with the red bold text, yellow fill and thin bottom line of the
    // format, '0' with none of them, '?' with some.
    QString shown;
    for (int r = 0; r < 3; ++r) {
        const report::CellSlot& slot = laid->slot(r, 0);
        const report::SlotText& text = laid.text(r, 0);
        const QList<bool> marks{
            text.color == QColor(Qt::red) && text.shaped->pieces().front().color == text.color,
            text.font.bold(),
            slot.fill.pattern == 1 && slot.fill.foreground == QColor(Qt::yellow),
            laid->slot(r + 1, 0).top.style == BorderStyle::Thin,
        };
        shown += marks.count(true) == marks.size() ? u'1' : marks.contains(true) ? u'?' : u'0';
    }
    QCOMPARE(shown, hits);
}

void CellLayoutTest::pageOptionsDecideInksAndErrors_data() {
    QTest::addColumn<bool>("blackAndWhite");
    QTest::addColumn<xls::PrintErrors>("errors");
    QTest::addColumn<QString>("errorShown"); // empty: the error cell shows no text
    using E = xls::PrintErrors;
    QTest::newRow("in colour, errors displayed") << false << E::Displayed << "#DIV/0!";
    QTest::newRow("black and white") << true << E::Displayed << "#DIV/0!";
    QTest::newRow("errors blank") << false << E::Blank << "";
    QTest::newRow("errors as dashes") << false << E::Dashes << "--";
    QTest::newRow("errors as #N/A") << true << E::NotAvailable << "#N/A";
}

// A1: red text on a yellow fill over a blue bottom border; B1: an error. Black and white turns
// text and borders black and leaves the fill out; the error prints as the sheet says.
void CellLayoutTest::pageOptionsDecideInksAndErrors() {
    QFETCH(bool, blackAndWhite);
    QFETCH(xls::PrintErrors, errors);
    QFETCH(QString, errorShown);
    Book book;
    xls::Font red;
    red.colorIndex = 2;
    book.workbook.setFonts({xls::Font{}, red});
    xls::CellFormat format;
    format.fontIndex = 1;
    format.fillPattern = 1;
    format.patternColorIndex = 5;
    format.bottom = {BorderStyle::Thick, 4};
    const int coloured = book.addFormat(format);
    book.sheet().setCells({xls::Cell::text(0, 0, coloured, QStringLiteral("x")),
                           xls::Cell::error(0, 1, 0, xls::CellError::DivideByZero)});
    book.sheet().pageSetup().blackAndWhite = blackAndWhite;
    book.sheet().pageSetup().printErrors = errors;
    const Laid laid(book, pageOf({0}, {0, 1}));

    QCOMPARE(laid.text(0, 0).color, blackAndWhite ? QColor(Qt::black) : QColor(Qt::red));
    QCOMPARE(laid->slot(0, 0).bottom.color, blackAndWhite ? QColor(Qt::black) : QColor(Qt::blue));
    QCOMPARE(laid->slot(0, 0).fill.pattern, blackAndWhite ? 0 : 1);
    if (errorShown.isEmpty())
        QCOMPARE(laid->slot(0, 1).text, -1);
    else
        QCOMPARE(laid.text(0, 1).text, errorShown);
}

void CellLayoutTest::linesDrawAloneInTheirPiecesColours_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QColor>("ink");
    QTest::newRow("first line, black") << 0 << QColor(Qt::black);
    QTest::newRow("second line, red") << 1 << QColor(Qt::red);
}

// A comment split across list pages draws some of its lines: only those, in their own
// pieces' colours.
void CellLayoutTest::linesDrawAloneInTheirPiecesColours() {
    QFETCH(int, line);
    QFETCH(QColor, ink);
    QImage image(200, 100, QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    image.fill(Qt::white);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(20);
    const report::ShapedText shaped(QStringLiteral("HHHH HHHH"),
                                    {{0, 5, font, Qt::black, 0}, {5, 9, font, Qt::red, 0}}, &image,
                                    Qt::AlignLeft, 80);
    QCOMPARE(shaped.lineCount(), 2);
    QPainter painter(&image);
    shaped.drawLines(painter, {0, 0}, line, line);
    painter.end();
    // Dark pixels and pure red ones: the inks of both lines.
    QSet<QRgb> inks;
    int lowest = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 200 || pixel == qRgb(255, 0, 0)) {
                inks.insert(pixel);
                lowest = y;
            }
        }
    }
    // The line's own colour alone, its top at the point given.
    QVERIFY(inks.contains(ink.rgb()));
    for (const QRgb pixel : inks)
        QCOMPARE(QColor(pixel).hue(), ink.hue());
    QVERIFY(lowest < shaped.lineBottom(0));
}

QTEST_MAIN(CellLayoutTest)
#include "tst_CellLayout.moc"
