#include "ReportPrintPath.h"

#include "filelist/colFileName.h"
#include "platform/HeapRetention.h"
#include "platform/ThreadPriority.h"

#include <QThreadPool>

#include <algorithm>
#include <deque>
#include <exception>
#include <future>
#include <memory>
#include <optional>

namespace print {

namespace {

// A ticked workbook taken from the list: its job, being rendered on a worker thread or done,
// or the cause that kept it from being taken, kept until the workbook's turn comes.
class Pending {
public:
    Pending(qsizetype n, QString file)
        : m_n(n)
        , m_file(std::move(file)) {}
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;
    // A job is dropped only once its worker is done with it.
    ~Pending() {
        if (m_rendered.valid())
            m_rendered.wait();
    }

    qsizetype n() const { return m_n; }
    const QString& file() const { return m_file; }

    // Hands the job to a worker thread of pool to render, below the user-interface thread's
    // priority; it stops within a page when the run is asked to stop. The job is the worker's
    // alone until m_rendered is ready; this thread touches it only after that.
    void render(std::unique_ptr<report::IReportJob> job, QThreadPool& pool,
                PrintProgress& progress) {
        m_job = std::move(job);
        report::RenderControl control{progress.stopToken(), [&progress, n = m_n](int page) {
                                          progress.paintingPage(n, page);
                                      }};
        auto task = std::make_shared<std::packaged_task<void()>>(
            [job = m_job.get(), control = std::move(control)] { job->Render(control); });
        m_rendered = task->get_future();
        pool.start([task] {
            platform::lowerThreadPriority();
            (*task)();
        });
    }
    void fail(QString cause) { m_cause = std::move(cause); }

    // Waits for the rendering, then submits; the cause of failure, or nothing.
    std::optional<QString> submit() {
        try {
            if (m_cause)
                return m_cause;
            m_rendered.get();
            m_job->Submit();
            return std::nullopt;
        } catch (const std::exception& error) {
            return QString::fromUtf8(error.what());
        }
    }

private:
    qsizetype m_n;
    QString m_file;
    std::unique_ptr<report::IReportJob> m_job;
    std::future<void> m_rendered;
    std::optional<QString> m_cause;
};

// Xls1 names the workbook's sheets, XlsReport1 is given them and takes the job.
std::unique_ptr<report::IReportJob> takeJob(xls::ISpreadsheetEngine& Xls1,
                                            report::IReportPrinter& XlsReport1, const QString& file,
                                            bool blnUsePrinter, const QString& strPrinterName) {
    colFileName sheetNames;
    Xls1.Open(file);
    const qint32 count = Xls1.SheetCount();
    for (qint32 i = 0; i < count; ++i)
        sheetNames.Add(Xls1.SheetName(i), 0, false);
    // The report printer paints the workbook as the engine read it: each file is read once.
    std::shared_ptr<const xls::Workbook> workbook = Xls1.LoadedWorkbook();
    Xls1.Close();

    XlsReport1.setFile(file);
    XlsReport1.setWorkbook(std::move(workbook));
    XlsReport1.StartSheets();
    for (const colFileName::Entry& sheet : sheetNames) {
        XlsReport1.AddSheet(sheet->FileName(), QString());
        XlsReport1.CommitSheet();
    }
    if (blnUsePrinter) {
        qint16 status = 0;
        XlsReport1.SelectPrinter(0, strPrinterName, status);
    }
    return XlsReport1.TakeJob();
}

// One run of the path: workbooks taken in list order on this thread and rendered ahead on the
// pool, each submitted here when its turn comes.
class RenderAhead {
public:
    RenderAhead(xls::ISpreadsheetEngine& Xls1, report::IReportPrinter& XlsReport1,
                const PrintItems& items, bool blnUsePrinter, const QString& strPrinterName,
                PrintProgress& progress, QThreadPool& pool)
        : m_engine(Xls1)
        , m_reportPrinter(XlsReport1)
        , m_items(items)
        , m_usePrinter(blnUsePrinter)
        , m_printer(strPrinterName)
        , m_progress(progress)
        , m_pool(pool)
        , m_ahead(static_cast<size_t>(std::max(1, pool.maxThreadCount())))
        , m_next(items.begin()) {}

    PathResult run() {
        const qsizetype total = tickedCount(m_items);
        PathResult result;
        for (takeAhead(); !m_taken.empty() || m_taking; takeAhead()) {
            if (m_progress.abortRequested()) {
                result.outcome = PathResult::Outcome::Aborted;
                return result;
            }
            Pending& turn = *m_taken.front();
            result.step = PathResult::Step::Workbook;
            result.failedFile = turn.file();
            m_progress.handingOver(turn.n(), total, turn.file());
            if (std::optional<QString> cause = turn.submit()) {
                // A render stopped by the request ends the run as the request does.
                if (m_progress.abortRequested()) {
                    result.outcome = PathResult::Outcome::Aborted;
                    return result;
                }
                result.outcome = PathResult::Outcome::Failed;
                result.cause = std::move(*cause);
                m_taken.clear();
                closeEngine();
                return result;
            }
            m_taken.pop_front();
        }
        result.step = PathResult::Step::Ending;
        result.failedFile.clear();
        return result;
    }

private:
    // Takes ticked workbooks in list order until every thread has one. A workbook that cannot
    // be taken ends the taking; its cause waits for its turn, after the ones before it.
    void takeAhead() {
        while (m_taking) {
            m_next = std::find_if(m_next, m_items.end(),
                                  [](const PrintItem& item) { return item.checked; });
            if (m_next == m_items.end()) {
                m_taking = false;
                break;
            }
            if (m_taken.size() == m_ahead || m_progress.abortRequested())
                break;
            auto pending = std::make_unique<Pending>(++m_n, m_next->text);
            try {
                pending->render(
                    takeJob(m_engine, m_reportPrinter, m_next->text, m_usePrinter, m_printer),
                    m_pool, m_progress);
            } catch (const std::exception& error) {
                pending->fail(QString::fromUtf8(error.what()));
                m_taking = false;
            }
            m_taken.push_back(std::move(pending));
            ++m_next;
        }
    }

    // The engine keeps no workbook from a failed run; closing when none is loaded does nothing.
    void closeEngine() {
        try {
            m_engine.Close();
        } catch (const std::exception&) {
        }
    }

    xls::ISpreadsheetEngine& m_engine;
    report::IReportPrinter& m_reportPrinter;
    const PrintItems& m_items;
    bool m_usePrinter;
    QString m_printer;
    PrintProgress& m_progress;
    QThreadPool& m_pool;
    size_t m_ahead;
    // Taken and not yet submitted, in list order: at most one per thread.
    std::deque<std::unique_ptr<Pending>> m_taken;
    PrintItems::const_iterator m_next;
    qsizetype m_n = 0;
    bool m_taking = true;
};

} // namespace

PathResult PrintWithReport(xls::ISpreadsheetEngine& Xls1, report::IReportPrinter& XlsReport1,
                           const PrintItems& items, bool blnUsePrinter,
                           const QString& strPrinterName, PrintProgress& progress,
                           QThreadPool& pool) {
    const platform::HeapRetention retention;
    return RenderAhead(Xls1, XlsReport1, items, blnUsePrinter, strPrinterName, progress, pool)
        .run();
}

} // namespace print
