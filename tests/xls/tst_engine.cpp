#include "BiffBuilder.h"

#include "platform/FileName.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/XlsEngine.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

using namespace xls;
using xlstest::fixture;
using Kind = ReadError::Kind;

namespace {

Kind errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ReadError& error) {
        return error.kind();
    }
    qFatal("the call did not fail");
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private:
    IconvCodePages m_codePages;

private slots:
    void opensAndListsSheets() {
        XlsEngine engine(m_codePages);
        engine.Open(fixture("japanese_biff5.xls"));
        QCOMPARE(engine.SheetCount(), 3);
        QCOMPARE(engine.SheetName(0), QStringLiteral("売上表"));
        QCOMPARE(engine.SheetName(1), QStringLiteral("ｶﾅｼｰﾄ"));
        QCOMPARE(engine.SheetName(2), QStringLiteral("非表示"));
        // Opening another workbook replaces the first.
        engine.Open(fixture("formats.xls"));
        QCOMPARE(engine.SheetCount(), 4);
        QCOMPARE(engine.SheetName(3), QStringLiteral("Fit"));
        engine.Close();
        QCOMPARE(errorOf([&] { engine.SheetCount(); }), Kind::NoWorkbookOpen);
        engine.Close();
    }

    void failuresAreReadErrors() {
        XlsEngine engine(m_codePages);
        QCOMPARE(errorOf([&] { engine.SheetCount(); }), Kind::NoWorkbookOpen);
        QCOMPARE(errorOf([&] { engine.SheetName(0); }), Kind::NoWorkbookOpen);
        engine.Open(fixture("japanese.xls"));
        QCOMPARE(errorOf([&] { engine.SheetName(3); }), Kind::NoSuchSheet);
        QCOMPARE(errorOf([&] { engine.SheetName(-1); }), Kind::NoSuchSheet);
        // A failed open leaves nothing loaded, not the workbook before it.
        QCOMPARE(errorOf([&] { engine.Open(fixture("encrypted.xls")); }), Kind::Encrypted);
        QCOMPARE(errorOf([&] { engine.SheetCount(); }), Kind::NoWorkbookOpen);
        QCOMPARE(errorOf([&] { engine.Open(fixture("missing.xls")); }), Kind::FileNotFound);
    }

    void namesThatAreNotUtf8() {
        // A file name with bytes that are not UTF-8 reaches the file system unchanged.
        QTemporaryDir dir;
        const QByteArray name = platform::encodeFileName(dir.path()) + "/\xff\xfe-\x93\xfa.xls";
        QFile source(fixture("japanese.xls"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())),
                 ssize_t(bytes.size()));
        ::close(fd);
        XlsEngine engine(m_codePages);
        engine.Open(platform::decodeFileName(name));
        const qint32 count = engine.SheetCount();
        ::unlink(name.constData()); // Qt's own clean-up cannot name such a file
        QCOMPARE(count, 3);
    }

    void workbookIsOnlyRead() {
        // Reading leaves the file as it was and puts nothing beside it.
        QTemporaryDir dir;
        const QString copy = dir.filePath("book.xls");
        QVERIFY(QFile::copy(fixture("formats.xls"), copy));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        const QDateTime modified = QFileInfo(copy).lastModified();
        XlsEngine engine(m_codePages);
        engine.Open(copy);
        engine.Close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QFileInfo(copy).lastModified(), modified);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"book.xls"}));
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
