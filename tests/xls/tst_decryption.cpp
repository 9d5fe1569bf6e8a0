#include "BiffBuilder.h"

#include "xls/CellText.h"
#include "xls/CompoundFile.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QFile>
#include <QtTest>

using namespace xls;
using namespace xlstest;
using Kind = ReadError::Kind;

namespace {

QByteArray workbookStreamOf(const QString& name) {
    QFile file(fixture(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(name));
    return CompoundFile::workbookStreamOf(file.readAll());
}

// Where the data of the stream's FILEPASS record starts; it follows the first BOF.
qsizetype filePassData(const QByteArray& stream) {
    const qsizetype at = 4 + static_cast<quint8>(stream[2]);
    if (static_cast<quint8>(stream[at]) != 0x2F)
        qFatal("no FILEPASS after the BOF");
    return at + 4;
}

// The stream with its FILEPASS record cut to keep bytes.
QByteArray cutFilePass(QByteArray stream, qsizetype keep) {
    const qsizetype data = filePassData(stream);
    const qsizetype length = static_cast<quint8>(stream[data - 2]);
    stream.remove(data + keep, length - keep);
    stream.replace(data - 2, 2, u16(static_cast<quint16>(keep)));
    return stream;
}

} // namespace

class DecryptionTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

    // Every sheet's name and every cell's position and shown text, one line each.
    QStringList shown(const Workbook& workbook) {
        const CellText texts(workbook);
        QStringList lines;
        for (const Sheet& sheet : workbook.sheets()) {
            lines << sheet.name();
            for (const Cell& cell : sheet.cells())
                lines << QStringLiteral("%1,%2 %3")
                             .arg(cell.row())
                             .arg(cell.column())
                             .arg(texts.text(cell));
        }
        return lines;
    }

    ReadError errorOf(const QByteArray& stream) {
        try {
            WorkbookReader(m_codePages).readStream(stream);
        } catch (const ReadError& error) {
            return error;
        }
        qFatal("the stream was read without an error");
    }

private slots:
    void defaultPasswordOpens_data() {
        QTest::addColumn<QString>("encrypted");
        QTest::addColumn<QString>("clear");
        QTest::newRow("XOR, Excel 97") << "enc_xor8.xls"
                                       << "japanese.xls";
        QTest::newRow("XOR, Excel 95") << "enc_xor5.xls"
                                       << "japanese_biff5.xls";
        QTest::newRow("RC4") << "enc_rc4.xls"
                             << "japanese.xls";
        QTest::newRow("CryptoAPI 2.2, 128 bits") << "enc_capi2.xls"
                                                 << "japanese.xls";
        QTest::newRow("CryptoAPI 3.2, 40 bits") << "enc_capi3.xls"
                                                << "japanese.xls";
        QTest::newRow("CryptoAPI 4.2, 56 bits") << "enc_capi4.xls"
                                                << "japanese.xls";
        QTest::newRow("saved by LibreOffice") << "enc_lo.xls"
                                              << "japanese.xls";
    }

    void defaultPasswordOpens() {
        QFETCH(QString, encrypted);
        QFETCH(QString, clear);
        const WorkbookReader reader(m_codePages);
        const QStringList expected = shown(reader.readFile(fixture(clear)));
        QVERIFY(expected.size() > 20);
        QCOMPARE(shown(reader.readFile(fixture(encrypted))), expected);
        // A borrowed stream is decrypted in a copy, leaving the caller's bytes alone.
        const QByteArray stream = workbookStreamOf(encrypted);
        const QByteArray before(stream.constData(), stream.size()); // a copy of its own
        QCOMPARE(shown(reader.readStream(QByteArrayView(stream))), expected);
        QCOMPARE(stream, before);
    }

    void otherPasswordsAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("LibreOffice, RC4") << "encrypted.xls";
        QTest::newRow("CryptoAPI") << "enc_capi_other.xls";
        QTest::newRow("XOR, Excel 95") << "enc_xor5_other.xls";
    }

    void otherPasswordsAreRefused() {
        QFETCH(QString, name);
        const ReadError error = errorOf(workbookStreamOf(name));
        QCOMPARE(error.kind(), Kind::Encrypted);
        QVERIFY(error.message().contains("needs that password"));
    }

    void damagedEncryptionIsRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qsizetype>("at"); // into FILEPASS's data; -1: cut the record there
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Kind>("kind");
        const auto row = [](const char* what, const char* name, qsizetype at,
                            const QByteArray& bytes, Kind kind) {
            QTest::newRow(what) << QString::fromLatin1(name) << at << bytes << kind;
        };
        row("unknown type", "enc_capi2.xls", 0, u16(2), Kind::Encrypted);
        row("unknown version", "enc_capi2.xls", 2, u16(5), Kind::Encrypted);
        row("header past the record", "enc_capi2.xls", 10, u32(0x7FFFFFFF), Kind::Corrupt);
        row("header too small", "enc_capi2.xls", 10, u32(8), Kind::Corrupt);
        row("not RC4", "enc_capi2.xls", 22, u32(0x660E), Kind::Encrypted);
        row("key size", "enc_capi2.xls", 30, u32(200), Kind::Corrupt);
        row("salt size", "enc_capi2.xls", 140, u32(8), Kind::Corrupt);
        row("verifier hash size", "enc_capi2.xls", 176, u32(16), Kind::Corrupt);
        row("RC4 verifier", "enc_rc4.xls", 22, QByteArray(16, '\0'), Kind::Encrypted);
        row("XOR key", "enc_xor8.xls", 2, u16(0x1234), Kind::Encrypted);
        row("RC4 header cut", "enc_rc4.xls", -30, {}, Kind::Corrupt);
        row("CryptoAPI verifier cut", "enc_capi2.xls", -170, {}, Kind::Corrupt);
        row("Excel 95 FILEPASS cut", "enc_xor5.xls", -2, {}, Kind::Corrupt);
    }

    void damagedEncryptionIsRefused() {
        QFETCH(QString, name);
        QFETCH(qsizetype, at);
        QFETCH(QByteArray, bytes);
        QFETCH(Kind, kind);
        QByteArray stream = workbookStreamOf(name);
        if (at < 0)
            stream = cutFilePass(stream, -at);
        else
            stream.replace(filePassData(stream) + at, bytes.size(), bytes);
        const ReadError error = errorOf(stream);
        QCOMPARE(error.kind(), kind);
        QVERIFY(!error.message().isEmpty());
    }

    // Records cut off inside the encrypted part are damage, never a read past the end.
    void cutStreamsAreRefused() {
        const QByteArray stream = workbookStreamOf("enc_capi2.xls");
        for (const qsizetype size : {qsizetype(300), stream.size() / 2, qsizetype(2050)})
            QCOMPARE(errorOf(stream.left(size)).kind(), Kind::Corrupt);
    }
};

QTEST_GUILESS_MAIN(DecryptionTest)
#include "tst_decryption.moc"
