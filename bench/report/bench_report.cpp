// Reads workbooks and renders every sheet to PDF through the report printer, in this one
// process, and converts the same workbooks to PDF with LibreOffice ("soffice --headless
// --convert-to pdf", a private profile, all files in one call) for the ratio. Then renders
// one sheet of 65,536 rows x 10 columns in a child process of its own, for its time, pages
// and peak memory.
//
// usage: bench_report [ROUNDS [WORKBOOKS]]   (defaults 3 and 50; 3 sheets x 100 rows x 8 columns)
//        bench_report --one FILE OUTDIR      (renders one workbook; used for the large sheet)

#include "platform/CupsPrintSpooler.h"
#include "report/ReportError.h"
#include "report/XlsReport.h"
#include "xls/IconvCodePages.h"
#include "xls/XlsEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

long peakKilobytes(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "bench_report: %s\n", qPrintable(why));
    std::exit(1);
}

// One workbook printed as the print run does, into OUTDIR/<name>.pdf; its page count.
int render(const xls::ICodePages& codePages, const QString& path, const QString& outdir) {
    xls::XlsEngine engine(codePages);
    engine.Open(path);
    QStringList names;
    for (qint32 i = 0; i < engine.SheetCount(); ++i)
        names.append(engine.SheetName(i));
    engine.Close();
    platform::CupsPrintSpooler spooler; // not used: the pages go into a PDF file
    report::XlsReport control(codePages, spooler);
    control.setOutputFile(outdir + QLatin1Char('/') + QFileInfo(path).completeBaseName() +
                          QStringLiteral(".pdf"));
    control.setFile(path);
    control.StartSheets();
    for (const QString& name : names) {
        control.AddSheet(name, QString());
        control.CommitSheet();
    }
    control.Print();
    return control.printedPages();
}

int renderOne(const QString& path, const QString& outdir) {
    const xls::IconvCodePages codePages;
    const auto start = Clock::now();
    const int pages = render(codePages, path, outdir);
    const double seconds = secondsSince(start);
    std::printf("%.3f %d %ld\n", seconds, pages, peakKilobytes(RUSAGE_SELF));
    return 0;
}

QStringList makeWorkbooks(const QString& folder, int count, int sheets, int rows, int columns) {
    QProcess make;
    make.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(TESSALY_MAKE_WORKBOOKS), folder, QString::number(count),
                QString::number(sheets), QString::number(rows), QString::number(columns)});
    if (!make.waitForFinished(600000) || make.exitCode() != 0)
        fail(QStringLiteral("make_workbooks.py failed: ") +
             QString::fromUtf8(make.readAllStandardError()));
    QStringList files;
    for (const QString& name :
         QDir(folder).entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name))
        files.append(QDir(folder).filePath(name));
    return files;
}

// One soffice call converting every file; its seconds.
double convertWithLibreOffice(const QString& profile, const QStringList& files,
                              const QString& outdir) {
    QDir(outdir).removeRecursively();
    QDir().mkpath(outdir);
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    const auto start = Clock::now();
    soffice.start(QStringLiteral("soffice"),
                  QStringList{QStringLiteral("-env:UserInstallation=file://") + profile,
                              QStringLiteral("--headless"), QStringLiteral("--norestore"),
                              QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                              QStringLiteral("--outdir"), outdir} +
                      files);
    if (!soffice.waitForFinished(1800000) || soffice.exitCode() != 0)
        fail(QStringLiteral("soffice failed: ") + QString::fromUtf8(soffice.readAll()));
    const double seconds = secondsSince(start);
    if (QDir(outdir).entryList({QStringLiteral("*.pdf")}, QDir::Files).size() != files.size())
        fail(QStringLiteral("soffice did not convert every file"));
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--one"))
        return renderOne(arguments[2], arguments[3]);
    const int rounds = arguments.size() > 1 ? std::max(1, arguments[1].toInt()) : 3;
    const int count = arguments.size() > 2 ? std::max(1, arguments[2].toInt()) : 50;

    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QStringList small =
        makeWorkbooks(folder.filePath(QStringLiteral("small")), count, 3, 100, 8);
    const QStringList large =
        makeWorkbooks(folder.filePath(QStringLiteral("large")), 1, 1, 65536, 10);
    const QString ourOut = folder.filePath(QStringLiteral("ours"));
    QDir().mkpath(ourOut);

    const xls::IconvCodePages codePages;
    std::vector<double> ours;
    ours.reserve(static_cast<size_t>(rounds));
    int pages = 0;
    try {
        for (int round = 0; round < rounds; ++round) {
            pages = 0;
            const auto start = Clock::now();
            for (const QString& file : small)
                pages += render(codePages, file, ourOut);
            ours.push_back(secondsSince(start));
        }
    } catch (const report::ReportError& error) {
        fail(error.message());
    }
    const long ourPeak = peakKilobytes(RUSAGE_SELF);

    // A first, untimed call fills the fresh profile, as a profile in use would be.
    const QString profile = folder.filePath(QStringLiteral("profile"));
    const QString theirOut = folder.filePath(QStringLiteral("theirs"));
    convertWithLibreOffice(profile, small.mid(0, 1), theirOut);
    std::vector<double> theirs;
    theirs.reserve(static_cast<size_t>(rounds));
    for (int round = 0; round < rounds; ++round)
        theirs.push_back(convertWithLibreOffice(profile, small, theirOut));
    const long theirPeak = peakKilobytes(RUSAGE_CHILDREN);

    const double oursMedian = median(ours);
    const double theirsMedian = median(theirs);
    std::printf("%d workbooks of 3 sheets x 100 rows x 8 columns, %d rounds (medians)\n",
                static_cast<int>(small.size()), rounds);
    std::printf("report printer: %.3f s, %d pages, %.0f pages/s, peak memory %ld KiB\n", oursMedian,
                pages, pages / oursMedian, ourPeak);
    std::printf("soffice --convert-to pdf: %.3f s, peak memory %ld KiB\n", theirsMedian, theirPeak);
    std::printf("ratio soffice/ours: %.1f (target at least 20)\n", theirsMedian / oursMedian);

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--one"), large.first(), ourOut});
    if (!child.waitForFinished(1800000) || child.exitCode() != 0)
        fail(QStringLiteral("the large sheet failed"));
    const QStringList figures =
        QString::fromUtf8(child.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
    if (figures.size() != 3)
        fail(QStringLiteral("unexpected output from the large sheet"));
    std::printf("one sheet of 65,536 rows x 10 columns: %s s, %s pages, %.0f pages/s, peak "
                "memory %s KiB\n",
                qPrintable(figures[0]), qPrintable(figures[1]),
                figures[1].toDouble() / figures[0].toDouble(), qPrintable(figures[2]));
    return 0;
}
