#include "BiffBuilder.h"

#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/RecordStream.h"
#include "xls/WorkbookReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>

using namespace xls;
using namespace xlstest;
using Kind = ReadError::Kind;

namespace {} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes) {
        QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // The kind of error that reading raises, with a message to show; fails when it reads.
    Kind fileError(const QString& path) {
        try {
            WorkbookReader(m_codePages).readFile(path);
        } catch (const ReadError& error) {
            if (error.message().isEmpty())
                qFatal("an error without a message");
            return error.kind();
        }
        qFatal("%s was read without an error", qPrintable(path));
    }

    Kind streamError(const QByteArray& stream) {
        return fileError(write(QStringLiteral("stream.xls"), compoundFile(stream)));
    }

    Workbook readStream(const QByteArray& stream) {
        return WorkbookReader(m_codePages).readStream(stream);
    }

private slots:
    void filesThatCannotBeRead() {
        QCOMPARE(fileError(m_dir.filePath("missing.xls")), Kind::FileNotFound);
        QCOMPARE(fileError(m_dir.filePath("no/such/folder.xls")), Kind::FileNotFound);
        QVERIFY(QDir(m_dir.path()).mkdir("folder.xls"));
        QCOMPARE(fileError(m_dir.filePath("folder.xls")), Kind::CannotOpen);
        // A named pipe would block a reader that opened it for reading without care.
        const QString fifo = m_dir.filePath("pipe.xls");
        QCOMPARE(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
        QCOMPARE(fileError(fifo), Kind::CannotOpen);
        // Larger than the format allows: refused unread, or the zeros would read as no workbook.
        QFile huge(m_dir.filePath("huge.xls"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((qint64{2} << 30) + 1));
        huge.close();
        QCOMPARE(fileError(huge.fileName()), Kind::CannotOpen);
    }

    void filesThatAreNotWorkbooks() {
        QCOMPARE(fileError(write("empty.xls", {})), Kind::NotAWorkbook);
        QCOMPARE(fileError(write("text.xls", "name,amount\nA,1\n")), Kind::NotAWorkbook);
        QCOMPARE(fileError(write("page.xls", "<html><body><table><tr><td>1</td></tr></table>")),
                 Kind::NotAWorkbook);
        QCOMPARE(fileError(write("book.xlsx.xls", QByteArray("PK\x03\x04\x14\x00\x06\x00", 8) +
                                                      QByteArray(100, 'x'))),
                 Kind::UnsupportedVersion);
        // An Office document of another kind: a compound file without a workbook stream.
        QCOMPARE(fileError(write("word.xls", compoundFile(QByteArray(600, 'w'), "WordDocument"))),
                 Kind::NotAWorkbook);
    }

    void olderExcelFormats() {
        // Excel 2.x, 3.0 and 4.0 files are bare record streams with their own BOF numbers:
        // read, whether in a file or in a container's stream.
        for (const int code : {0x0009, 0x0209, 0x0409}) {
            const QByteArray stream = oldBiffStream(static_cast<quint16>(code), 0x10, {});
            const QString path = write("old.xls", stream);
            QCOMPARE(WorkbookReader(m_codePages).readFile(path).sheetCount(), 1);
            QCOMPARE(readStream(stream).sheetCount(), 1);
        }
        // A BIFF4 workbook version inside a container.
        const QByteArray biff4 = BiffBuilder::encoded(0x0809, u16(0x0400) + u16(5) + u32(0)) +
                                 BiffBuilder::encoded(0x000A, {});
        QCOMPARE(streamError(biff4), Kind::UnsupportedVersion);
        // An unusual version number in an otherwise Excel 97 BOF is read, with a warning.
        QTest::ignoreMessage(QtWarningMsg,
                             "the workbook's BOF record gives version 0x0580; read as Excel 97 "
                             "to 2003");
        QByteArray odd = BiffBuilder::workbook(
            {}, {BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1))});
        odd.replace(4, 2, u16(0x0580));
        QCOMPARE(readStream(odd).version(), BiffVersion::Biff8);
    }

    void damagedContainers() {
        QCOMPARE(fileError(fixture("truncated.xls")), Kind::Corrupt);
        QByteArray garbage("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        garbage += QByteArray(1024, '\xFF');
        QCOMPARE(fileError(write("garbage.xls", garbage)), Kind::Corrupt);
        // A container cut inside its workbook stream.
        QByteArray whole;
        QFile formats(fixture("formats.xls"));
        QVERIFY(formats.open(QIODevice::ReadOnly));
        whole = formats.readAll();
        // A workbook stream that claims more sectors than the container holds.
        QByteArray tooLong = whole;
        const qsizetype entry = tooLong.indexOf(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
        QVERIFY(entry > 0);
        tooLong.replace(entry + 0x78, 4, u32(static_cast<quint32>(whole.size())));
        QCOMPARE(fileError(write("toolong.xls", tooLong)), Kind::Corrupt);
        for (const qsizetype size :
             {whole.size() - 512, whole.size() / 2, qsizetype(512), qsizetype(100)})
            QCOMPARE(fileError(write("cut.xls", whole.left(size))), Kind::Corrupt);
    }

    void encryptedWorkbooks() {
        QCOMPARE(fileError(fixture("encrypted.xls")), Kind::Encrypted);
        BiffBuilder biff5(BiffVersion::Biff5);
        biff5.bof(5).record(0x002F, u16(0) + u16(0x1234) + u16(0x5678)).eof();
        QCOMPARE(fileError(write("encrypted95.xls", compoundFile(biff5.stream(), "Book"))),
                 Kind::Encrypted);
    }

    void recordsThatLieAboutTheirSize() {
        QCOMPARE(fileError(fixture("badrecord.xls")), Kind::Corrupt);
        BiffBuilder builder;
        builder.bof(5);
        QByteArray stream = builder.stream() + u16(0x0031) + u16(200) + QByteArray(20, '\0');
        QCOMPARE(streamError(stream), Kind::Corrupt);
        // A cut record header after the last complete record.
        QCOMPARE(streamError(builder.stream() + QByteArray("\x0A\x00\x00", 3)), Kind::Corrupt);
        // Fields beyond the record's data.
        const QByteArray shortNumber = BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15));
        QCOMPARE(streamError(BiffBuilder::workbook({}, {shortNumber})), Kind::Corrupt);
    }

    // A formatting record or a name whose fields run past its end, in an otherwise whole
    // stream, is passed over with a warning that names it; the sheet is read, and a font or
    // cell format keeps its place in its table.
    void damagedRecordsPassedOver_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("inSheet");
        QTest::addColumn<int>("fonts");
        QTest::addColumn<int>("cellFormats");
        QTest::newRow("font shorter than its fields")
            << BiffBuilder::encoded(0x0031, u16(200) + u16(0)) << false << 1 << 0;
        QTest::newRow("cell format shorter than its fields")
            << BiffBuilder::encoded(0x00E0, u16(0) + u16(0)) << false << 0 << 1;
        QTest::newRow("number format whose string runs past the record")
            << BiffBuilder::encoded(0x041E, u16(164) + u16(40) + u8(0) + "0.00") << false << 0 << 0;
        QTest::newRow("name whose formula runs past the record")
            << BiffBuilder::encoded(0x0018, u16(0x0020) + u8(0) + u8(1) + u16(500) + u16(0) +
                                                u16(1) + u32(0) + u8(0) + u8(6) + u8(0x3B))
            << false << 0 << 0;
        QTest::newRow("header shorter than its text")
            << BiffBuilder::encoded(0x0014, u16(10) + u8(0) + "&Cab") << true << 0 << 0;
    }

    void damagedRecordsPassedOver() {
        QFETCH(QByteArray, record);
        QFETCH(bool, inSheet);
        QFETCH(int, fonts);
        QFETCH(int, cellFormats);
        const quint16 code = qFromLittleEndian<quint16>(record.constData());
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(
                              QStringLiteral("^record 0x%1 at offset \\d+: .*; read on without it$")
                                  .arg(code, 4, 16, QLatin1Char('0'))));
        const QByteArray cell = BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1));
        const Workbook workbook = readStream(inSheet ? BiffBuilder::workbook({}, {record, cell})
                                                     : BiffBuilder::workbook({record}, {cell}));
        QCOMPARE(workbook.sheets()[0].cell(0, 0)->number(), 1.0);
        QVERIFY(workbook.sheets()[0].pageSetup().header.isEmpty());
        QCOMPARE(workbook.fonts().size(), fonts);
        QCOMPARE(workbook.cellFormats().size(), cellFormats);
    }

    // The edge of the length check: a record that ends exactly at the end of its stream is
    // read whole; one that claims 1 to 4 bytes more than remain is corrupt.
    void recordsThatOverrunTheStreamByAFewBytes() {
        const QByteArray first = BiffBuilder::encoded(0x0042, u16(1252));
        const QByteArray data(6, 'd');
        for (int over = 0; over <= 4; ++over) {
            const QByteArray stream =
                first + u16(0x0031) + u16(static_cast<int>(data.size()) + over) + data;
            RecordStream records(stream, 0);
            Record record;
            QVERIFY(records.next(record));
            if (over == 0) {
                QVERIFY(records.next(record));
                QCOMPARE(record.code, quint16(0x0031));
                QCOMPARE(record.offset, first.size());
                QCOMPARE(record.data.toByteArray(), data);
                QVERIFY(!records.next(record));
                QCOMPARE(records.position(), stream.size());
                continue;
            }
            try {
                records.next(record);
                QFAIL(qPrintable(QStringLiteral("a record %1 bytes too long was read").arg(over)));
            } catch (const ReadError& error) {
                QCOMPARE(error.kind(), Kind::Corrupt);
                QVERIFY2(error.message().contains(QStringLiteral("claims")),
                         qPrintable(error.message()));
            }
            QCOMPARE(records.position(), first.size());
        }

        // The same in whole files: a sheet whose last record, its EOF, claims 1 to 4 bytes
        // that the stream does not hold.
        const QByteArray whole = BiffBuilder::workbook(
            {}, {BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1))});
        QVERIFY(whole.endsWith(QByteArray("\x0A\x00\x00\x00", 4)));
        QCOMPARE(readStream(whole).sheets()[0].cell(0, 0)->number(), 1.0);
        for (int over = 1; over <= 4; ++over) {
            QByteArray cut = whole;
            cut.replace(cut.size() - 2, 2, u16(over));
            QCOMPARE(streamError(cut), Kind::Corrupt);
        }
    }

    void streamsThatEndTooEarly() {
        BiffBuilder noGlobalsEnd;
        noGlobalsEnd.bof(5).record(0x0042, u16(1252));
        QCOMPARE(streamError(noGlobalsEnd.stream()), Kind::Corrupt);
        QByteArray whole = BiffBuilder::workbook(
            {}, {BiffBuilder::encoded(0x0203, u16(0) + u16(0) + u16(15) + f64(1))});
        QCOMPARE(streamError(whole.left(whole.size() - 4)), Kind::Corrupt);
        QCOMPARE(streamError(QByteArray()), Kind::NotAWorkbook);
        QCOMPARE(streamError(BiffBuilder::encoded(0x0042, u16(1252))), Kind::NotAWorkbook);
        BiffBuilder sheetFirst;
        sheetFirst.bof(0x10).eof();
        QCOMPARE(streamError(sheetFirst.stream()), Kind::Corrupt);
    }

    void sheetsInTheWrongPlace() {
        // A sheet that starts inside the globals, one beyond the stream, one not at a BOF,
        // and two sheets at the same place.
        BiffBuilder inside;
        inside.bof(5).record(0x0085, u32(0) + u8(0) + u8(0) + unicodeString("A", 1)).eof();
        QCOMPARE(streamError(inside.stream()), Kind::Corrupt);
        BiffBuilder beyond;
        beyond.bof(5).record(0x0085, u32(100000) + u8(0) + u8(0) + unicodeString("A", 1)).eof();
        QCOMPARE(streamError(beyond.stream()), Kind::Corrupt);
        BiffBuilder notBof;
        notBof.bof(5).boundSheet(QStringLiteral("A")).eof().record(0x0042, u16(1)).sheetBof().eof();
        QByteArray stream = notBof.stream();
        QCOMPARE(streamError(
                     stream.replace(stream.indexOf(QByteArray("\x09\x08", 2), 10), 2, "\x42\x00")),
                 Kind::Corrupt);
        BiffBuilder twice;
        twice.bof(5).boundSheet(QStringLiteral("A")).boundSheet(QStringLiteral("B")).eof();
        twice.sheetBof().eof();
        const QByteArray one = twice.stream();
        // Point the second BOUNDSHEET at the first sheet.
        QByteArray same = one;
        const qsizetype first = same.indexOf(QByteArray("\x85\x00", 2));
        const qsizetype second = same.indexOf(QByteArray("\x85\x00", 2), first + 1);
        same.replace(second + 4, 4, same.mid(first + 4, 4));
        QCOMPARE(streamError(same), Kind::Corrupt);
    }

    void sharedStringsThatLie() {
        QCOMPARE(streamError(BiffBuilder::workbook({sstRecord(1, unicodeString("a", 2))},
                                                   {labelSst(0, 0, 1)})),
                 Kind::Corrupt);
        // A string longer than its record and its CONTINUE records.
        QCOMPARE(streamError(BiffBuilder::workbook({sstRecord(1, u16(60000) + u8(0) + "abc")}, {})),
                 Kind::Corrupt);
        // A count far beyond what the data holds is read as far as the data goes, without
        // reserving room for it.
        const Workbook workbook = readStream(BiffBuilder::workbook(
            {sstRecord(0xFFFFFFFF, unicodeString("only", 2))}, {labelSst(0, 0, 0)}));
        QCOMPARE(workbook.sheets()[0].cell(0, 0)->text(), QStringLiteral("only"));
    }

    void cellsOutsideTheSheetAreDropped() {
        const QByteArray farRight =
            BiffBuilder::encoded(0x0203, u16(0) + u16(300) + u16(15) + f64(1));
        QByteArray mulBlank = u16(1) + u16(250);
        for (int i = 0; i < 10; ++i)
            mulBlank += u16(15);
        mulBlank += u16(259);
        const Workbook workbook = readStream(
            BiffBuilder::workbook({}, {farRight, BiffBuilder::encoded(0x00BE, mulBlank)}));
        const Sheet& sheet = workbook.sheets()[0];
        QCOMPARE(sheet.cells().size(), size_t(6)); // columns 250 to 255 of row 2
        QCOMPARE(sheet.cells().back().column(), 255);
        // Excel 5.0/95 sheets end at row 16,384.
        const QByteArray deep =
            BiffBuilder::encoded(0x0203, u16(20000) + u16(0) + u16(15) + f64(1));
        QVERIFY(readStream(BiffBuilder::workbook({}, {deep}, BiffVersion::Biff5))
                    .sheets()[0]
                    .cells()
                    .empty());
        QCOMPARE(readStream(BiffBuilder::workbook({}, {deep})).sheets()[0].cells().size(),
                 size_t(1));
    }

    void nestedChartsAreSkipped() {
        BiffBuilder builder;
        builder.bof(5).boundSheet(QStringLiteral("A")).eof().sheetBof();
        builder.record(0x0203, u16(0) + u16(0) + u16(15) + f64(1));
        builder.bof(0x20).record(0x0203, u16(5) + u16(5) + u16(15) + f64(9)).eof();
        builder.record(0x0203, u16(1) + u16(0) + u16(15) + f64(2)).eof();
        const Sheet sheet = readStream(builder.stream()).sheets()[0];
        QCOMPARE(sheet.cells().size(), size_t(2));
        QCOMPARE(sheet.cell(1, 0)->number(), 2.0);
        QVERIFY(sheet.cell(5, 5) == nullptr);

        // A chart sheet keeps its name and kind; records inside it are no cells.
        BiffBuilder chart;
        chart.bof(5).boundSheet(QStringLiteral("Chart1"), 0, 2).eof().sheetBof(0x20);
        chart.record(0x0203, u16(0) + u16(0) + u16(15) + f64(1)).eof();
        const Workbook workbook = readStream(chart.stream());
        QCOMPARE(workbook.sheets()[0].kind(), SheetKind::Chart);
        QCOMPARE(workbook.sheets()[0].name(), QStringLiteral("Chart1"));
        QVERIFY(workbook.sheets()[0].cells().empty());
    }
};

QTEST_GUILESS_MAIN(BadInputTest)
#include "tst_badinput.moc"
