// Whole print runs through the main window, as a user starts them: 50 ticked workbooks through
// the LibreOffice path and through the report path (at each number of rendering threads
// given), each from the dialog's OK to the closing message, against LibreOffice's own
// "soffice --headless --pt" and "--convert-to pdf" of the same files in one call each, onto
// three queues of a private CUPS scheduler. During each run a timer on the user-interface
// thread measures the longest time that thread went without serving events.
//
// usage: bench_print [ROUNDS [WORKBOOKS [THREADS...]]]
//            defaults 3, 50 and 1 2; 3 sheets x 100 rows x 8 columns

#include "app/PrintSystem.h"
#include "office/FileUrl.h"
#include "tests/fakes/FakeServices.h"
#include "tests/print/RunDriver.h"
#include "tests/support/PrivateCups.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString kExcelQueue = QStringLiteral("bench-excel");
const QString kReportQueue = QStringLiteral("bench-report");
const QString kTheirQueue = QStringLiteral("bench-pt");

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "bench_print: %s\n", qPrintable(why));
    std::exit(1);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Notes when the closing message comes, and what it says, instead of showing it.
struct TimedMessageBox : platform::IMessageBox {
    QElapsedTimer* clock = nullptr;
    qint64 shownAt = -1;
    QString text;
    void show(const QString& message, platform::MessageIcon, const QString&) override {
        shownAt = clock->elapsed();
        text = message;
    }
};

// The longest gap between two ticks of a 1 ms timer on the user-interface thread, and when in
// the run it ended.
class StallMeter {
public:
    StallMeter() {
        m_timer.setInterval(1);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (now - m_last > m_longest) {
                m_longest = now - m_last;
                m_longestEnd = now;
            }
            m_last = now;
        });
    }
    void start() {
        m_longest = 0;
        m_longestEnd = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stopMs() {
        m_timer.stop();
        const qint64 now = m_clock.nsecsElapsed();
        if (now - m_last > m_longest) {
            m_longest = now - m_last;
            m_longestEnd = now;
        }
        return static_cast<double>(m_longest) / 1e6;
    }
    // Milliseconds from the start to the end of the longest gap.
    double longestEndMs() const { return static_cast<double>(m_longestEnd) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    qint64 m_longestEnd = 0;
};

struct RunFigures {
    double seconds = 0;
    double stallMs = 0;
    double stallEndMs = 0;
};

// One run through the window: OK pressed, timed to the closing message.
RunFigures runThroughWindow(PrintSystem& printing, const QStringList& workbooks,
                            const QString& queue, bool withoutExcel) {
    FakeServices fakes;
    TimedMessageBox messages;
    QElapsedTimer clock;
    messages.clock = &clock;
    platform::Services services{fakes.lock,     fakes.commandLine, fakes.version, fakes.search,
                                messages,       fakes.profile,     fakes.shell,   fakes.launcher,
                                fakes.registry, fakes.endRequests};
    frmMain window(services, printing.services(), nullptr);
    window.show();
    for (const QString& path : workbooks)
        window.AddPathToList(path);

    StallMeter stalls;
    whenShown<frmPrint>([&](frmPrint& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("chkPrinter"))->setChecked(true);
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("cboPrinter"));
        printers->setCurrentIndex(printers->findText(queue));
        dialog.findChild<QCheckBox*>(QStringLiteral("chkVBReport"))->setChecked(withoutExcel);
        clock.start();
        stalls.start();
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    });
    window.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    waitForPrintEnd(window);
    RunFigures figures;
    figures.stallMs = stalls.stopMs();
    figures.stallEndMs = stalls.longestEndMs();
    if (messages.shownAt < 0 || !messages.text.startsWith(QStringLiteral("選択されたすべての")))
        fail(QStringLiteral("the run on %1 ended with: %2").arg(queue, messages.text));
    figures.seconds = static_cast<double>(messages.shownAt) / 1000.0;
    return figures;
}

// A profile for soffice --pt that prints every sheet, as the application path's does.
void writeWholeWorkbookProfile(const QString& profile) {
    QDir().mkpath(profile + QStringLiteral("/user"));
    QFile file(profile + QStringLiteral("/user/registrymodifications.xcu"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write ") + file.fileName());
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
               "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
               "<item oor:path=\"/org.openoffice.Office.Calc/Print/Other\">"
               "<prop oor:name=\"AllSheets\" oor:op=\"fuse\"><value>true</value></prop></item>\n"
               "</oor:items>\n");
}

// One soffice call over every workbook with the options given; its seconds.
double runTheirs(const QString& soffice, const QString& profile, QStringList options,
                 const QStringList& workbooks) {
    QStringList arguments{QStringLiteral("--headless"),
                          QStringLiteral("--invisible"),
                          QStringLiteral("--norestore"),
                          QStringLiteral("--nologo"),
                          QStringLiteral("--nodefault"),
                          QStringLiteral("-env:UserInstallation=") + office::fileUrl(profile)};
    arguments += options + workbooks;
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(soffice, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        fail(QStringLiteral("soffice %1 failed").arg(options.join(u' ')));
    return static_cast<double>(clock.elapsed()) / 1000.0;
}

// Pages per queue of the jobs received after job lastJob, which is moved on.
QMap<QString, int> pagesSince(testsupport::PrivateCups& cups, int& lastJob) {
    QMap<QString, int> pages;
    int last = lastJob;
    for (const auto& job : cups.jobs()) {
        last = std::max(last, job.id);
        if (job.id > lastJob)
            pages[job.queue] += testsupport::pdfPageCount(job.document);
    }
    lastJob = last;
    return pages;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments[1].toInt() : 3;
    const int count = arguments.size() > 2 ? arguments[2].toInt() : 50;
    std::vector<int> threadCounts;
    for (qsizetype i = 3; i < arguments.size(); ++i)
        threadCounts.push_back(std::max(1, arguments[i].toInt()));
    if (threadCounts.empty())
        threadCounts = {1, 2};
    if (rounds < 1 || count < 1)
        fail(QStringLiteral("usage: bench_print [ROUNDS [WORKBOOKS [THREADS...]]]"));

    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tessaly-bench-XXXXXX"));
    if (!folder.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString books = folder.filePath(QStringLiteral("books"));
    if (QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral(TESSALY_MAKE_WORKBOOKS), books, QString::number(count),
                           QStringLiteral("3"), QStringLiteral("100"), QStringLiteral("8")}) != 0)
        fail(QStringLiteral("make_workbooks.py failed"));
    QStringList workbooks;
    for (const QString& name :
         QDir(books).entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name))
        workbooks.append(books + QLatin1Char('/') + name);

    testsupport::PrivateCups cups;
    if (!cups.start() || !cups.addQueue(kExcelQueue) || !cups.addQueue(kReportQueue) ||
        !cups.addQueue(kTheirQueue) || !cups.setDefaultQueue(kExcelQueue))
        fail(cups.errorString());

    office::LibreOfficeSettings settings = office::LibreOfficeSettings::fromEnvironment();
    settings.setProfileRoot(folder.filePath(QStringLiteral("profiles")));
    const QString soffice = settings.sofficeProgram();
    if (soffice.isEmpty())
        fail(QStringLiteral("no soffice"));
    PrintSystem withOffice(settings);
    office::LibreOfficeSettings missing = settings;
    missing.setSoffice(folder.filePath(QStringLiteral("no/soffice")));
    PrintSystem withoutOffice(missing);
    const QString theirProfile = folder.filePath(QStringLiteral("pt-profile"));
    writeWholeWorkbookProfile(theirProfile);
    const QStringList printOptions{QStringLiteral("--pt"), kTheirQueue};
    const QStringList pdfOptions{QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                 QStringLiteral("--outdir"),
                                 folder.filePath(QStringLiteral("theirs"))};
    const auto reportRun = [&](int threads) {
        withoutOffice.services().reportThreads.setMaxThreadCount(threads);
        return runThroughWindow(withoutOffice, workbooks, kReportQueue, true);
    };

    std::printf("%d workbooks of 3 sheets x 100 rows x 8 columns, %d rounds after a warm-up\n",
                count, rounds);
    int lastJob = 0;
    runThroughWindow(withOffice, workbooks, kExcelQueue, false);
    reportRun(threadCounts.front());
    runTheirs(soffice, theirProfile, printOptions, workbooks);
    runTheirs(soffice, theirProfile, pdfOptions, workbooks);
    pagesSince(cups, lastJob);

    std::vector<double> excel;
    std::vector<double> pt;
    std::vector<double> pdf;
    std::vector<std::vector<double>> report(threadCounts.size());
    double officeStall = 0;
    double reportStall = 0;
    for (int round = 0; round < rounds; ++round) {
        const RunFigures viaOffice = runThroughWindow(withOffice, workbooks, kExcelQueue, false);
        excel.push_back(viaOffice.seconds);
        officeStall = std::max(officeStall, viaOffice.stallMs);
        std::printf("round %d: LibreOffice path %.2f s (stall %.1f ms ending at %.0f ms)",
                    round + 1, viaOffice.seconds, viaOffice.stallMs, viaOffice.stallEndMs);
        for (size_t t = 0; t < threadCounts.size(); ++t) {
            const RunFigures viaReport = reportRun(threadCounts[t]);
            report[t].push_back(viaReport.seconds);
            reportStall = std::max(reportStall, viaReport.stallMs);
            std::printf(", report path x%d %.2f s (stall %.1f ms ending at %.0f ms)",
                        threadCounts[t], viaReport.seconds, viaReport.stallMs,
                        viaReport.stallEndMs);
        }
        pt.push_back(runTheirs(soffice, theirProfile, printOptions, workbooks));
        pdf.push_back(runTheirs(soffice, theirProfile, pdfOptions, workbooks));
        const QMap<QString, int> pages = pagesSince(cups, lastJob);
        std::printf(", soffice --pt %.2f s, --convert-to pdf %.2f s; pages office/report/pt "
                    "%d/%d/%d\n",
                    pt.back(), pdf.back(), pages.value(kExcelQueue), pages.value(kReportQueue),
                    pages.value(kTheirQueue));
    }
    std::printf("medians: LibreOffice path %.2f s, soffice --pt %.2f s, soffice --convert-to pdf "
                "%.2f s\n",
                median(excel), median(pt), median(pdf));
    for (size_t t = 0; t < threadCounts.size(); ++t) {
        const double ours = median(report[t]);
        std::printf("report path, %d thread(s): %.2f s; ratios to --convert-to pdf %.1f, to "
                    "--pt %.1f, to the LibreOffice path %.1f\n",
                    threadCounts[t], ours, median(pdf) / ours, median(pt) / ours,
                    median(excel) / ours);
    }
    std::printf("longest stall of the user-interface thread: LibreOffice path %.1f ms, report "
                "path %.1f ms\n",
                officeStall, reportStall);
    return 0;
}
