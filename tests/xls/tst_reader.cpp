#include "BiffBuilder.h"

#include "xls/IconvCodePages.h"
#include "xls/WorkbookReader.h"

#include <QtTest>

using namespace xls;
using xlstest::BiffBuilder;
using xlstest::f64;
using xlstest::fixture;
using xlstest::u16;

Q_DECLARE_METATYPE(xls::BiffVersion)
Q_DECLARE_METATYPE(xls::PrintErrors)

namespace {

const Sheet& sheetNamed(const Workbook& workbook, const QString& name) {
    for (const Sheet& sheet : workbook.sheets()) {
        if (sheet.name() == name)
            return sheet;
    }
    throw std::runtime_error("no sheet " + name.toStdString());
}

const CellFormat& formatAt(const Workbook& workbook, const Sheet& sheet, int row, int column) {
    const Cell* cell = sheet.cell(row, column);
    if (cell == nullptr)
        throw std::runtime_error("no cell");
    return workbook.cellFormat(cell->formatIndex());
}

QStringList sheetNames(const Workbook& workbook) {
    QStringList names;
    for (const Sheet& sheet : workbook.sheets())
        names << sheet.name();
    return names;
}

} // namespace

class ReaderTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;
    Workbook read(const QString& name) {
        return WorkbookReader(m_codePages).readFile(fixture(name));
    }

private slots:
    void sheetsInOrderWithKindAndVisibility() {
        const Workbook formats = read(QStringLiteral("formats.xls"));
        QCOMPARE(formats.version(), BiffVersion::Biff8);
        QCOMPARE(sheetNames(formats), QStringList({"Numbers", "Dates", "Layout", "Fit"}));

        for (const QString& name :
             {QStringLiteral("japanese.xls"), QStringLiteral("japanese_biff5.xls")}) {
            const Workbook japanese = read(name);
            QCOMPARE(sheetNames(japanese), QStringList({"売上表", "ｶﾅｼｰﾄ", "非表示"}));
            QCOMPARE(japanese.sheets()[0].visibility(), SheetVisibility::Visible);
            QCOMPARE(japanese.sheets()[2].visibility(), SheetVisibility::Hidden);
            QCOMPARE(japanese.sheets()[0].kind(), SheetKind::Worksheet);
        }
        const Workbook biff5 = read(QStringLiteral("japanese_biff5.xls"));
        QCOMPARE(biff5.version(), BiffVersion::Biff5);
        QCOMPARE(biff5.codePage(), 932);
    }

    void japaneseTextsInBothVersions() {
        for (const QString& name :
             {QStringLiteral("japanese.xls"), QStringLiteral("japanese_biff5.xls")}) {
            const Workbook workbook = read(name);
            const Sheet& sales = workbook.sheets()[0];
            QCOMPARE(sales.cell(0, 0)->text(), QStringLiteral("品名"));
            QCOMPARE(sales.cell(2, 0)->text(), QStringLiteral("ﾊﾞﾅﾅ（半角）"));
            QCOMPARE(sales.cell(2, 3)->text(), QStringLiteral("改行\nあり"));
            QCOMPARE(workbook.sheets()[1].cell(1, 0)->text(),
                     QStringLiteral("①②③　全角空白と丸数字"));
        }
    }

    void formulaResults() {
        for (const QString& name :
             {QStringLiteral("formulas.xls"), QStringLiteral("japanese_biff5.xls")}) {
            const Workbook workbook = read(name);
            const Sheet& sales = workbook.sheets()[0];
            const Cell* sum = sales.cell(3, 1);
            QVERIFY(sum->isFormula());
            QCOMPARE(sum->type(), CellType::Number);
            QCOMPARE(sum->number(), 49.5);
            QCOMPARE(sales.cell(3, 2)->type(), CellType::Text);
            QCOMPARE(sales.cell(3, 2)->text(), QStringLiteral("計49.5"));
            QVERIFY(sales.cell(3, 2)->isFormula());
            QCOMPARE(sales.cell(3, 3)->type(), CellType::Boolean);
            QVERIFY(sales.cell(3, 3)->boolean());
            QCOMPARE(sales.cell(5, 0)->type(), CellType::Error);
            QCOMPARE(sales.cell(5, 0)->error(), CellError::DivideByZero);
            QCOMPARE(sales.cell(5, 1)->error(), CellError::NotAvailable);
            QCOMPARE(sales.cell(5, 2)->number(), 0.0);
            QVERIFY(sales.cell(5, 2)->isFormula());
            QCOMPARE(sales.cell(5, 3)->type(), CellType::Boolean);
            QVERIFY(!sales.cell(5, 3)->boolean());
            QVERIFY(!sales.cell(0, 0)->isFormula());
        }
        // LibreOffice stores a formula's text result as the number 0; the reader keeps what
        // the file says.
        const Workbook libreOffice = read(QStringLiteral("japanese.xls"));
        QCOMPARE(libreOffice.sheets()[0].cell(3, 1)->number(), 49.5);
        QVERIFY(libreOffice.sheets()[0].cell(3, 2)->isFormula());
    }

    // Column A of the fixture holds formulas, column C the text each shows in formula view.
    void formulaViewShowsFormulaTexts() {
        const Workbook workbook = read(QStringLiteral("formula_view.xls"));
        const Sheet& sheet = sheetNamed(workbook, QStringLiteral("Formulas"));
        int compared = 0;
        for (int row = 0; row < 50; ++row) {
            const Cell* expected = sheet.cell(row, 2);
            if (expected == nullptr)
                continue;
            const Cell* formula = sheet.cell(row, 0);
            QVERIFY2(formula != nullptr, qPrintable(expected->text()));
            QCOMPARE(formula->text(), expected->text());
            ++compared;
        }
        QCOMPARE(compared, 30);
        // The sheet beside it shows results.
        QCOMPARE(sheetNamed(workbook, QStringLiteral("Q1 data")).cell(0, 0)->number(), 4.0);
    }

    // A macro sheet with no window settings shows its formulas, command equivalents among them;
    // a formula with a token the reader does not know keeps its result.
    void macroSheetShowsFormulas_data() {
        QTest::addColumn<BiffVersion>("version");
        QTest::newRow("Excel 97") << BiffVersion::Biff8;
        QTest::newRow("Excel 5.0") << BiffVersion::Biff5;
    }
    void macroSheetShowsFormulas() {
        QFETCH(BiffVersion, version);
        using xlstest::u8;
        const bool biff8 = version == BiffVersion::Biff8;
        const QByteArray hi = biff8 ? u8(0x17) + u8(2) + u8(0) + "Hi" : u8(0x17) + u8(2) + "Hi";
        const auto formula = [](int row, const QByteArray& tokens) {
            return u16(row) + u16(0) + u16(15) + f64(1) + u16(0) + xlstest::u32(0) +
                   u16(static_cast<int>(tokens.size())) + tokens;
        };
        BiffBuilder builder(version);
        builder.bof(0x0005).boundSheet(QStringLiteral("Macro1"), 0, 1).eof().sheetBof(0x0040);
        builder.record(0x0006, formula(0, hi + u8(0x1E) + u16(2) + u8(0x42) + u8(2) + u16(0x8076)))
            .record(0x0006, formula(1, u8(0x42) + u8(0) + u16(55)))
            .record(0x0006, formula(2, u8(0x18) + u8(0x01)))
            .eof();
        const Workbook workbook = WorkbookReader(m_codePages).readStream(builder.stream());
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.kind(), SheetKind::MacroSheet);
        QCOMPARE(sheet.cell(0, 0)->text(), QStringLiteral("=ALERT(\"Hi\",2)"));
        QCOMPARE(sheet.cell(1, 0)->text(), QStringLiteral("=RETURN()"));
        QCOMPARE(sheet.cell(2, 0)->number(), 1.0);
    }

    void valuesOfEveryKind() {
        const Workbook workbook = read(QStringLiteral("formats.xls"));
        const Sheet& layout = sheetNamed(workbook, QStringLiteral("Layout"));
        QCOMPARE(layout.cell(22, 0)->type(), CellType::Boolean);
        QVERIFY(layout.cell(22, 0)->boolean());
        QVERIFY(!layout.cell(22, 1)->boolean());
        const QList<CellError> errors = {
            CellError::Null, CellError::DivideByZero, CellError::Value,       CellError::Reference,
            CellError::Name, CellError::Number,       CellError::NotAvailable};
        const QStringList texts = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                   "#NAME?", "#NUM!",   "#N/A"};
        for (int c = 0; c < errors.size(); ++c) {
            QCOMPARE(layout.cell(23, c)->error(), errors[c]);
            QCOMPARE(errorText(layout.cell(23, c)->error()), texts[c]);
        }
        QCOMPARE(layout.cell(25, 0)->text(),
                 QStringLiteral("line one\nline two\ttabbed \\ backslash"));
        QCOMPARE(layout.cell(26, 0)->number(), 1234567.891);
        QCOMPARE(layout.cell(27, 0)->text(), QStringLiteral("plain and bold runs"));
        // Blank cells that only carry a border are kept, in column order.
        for (int c = 1; c <= 4; ++c) {
            QCOMPARE(layout.cell(24, c)->type(), CellType::Blank);
            QCOMPARE(formatAt(workbook, layout, 24, c).bottom.style, BorderStyle::Thin);
        }
        const Sheet& numbers = sheetNamed(workbook, QStringLiteral("Numbers"));
        QCOMPARE(numbers.cell(0, 1)->number(), 1234.5678);
        QCOMPARE(numbers.cell(0, 2)->number(), -1234.5678);
        QCOMPARE(numbers.cell(0, 5)->number(), 12345678901.0);
        QCOMPARE(numbers.cell(0, 7)->number(), 1 / 3.0);
        for (size_t i = 1; i < numbers.cells().size(); ++i) {
            const Cell& a = numbers.cells()[i - 1];
            const Cell& b = numbers.cells()[i];
            QVERIFY(a.row() < b.row() || (a.row() == b.row() && a.column() < b.column()));
        }
    }

    void fonts() {
        const Workbook workbook = read(QStringLiteral("formats.xls"));
        const Sheet& layout = sheetNamed(workbook, QStringLiteral("Layout"));
        const auto fontAt = [&](int row) -> const Font& {
            return workbook.font(formatAt(workbook, layout, row, 0).fontIndex);
        };
        QCOMPARE(fontAt(0).name, QStringLiteral("Arial"));
        QCOMPARE(fontAt(0).height, 240);
        QVERIFY(fontAt(0).bold());
        QCOMPARE(fontAt(1).name, QStringLiteral("Times New Roman"));
        QVERIFY(fontAt(1).italic);
        QCOMPARE(fontAt(1).underline, Underline::Single);
        QCOMPARE(fontAt(1).colorIndex, 0x0A);
        QVERIFY(!fontAt(1).bold());
        QVERIFY(fontAt(2).strikeout);
        QCOMPARE(fontAt(2).height, 160);
        QCOMPARE(fontAt(2).underline, Underline::Double);
        QCOMPARE(fontAt(3).name, QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(fontAt(3).charSet, 128);
        QCOMPARE(fontAt(3).colorIndex, 0x0C);
        QCOMPARE(fontAt(4).script, Script::Superscript);
    }

    void fontIndexFourIsSkipped() {
        Workbook workbook;
        QList<Font> fonts;
        for (int i = 0; i < 6; ++i) {
            Font font;
            font.height = 100 + i;
            fonts << font;
        }
        workbook.setFonts(fonts);
        QCOMPARE(workbook.font(3).height, 103);
        QCOMPARE(workbook.font(5).height, 104);
        QCOMPARE(workbook.font(6).height, 105);
        QCOMPARE(workbook.font(4).height, 100);
        QCOMPARE(workbook.font(99).height, 100);
    }

    void cellFormats() {
        const Workbook workbook = read(QStringLiteral("formats.xls"));
        const Sheet& layout = sheetNamed(workbook, QStringLiteral("Layout"));
        const CellFormat& borders = formatAt(workbook, layout, 6, 0);
        QCOMPARE(borders.left, (Border{BorderStyle::Thin, 0x0A}));
        QCOMPARE(borders.right, (Border{BorderStyle::Medium, 0x0C}));
        QCOMPARE(borders.top, (Border{BorderStyle::Dashed, 0x11}));
        QCOMPARE(borders.bottom, (Border{BorderStyle::Double, 0x16}));
        const CellFormat& moreBorders = formatAt(workbook, layout, 7, 0);
        QCOMPARE(moreBorders.left.style, BorderStyle::Thick);
        QCOMPARE(moreBorders.right.style, BorderStyle::Hair);
        QCOMPARE(moreBorders.top.style, BorderStyle::Dotted);
        QCOMPARE(moreBorders.bottom.style, BorderStyle::MediumDashDotDot);

        const CellFormat& solid = formatAt(workbook, layout, 8, 0);
        QCOMPARE(solid.fillPattern, 1);
        QCOMPARE(solid.patternColorIndex, 0x0D);
        const CellFormat& hatch = formatAt(workbook, layout, 9, 0);
        QCOMPARE(hatch.fillPattern, 14);
        QCOMPARE(hatch.patternColorIndex, 0x0A);
        QCOMPARE(hatch.backgroundColorIndex, 0x2C);

        QCOMPARE(formatAt(workbook, layout, 10, 0).horizontal, HorizontalAlignment::Right);
        QCOMPARE(formatAt(workbook, layout, 10, 0).vertical, VerticalAlignment::Top);
        QCOMPARE(formatAt(workbook, layout, 11, 0).horizontal, HorizontalAlignment::Center);
        QCOMPARE(formatAt(workbook, layout, 11, 0).vertical, VerticalAlignment::Center);
        QVERIFY(formatAt(workbook, layout, 12, 0).wrap);
        QCOMPARE(formatAt(workbook, layout, 12, 0).horizontal, HorizontalAlignment::Justify);
        QCOMPARE(formatAt(workbook, layout, 13, 0).indent, 3);
        QCOMPARE(formatAt(workbook, layout, 14, 0).rotation, 45);
        QCOMPARE(formatAt(workbook, layout, 15, 0).rotation, 120);
        QCOMPARE(formatAt(workbook, layout, 16, 0).rotation, 255);
        QVERIFY(formatAt(workbook, layout, 17, 0).shrinkToFit);
        QVERIFY(!formatAt(workbook, layout, 0, 0).wrap);
        QCOMPARE(formatAt(workbook, layout, 0, 0).horizontal, HorizontalAlignment::General);
    }

    void biff5CellFormatsMatchBiff8() {
        // One writer's Excel 95 and Excel 97 files of the same sheet: every cell's format
        // reads the same in both layouts, as far as Excel 95 has the attributes.
        const Workbook biff8 = read(QStringLiteral("formulas.xls"));
        const Workbook biff5 = read(QStringLiteral("japanese_biff5.xls"));
        const Sheet& sheet8 = biff8.sheets()[0];
        int compared = 0;
        for (const Cell& cell : biff5.sheets()[0].cells()) {
            const Cell* other = sheet8.cell(cell.row(), cell.column());
            if (other == nullptr)
                continue;
            const CellFormat& a = biff5.cellFormat(cell.formatIndex());
            const CellFormat& b = biff8.cellFormat(other->formatIndex());
            QCOMPARE(a.horizontal, b.horizontal);
            QCOMPARE(a.vertical, b.vertical);
            QCOMPARE(a.wrap, b.wrap);
            QCOMPARE(a.rotation, b.rotation);
            QCOMPARE(a.left, b.left);
            QCOMPARE(a.right, b.right);
            QCOMPARE(a.top, b.top);
            QCOMPARE(a.bottom, b.bottom);
            QCOMPARE(a.fillPattern, b.fillPattern);
            QCOMPARE(a.patternColorIndex, b.patternColorIndex);
            QCOMPARE(biff5.font(a.fontIndex).name, biff8.font(b.fontIndex).name);
            QCOMPARE(biff5.font(a.fontIndex).underline, biff8.font(b.fontIndex).underline);
            ++compared;
        }
        QVERIFY(compared > 20);

        const CellFormat& heading = formatAt(biff5, biff5.sheets()[0], 0, 0);
        QCOMPARE(heading.horizontal, HorizontalAlignment::Center);
        QCOMPARE(heading.vertical, VerticalAlignment::Center);
        QVERIFY(heading.wrap);
        QCOMPARE(heading.left, (Border{BorderStyle::Medium, 0x0C}));
        QCOMPARE(heading.top, (Border{BorderStyle::Thin, 0x08}));
        QCOMPARE(heading.bottom.colorIndex, 0x0A);
        QCOMPARE(heading.fillPattern, 1);
        QCOMPARE(heading.patternColorIndex, 0x0D);
        const CellFormat& turned = formatAt(biff5, biff5.sheets()[0], 0, 1);
        QCOMPARE(turned.horizontal, HorizontalAlignment::Right);
        QCOMPARE(turned.vertical, VerticalAlignment::Top);
        QCOMPARE(turned.rotation, 90);
        QCOMPARE(turned.right, (Border{BorderStyle::Dashed, 0x11}));
        QCOMPARE(biff5.font(turned.fontIndex).underline, Underline::Single);
    }

    void palette() {
        const Workbook workbook = read(QStringLiteral("japanese.xls"));
        QCOMPARE(workbook.palette().color(0x0A), QColor(0xFF, 0, 0));
        QCOMPARE(workbook.palette().color(0x16), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(workbook.palette().color(1), QColor(0xFF, 0xFF, 0xFF));
        QVERIFY(!workbook.palette().color(0x40).isValid());
        QVERIFY(!workbook.palette().color(0x7FFF).isValid());

        const QByteArray stream = xlstest::BiffBuilder::workbook(
            {xlstest::BiffBuilder::encoded(
                0x0092, xlstest::u16(2) + QByteArray("\x11\x22\x33\x00\x44\x55\x66\x00", 8))},
            {});
        const Workbook custom = WorkbookReader(m_codePages).readStream(stream);
        QCOMPARE(custom.palette().color(8), QColor(0x11, 0x22, 0x33));
        QCOMPARE(custom.palette().color(9), QColor(0x44, 0x55, 0x66));
        QCOMPARE(custom.palette().color(10), QColor(0xFF, 0, 0));
    }

    void rowsAndColumns() {
        const Workbook workbook = read(QStringLiteral("formats.xls"));
        const Sheet& layout = sheetNamed(workbook, QStringLiteral("Layout"));
        QCOMPARE(layout.columnInfo(0)->width, 20 * 256);
        QCOMPARE(layout.columnInfo(1)->width, 3000);
        QVERIFY(layout.isColumnHidden(2));
        QVERIFY(!layout.isColumnHidden(1));
        QCOMPARE(layout.columnInfo(5)->width, 256);
        QVERIFY(layout.columnInfo(200) == nullptr);
        QCOMPARE(layout.rowHeight(3), 600);
        QVERIFY(layout.rowInfo(3)->customHeight);
        QVERIFY(layout.isRowHidden(4));
        QVERIFY(!layout.isRowHidden(3));
        QCOMPARE(layout.rowHeight(60000), layout.defaultRowHeight());

        const Workbook japanese = read(QStringLiteral("japanese.xls"));
        const Sheet& sales = japanese.sheets()[0];
        QVERIFY(sales.isColumnHidden(2));
        QVERIFY(!sales.isColumnHidden(1));
        QVERIFY(sales.isRowHidden(4));
        QVERIFY(!sales.isRowHidden(3));
        QVERIFY(qAbs(sales.rowHeight(2) - 680) <= 20); // 1.2 cm
    }

    // Bit 15 of a ROW record's height says "default height": the row is as high as
    // DEFAULTROWHEIGHT, whatever the other bits hold.
    void rowOfDefaultHeight() {
        using xlstest::BiffBuilder;
        using xlstest::u16;
        const auto row = [](int index, int height) {
            return BiffBuilder::encoded(0x0208, u16(index) + u16(0) + u16(1) + u16(height) +
                                                    u16(0) + u16(0) + u16(0x0100) + u16(15));
        };
        const QByteArray stream = BiffBuilder::workbook(
            {}, {BiffBuilder::encoded(0x0225, u16(0) + u16(270)), row(0, 0x8000), row(1, 400)});
        const Workbook workbook = WorkbookReader(m_codePages).readStream(stream);
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.rowHeight(0), 270);
        QCOMPARE(sheet.rowHeight(1), 400);
    }

    void mergedRanges() {
        const Workbook workbook = read(QStringLiteral("formats.xls"));
        const Sheet& layout = sheetNamed(workbook, QStringLiteral("Layout"));
        QCOMPARE(layout.mergedRanges().size(), 2);
        QVERIFY(layout.mergedRanges().contains(CellRange{18, 19, 0, 2}));
        QVERIFY(layout.mergedRanges().contains(CellRange{21, 21, 1, 3}));
        for (const QString& name :
             {QStringLiteral("japanese.xls"), QStringLiteral("japanese_biff5.xls")}) {
            const Workbook japanese = read(name);
            QCOMPARE(japanese.sheets()[0].mergedRanges(),
                     QList<CellRange>({CellRange{6, 7, 0, 1}}));
        }
    }

    void printAreasAndTitles() {
        for (const QString& name :
             {QStringLiteral("japanese.xls"), QStringLiteral("japanese_biff5.xls")}) {
            const Workbook japanese = read(name);
            const Sheet& sales = japanese.sheets()[0];
            QCOMPARE(sales.printAreas(), QList<CellRange>({CellRange{0, 11, 0, 3}}));
            QVERIFY(japanese.sheets()[1].printAreas().isEmpty());
            QVERIFY(sales.titleRows().has_value());
            QCOMPARE(sales.titleRows()->firstRow, 0);
            QCOMPARE(sales.titleRows()->lastRow, 0);
            QVERIFY(!sales.titleColumns().has_value());
        }
    }

    void printNamesFromFormulas() {
        using xlstest::BiffBuilder;
        using xlstest::u16;
        using xlstest::u8;
        // Print_Area of sheet 1 as a list of two 3-D areas; Print_Titles with rows 1-2 and
        // columns A-B, each behind a tMemFunc.
        const QByteArray area = u8(0x3B) + u16(0) + u16(0) + u16(9) + u16(0) + u16(3) + u8(0x3B) +
                                u16(0) + u16(20) + u16(29) + u16(0xC002) + u16(0xC004) + u8(0x10);
        const QByteArray titles = u8(0x29) + u16(22) + u8(0x3B) + u16(0) + u16(0) + u16(1) +
                                  u16(0) + u16(255) + u8(0x3B) + u16(0) + u16(0) + u16(0xFFFF) +
                                  u16(0) + u16(1) + u8(0x10);
        const auto name = [](int code, const QByteArray& formula) {
            return BiffBuilder::encoded(
                0x0018, u16(0x0020) + u8(0) + u8(1) + u16(static_cast<int>(formula.size())) +
                            u16(0) + u16(1) + QByteArray(4, '\0') + u8(0) + u8(code) + formula);
        };
        // EXTERNSHEET entry 0 leads to this workbook's SUPBOOK, entry 1 to another workbook's.
        const QList<QByteArray> links{
            BiffBuilder::encoded(0x01AE, u16(1) + u16(0x0401)),
            BiffBuilder::encoded(0x01AE, u16(1) +
                                             xlstest::unicodeString(QStringLiteral("b.xls"), 2) +
                                             xlstest::unicodeString(QStringLiteral("S"), 2)),
            BiffBuilder::encoded(0x0017,
                                 u16(2) + u16(0) + u16(0) + u16(0) + u16(1) + u16(0) + u16(0))};
        const QByteArray stream =
            BiffBuilder::workbook(links + QList{name(6, area), name(7, titles)}, {});
        const Workbook workbook = WorkbookReader(m_codePages).readStream(stream);
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.printAreas(),
                 QList<CellRange>({CellRange{0, 9, 0, 3}, CellRange{20, 29, 2, 4}}));
        QCOMPARE(sheet.titleRows(), std::optional(CellRange{0, 1, 0, 255}));
        QCOMPARE(sheet.titleColumns(), std::optional(CellRange{0, 65535, 0, 1}));

        // The same print area through entry 1 is another workbook's, not this sheet's.
        QByteArray elsewhere = area;
        elsewhere[1] = 1;
        const QByteArray external = BiffBuilder::workbook(links + QList{name(6, elsewhere)}, {});
        QVERIFY(
            WorkbookReader(m_codePages).readStream(external).sheets()[0].printAreas().isEmpty());
    }

    void pageSetup() {
        const Workbook workbook = read(QStringLiteral("formats.xls"));
        const PageSetup& page = sheetNamed(workbook, QStringLiteral("Layout")).pageSetup();
        QCOMPARE(page.paperSize, 9);
        QCOMPARE(page.orientation, Orientation::Landscape);
        QCOMPARE(page.scale, 85);
        QVERIFY(!page.fitToPages);
        QCOMPARE(page.firstPageNumber, std::optional(5));
        QCOMPARE(page.pageOrder, PageOrder::DownThenOver);
        QCOMPARE(page.leftMargin, 0.5);
        QCOMPARE(page.rightMargin, 0.6);
        QCOMPARE(page.topMargin, 1.1);
        QCOMPARE(page.bottomMargin, 1.2);
        QCOMPARE(page.headerMargin, 0.3);
        QCOMPARE(page.footerMargin, 0.4);
        QVERIFY(page.centerHorizontally);
        QVERIFY(page.centerVertically);
        QCOMPARE(page.header, QStringLiteral("&L左&C&A&R&D"));
        QCOMPARE(page.footer, QStringLiteral("&CPage &P of &N"));
        QVERIFY(page.printGridlines);
        QVERIFY(page.printHeadings);
        QCOMPARE(page.rowBreaks, QList<int>({10, 20}));
        QCOMPARE(page.columnBreaks, QList<int>({2}));

        const PageSetup& fit = sheetNamed(workbook, QStringLiteral("Fit")).pageSetup();
        QVERIFY(fit.fitToPages);
        QCOMPARE(fit.fitWidth, 2);
        QCOMPARE(fit.fitHeight, 3);
        QCOMPARE(fit.paperSize, 13);
        QCOMPARE(fit.orientation, Orientation::Portrait);
        QCOMPARE(fit.pageOrder, PageOrder::OverThenDown);
        QVERIFY(!fit.printGridlines);

        const Workbook japanese = read(QStringLiteral("japanese.xls"));
        QCOMPARE(japanese.sheets()[0].pageSetup().rowBreaks, QList<int>({6}));
        QCOMPARE(japanese.sheets()[0].pageSetup().columnBreaks, QList<int>({3}));
    }

    // The SETUP record's print options: black and white (bit 3), draft (bit 4), and from
    // BIFF8 on how errors print (bits 10 and 11), whatever the printer-settings bit (2) says.
    void printOptions_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<BiffVersion>("version");
        QTest::addColumn<bool>("blackAndWhite");
        QTest::addColumn<bool>("draft");
        QTest::addColumn<PrintErrors>("errors");
        const auto b8 = BiffVersion::Biff8;
        QTest::newRow("none") << 0x0000 << b8 << false << false << PrintErrors::Displayed;
        QTest::newRow("black and white") << 0x0008 << b8 << true << false << PrintErrors::Displayed;
        QTest::newRow("draft") << 0x0010 << b8 << false << true << PrintErrors::Displayed;
        QTest::newRow("errors blank") << 0x0400 << b8 << false << false << PrintErrors::Blank;
        QTest::newRow("errors as dashes") << 0x0800 << b8 << false << false << PrintErrors::Dashes;
        QTest::newRow("errors as #N/A, no printer settings")
            << 0x0C1C << b8 << true << true << PrintErrors::NotAvailable;
        QTest::newRow("BIFF5 has no error option")
            << 0x0C08 << BiffVersion::Biff5 << true << false << PrintErrors::Displayed;
    }

    void printOptions() {
        QFETCH(int, flags);
        QFETCH(BiffVersion, version);
        const QByteArray setup =
            BiffBuilder::encoded(0x00A1, u16(9) + u16(100) + u16(1) + u16(1) + u16(1) + u16(flags) +
                                             u16(300) + u16(300) + f64(0.5) + f64(0.5) + u16(1));
        const Workbook workbook =
            WorkbookReader(m_codePages).readStream(BiffBuilder::workbook({}, {setup}, version));
        const PageSetup& page = workbook.sheets().at(0).pageSetup();
        QTEST(page.blackAndWhite, "blackAndWhite");
        QTEST(page.draft, "draft");
        QTEST(page.printErrors, "errors");
    }

    // A custom view's page setup belongs to the view: the sheet prints with its own.
    void customViewPageSetupLeftAlone() {
        using xlstest::BiffBuilder;
        using xlstest::f64;
        const QByteArray stream = BiffBuilder::workbook(
            {}, {BiffBuilder::encoded(0x0026, f64(0.5)), BiffBuilder::encoded(0x01AA, {}),
                 BiffBuilder::encoded(0x0026, f64(2.0)), BiffBuilder::encoded(0x01AB, {}),
                 BiffBuilder::encoded(0x0027, f64(0.7))});
        const Workbook workbook = WorkbookReader(m_codePages).readStream(stream);
        const PageSetup& page = workbook.sheets()[0].pageSetup();
        QCOMPARE(page.leftMargin, 0.5);
        QCOMPARE(page.rightMargin, 0.7);
    }

    void dateSystems() {
        QVERIFY(!read(QStringLiteral("formats.xls")).uses1904Dates());
        QVERIFY(read(QStringLiteral("dates1904.xls")).uses1904Dates());
    }

    void sharedStringsAcrossContinueRecords() {
        // The strings that the fixture script wrote, 400 of them in rows of four.
        const Workbook workbook = read(QStringLiteral("strings.xls"));
        const Sheet& sheet = workbook.sheets()[0];
        for (int i = 0; i < 400; ++i) {
            QString expected;
            if (i % 3 == 0)
                expected = QStringLiteral("ascii %1 ").arg(i, 3, 10, QLatin1Char('0')) +
                           QStringLiteral("abcdefghij").repeated(5 + i % 11);
            else if (i % 3 == 1)
                expected = QStringLiteral("日本語%1 ").arg(i, 3, 10, QLatin1Char('0')) +
                           QStringLiteral("かなカナ漢字").repeated(4 + i % 9);
            else
                expected = QStringLiteral("mixed %1 ").arg(i, 3, 10, QLatin1Char('0')) +
                           QStringLiteral("abc").repeated(i % 17) +
                           QStringLiteral("ｱｲｳ").repeated(i % 5);
            const Cell* cell = sheet.cell(i / 4, i % 4);
            QVERIFY2(cell != nullptr, qPrintable(QString::number(i)));
            QCOMPARE(cell->text(), expected);
        }
    }
};

QTEST_GUILESS_MAIN(ReaderTest)
#include "tst_reader.moc"
