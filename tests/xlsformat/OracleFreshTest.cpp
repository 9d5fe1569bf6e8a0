// The committed fixtures are what the generator writes, and the committed oracle is what
// LibreOffice exports for them today: regenerated into a temporary folder and compared byte for
// byte. Without Python's xlwt or LibreOffice the test is skipped, except under CI=true.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Fixtures = QStringLiteral(XLSFORMAT_FIXTURES);
const QString Scripts = QStringLiteral(XLSFORMAT_SCRIPTS);

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool onCi() {
    return qEnvironmentVariable("CI") == QStringLiteral("true");
}

// Runs a program to its end; the output of a failure is the message.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return program + QStringLiteral(" did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromUtf8(process.readAll());
    return QString();
}

} // namespace

class OracleFreshTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fixturesAreTheGeneratorsOutput();
    void oracleIsLibreOfficesExport();
};

void OracleFreshTest::initTestCase() {
    const bool haveTools = QFile::exists(QStringLiteral("/usr/bin/python3")) &&
                           !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
    if (!haveTools && onCi())
        QFAIL("/usr/bin/python3 and soffice are needed");
    if (!haveTools)
        QSKIP("/usr/bin/python3 or soffice missing");
}

void OracleFreshTest::fixturesAreTheGeneratorsOutput() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString failure = run(QStringLiteral("/usr/bin/python3"),
                                {Scripts + QStringLiteral("/make_fixtures.py"), out.path()});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    for (const QString& name : {QStringLiteral("manifest.tsv"), QStringLiteral("formats1900.xls"),
                                QStringLiteral("formats1904.xls")}) {
        const QByteArray fresh = contents(out.filePath(name));
        QVERIFY2(!fresh.isEmpty(), qPrintable(name));
        QVERIFY2(fresh == contents(Fixtures + u'/' + name),
                 qPrintable(name + QStringLiteral(" differs from the generator's output")));
    }
}

void OracleFreshTest::oracleIsLibreOfficesExport() {
    QTemporaryDir copy;
    QVERIFY(copy.isValid());
    const QStringList workbooks = QDir(Fixtures).entryList({QStringLiteral("*.xls")}, QDir::Files);
    QVERIFY(!workbooks.isEmpty());
    for (const QString& workbook : workbooks)
        QVERIFY(QFile::copy(Fixtures + u'/' + workbook, copy.filePath(workbook)));
    const QString failure = run(QStringLiteral("/bin/bash"),
                                {Scripts + QStringLiteral("/make_oracle.sh"), copy.path()});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const QDir committed(Fixtures + QStringLiteral("/oracle"));
    const QDir fresh(copy.filePath(QStringLiteral("oracle")));
    const QStringList names = committed.entryList({QStringLiteral("*.csv")}, QDir::Files);
    QCOMPARE(fresh.entryList({QStringLiteral("*.csv")}, QDir::Files), names);
    for (const QString& name : names) {
        QVERIFY2(contents(fresh.filePath(name)) == contents(committed.filePath(name)),
                 qPrintable(name + QStringLiteral(" is not what LibreOffice exports")));
    }
}

QTEST_GUILESS_MAIN(OracleFreshTest)
#include "OracleFreshTest.moc"
