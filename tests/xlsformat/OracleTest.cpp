// Every fixture cell formatted by the engine, compared with what LibreOffice shows for the same
// workbook. Where LibreOffice and the spreadsheet part ways, the cell is listed below with what
// the spreadsheet shows and why LibreOffice differs; a listed cell that LibreOffice gets right
// after all, or that the engine gets wrong, fails as much as an unlisted difference.

#include "CsvTable.h"

#include "xls/format/NumberFormat.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>

namespace {

struct QuirkCell {
    const char* workbook;
    const char* code;
    const char* value; // as the manifest writes it
    const char* shows; // what the spreadsheet shows
};

struct Quirk {
    const char* reason;
    QList<QuirkCell> cells;
};

const QList<Quirk>& quirks() {
    static const QList<Quirk> list{
        {"A negative number that rounds to zero keeps its minus sign in the spreadsheet (the "
         "well-known \"-0.00\"); LibreOffice drops it.",
         {{"formats1900", "0", "-0.4", "-0"},
          {"formats1900", "0.00", "-0.001", "-0.00"},
          {"formats1900", "#,##0", "-0.3", "-0"}}},
        {"The spreadsheet shows the decimal point of a code even when no digit follows it "
         "(5 in #.## is \"5.\"); LibreOffice leaves the point out.",
         {{"formats1900", "0.", "5.0", "5."},
          {"formats1900", "0.", "12.25", "12."},
          {"formats1900", "0.", "0.5", "1."},
          {"formats1900", "#.##", "5.0", "5."}}},
        {"The spreadsheet rounds to 15 significant digits before rounding to the places shown, so "
         "1.005 is 100.5% and shows 101%; LibreOffice rounds the binary product 100.49999... "
         "(it does round 1.005 to 1.01 in 0.00).",
         {{"formats1900", "0%", "1.005", "101%"}}},
        {"A negative number that falls to the third, catch-all section keeps its minus sign, as "
         "negative numbers do in sections whose condition is not \"below zero\"; LibreOffice "
         "drops the sign in any section after the first.",
         {{"formats1900", "[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0", "-5.0", "-5"},
          {"formats1900", "[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0", "-2000.0", "-2000"},
          {"formats1900", "[>100]General;[<100](General);General", "-5.0", "-(5)"},
          {"formats1900", "[>3][Red]0.00;[<6][Blue]0.00;0.00", "-5.0", "-5.00"}}},
        {"With a condition on the second section only, the first keeps its default condition "
         "(above zero) and takes the positive numbers; LibreOffice finds no section for them and "
         "falls back to General.",
         {{"formats1900", "[Red]0.00;[>5][Blue]0.00", "7.0", "7.00"},
          {"formats1900", "[Red]0.00;[>5][Blue]0.00", "2.0", "2.00"}}},
        {"General shows at most 11 characters whatever the column width (10 significant digits "
         "with a decimal point, 11 without, exponent notation from 1E+11 and below 1E-4, six "
         "digits of mantissa); LibreOffice's text export writes up to 15 digits and three-digit "
         "exponents.",
         {{"formats1900", "General", "0.3333333333333333", "0.333333333"},
          {"formats1900", "General", "0.6666666666666666", "0.666666667"},
          {"formats1900", "General", "3.14159265358979", "3.141592654"},
          {"formats1900", "General", "123456789012.0", "1.23457E+11"},
          {"formats1900", "General", "1e-05", "1E-05"},
          {"formats1900", "General", "1000000000000000.0", "1E+15"},
          {"formats1900", "General", "6.02214076e+23", "6.02214E+23"},
          {"formats1900", "General", "0.000123456789", "0.000123457"},
          {"formats1900", "\"n=\"General", "1.5e+100", "n=1.5E+100"},
          {"formats1900", "General\" pcs\"", "1.5e+100", "1.5E+100 pcs"},
          {"formats1900", "[Red]General;[Blue]-General", "1.5e+100", "1.5E+100"}}},
        {"In the 1900 date system serial 1 is 1900-01-01, serial 0 shows as 1900-01-00 and serial "
         "60 is the 29th of February 1900; LibreOffice counts these serials from 1899-12-30 "
         "without the leap day, one day off until 1900-03-01.",
         {{"formats1900", "yyyy/m/d", "0.0", "1900/1/0"},
          {"formats1900", "yyyy/m/d", "1.0", "1900/1/1"},
          {"formats1900", "yyyy/m/d", "59.0", "1900/2/28"},
          {"formats1900", "yyyy/m/d", "60.0", "1900/2/29"}}},
        {"The spreadsheet has no date before serial 0, none after 9999-12-31 and, in the 1900 "
         "system, no negative time: the cell fills with #. LibreOffice shows dates beyond both "
         "ends and negative times.",
         {{"formats1900", "yyyy/m/d", "-1.0", "#"},
          {"formats1900", "yyyy/m/d", "2958466.0", "#"},
          {"formats1900", "[h]:mm", "-0.25", "#"},
          {"formats1904", "yyyy/m/d", "2957004.0", "#"}}},
        {"am/pm and A/P show in the case they are written (am, A); LibreOffice writes AM/PM in "
         "capitals and A/P in small letters.",
         {{"formats1900", "h:mm am/pm", "0.25", "6:00 am"},
          {"formats1900", "h:mm am/pm", "0.75", "6:00 pm"},
          {"formats1900", "h:mm A/P", "0.25", "6:00 A"},
          {"formats1900", "h:mm A/P", "0.75", "6:00 P"}}},
        {"[$-F800] asks for the system's long date, which on the Japanese systems the program "
         "serves is yyyy年m月d日; LibreOffice's profile here is English (United States).",
         {{"formats1900", "[$-F800]dddd, mmmm dd, yyyy", "43586.0", "2019年5月1日"}}},
        {"Japanese Excel reads the era letters g and e and the weekday letters aaa in a code "
         "without a language prefix too; LibreOffice reads such a code in its English locale, "
         "where they mean something else.",
         {{"formats1900", "ggge\"年\"m\"月\"d\"日\"", "43586.0", "令和1年5月1日"},
          {"formats1900", "aaa", "43586.0", "水"}}},
        {"An era year past 99 keeps all its digits; LibreOffice keeps the last two.",
         {{"formats1904", "[$-411]ggge\"年\"m\"月\"d\"日\"", "2957003.0", "令和7981年12月31日"}}},
    };
    return list;
}

QString quirkKey(const QString& workbook, const QString& code, const QString& value) {
    return workbook + u'\t' + code + u'\t' + value;
}

struct ManifestCell {
    QString workbook;
    QString sheet;
    int row = 0;
    int column = 0;
    int builtIn = -1;
    bool text = false;
    QString value;
    QString code;
};

QString readUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QList<ManifestCell> readManifest() {
    QList<ManifestCell> cells;
    const QStringList lines =
        readUtf8(QStringLiteral(XLSFORMAT_FIXTURES "/manifest.tsv")).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u'\t');
        if (fields.size() != 8)
            continue;
        cells.append(ManifestCell{fields[0], fields[1], fields[2].toInt(), fields[3].toInt(),
                                  fields[4].toInt(), fields[5] == QStringLiteral("text"), fields[6],
                                  fields[7]});
    }
    return cells;
}

QString formatted(const ManifestCell& cell) {
    const xls::NumberFormat format(cell.builtIn >= 0 ? xls::builtInFormatCode(cell.builtIn)
                                                     : cell.code);
    if (cell.text)
        return format.formatText(cell.value).text;
    const xls::DateSystem dates = cell.workbook.endsWith(QStringLiteral("1904"))
                                      ? xls::DateSystem::Base1904
                                      : xls::DateSystem::Base1900;
    return format.formatNumber(cell.value.toDouble(), dates).text;
}

} // namespace

class OracleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sheetMatchesOracle_data();
    void sheetMatchesOracle();
    void everyListedDifferenceIsMet();

private:
    QList<ManifestCell> m_cells;
    QHash<QString, const QuirkCell*> m_quirks;
    QSet<QString> m_quirksMet;
};

void OracleTest::initTestCase() {
    m_cells = readManifest();
    QVERIFY2(m_cells.size() > 1000, "the manifest lists the fixture cells");
    for (const Quirk& quirk : quirks()) {
        for (const QuirkCell& cell : quirk.cells)
            m_quirks.insert(quirkKey(QString::fromUtf8(cell.workbook), QString::fromUtf8(cell.code),
                                     QString::fromUtf8(cell.value)),
                            &cell);
    }
}

void OracleTest::sheetMatchesOracle_data() {
    QTest::addColumn<QString>("sheet");
    QStringList sheets;
    for (const ManifestCell& cell : m_cells) {
        const QString sheet = cell.workbook + u'-' + cell.sheet;
        if (!sheets.contains(sheet))
            sheets.append(sheet);
    }
    for (const QString& sheet : sheets)
        QTest::newRow(sheet.toUtf8().constData()) << sheet;
}

void OracleTest::sheetMatchesOracle() {
    QFETCH(QString, sheet);
    const QString csv =
        readUtf8(QStringLiteral(XLSFORMAT_FIXTURES "/oracle/") + sheet + QStringLiteral(".csv"));
    QVERIFY2(!csv.isEmpty(), qPrintable(QStringLiteral("no oracle CSV for ") + sheet));
    const CsvTable oracle = CsvTable::parse(csv);

    QStringList failures;
    int compared = 0;
    for (const ManifestCell& cell : m_cells) {
        if (cell.workbook + u'-' + cell.sheet != sheet)
            continue;
        ++compared;
        const QString ours = formatted(cell);
        const QString theirs = oracle.cell(cell.row, cell.column);
        const QString key = quirkKey(cell.workbook, cell.code, cell.value);
        const QString where = QStringLiteral("row %1 column %2, code %3, value %4: ")
                                  .arg(cell.row)
                                  .arg(cell.column)
                                  .arg(cell.code, cell.value);
        if (const QuirkCell* quirk = m_quirks.value(key)) {
            m_quirksMet.insert(key);
            const QString shows = QString::fromUtf8(quirk->shows);
            if (ours != shows)
                failures << where + QStringLiteral("engine \"") + ours +
                                QStringLiteral("\", expected \"") + shows + u'"';
            if (theirs == shows)
                failures << where +
                                QStringLiteral("listed as a LibreOffice difference, but it agrees");
        } else if (ours != theirs) {
            failures << where + QStringLiteral("engine \"") + ours +
                            QStringLiteral("\", LibreOffice \"") + theirs + u'"';
        }
    }
    QVERIFY(compared > 0);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
}

void OracleTest::everyListedDifferenceIsMet() {
    QStringList unmet;
    for (auto it = m_quirks.cbegin(); it != m_quirks.cend(); ++it) {
        if (!m_quirksMet.contains(it.key()))
            unmet << it.key();
    }
    QVERIFY2(unmet.isEmpty(),
             qPrintable(QStringLiteral("not in the fixtures:\n") + unmet.join(u'\n')));
}

QTEST_GUILESS_MAIN(OracleTest)
#include "OracleTest.moc"
