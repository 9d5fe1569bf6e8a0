// Prints the same workbooks through one application object and through LibreOffice's own
// "soffice --headless --pt", onto two queues of a private CUPS scheduler, and compares the
// times. Both print whole workbooks; the pages that reach each queue are counted in the jobs.
//
// usage: bench_office [ROUNDS [WORKBOOKS]]   (defaults 5 and 50; 3 sheets x 100 rows x 8 columns)

#include "office/CupsPrinterDirectory.h"
#include "office/FileUrl.h"
#include "office/LibreOfficeAutomation.h"
#include "tests/support/PrivateCups.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const QString kOurQueue = QStringLiteral("bench-ours");
const QString kTheirQueue = QStringLiteral("bench-pt");

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "bench_office: %s\n", qPrintable(why));
    std::exit(1);
}

// A profile for soffice --pt that prints every sheet, as the application object's does.
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

struct Printed {
    int jobs = 0;
    int pages = 0;
};

class Bench {
public:
    Bench(testsupport::PrivateCups& cups, office::LibreOfficeAutomation& automation,
          QString soffice, QString theirProfile, QStringList workbooks)
        : m_cups(cups)
        , m_automation(automation)
        , m_soffice(std::move(soffice))
        , m_theirProfile(std::move(theirProfile))
        , m_workbooks(std::move(workbooks)) {}

    // One run through an application object: total seconds; startSeconds gets createObject's.
    double runOurs(double& startSeconds) {
        const auto start = Clock::now();
        const auto application = m_automation.createObject(QStringLiteral("Excel.Application"));
        startSeconds = secondsSince(start);
        application->setVisible(false);
        for (const QString& path : m_workbooks) {
            const auto workbook = application->Workbooks().Open(path);
            workbook->PrintOut(1, true, kOurQueue);
            workbook->Close(false);
        }
        application->Quit();
        return secondsSince(start);
    }

    double runTheirs() {
        QStringList arguments{QStringLiteral("--headless"),
                              QStringLiteral("--invisible"),
                              QStringLiteral("--norestore"),
                              QStringLiteral("--nologo"),
                              QStringLiteral("--nodefault"),
                              QStringLiteral("-env:UserInstallation=") +
                                  office::fileUrl(m_theirProfile),
                              QStringLiteral("--pt"),
                              kTheirQueue};
        arguments += m_workbooks;
        const auto start = Clock::now();
        QProcess soffice;
        soffice.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        soffice.start(m_soffice, arguments);
        if (!soffice.waitForFinished(600000) || soffice.exitCode() != 0)
            fail(QStringLiteral("soffice --pt failed"));
        return secondsSince(start);
    }

    // The jobs and pages that reached each queue since the last call.
    QMap<QString, Printed> printedSinceLastCall() {
        QMap<QString, Printed> result;
        int last = m_lastJob;
        for (const auto& job : m_cups.jobs()) {
            last = std::max(last, job.id);
            if (job.id <= m_lastJob)
                continue;
            Printed& printed = result[job.queue];
            ++printed.jobs;
            printed.pages += testsupport::pdfPageCount(job.document);
        }
        m_lastJob = last;
        return result;
    }

private:
    testsupport::PrivateCups& m_cups;
    office::LibreOfficeAutomation& m_automation;
    QString m_soffice;
    QString m_theirProfile;
    QStringList m_workbooks;
    int m_lastJob = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments[1].toInt() : 5;
    const int count = arguments.size() > 2 ? arguments[2].toInt() : 50;
    if (rounds < 1 || count < 1)
        fail(QStringLiteral("usage: bench_office [ROUNDS [WORKBOOKS]]"));

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
    if (!cups.start() || !cups.addQueue(kOurQueue) || !cups.addQueue(kTheirQueue) ||
        !cups.setDefaultQueue(kOurQueue))
        fail(cups.errorString());

    office::LibreOfficeSettings settings = office::LibreOfficeSettings::fromEnvironment();
    settings.setProfileRoot(folder.filePath(QStringLiteral("profiles")));
    const QString soffice = settings.sofficeProgram();
    if (soffice.isEmpty())
        fail(QStringLiteral("no soffice"));
    const QString theirProfile = folder.filePath(QStringLiteral("pt-profile"));
    writeWholeWorkbookProfile(theirProfile);

    const office::CupsPrinterDirectory printers;
    office::LibreOfficeAutomation automation(settings, printers);
    Bench bench(cups, automation, soffice, theirProfile, workbooks);

    std::printf("%d workbooks of 3 sheets x 100 rows x 8 columns, %d rounds (after one warm-up "
                "round), order alternating\n",
                count, rounds);
    try {
        double start = 0;
        bench.runOurs(start);
        bench.runTheirs();
        bench.printedSinceLastCall();

        std::vector<double> ours;
        std::vector<double> theirs;
        std::vector<double> starts;
        std::vector<double> ratios;
        std::printf("%5s %9s %9s %7s %10s %16s %16s\n", "round", "ours[s]", "pt[s]", "ratio",
                    "start[s]", "ours jobs/pages", "pt jobs/pages");
        for (int round = 0; round < rounds; ++round) {
            double ourTime = 0;
            double theirTime = 0;
            if (round % 2 == 0) {
                ourTime = bench.runOurs(start);
                theirTime = bench.runTheirs();
            } else {
                theirTime = bench.runTheirs();
                ourTime = bench.runOurs(start);
            }
            const auto printed = bench.printedSinceLastCall();
            const Printed byUs = printed.value(kOurQueue);
            const Printed byThem = printed.value(kTheirQueue);
            ours.push_back(ourTime);
            theirs.push_back(theirTime);
            starts.push_back(start);
            ratios.push_back(ourTime / theirTime);
            std::printf("%5d %9.2f %9.2f %7.3f %10.2f %9d/%-6d %9d/%-6d\n", round + 1, ourTime,
                        theirTime, ourTime / theirTime, start, byUs.jobs, byUs.pages, byThem.jobs,
                        byThem.pages);
        }
        std::printf("median %8.2f %9.2f %7.3f %10.2f   (ratio of medians %.3f)\n", median(ours),
                    median(theirs), median(ratios), median(starts), median(ours) / median(theirs));
    } catch (const std::exception& error) {
        fail(QString::fromUtf8(error.what()));
    }
    return 0;
}
