// The report path rendering ahead on several threads, with the real engine, report printer and
// spooler, onto a queue of a private CUPS scheduler. Gates around the real jobs force the
// interleavings: a gated workbook is rendered only once the workbooks after it in its window
// of threads have been.

#include "platform/CupsPrintSpooler.h"
#include "print/ReportPrintPath.h"
#include "report/ReportError.h"
#include "report/XlsReport.h"
#include "tests/support/Fixtures.h"
#include "tests/support/PrivateCups.h"
#include "xls/IconvCodePages.h"
#include "xls/XlsEngine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>

namespace {

const QString kQueue = QStringLiteral("tessaly-ahead");
const QStringList kFixtures{QStringLiteral("three_sheets.xls"), QStringLiteral("two_sheets.xls")};
constexpr int kWorkbooks = 5;

QString bookName(int index) {
    return QStringLiteral("w%1.xls").arg(index);
}

// The real report printer; its jobs call the hooks before rendering and before submitting,
// and tell which workbooks have rendered and how many jobs were taken and not yet dropped.
class GatedPrinter : public report::IReportPrinter {
public:
    explicit GatedPrinter(report::IReportPrinter& real)
        : m_real(real) {}

    void setFile(const QString& file) override {
        m_file = file;
        m_real.setFile(file);
    }
    void setWorkbook(std::shared_ptr<const xls::Workbook> workbook) override {
        m_real.setWorkbook(std::move(workbook));
    }
    void StartSheets() override { m_real.StartSheets(); }
    void AddSheet(const QString& sheet, const QString& range) override {
        m_real.AddSheet(sheet, range);
    }
    void CommitSheet() override { m_real.CommitSheet(); }
    void SelectPrinter(qint32 kind, const QString& printer, qint16& status) override {
        m_real.SelectPrinter(kind, printer, status);
    }
    void Print() override { m_real.Print(); }
    std::unique_ptr<report::IReportJob> TakeJob() override;

    // Waits until every one of files has rendered; throws after a generous time.
    void waitForRendered(const QStringList& files) {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, std::chrono::minutes(2), [&] {
                return std::all_of(files.begin(), files.end(),
                                   [&](const QString& file) { return m_rendered.contains(file); });
            }))
            throw std::runtime_error("the gate was never opened");
    }
    QStringList rendered() {
        const std::scoped_lock lock(m_mutex);
        return m_rendered;
    }
    int mostAlive() {
        const std::scoped_lock lock(m_mutex);
        return m_mostAlive;
    }

    std::function<void(const QString&)> beforeRender = [](const QString&) {};
    std::function<void(const QString&)> beforeSubmit = [](const QString&) {};

private:
    friend class GatedJob;
    report::IReportPrinter& m_real;
    QString m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QStringList m_rendered; // in the order they finished
    int m_alive = 0;
    int m_mostAlive = 0;
};

class GatedJob : public report::IReportJob {
public:
    GatedJob(GatedPrinter& printer, QString file, std::unique_ptr<report::IReportJob> real)
        : m_printer(printer)
        , m_file(std::move(file))
        , m_real(std::move(real)) {
        const std::scoped_lock lock(m_printer.m_mutex);
        m_printer.m_mostAlive = std::max(m_printer.m_mostAlive, ++m_printer.m_alive);
    }
    ~GatedJob() override {
        const std::scoped_lock lock(m_printer.m_mutex);
        --m_printer.m_alive;
    }
    GatedJob(const GatedJob&) = delete;
    GatedJob& operator=(const GatedJob&) = delete;

    void Render(const report::RenderControl& control) override {
        m_printer.beforeRender(m_file);
        m_real->Render(control);
        const std::scoped_lock lock(m_printer.m_mutex);
        m_printer.m_rendered.append(m_file);
        m_printer.m_changed.notify_all();
    }
    void Submit() override {
        m_printer.beforeSubmit(m_file);
        m_real->Submit();
    }

private:
    GatedPrinter& m_printer;
    QString m_file;
    std::unique_ptr<report::IReportJob> m_real;
};

std::unique_ptr<report::IReportJob> GatedPrinter::TakeJob() {
    return std::make_unique<GatedJob>(*this, m_file, m_real.TakeJob());
}

} // namespace

class tst_reportPath_cups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(m_cups.start(), qPrintable(m_cups.errorString()));
        QVERIFY2(m_cups.addQueue(kQueue), qPrintable(m_cups.errorString()));
        // Rendered documents go into a temporary folder of this test's own, to be counted.
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void submitsInListOrder_data() {
        QTest::addColumn<int>("threads");
        QTest::addColumn<QList<int>>("gated");
        QTest::addColumn<int>("failing");  // its render fails
        QTest::addColumn<int>("abortAt");  // the user stops while it is being submitted
        QTest::addColumn<int>("longBook"); // a long sheet, stopped as its second page begins
        QTest::addColumn<print::PathResult::Outcome>("outcome");
        QTest::addColumn<int>("queued");
        QTest::addColumn<QList<int>>("renderedNotQueued");
        using Outcome = print::PathResult::Outcome;
        QTest::newRow("renders finish out of order")
            << 3 << QList<int>{0, 3} << -1 << -1 << -1 << Outcome::Completed << kWorkbooks
            << QList<int>{};
        QTest::newRow("failure with later ones rendered")
            << 3 << QList<int>{1} << 1 << -1 << -1 << Outcome::Failed << 1 << QList<int>{2, 3};
        QTest::newRow("abort with rendered ones pending")
            << 3 << QList<int>{0} << -1 << 0 << -1 << Outcome::Aborted << 1 << QList<int>{1, 2};
        QTest::newRow("one thread")
            << 1 << QList<int>{} << 2 << -1 << -1 << Outcome::Failed << 2 << QList<int>{};
        QTest::newRow("abort within a long workbook")
            << 2 << QList<int>{} << -1 << -1 << 0 << Outcome::Aborted << 0 << QList<int>{};
    }

    void submitsInListOrder() {
        QFETCH(int, threads);
        QFETCH(QList<int>, gated);
        QFETCH(int, failing);
        QFETCH(int, abortAt);
        QFETCH(int, longBook);
        QFETCH(print::PathResult::Outcome, outcome);
        QFETCH(int, queued);
        QFETCH(QList<int>, renderedNotQueued);

        QTemporaryDir books;
        QVERIFY(books.isValid());
        print::PrintItems items;
        QStringList paths;
        QList<testsupport::ExpectedJob> expected;
        for (int i = 0; i < kWorkbooks; ++i) {
            const QString fixture =
                i == longBook ? QStringLiteral("long_sheet.xls") : kFixtures[i % kFixtures.size()];
            paths.append(testsupport::copyFixture(fixture, books.path(), bookName(i)));
            QVERIFY(!paths.last().isEmpty());
            items.append({paths.last(), true});
            if (i < queued)
                expected.append({kQueue, fixture, bookName(i)});
        }

        const xls::IconvCodePages codePages;
        xls::XlsEngine engine(codePages);
        platform::CupsPrintSpooler spooler;
        report::XlsReport real(codePages, spooler);
        GatedPrinter printer(real);
        print::PrintProgress progress;
        // The workbooks after a gated one in its window of threads.
        const auto laterInWindow = [&](const QString& file) {
            QStringList later;
            const auto index = static_cast<int>(paths.indexOf(file));
            return paths.mid(index + 1, threads - 1);
        };
        printer.beforeRender = [&](const QString& file) {
            if (gated.contains(paths.indexOf(file)))
                printer.waitForRendered(laterInWindow(file));
            if (paths.indexOf(file) == failing)
                throw report::ReportError(QStringLiteral("this render fails"));
            // The engine's read is the only one: a workbook whose file is gone still prints.
            QFile::remove(file);
        };
        printer.beforeSubmit = [&](const QString& file) {
            if (paths.indexOf(file) == abortAt)
                progress.requestAbort();
        };
        // The pages progress is told of the long workbook; a stop as its second page begins
        // must end it before a third.
        std::atomic<int> longPages = 0;
        QObject::connect(
            &progress, &print::PrintProgress::pageStarted, &progress,
            [&](qsizetype n, int page) {
                if (n != longBook + 1)
                    return;
                longPages = std::max(longPages.load(), page);
                if (page == 2)
                    progress.requestAbort();
            },
            Qt::DirectConnection);
        QThreadPool pool;
        pool.setMaxThreadCount(threads);
        const int lastJob = m_cups.lastJobId();

        const print::PathResult result =
            print::PrintWithReport(engine, printer, items, true, kQueue, progress, pool);

        QCOMPARE(result.outcome, outcome);
        if (outcome == print::PathResult::Outcome::Failed) {
            QCOMPARE(result.failedFile, paths[failing]);
            QVERIFY(!result.cause.isEmpty());
        }
        QCOMPARE(testsupport::jobsProblem(m_cups.jobsAfter(lastJob), expected), QString());
        const QStringList rendered = printer.rendered();
        for (int i : renderedNotQueued)
            QVERIFY2(rendered.contains(paths[i]), qPrintable(rendered.join(u' ')));
        for (int i : gated) {
            if (i != failing)
                QVERIFY2(rendered.indexOf(paths[i]) > i, qPrintable(rendered.join(u' ')));
        }
        QCOMPARE(printer.mostAlive(), threads);
        QCOMPARE(longPages.load(), longBook < 0 ? 0 : 2);
        QCOMPARE(
            QDir(m_temp.path()).entryList({QStringLiteral("tessaly-print-*")}, QDir::AllEntries),
            QStringList());
    }

private:
    testsupport::PrivateCups m_cups;
    QTemporaryDir m_temp;
};

QTEST_MAIN(tst_reportPath_cups)
#include "tst_reportPath_cups.moc"
