// Excel 2.x, 3.0 and 4.0 files, built record by record: every kind of cell in each version,
// the formats kept in the cells (2.x) or in XF records (3.0, 4.0), rows, columns, page setup,
// Excel 4.0 workbooks of several sheets, and damaged streams.
#include "BiffBuilder.h"

#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QtTest>

using namespace xls;
using namespace xlstest;

Q_DECLARE_METATYPE(xls::CellType)
Q_DECLARE_METATYPE(xls::ReadError::Kind)

namespace {

constexpr quint16 kBiff2 = 0x0009;
constexpr quint16 kBiff3 = 0x0209;
constexpr quint16 kBiff4 = 0x0409;

QByteArray record(quint16 code, const QByteArray& data) {
    return BiffBuilder::encoded(code, data);
}

QByteArray byteString(const QByteArray& text) {
    return u8(static_cast<int>(text.size())) + text;
}

// A BIFF2 cell record at B3 with attributes: no XF, format 0 and font 0, no style.
QByteArray cell2(quint16 code, const QByteArray& value) {
    return record(code, u16(2) + u16(1) + u8(0) + u8(0) + u8(0) + value);
}

// A BIFF3/4 cell record at B3 with cell format 0.
QByteArray cell3(quint16 code, const QByteArray& value) {
    return record(code, u16(2) + u16(1) + u16(0) + value);
}

// A formula result of a text, which a STRING record brings.
QByteArray textResult() {
    return u8(0) + QByteArray(5, '\0') + u16(0xFFFF);
}

} // namespace

class OldBiffTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

    Workbook read(const QByteArray& stream) {
        return WorkbookReader(m_codePages).readStream(stream);
    }

private slots:
    void cellsOfEveryKind_data() {
        QTest::addColumn<quint16>("bof");
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<CellType>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<bool>("formula");
        const auto row = [](const char* name, quint16 bof, const QByteArray& records, CellType type,
                            const QString& text, double number, bool formula) {
            QTest::newRow(name) << bof << records << type << text << number << formula;
        };
        const double none = 0;
        row("2 blank", kBiff2, cell2(0x0001, {}), CellType::Blank, {}, none, false);
        row("2 integer", kBiff2, cell2(0x0002, u16(65535)), CellType::Number, {}, 65535, false);
        row("2 number", kBiff2, cell2(0x0003, f64(-2.5)), CellType::Number, {}, -2.5, false);
        row("2 label", kBiff2, cell2(0x0004, byteString("caf\xe9")), CellType::Text,
            QStringLiteral("café"), none, false);
        row("2 boolean", kBiff2, cell2(0x0005, u8(1) + u8(0)), CellType::Boolean, {}, none, false);
        row("2 error", kBiff2, cell2(0x0005, u8(0x07) + u8(1)), CellType::Error,
            QStringLiteral("#DIV/0!"), none, false);
        row("2 formula number", kBiff2, cell2(0x0006, f64(7) + u8(0) + u8(0)), CellType::Number, {},
            7, true);
        row("2 formula text", kBiff2,
            cell2(0x0006, textResult() + u8(0) + u8(0)) + record(0x0007, byteString("sum")),
            CellType::Text, QStringLiteral("sum"), none, true);
        row("3 blank", kBiff3, cell3(0x0201, {}), CellType::Blank, {}, none, false);
        row("3 number", kBiff3, cell3(0x0203, f64(1e10)), CellType::Number, {}, 1e10, false);
        row("3 label", kBiff3, cell3(0x0204, u16(5) + "three"), CellType::Text,
            QStringLiteral("three"), none, false);
        row("3 rk", kBiff3, cell3(0x027E, u32((1234U << 2) | 0x03)), CellType::Number, {}, 12.34,
            false);
        row("3 error", kBiff3, cell3(0x0205, u8(0x2A) + u8(1)), CellType::Error,
            QStringLiteral("#N/A"), none, false);
        row("3 formula boolean", kBiff3,
            cell3(0x0206,
                  u8(1) + u8(0) + u8(1) + QByteArray(3, '\0') + u16(0xFFFF) + u16(0) + u16(0)),
            CellType::Boolean, {}, none, true);
        row("4 formula text", kBiff4,
            cell3(0x0406, textResult() + u16(0) + u16(0)) + record(0x0207, u16(4) + "four"),
            CellType::Text, QStringLiteral("four"), none, true);
        // A STRING record with no formula before it belongs to no cell.
        row("4 stray string", kBiff4, record(0x0207, u16(1) + "x") + cell3(0x0203, f64(4)),
            CellType::Number, {}, 4, false);
    }

    void cellsOfEveryKind() {
        QFETCH(quint16, bof);
        QFETCH(QByteArray, records);
        QFETCH(CellType, type);
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(bool, formula);
        const Workbook workbook = read(oldBiffStream(bof, 0x10, {records}));
        QCOMPARE(workbook.sheetCount(), 1);
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.cells().size(), size_t{1});
        const Cell* cell = sheet.cell(2, 1);
        QVERIFY(cell != nullptr);
        QCOMPARE(cell->type(), type);
        QCOMPARE(cell->isFormula(), formula);
        if (type == CellType::Error)
            QCOMPARE(errorText(cell->error()), text);
        else if (type == CellType::Boolean)
            QVERIFY(cell->boolean());
        else
            QCOMPARE(cell->text(), text);
        QCOMPARE(cell->number(), number);
    }

    // Excel 4.0 formatting in its own XF layout, with its five-bit colours, and the used range
    // from the cells whatever DIMENSIONS claims.
    void biff4Worksheet() {
        const Workbook workbook = read(borderedBiff4Sheet(27));
        QCOMPARE(workbook.version(), BiffVersion::Biff4);
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.cells().size(), size_t{81});
        QCOMPARE(sheet.cells().back().row(), 26);
        QCOMPARE(sheet.cells().back().column(), 2);
        QCOMPARE(sheet.cell(26, 2)->text(), QStringLiteral("r27c3"));
        const CellFormat& format = workbook.cellFormat(sheet.cell(0, 0)->formatIndex());
        for (const Border& border : {format.left, format.right, format.top, format.bottom})
            QCOMPARE(border, (Border{BorderStyle::Thin, 0x40}));
        QCOMPARE(format.patternColorIndex, 0x40);
        QCOMPARE(format.backgroundColorIndex, 0x41);
        QCOMPARE(format.fillPattern, 0);
        QCOMPARE(workbook.font(format.fontIndex).name, QStringLiteral("Arial"));
        QCOMPARE(sheet.columnInfo(2)->width, 12 * 256);
        QCOMPARE(sheet.pageSetup().header, QStringLiteral("&A"));
        QCOMPARE(sheet.pageSetup().footer, QStringLiteral("Page &P"));
    }

    // The layout of each version's own formatting records, in the model's terms.
    void formattingRecords() {
        const Workbook workbook = read(oldBiffStream(
            kBiff4, 0x10,
            {record(0x0231, u16(240) + u16(0x0007) + u16(10) + byteString("Times")),
             record(0x041E, u16(0) + byteString("General")),
             record(0x041E, u16(0x99) + byteString("0.00%")),
             // Font 0, format 1, centred, wrapped, vertically centred, turned clockwise, solid
             // red on blue, a double bottom border in green.
             record(0x0443, u8(0) + u8(1) + u16(0) + u8(0xDA) + u8(0) +
                                u16(1 | (10 << 6) | (12 << 11)) + u32((6 | (11 << 3)) << 16)),
             cell3(0x0203, f64(0.5)),
             // Row 5 hidden with a format of its own, 300 twips; row 6 of the default height.
             record(0x0208, u16(4) + u16(0) + u16(0) + u16(300) + u32(0) + u16(0x01A0) + u16(0)),
             record(0x0208,
                    u16(5) + u16(0) + u16(0) + u16(0x8000 | 100) + u32(0) + u16(0x100) + u16(0)),
             record(0x0225, u16(0) + u16(320)), record(0x0055, u16(10)),
             // Excel 4.0's SETUP: A4, 80 %, landscape, over then down, fit 2 by 3.
             record(0x00A1, u16(9) + u16(80) + u16(1) + u16(2) + u16(3) + u16(0x0001)),
             record(0x0081, u16(0x0100)), record(0x0026, f64(0.25)),
             record(0x001B, u16(2) + u16(20) + u16(10))}));
        const Sheet& sheet = workbook.sheets()[0];
        const Font& font = workbook.font(0);
        QCOMPARE(font.name, QStringLiteral("Times"));
        QCOMPARE(font.height, 240);
        QVERIFY(font.bold() && font.italic);
        QCOMPARE(font.underline, Underline::Single);
        QCOMPARE(font.colorIndex, 10);
        const CellFormat& format = workbook.cellFormat(sheet.cell(2, 1)->formatIndex());
        QCOMPARE(workbook.numberFormatCode(format.formatIndex), QStringLiteral("0.00%"));
        QCOMPARE(format.horizontal, HorizontalAlignment::Center);
        QVERIFY(format.wrap);
        QCOMPARE(format.vertical, VerticalAlignment::Center);
        QCOMPARE(format.rotation, 180);
        QCOMPARE(format.fillPattern, 1);
        QCOMPARE(format.patternColorIndex, 10);
        QCOMPARE(format.backgroundColorIndex, 12);
        QCOMPARE(format.bottom, (Border{BorderStyle::Double, 11}));
        QCOMPARE(format.top.style, BorderStyle::None);
        QVERIFY(sheet.isRowHidden(4));
        QCOMPARE(sheet.rowInfo(4)->formatIndex, sheet.cell(2, 1)->formatIndex());
        QCOMPARE(sheet.rowHeight(4), 300);
        QCOMPARE(sheet.rowHeight(5), 320);
        QCOMPARE(sheet.defaultColumnWidth(), 10);
        const PageSetup& page = sheet.pageSetup();
        QCOMPARE(page.paperSize, 9);
        QCOMPARE(page.scale, 80);
        QCOMPARE(page.orientation, Orientation::Landscape);
        QCOMPARE(page.pageOrder, PageOrder::OverThenDown);
        QVERIFY(page.fitToPages);
        QCOMPARE(page.fitWidth, 2);
        QCOMPARE(page.fitHeight, 3);
        QCOMPARE(page.leftMargin, 0.25);
        QCOMPARE(page.rowBreaks, (QList<int>{10, 20}));
    }

    // Excel 2.x keeps a cell's format in the cell: font, number format, alignment, black
    // borders and shading; rows may carry attributes; a column of no width is hidden.
    void biff2Attributes() {
        const Workbook workbook = read(oldBiffStream(
            kBiff2, 0x10,
            {record(0x0031, u16(200) + u16(0) + byteString("Arial")),
             record(0x0031, u16(280) + u16(0x0001) + byteString("Courier")), record(0x0045, u16(2)),
             record(0x001E, byteString("General")), record(0x001E, byteString("0.0")),
             record(0x0003, u16(0) + u16(0) + u8(0) + u8(0x41) + u8(0x80 | 0x18 | 3) + f64(1)),
             record(0x0008, u16(3) + u16(0) + u16(0) + u16(0) + u16(0) + u8(1) + u16(0) + u8(0) +
                                u8(0) + u8(0x40)),
             record(0x0024, u8(4) + u8(5) + u16(0))}));
        const Sheet& sheet = workbook.sheets()[0];
        const CellFormat& format = workbook.cellFormat(sheet.cell(0, 0)->formatIndex());
        const Font& font = workbook.font(format.fontIndex);
        QCOMPARE(font.name, QStringLiteral("Courier"));
        QVERIFY(font.bold());
        QCOMPARE(font.colorIndex, 2);
        QCOMPARE(workbook.numberFormatCode(format.formatIndex), QStringLiteral("0.0"));
        QCOMPARE(format.horizontal, HorizontalAlignment::Right);
        QCOMPARE(format.left.style, BorderStyle::Thin);
        QCOMPARE(format.right.style, BorderStyle::Thin);
        QCOMPARE(format.top.style, BorderStyle::None);
        QVERIFY(format.fillPattern != 0);
        QVERIFY(sheet.isRowHidden(3));
        const CellFormat& rowFormat = workbook.cellFormat(sheet.rowInfo(3)->formatIndex);
        QCOMPARE(rowFormat.bottom.style, BorderStyle::Thin);
        QVERIFY(sheet.isColumnHidden(4) && sheet.isColumnHidden(5) && !sheet.isColumnHidden(6));
    }

    // An Excel 4.0 workbook: globals listing the sheets, then each sheet with formats of its
    // own, whose indices name its own fonts and formats.
    void biff4Workbook() {
        const auto sheetStream = [](const QByteArray& fontName, const QByteArray& code,
                                    double value) {
            return oldBiffStream(
                kBiff4, 0x10,
                {record(0x0231, u16(200) + u16(0) + u16(0x7FFF) + byteString("Arial")),
                 record(0x0231, u16(200) + u16(0) + u16(0x7FFF) + byteString(fontName)),
                 record(0x041E, u16(0) + byteString(code)), record(0x0443, QByteArray(12, '\0')),
                 record(0x0443, u8(1) + QByteArray(11, '\0')),
                 record(0x0203, u16(0) + u16(0) + u16(1) + f64(value))});
        };
        const QByteArray globals =
            oldBiffStream(kBiff4, 0x0100,
                          {record(0x008F, u32(0) + u16(0) + byteString("First")),
                           record(0x008F, u32(0) + u16(0) + byteString("Second"))});
        const QByteArray stream = globals + sheetStream("Courier", "0.0", 1) +
                                  sheetStream("Times", "0%", 2) + sheetStream("Symbol", "@", 3);
        const Workbook workbook = read(stream);
        QCOMPARE(workbook.sheetCount(), 3);
        const QStringList expected{"First", "Second", "Sheet3"};
        const QStringList fonts{"Courier", "Times", "Symbol"};
        const QStringList codes{"0.0", "0%", "@"};
        for (int i = 0; i < 3; ++i) {
            const Sheet& sheet = workbook.sheets()[static_cast<size_t>(i)];
            QCOMPARE(sheet.name(), expected[i]);
            const Cell* cell = sheet.cell(0, 0);
            QCOMPARE(cell->number(), i + 1.0);
            const CellFormat& format = workbook.cellFormat(cell->formatIndex());
            QCOMPARE(workbook.font(format.fontIndex).name, fonts[i]);
            QCOMPARE(workbook.numberFormatCode(format.formatIndex), codes[i]);
        }
        // The same workbook in a compound file's "Book" stream, as Excel 4.0 may save it.
        const Workbook contained =
            WorkbookReader(m_codePages).readFileImage(compoundFile(stream, "Book"));
        QCOMPARE(contained.sheetCount(), 3);
    }

    void damagedStreams_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<ReadError::Kind>("kind");
        const QByteArray whole = borderedBiff4Sheet(2);
        QTest::newRow("cut before EOF") << whole.left(whole.size() - 4) << ReadError::Kind::Corrupt;
        QTest::newRow("cut inside a record")
            << whole.left(whole.size() - 7) << ReadError::Kind::Corrupt;
        QTest::newRow("label past its record")
            << oldBiffStream(kBiff4, 0x10, {cell3(0x0204, u16(9) + "short")})
            << ReadError::Kind::Corrupt;
        QTest::newRow("number cut short")
            << oldBiffStream(kBiff2, 0x10, {cell2(0x0003, u32(0))}) << ReadError::Kind::Corrupt;
        QTest::newRow("password") << oldBiffStream(kBiff3, 0x10, {record(0x002F, u32(0x1234))})
                                  << ReadError::Kind::Encrypted;
        QTest::newRow("globals without EOF")
            << BiffBuilder::encoded(kBiff4, u16(0) + u16(0x0100) + u16(0))
            << ReadError::Kind::Corrupt;
    }

    void damagedStreams() {
        QFETCH(QByteArray, stream);
        QFETCH(ReadError::Kind, kind);
        try {
            read(stream);
            QFAIL("read without an error");
        } catch (const ReadError& error) {
            QCOMPARE(error.kind(), kind);
        }
    }

    // A damaged formatting or page setup record is passed over with a warning; the cells
    // print with the defaults.
    void damagedFormattingIsPassedOver() {
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("record 0x0231 .* shorter than its fields"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("record 0x0014 .* shorter than its fields"));
        const Workbook workbook =
            read(oldBiffStream(kBiff3, 0x10,
                               {record(0x0231, u16(200) + u16(0)),
                                record(0x0014, byteString("&P").left(2)), cell3(0x0203, f64(3))}));
        QCOMPARE(workbook.fonts().size(), 1);
        QCOMPARE(workbook.font(0).name, QStringLiteral("Arial"));
        QCOMPARE(workbook.sheets()[0].pageSetup().header, QString());
        QCOMPARE(workbook.sheets()[0].cell(2, 1)->number(), 3.0);
    }
};

QTEST_GUILESS_MAIN(OldBiffTest)
#include "tst_oldbiff.moc"
