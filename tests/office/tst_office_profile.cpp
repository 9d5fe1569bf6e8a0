// What our private LibreOffice profile makes of a workbook whatever the user's setup: Japanese
// dates and the report printer's fonts, and no document macro ever run.

#include "OfficeTestBed.h"
#include "office/CupsPrinterDirectory.h"
#include "office/LibreOfficeAutomation.h"
#include "office/ProfileSettings.h"
#include "tests/support/Fixtures.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/PrivateCups.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

const QString kQueue = QStringLiteral("tessaly-raw");
constexpr char kLocaleItem[] =
    "<item oor:path=\"/org.openoffice.Setup/L10N\"><prop oor:name=\"ooSetupSystemLocale\" "
    "oor:op=\"fuse\"><value>%1</value></prop></item>";
constexpr char kOldPair[] =
    "<item oor:path=\"/org.openoffice.Office.Common/Font/Substitution/FontPairs\"><node "
    "oor:name=\"old\" oor:op=\"replace\"><prop oor:name=\"ReplaceFont\" oor:op=\"fuse\">"
    "<value>Gone Font</value></prop></node></item>";
constexpr char kOwnItem[] =
    "<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"LastCompatibilityCheckID\" "
    "oor:op=\"fuse\"><value>kept</value></prop></item>";
constexpr char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items "
                         "xmlns:oor=\"http://openoffice.org/2001/registry\">\n";

QByteArray profileFile(const QList<QByteArray>& items) {
    return QByteArray(kHead) + items.join('\n') + "\n</oor:items>\n";
}

QString pdfFonts(const QString& path) {
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {path});
    return fonts.waitForFinished(30000) ? QString::fromUtf8(fonts.readAllStandardOutput())
                                        : QString();
}

} // namespace

class OfficeProfileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void settingsReplaceEarlierOnes_data();
    void settingsReplaceEarlierOnes();
    void printsJapaneseDatesAndFontsWhateverTheLocale();
    void documentMacrosNeverRun();

private:
    // Prints the workbook through a server of its own on the raw queue; the job's document.
    QString printThroughLibreOffice(const QString& path);

    OfficeTestBed m_bed;
    testsupport::PrivateCups m_cups;
    office::CupsPrinterDirectory m_printers;
};

void OfficeProfileTest::initTestCase() {
    // The user's locale is not Japanese; LibreOffice would follow it without our profile.
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_ALL", "C.UTF-8");
    QVERIFY(m_bed.isValid());
    QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
    // A queue without a driver: the job keeps the PDF that LibreOffice sends.
    QVERIFY2(m_cups.addQueue(kQueue), qPrintable(m_cups.errorString()));
}

void OfficeProfileTest::cleanup() {
    QCOMPARE(m_bed.serverProcesses(), QList<pid_t>());
}

QString OfficeProfileTest::printThroughLibreOffice(const QString& path) {
    office::LibreOfficeAutomation automation(m_bed.settings(), m_printers);
    const auto application = automation.createObject(QStringLiteral("Excel.Application"));
    const auto workbook = application->Workbooks().Open(path);
    workbook->PrintOut(1, true, kQueue);
    workbook->Close(false);
    application->Quit();
    const auto jobs = m_cups.jobs();
    return jobs.isEmpty() ? QString() : jobs.last().document;
}

void OfficeProfileTest::settingsReplaceEarlierOnes_data() {
    QTest::addColumn<QByteArray>("existing");
    QTest::addColumn<QList<QByteArray>>("kept");
    const QByteArray english = QString::fromLatin1(kLocaleItem).arg("en-US").toUtf8();
    QTest::newRow("no file") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("not a configuration") << QByteArray("garbage") << QList<QByteArray>{};
    QTest::newRow("unfinished item")
        << QByteArray(kHead) + kOwnItem + "\n<item oor:path=\"/x\">\n</oor:items>\n"
        << QList<QByteArray>{};
    QTest::newRow("earlier version's profile")
        << profileFile({kOwnItem, english, kOldPair}) << QList<QByteArray>{kOwnItem};
}

void OfficeProfileTest::settingsReplaceEarlierOnes() {
    QFETCH(QByteArray, existing);
    QFETCH(QList<QByteArray>, kept);
    const QByteArray result = office::withProfileSettings(existing);
    for (const QByteArray& item : kept)
        QVERIFY2(result.contains(item), item.constData());
    QCOMPARE(result.count("<item "), qsizetype(kept.size()) + result.count("FontPairs") + 2);
    QCOMPARE(result.count(QString::fromLatin1(kLocaleItem).arg("ja-JP").toUtf8()), 1);
    QVERIFY(!result.contains("en-US") && !result.contains("Gone Font"));
    QVERIFY(
        result.contains("<value>ＭＳ Ｐゴシック</value></prop><prop oor:name=\"SubstituteFont\" "
                        "oor:op=\"fuse\"><value>IPAPGothic</value>"));
    // Written again at the next start, the file stays as it is.
    QCOMPARE(office::withProfileSettings(result), result);
}

void OfficeProfileTest::printsJapaneseDatesAndFontsWhateverTheLocale() {
    // A profile kept from an earlier version, which pinned no locale and replaced no font.
    const QString profile = m_bed.profileRoot() + QStringLiteral("/profile-0/user");
    QVERIFY(QDir().mkpath(profile));
    QFile old(profile + QStringLiteral("/registrymodifications.xcu"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(profileFile({kOwnItem}));
    old.close();
    const QString folder = m_bed.newFolder(QStringLiteral("japanese"));
    const QString path = testsupport::copyFixture(QStringLiteral("japanese.xls"), folder);
    QVERIFY(!path.isEmpty());

    const QString document = printThroughLibreOffice(path);
    const QString text = testsupport::pdfPageTexts(document).join(QString());
    QVERIFY2(text.contains(QStringLiteral("2009/7/1")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("平成21年7月1日")), qPrintable(text));
    const QString fonts = pdfFonts(document);
    QVERIFY2(fonts.contains(QStringLiteral("+IPAPGothic ")), qPrintable(fonts));
    QVERIFY2(fonts.contains(QStringLiteral("+IPAMincho ")), qPrintable(fonts));
    QVERIFY2(!fonts.contains(QStringLiteral("Mono")), qPrintable(fonts));
}

void OfficeProfileTest::documentMacrosNeverRun() {
    const QString folder = m_bed.newFolder(QStringLiteral("macro"));
    const QString path = testsupport::copyFixture(QStringLiteral("macro_on_open.xls"), folder);
    QVERIFY(!path.isEmpty());
    const testsupport::FolderSnapshot before(folder);
    const QString markers = m_bed.newFolder(QStringLiteral("markers"));
    const QString ours = markers + QStringLiteral("/ours");
    const QString control = markers + QStringLiteral("/control");

    qputenv("TESSALY_MACRO_MARKER", ours.toUtf8());
    QVERIFY(testsupport::pdfPageTexts(printThroughLibreOffice(path))
                .join(QString())
                .contains(QStringLiteral("macro-workbook-marker")));

    // The same file opened with macros allowed does run its macro.
    qputenv("TESSALY_MACRO_MARKER", control.toUtf8());
    QProcess opener;
    opener.setProcessChannelMode(QProcess::ForwardedChannels);
    opener.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TESSALY_SOURCE_DIR "/tests/support/open_with_macros.py"),
                  m_bed.newFolder(QStringLiteral("control-profile")), path});
    QVERIFY(opener.waitForFinished(300000));
    QCOMPARE(opener.exitCode(), 0);
    QVERIFY2(QFile::exists(control), "the control did not run the macro");
    QVERIFY2(!QFile::exists(ours), "a document macro ran");
    QCOMPARE(before.differencesTo(testsupport::FolderSnapshot(folder)), QStringList());
}

QTEST_GUILESS_MAIN(OfficeProfileTest)
#include "tst_office_profile.moc"
