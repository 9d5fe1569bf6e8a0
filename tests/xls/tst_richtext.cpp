#include "BiffBuilder.h"

#include "xls/IconvCodePages.h"
#include "xls/WorkbookReader.h"

#include <QtTest>

using namespace xls;
using namespace xlstest;

namespace {

QByteArray ref8(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    return u16(firstRow) + u16(lastRow) + u16(firstColumn) + u16(lastColumn);
}

// A phonetic block: font 7, hiragana, centred, with the given guide and runs.
QByteArray phoneticBlock(const QString& guide, const QList<PhoneticRun>& runs) {
    QByteArray rest = u16(7) + u16(0x02 | (0x02 << 2)) + u16(static_cast<int>(runs.size())) +
                      u16(static_cast<int>(guide.size())) + u16(static_cast<int>(guide.size())) +
                      utf16(guide);
    for (const PhoneticRun& run : runs)
        rest += u16(run.phoneticStart) + u16(run.baseStart) + u16(run.baseLength);
    return u16(1) + u16(static_cast<int>(rest.size())) + rest;
}

// The header of a 16-bit shared string with runCount runs and a phonetic block of the given
// size, and its characters.
QByteArray richStringStart(const QString& text, int runCount, int phoneticSize) {
    return u16(static_cast<int>(text.size())) + u8(0x0D) + u16(runCount) + u32(phoneticSize) +
           utf16(text);
}

QByteArray runBytes(const QList<TextRun>& runs) {
    QByteArray out;
    for (const TextRun& run : runs)
        out += u16(run.position) + u16(run.fontIndex);
    return out;
}

QByteArray phoneticInfo(const QByteArray& ranges) {
    return BiffBuilder::encoded(0x00EF, u16(7) + u16(0x02) + ranges);
}

QByteArray condFmt(const QByteArray& ranges, int conditions = 1) {
    return BiffBuilder::encoded(0x01B0, u16(conditions) + u16(1) + ref8(0, 0, 0, 0) + ranges);
}

// A value condition comparing with the integer 3 that sets a fill's pattern and background
// colour and nothing else.
QByteArray cfEqualThree(int comparison) {
    const QByteArray fill = u16(1 << 10) + u16(13 << 7);
    return BiffBuilder::encoded(0x01B1, u8(1) + u8(comparison) + u16(3) + u16(0) +
                                            u32((1U << 29) | (1U << 17) | 0x3C00U) + u16(0) + fill +
                                            u8(0x1E) + u16(3));
}

Cell numberCell(double value) {
    return Cell::number(0, 0, 15, value);
}

} // namespace

class RichTextTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

    Workbook read(const QByteArray& stream) {
        return WorkbookReader(m_codePages).readStream(stream);
    }

private slots:
    void runsWrittenByLibreOffice() {
        const Workbook workbook =
            WorkbookReader(m_codePages).readFile(fixture(QStringLiteral("richtext.xls")));
        const Sheet& sheet = workbook.sheets()[0];
        struct Expected {
            int position;
            bool bold;
            bool italic;
            Script script;
        };
        const QList<std::pair<int, QList<Expected>>> rows = {
            {0,
             {{0, false, false, Script::Normal},
              {3, true, false, Script::Normal},
              {6, false, true, Script::Normal}}},
            {1, {{0, false, false, Script::Normal}, {1, false, false, Script::Superscript}}},
            {2,
             {{0, false, false, Script::Normal},
              {1, false, false, Script::Subscript},
              {2, false, false, Script::Normal}}},
            {3, {}},
        };
        for (const auto& [row, expected] : rows) {
            const QList<TextRun>& runs = workbook.textRuns(*sheet.cell(row, 0));
            QCOMPARE(runs.size(), expected.size());
            for (qsizetype i = 0; i < runs.size(); ++i) {
                const Font& font = workbook.font(runs[i].fontIndex);
                QCOMPARE(runs[i].position, expected[i].position);
                QCOMPARE(font.bold(), expected[i].bold);
                QCOMPARE(font.italic, expected[i].italic);
                QCOMPARE(font.script, expected[i].script);
            }
        }
        const TextRun red = workbook.textRuns(*sheet.cell(0, 0))[2];
        QCOMPARE(workbook.palette().color(workbook.font(red.fontIndex).colorIndex),
                 QColor(Qt::red));
    }

    void sharedStringRunsAcrossContinueWithPhoneticGuide() {
        // The string's runs are cut by a CONTINUE record, its phonetic block by another; the
        // string after it must still be read in step.
        const QString base = QStringLiteral("漢字かな");
        const QByteArray block = phoneticBlock(QStringLiteral("かんじ"), {{0, 0, 2}});
        const QByteArray runs = runBytes({{0, 5}, {2, 6}});
        const QByteArray table =
            sstRecord(2, richStringStart(base, 2, static_cast<int>(block.size())) + runs.left(6)) +
            BiffBuilder::encoded(0x003C, runs.mid(6) + block.left(9)) +
            BiffBuilder::encoded(0x003C,
                                 block.mid(9) + unicodeString(QStringLiteral("次"), 2, true));
        const Workbook workbook = read(
            BiffBuilder::workbook({table}, {labelSst(0, 0, 0), labelSst(1, 0, 0), labelSst(2, 0, 1),
                                            phoneticInfo(u16(1) + ref8(0, 0, 0, 0))}));
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->text(), base);
        QCOMPARE(sheet.cell(2, 0)->text(), QStringLiteral("次"));
        QCOMPARE(workbook.richTexts().size(), size_t{1}); // kept once for both cells
        const QList<TextRun> expectedRuns = {{0, 5}, {2, 6}};
        QCOMPARE(workbook.textRuns(*sheet.cell(0, 0)), expectedRuns);
        QCOMPARE(workbook.textRuns(*sheet.cell(1, 0)), expectedRuns);
        QVERIFY(workbook.textRuns(*sheet.cell(2, 0)).isEmpty());

        const PhoneticText* shown = workbook.shownPhonetic(sheet, *sheet.cell(0, 0));
        QVERIFY(shown != nullptr);
        QCOMPARE(shown->text, QStringLiteral("かんじ"));
        QCOMPARE(shown->runs, QList<PhoneticRun>({{0, 0, 2}}));
        QCOMPARE(shown->fontIndex, 7);
        QCOMPARE(shown->type, PhoneticType::Hiragana);
        QCOMPARE(shown->alignment, PhoneticAlignment::Center);
        QVERIFY(workbook.shownPhonetic(sheet, *sheet.cell(1, 0)) == nullptr); // not shown there
        QCOMPARE(sheet.phoneticSettings().fontIndex, 7);
    }

    void rstringRunsInBothVersions() {
        struct Case {
            BiffVersion version;
            QList<QByteArray> globals;
            QByteArray record;
            QString text;
            QList<TextRun> runs;
        };
        // In Excel 5.0/95 runs count bytes of the code-page text: byte 4 is the third
        // character after two double-byte ones.
        const QByteArray sjis("\x93\xfa\x96\x7b"
                              "ab",
                              6);
        const QList<Case> cases = {
            {BiffVersion::Biff5,
             {BiffBuilder::encoded(0x0042, u16(932))},
             u16(6) + sjis + u8(2) + u8(0) + u8(5) + u8(4) + u8(6),
             QStringLiteral("日本ab"),
             {{0, 5}, {2, 6}}},
            {BiffVersion::Biff8,
             {},
             unicodeString(QStringLiteral("abcd"), 2) + u16(2) + runBytes({{1, 5}, {3, 7}}),
             QStringLiteral("abcd"),
             {{1, 5}, {3, 7}}},
        };
        for (const Case& c : cases) {
            const QByteArray cell =
                BiffBuilder::encoded(0x00D6, u16(0) + u16(0) + u16(15) + c.record);
            const Workbook workbook = read(BiffBuilder::workbook(c.globals, {cell}, c.version));
            const Cell& read = *workbook.sheets()[0].cell(0, 0);
            QCOMPARE(read.text(), c.text);
            QCOMPARE(workbook.textRuns(read), c.runs);
        }
    }

    void comparisonsWrittenByLibreOffice() {
        const Workbook workbook =
            WorkbookReader(m_codePages).readFile(fixture(QStringLiteral("richtext.xls")));
        const Sheet& sheet = workbook.sheets()[1];
        // Per column, whether rows 1-3 take the conditional format. J (a formula) and L (a
        // cell operand) are never evaluated.
        const QList<std::pair<QString, QList<bool>>> columns = {
            {"A between 2 and 4", {false, true, false}},
            {"B not between 2 and 4", {true, false, true}},
            {"C = 3", {false, true, false}},
            {"D <> 3", {true, false, true}},
            {"E > 3", {false, false, true}},
            {"F < 3", {true, false, false}},
            {"G >= 3", {false, true, true}},
            {"H <= 3", {true, true, false}},
            {"I = \"abc\" (ABC, abd, abc)", {true, false, true}},
            {"J formula J1>0", {false, false, false}},
            {"K > -2 (-3, -2, 0)", {false, false, true}},
            {"L > $Z$1", {false, false, false}},
        };
        for (int column = 0; column < columns.size(); ++column) {
            for (int row = 0; row < 3; ++row) {
                const bool hit = sheet.conditionalFormat(row, column) != nullptr;
                if (hit != columns[column].second[row])
                    QFAIL(qPrintable(
                        QStringLiteral("%1, row %2").arg(columns[column].first).arg(row + 1)));
            }
        }
        const Condition& formula = sheet.conditionalFormats()[9].conditions[0];
        QCOMPARE(formula.kind, ConditionKind::Formula);
        QVERIFY(!formula.formula1.isEmpty());

        const DifferentialFormat& hit = *sheet.conditionalFormat(1, 0);
        QCOMPARE(workbook.palette().color(hit.fontColorIndex.value()), QColor(Qt::red));
        QCOMPARE(hit.bold, std::optional<bool>(true));
        QCOMPARE(hit.fillPattern, std::optional<int>(1));
        QCOMPARE(workbook.palette().color(hit.backgroundColorIndex.value()), QColor(Qt::yellow));
        QCOMPARE(hit.bottom.value().style, BorderStyle::Thin);
    }

    void valuesCompareAsTheSpreadsheetDoes() {
        struct Case {
            const char* name;
            ComparisonOperator comparison;
            Constant first;
            std::optional<Constant> second;
            std::optional<Cell> cell; // none: an empty position
            bool holds;
        };
        const QString abc = QStringLiteral("abc");
        const QList<Case> cases = {
            {"numbers sort below texts", ComparisonOperator::Less, abc, {}, numberCell(5), true},
            {"texts sort above numbers",
             ComparisonOperator::Greater,
             3.0,
             {},
             Cell::text(0, 0, 15, QStringLiteral("x")),
             true},
            {"booleans sort above numbers",
             ComparisonOperator::Greater,
             9.0,
             {},
             Cell::boolean(0, 0, 15, false),
             true},
            {"an empty cell is 0", ComparisonOperator::Equal, 0.0, {}, {}, true},
            {"an empty cell is the empty text", ComparisonOperator::Equal, QString(), {}, {}, true},
            {"a formatted blank is empty",
             ComparisonOperator::Less,
             1.0,
             {},
             Cell::blank(0, 0, 15),
             true},
            {"an error matches nothing",
             ComparisonOperator::NotEqual,
             5.0,
             {},
             Cell::error(0, 0, 15, CellError::NotAvailable),
             false},
            {"between either way round", ComparisonOperator::Between, 4.0, 2.0, numberCell(3),
             true},
            {"between includes its ends", ComparisonOperator::Between, 2.0, 4.0, numberCell(4),
             true},
            {"texts between texts", ComparisonOperator::Between, QStringLiteral("B"),
             QStringLiteral("d"), Cell::text(0, 0, 15, QStringLiteral("c")), true},
            {"an operand missing", ComparisonOperator::NotBetween, 2.0, {}, numberCell(9), false},
        };
        for (const Case& c : cases) {
            Condition condition;
            condition.comparison = c.comparison;
            condition.constant1 = c.first;
            condition.constant2 = c.second;
            if (condition.holds(c.cell ? &*c.cell : nullptr) != c.holds)
                QFAIL(c.name);
        }
    }

    void damagedRecordsAreLeftOut() {
        const QString text = QStringLiteral("かな");
        const QByteArray next = unicodeString(QStringLiteral("次"), 2, true);
        const QByteArray sheetCells = labelSst(0, 0, 0) + labelSst(1, 0, 1);
        struct Case {
            const char* name;
            QByteArray table;
            QList<QByteArray> sheet;
            QList<TextRun> runs;
            bool phonetic;
            int conditions; // of the sheet's first conditional format, -1 for none
        };
        const QByteArray shortBlock = u16(1) + u16(40) + u16(7);
        const QByteArray wideRun = phoneticBlock(text, {{0, 1, 5}});
        const QList<Case> cases = {
            {"phonetic block cut short",
             sstRecord(2, richStringStart(text, 0, 6) + shortBlock + next),
             {},
             {},
             false,
             -1},
            {"phonetic run beyond the base text",
             sstRecord(2,
                       richStringStart(text, 0, static_cast<int>(wideRun.size())) + wideRun + next),
             {},
             {},
             true,
             -1},
            {"runs out of order or past the text",
             sstRecord(2, richStringStart(text, 3, 0) + runBytes({{1, 5}, {0, 6}, {9, 7}}) + next),
             {},
             {{1, 5}},
             false,
             -1},
            {"condition cut inside its format",
             sstRecord(2, unicodeString(text, 2, true) + next),
             {condFmt(u16(1) + ref8(0, 0, 0, 0)),
              BiffBuilder::encoded(0x01B1, u8(1) + u8(3) + u16(3) + u16(0) + u32(1U << 26))},
             {},
             false,
             0},
            {"condition without its conditional format",
             sstRecord(2, unicodeString(text, 2, true) + next),
             {cfEqualThree(3)},
             {},
             false,
             -1},
            {"conditional format cut short",
             sstRecord(2, unicodeString(text, 2, true) + next),
             {BiffBuilder::encoded(0x01B0, u16(1) + u16(1)), cfEqualThree(3)},
             {},
             false,
             -1},
        };
        for (const Case& c : cases) {
            QList<QByteArray> sheetRecords = {sheetCells, phoneticInfo(u16(1) + ref8(0, 9, 0, 9))};
            sheetRecords += c.sheet;
            const Workbook workbook = read(BiffBuilder::workbook({c.table}, sheetRecords));
            const Sheet& sheet = workbook.sheets()[0];
            const Cell& cell = *sheet.cell(0, 0);
            QVERIFY2(cell.text() == text && sheet.cell(1, 0)->text() == QStringLiteral("次"),
                     c.name);
            QVERIFY2(workbook.textRuns(cell) == c.runs, c.name);
            const PhoneticText* phonetic = workbook.shownPhonetic(sheet, cell);
            QVERIFY2((phonetic != nullptr) == c.phonetic, c.name);
            QVERIFY2(!phonetic || phonetic->runs.isEmpty(), c.name);
            const int conditions =
                sheet.conditionalFormats().isEmpty()
                    ? -1
                    : static_cast<int>(sheet.conditionalFormats()[0].conditions.size());
            QVERIFY2(conditions == c.conditions, c.name);
        }
    }

    void aConditionWithOnlyAFill() {
        const auto number = [](int row, double value) {
            return BiffBuilder::encoded(0x0203, u16(row) + u16(0) + u16(15) + f64(value));
        };
        const QByteArray cells = number(0, 3) + number(1, 4) + number(6, 3);
        const Workbook workbook = read(BiffBuilder::workbook(
            {}, {cells, condFmt(u16(1) + ref8(0, 5, 0, 0)), cfEqualThree(3)}));
        const Sheet& sheet = workbook.sheets()[0];
        const DifferentialFormat* hit = sheet.conditionalFormat(0, 0);
        QVERIFY(hit != nullptr);
        QCOMPARE(hit->backgroundColorIndex, std::optional<int>(13));
        QVERIFY(!hit->bold && !hit->fontColorIndex && !hit->bottom && !hit->patternColorIndex);
        QVERIFY(sheet.conditionalFormat(1, 0) == nullptr);
        QVERIFY(sheet.conditionalFormat(6, 0) == nullptr); // outside the range
    }
};

QTEST_GUILESS_MAIN(RichTextTest)
#include "tst_richtext.moc"
