#pragma once

// Stand-ins for what the print command drives, for tests only. Every call on the application
// server and on the two report controls goes into one log, in the order made; a call can be
// made to fail, and a hook can hold the printing thread at a call.

#include "FakeMousePointer.h"

#include "office/AutomationError.h"
#include "print/PrintServices.h"
#include "report/ReportError.h"
#include "xls/ReadError.h"

#include <QMap>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <mutex>

// The log of calls, written by the printing thread and read by the test once the run is over.
struct CallLog {
    QStringList calls;
    // A call whose text is listed here raises its layer's error instead.
    QStringList failing;
    // Called with each call's text before it is made, on the thread that makes it.
    std::function<void(const QString&)> hook;

    // Records call; true when it is to fail.
    bool record(const QString& call) {
        if (hook)
            hook(call);
        const std::scoped_lock lock(m_mutex);
        calls.append(call);
        return failing.contains(call);
    }
    QStringList taken() {
        const std::scoped_lock lock(m_mutex);
        return calls;
    }

private:
    std::mutex m_mutex;
};

struct FakeWorkbook : office::IWorkbook {
    explicit FakeWorkbook(CallLog& log)
        : m_log(log) {}
    void PrintOut(int Copies, bool Collate, std::optional<QString> ActivePrinter) override {
        check(QStringLiteral("PrintOut %1 %2 %3")
                  .arg(Copies)
                  .arg(Collate ? QStringLiteral("true") : QStringLiteral("false"))
                  .arg(ActivePrinter ? QStringLiteral("[") + *ActivePrinter + u']'
                                     : QStringLiteral("-")));
    }
    void Close(bool SaveChanges) override {
        check(SaveChanges ? QStringLiteral("Close true") : QStringLiteral("Close false"));
    }
    void check(const QString& call) {
        if (m_log.record(call))
            throw office::AutomationError(QStringLiteral("refused ") + call);
    }
    CallLog& m_log;
};

struct FakeWorkbooks : office::IWorkbooks {
    explicit FakeWorkbooks(CallLog& log)
        : m_log(log) {}
    std::unique_ptr<office::IWorkbook> Open(const QString& Filename) override {
        if (m_log.record(QStringLiteral("Open ") + Filename))
            throw office::AutomationError(QStringLiteral("cannot open ") + Filename);
        return std::make_unique<FakeWorkbook>(m_log);
    }
    CallLog& m_log;
};

struct FakeApplication : office::IApplication {
    explicit FakeApplication(CallLog& log)
        : m_log(log)
        , m_workbooks(log) {}
    void setVisible(bool Visible) override {
        check(Visible ? QStringLiteral("Visible true") : QStringLiteral("Visible false"));
    }
    office::IWorkbooks& Workbooks() override {
        check(QStringLiteral("Workbooks"));
        return m_workbooks;
    }
    void Quit() override { check(QStringLiteral("Quit")); }
    void setStopRequest(std::stop_token /*stop*/) override {}
    void check(const QString& call) {
        if (m_log.record(call))
            throw office::AutomationError(QStringLiteral("refused ") + call);
    }
    CallLog& m_log;
    FakeWorkbooks m_workbooks;
};

struct FakeAutomation : office::IAutomation {
    CallLog log;
    std::unique_ptr<office::IApplication> createObject(const QString& progId) override {
        if (log.record(QStringLiteral("createObject ") + progId))
            throw office::AutomationError(QStringLiteral("no server"));
        return std::make_unique<FakeApplication>(log);
    }
};

// The engine, with the sheet names of each workbook it can open.
struct FakeEngine : xls::ISpreadsheetEngine {
    explicit FakeEngine(CallLog& log)
        : m_log(log) {}
    QMap<QString, QStringList> sheets;
    QString loaded;

    void Open(const QString& strFileName) override {
        if (m_log.record(QStringLiteral("Xls1.Open ") + strFileName) ||
            !sheets.contains(strFileName))
            throw xls::ReadError(xls::ReadError::Kind::FileNotFound,
                                 QStringLiteral("cannot read ") + strFileName);
        loaded = strFileName;
    }
    qint32 SheetCount() const override {
        m_log.record(QStringLiteral("Xls1.SheetCount"));
        return static_cast<qint32>(sheets.value(loaded).size());
    }
    QString SheetName(qint32 lngIndex) const override {
        if (m_log.record(QStringLiteral("Xls1.SheetName %1").arg(lngIndex)))
            throw xls::ReadError(xls::ReadError::Kind::NoSuchSheet, QStringLiteral("no sheet"));
        return sheets.value(loaded).value(lngIndex);
    }
    std::shared_ptr<const xls::Workbook> LoadedWorkbook() const override { return {}; }
    void Close() override {
        m_log.record(QStringLiteral("Xls1.Close"));
        loaded.clear();
    }
    CallLog& m_log;
};

struct FakeReportPrinter : report::IReportPrinter {
    explicit FakeReportPrinter(CallLog& log)
        : m_log(log) {}
    void setFile(const QString& strFileName) override {
        check(QStringLiteral("XlsReport1.File ") + strFileName);
    }
    void setWorkbook(std::shared_ptr<const xls::Workbook> /*workbook*/) override {}
    void StartSheets() override { check(QStringLiteral("XlsReport1.StartSheets")); }
    void AddSheet(const QString& strSheetName, const QString& strRange) override {
        check(QStringLiteral("XlsReport1.AddSheet [%1] [%2]").arg(strSheetName, strRange));
    }
    void CommitSheet() override { check(QStringLiteral("XlsReport1.CommitSheet")); }
    void SelectPrinter(qint32 lngKind, const QString& strPrinterName, qint16& intStatus) override {
        check(QStringLiteral("XlsReport1.SelectPrinter %1 [%2]").arg(lngKind).arg(strPrinterName));
        intStatus = 0;
    }
    void Print() override { check(QStringLiteral("XlsReport1.Print")); }
    std::unique_ptr<report::IReportJob> TakeJob() override;
    void check(const QString& call) {
        if (m_log.record(call))
            throw report::ReportError(QStringLiteral("refused ") + call);
    }
    CallLog& m_log;
};

// Logs its steps into its printer's log; Render on the thread that renders it.
struct FakeReportJob : report::IReportJob {
    explicit FakeReportJob(FakeReportPrinter& printer)
        : m_printer(printer) {}
    void Render(const report::RenderControl& /*control*/) override {
        m_printer.check(QStringLiteral("XlsReport1.Render"));
    }
    void Submit() override { m_printer.check(QStringLiteral("XlsReport1.Submit")); }
    FakeReportPrinter& m_printer;
};

inline std::unique_ptr<report::IReportJob> FakeReportPrinter::TakeJob() {
    check(QStringLiteral("XlsReport1.TakeJob"));
    return std::make_unique<FakeReportJob>(*this);
}

struct FakePrinterDirectory : office::IPrinterDirectory {
    QStringList names;
    std::optional<QString> defaultName;
    bool hasPrinter(const QString& name) const override { return names.contains(name); }
    std::optional<QString> defaultPrinter() const override { return defaultName; }
    QStringList printerNames() const override { return names; }
};

// The print services, each faked; the engine and the report printer log into the automation's
// log, so that the order across them is kept.
struct FakePrintServices {
    FakeAutomation automation;
    FakeEngine engine{automation.log};
    FakeReportPrinter reportPrinter{automation.log};
    QThreadPool reportThreads;
    FakePrinterDirectory printers;
    FakeMousePointer pointer;
    PrintServices services{automation, engine, reportPrinter, reportThreads, printers, pointer};

    // One rendering thread: every run logs its calls in one order, on any machine.
    FakePrintServices() { reportThreads.setMaxThreadCount(1); }
    CallLog& log() { return automation.log; }
};
