// Reads workbooks and renders every sheet to PDF through the print run's report path (the
// engine names the sheets, the report printer renders them ahead on a pool of threads), in
// this one process, at each thread count given, and converts the same workbooks to PDF with
// LibreOffice ("soffice --headless --convert-to pdf", a private profile, all files in one
// call) for the ratio, and renders them on one thread through Qt's PDF writer in place of
// ours, for the writers' comparison; each round runs every one of them in turn. It does so for two
// sets: plain workbooks, then workbooks of one sheet with two charts on it (written with
// LibreOffice, since the plain generator cannot write charts). Then renders one sheet of
// 65,536 rows x 10 columns in a child process of its own, for its time, pages and peak memory.
//
// usage: bench_report [ROUNDS [WORKBOOKS [THREADS...]]]
//            defaults 3, 50 and 1 2; plain workbooks of 3 sheets x 100 rows x 8 columns
//        bench_report --one FILE OUTDIR      (renders one workbook; used for the large sheet)

#include "platform/CupsPrintSpooler.h"
#include "print/ReportPrintPath.h"
#include "report/FontMapper.h"
#include "report/ReportRenderer.h"
#include "report/TextShaper.h"
#include "report/XlsReport.h"
#include "tests/support/PrivateCups.h"
#include "xls/IconvCodePages.h"
#include "xls/Workbook.h"
#include "xls/WorkbookReader.h"
#include "xls/XlsEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThreadPool>

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

// The workbooks printed as the print run's report path does, on threads, into
// OUTDIR/<name>.pdf.
void render(const xls::ICodePages& codePages, const QStringList& files, const QString& outdir,
            int threads) {
    xls::XlsEngine engine(codePages);
    platform::CupsPrintSpooler spooler; // not used: the pages go into PDF files
    report::XlsReport control(codePages, spooler);
    control.setOutputFolder(outdir);
    print::PrintItems items;
    for (const QString& file : files)
        items.append({file, true});
    print::PrintProgress progress;
    QThreadPool pool;
    pool.setMaxThreadCount(threads);
    const print::PathResult result =
        print::PrintWithReport(engine, control, items, false, QString(), progress, pool);
    if (result.outcome != print::PathResult::Outcome::Completed)
        fail(result.failedFile + QStringLiteral(": ") + result.cause);
}

// The same workbooks on one thread through Qt's own PDF writer instead of ours, read and laid
// out as the report path does, for the writers' comparison.
void renderWithQtWriter(const xls::ICodePages& codePages, const QStringList& files,
                        const QString& outdir) {
    const report::FontMapper fonts;
    const report::TextShaper shaper;
    for (const QString& file : files) {
        const xls::Workbook workbook = xls::WorkbookReader(codePages).readFile(file);
        QList<const xls::Sheet*> sheets;
        for (const xls::Sheet& sheet : workbook.sheets()) {
            if (sheet.visibility() == xls::SheetVisibility::Visible)
                sheets.append(&sheet);
        }
        QPdfWriter writer(QDir(outdir).filePath(QFileInfo(file).completeBaseName() + ".pdf"));
        report::ReportRenderer(workbook, file, fonts, shaper)
            .render(writer, sheets, QDateTime::currentDateTime());
    }
}

int pagesIn(const QString& outdir) {
    int pages = 0;
    for (const QString& name : QDir(outdir).entryList({QStringLiteral("*.pdf")}, QDir::Files))
        pages += testsupport::pdfPageCount(QDir(outdir).filePath(name));
    return pages;
}

int renderOne(const QString& path, const QString& outdir) {
    const xls::IconvCodePages codePages;
    const auto start = Clock::now();
    render(codePages, {path}, outdir, 1);
    const double seconds = secondsSince(start);
    std::printf("%.3f %d %ld\n", seconds, pagesIn(outdir), peakKilobytes(RUSAGE_SELF));
    return 0;
}
// Runs a workbook generator (a Python script writing into FOLDER, then ARGUMENTS); the
// workbooks it wrote, by name.
QStringList makeWorkbooks(const QString& script, const QString& folder,
                          const QStringList& arguments) {
    QProcess make;
    make.start(QStringLiteral("/usr/bin/python3"), QStringList{script, folder} + arguments);
    if (!make.waitForFinished(600000) || make.exitCode() != 0)
        fail(QFileInfo(script).fileName() + QStringLiteral(" failed: ") +
             QString::fromUtf8(make.readAllStandardError()));
    QStringList files;
    for (const QString& name :
         QDir(folder).entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name))
        files.append(QDir(folder).filePath(name));
    return files;
}

QStringList makePlainWorkbooks(const QString& folder, int count, int sheets, int rows,
                               int columns) {
    return makeWorkbooks(QStringLiteral(TESSALY_MAKE_WORKBOOKS), folder,
                         {QString::number(count), QString::number(sheets), QString::number(rows),
                          QString::number(columns)});
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

// The system's load averages over 1, 5 and 15 minutes.
QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QList<QByteArray> fields = file.readAll().split(' ');
    return QString::fromLatin1(fields.mid(0, 3).join(' '));
}

// One set's medians and ratios; peak memories are the process's and its children's so far.
void printSet(const QString& title, int rounds, const std::vector<int>& threadCounts,
              const std::vector<std::vector<double>>& ours, const std::vector<double>& theirs,
              int pages) {
    const double theirsMedian = median(theirs);
    std::printf("%s, %d rounds (medians), load average at the end %s\n", qPrintable(title), rounds,
                qPrintable(loadAverage()));
    std::printf("soffice --convert-to pdf: %.3f s, peak memory so far %ld KiB\n", theirsMedian,
                peakKilobytes(RUSAGE_CHILDREN));
    for (size_t t = 0; t < threadCounts.size(); ++t) {
        const double oursMedian = median(ours[t]);
        std::printf("report path, %d thread(s): %.3f s, %d pages, %.0f pages/s, ratio "
                    "soffice/ours %.1f (target 20 on one thread, 40 on two)\n",
                    threadCounts[t], oursMedian, pages, pages / oursMedian,
                    theirsMedian / oursMedian);
    }
    std::printf("report path peak memory so far %ld KiB\n", peakKilobytes(RUSAGE_SELF));
}

// Times one set of workbooks: the report path at each thread count and one soffice call
// over the same files, each round, after an untimed first call of each (the fonts and the
// fresh profile filled, as in a program in use); prints the medians under TITLE.
void timeSet(const QString& title, const QStringList& files, const std::vector<int>& threadCounts,
             int rounds, const QTemporaryDir& folder) {
    const QString ourOut = folder.filePath(QStringLiteral("ours"));
    const QString profile = folder.filePath(QStringLiteral("profile"));
    const QString theirOut = folder.filePath(QStringLiteral("theirs"));
    const xls::IconvCodePages codePages;
    QDir().mkpath(ourOut);
    render(codePages, files.mid(0, 1), ourOut, 1);
    convertWithLibreOffice(profile, files.mid(0, 1), theirOut);
    std::vector<std::vector<double>> ours(threadCounts.size());
    std::vector<double> theirs;
    std::vector<double> qtWriter;
    for (int round = 0; round < rounds; ++round) {
        QDir(ourOut).removeRecursively();
        QDir().mkpath(ourOut);
        const auto qtStart = Clock::now();
        renderWithQtWriter(codePages, files, ourOut);
        qtWriter.push_back(secondsSince(qtStart));
        for (size_t t = 0; t < threadCounts.size(); ++t) {
            QDir(ourOut).removeRecursively();
            QDir().mkpath(ourOut);
            const auto start = Clock::now();
            render(codePages, files, ourOut, threadCounts[t]);
            ours[t].push_back(secondsSince(start));
        }
        theirs.push_back(convertWithLibreOffice(profile, files, theirOut));
    }
    printSet(title, rounds, threadCounts, ours, theirs, pagesIn(ourOut));
    std::printf("the same through Qt's PDF writer, 1 thread: %.3f s, ratio soffice/Qt's %.1f\n",
                median(qtWriter), median(theirs) / median(qtWriter));
}

// The large sheet rendered in a child process of its own, for its own peak memory.
void timeLargeSheet(const QTemporaryDir& folder) {
    const QStringList large =
        makePlainWorkbooks(folder.filePath(QStringLiteral("large")), 1, 1, 65536, 10);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString largeOut = folder.filePath(QStringLiteral("large-out"));
    QDir().mkpath(largeOut);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--one"), large.first(), largeOut});
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
    std::vector<int> threadCounts;
    for (qsizetype i = 3; i < arguments.size(); ++i)
        threadCounts.push_back(std::max(1, arguments[i].toInt()));
    if (threadCounts.empty())
        threadCounts = {1, 2};

    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QStringList small =
        makePlainWorkbooks(folder.filePath(QStringLiteral("small")), count, 3, 100, 8);
    timeSet(QStringLiteral("%1 workbooks of 3 sheets x 100 rows x 8 columns").arg(small.size()),
            small, threadCounts, rounds, folder);
    const QStringList charts =
        makeWorkbooks(QStringLiteral(TESSALY_MAKE_CHART_WORKBOOKS),
                      folder.filePath(QStringLiteral("charts")), {QString::number(count)});
    timeSet(QStringLiteral("%1 workbooks of one sheet of 13 rows x 4 columns with a column and "
                           "a line chart")
                .arg(charts.size()),
            charts, threadCounts, rounds, folder);
    timeLargeSheet(folder);
    return 0;
}
