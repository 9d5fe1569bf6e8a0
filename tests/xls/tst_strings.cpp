#include "BiffBuilder.h"

#include "xls/IconvCodePages.h"
#include "xls/WorkbookReader.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace xls;
using namespace xlstest;

namespace {

QByteArray continueRecord(const QByteArray& data) {
    return BiffBuilder::encoded(0x003C, data);
}

// A BIFF5 LABEL cell with the given bytes.
QByteArray byteLabel(int row, int column, const QByteArray& bytes) {
    return BiffBuilder::encoded(0x0204, u16(row) + u16(column) + u16(15) +
                                            u16(static_cast<int>(bytes.size())) + bytes);
}

} // namespace

class StringsTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

    Workbook read(const QByteArray& stream) {
        return WorkbookReader(m_codePages).readStream(stream);
    }

private slots:
    void sharedStringsSplitAcrossContinueRecords() {
        // String 1 starts 8-bit and goes on 16-bit in the next record; string 2 has
        // formatting runs and phonetic text, both cut by record boundaries; string 3 follows.
        const QByteArray first = u16(8) + u8(0x00) + "abcd";
        const QByteArray second = u8(0x01) + utf16("日本語漢");
        const QByteArray rich =
            u16(3) + u8(0x0C) + u16(2) + u32(10) + "xyz" + u32(0x00010000) + u16(2);
        const QByteArray richRest = u16(0x0003) + QByteArray(10, '\x7F');
        const QByteArray third = unicodeString(QStringLiteral("後ろ"), 2, true);
        const QByteArray table = BiffBuilder::encoded(0x00FC, u32(3) + u32(3) + first) +
                                 continueRecord(second + rich) + continueRecord(richRest + third);
        const Sheet sheet =
            read(BiffBuilder::workbook({table},
                                       {labelSst(0, 0, 0), labelSst(0, 1, 1), labelSst(0, 2, 2)}))
                .sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->text(), QStringLiteral("abcd日本語漢"));
        QCOMPARE(sheet.cell(0, 1)->text(), QStringLiteral("xyz"));
        QCOMPARE(sheet.cell(0, 2)->text(), QStringLiteral("後ろ"));
    }

    void sixteenBitThenEightBit() {
        const QByteArray table =
            BiffBuilder::encoded(0x00FC, u32(1) + u32(1) + u16(4) + u8(1) + utf16("日本")) +
            continueRecord(u8(0) + "ok");
        const Sheet sheet = read(BiffBuilder::workbook({table}, {labelSst(3, 4, 0)})).sheets()[0];
        QCOMPARE(sheet.cell(3, 4)->text(), QStringLiteral("日本ok"));
    }

    void formulaTextResultAcrossContinue() {
        const QByteArray formula =
            BiffBuilder::encoded(0x0006, u16(0) + u16(0) + u16(15) + u8(0) + QByteArray(5, '\0') +
                                             u16(0xFFFF) + u16(0) + u32(0) + u16(0));
        const QByteArray text = BiffBuilder::encoded(0x0207, u16(5) + u8(1) + utf16("結果")) +
                                continueRecord(u8(0) + "abc");
        const Sheet sheet = read(BiffBuilder::workbook({}, {formula, text})).sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->type(), CellType::Text);
        QCOMPARE(sheet.cell(0, 0)->text(), QStringLiteral("結果abc"));
        QVERIFY(sheet.cell(0, 0)->isFormula());
    }

    void excel95TextsInTheirCodePage() {
        struct Case {
            int codePage;
            QByteArray bytes;
            QString text;
        };
        const QList<Case> cases = {
            {932, QByteArray("\x93\xfa\x96\x7b\x8c\xea\xb1\xb2", 8), QStringLiteral("日本語ｱｲ")},
            {1252,
             QByteArray("caf\xe9"
                        " \x80",
                        6),
             QStringLiteral("café €")},
            {1250,
             QByteArray("\xf8\xe1"
                        "d",
                        3),
             QStringLiteral("řád")},
            {1251, QByteArray("\xc6\xe8\xe7\xed\xfc", 5), QStringLiteral("Жизнь")},
            {936, QByteArray("\xd6\xd0\xce\xc4", 4), QStringLiteral("中文")},
            {950, QByteArray("\xa4\xa4\xa4\xe5", 4), QStringLiteral("中文")},
            {949, QByteArray("\xc7\xd1\xb1\xb9", 4), QStringLiteral("한국")},
            {10000, QByteArray("\x8a\x9f", 2), QStringLiteral("äü")},
            {1200, utf16("Unicode"), QStringLiteral("Unicode")},
        };
        for (const Case& c : cases) {
            BiffBuilder builder(BiffVersion::Biff5);
            builder.bof(5).record(0x0042, u16(c.codePage));
            builder.boundSheet(u8(static_cast<int>(c.bytes.size())) + c.bytes).eof().sheetBof();
            builder.record(0x0204, byteLabel(0, 0, c.bytes).mid(4)).eof();
            const Workbook workbook = read(builder.stream());
            QCOMPARE(workbook.codePage(), c.codePage);
            QCOMPARE(workbook.sheets()[0].name(), c.text);
            QCOMPARE(workbook.sheets()[0].cell(0, 0)->text(), c.text);
        }
    }

    void codePageDecoding() {
        // Bytes that the code page does not map show as the replacement character.
        QCOMPARE(m_codePages.decode(932, QByteArray("a\x82", 2)), QStringLiteral("a\uFFFD"));
        QCOMPARE(m_codePages.decode(932, QByteArray("\x82\xa0\x80"
                                                    "z",
                                                    4)),
                 QStringLiteral("あ\uFFFDz"));
        // Unknown code pages are read as Western.
        QCOMPARE(m_codePages.decode(4242, QByteArray("\xe9", 1)), QStringLiteral("é"));
        QCOMPARE(m_codePages.decode(65001, QByteArray("\xe6\x97\xa5", 3)), QStringLiteral("日"));
        QCOMPARE(m_codePages.decode(932, {}), QString());
    }

    // One object serves every thread that reads: each decode keeps its converter to itself.
    void decodesOnSeveralThreadsAtOnce() {
        const QByteArray japanese("\x93\xfa\x96\x7b\x8c\xea\x82\xa0", 8);
        const QString expected = QStringLiteral("日本語あ");
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 2000; ++i) {
                    if (m_codePages.decode(932, japanese.left(2 + (i % 4) * 2)) !=
                            expected.left(1 + i % 4) ||
                        m_codePages.decode(1252, "\xe9t\xe9") != QStringLiteral("été"))
                        ++wrong;
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        QCOMPARE(wrong.load(), 0);
    }

    void numbersInEveryEncoding() {
        const auto rk = [](int column, quint32 value) {
            return BiffBuilder::encoded(0x027E, u16(0) + u16(column) + u16(15) + u32(value));
        };
        // 0x3FF00000 is the top of 1.0; bit 1 marks a 30-bit integer; bit 0 divides by 100.
        const QByteArray mulRk = BiffBuilder::encoded(
            0x00BD, u16(1) + u16(0) + u16(15) + u32((12345U << 2) | 3U) + u16(15) +
                        u32(static_cast<quint32>(-7) << 2 | 2U) + u16(2));
        const Sheet sheet =
            read(BiffBuilder::workbook(
                     {}, {rk(0, 0x3FF00000), rk(1, (42U << 2) | 2U), rk(2, 0x3FF00001), mulRk}))
                .sheets()[0];
        QCOMPARE(sheet.cell(0, 0)->number(), 1.0);
        QCOMPARE(sheet.cell(0, 1)->number(), 42.0);
        QCOMPARE(sheet.cell(0, 2)->number(), 0.01);
        QCOMPARE(sheet.cell(1, 0)->number(), 123.45);
        QCOMPARE(sheet.cell(1, 1)->number(), -7.0);
    }
};

QTEST_GUILESS_MAIN(StringsTest)
#include "tst_strings.moc"
