#include "XlsReport.h"

#include "ReportError.h"
#include "ReportJob.h"

#include "platform/IPrintSpooler.h"

#include <QDir>
#include <QFileInfo>

namespace report {

XlsReport::XlsReport(const xls::ICodePages& codePages, platform::IPrintSpooler& spooler)
    : m_codePages(codePages)
    , m_spooler(spooler) {}

void XlsReport::setFile(const QString& strFileName) {
    m_file = strFileName;
    m_workbook.reset();
    // A new workbook is a new job: it prints on the default printer unless one is chosen for it.
    m_printer.clear();
}

void XlsReport::setWorkbook(std::shared_ptr<const xls::Workbook> workbook) {
    m_workbook = std::move(workbook);
}

void XlsReport::StartSheets() {
    m_sheets.clear();
    m_hasPendingSheet = false;
}

void XlsReport::AddSheet(const QString& strSheetName, const QString& strRange) {
    if (!strRange.isEmpty())
        throw ReportError(
            QStringLiteral("Only whole sheets print; the range \"%1\" is not supported.")
                .arg(strRange));
    m_pendingSheet = strSheetName;
    m_hasPendingSheet = true;
}

void XlsReport::CommitSheet() {
    if (!m_hasPendingSheet)
        throw ReportError(QStringLiteral("No sheet was named before it was committed."));
    m_sheets.append(m_pendingSheet);
    m_hasPendingSheet = false;
}

void XlsReport::SelectPrinter(qint32 lngKind, const QString& strPrinterName, qint16& intStatus) {
    if (lngKind != 0)
        throw ReportError(QStringLiteral("Printers are chosen by name only."));
    // The spooler resolves the empty name to the default destination: not a choice.
    if (strPrinterName.isEmpty() || !m_spooler.destination(strPrinterName))
        throw ReportError(QStringLiteral("There is no printer named \"%1\".").arg(strPrinterName));
    m_printer = strPrinterName;
    intStatus = 0;
}

QString XlsReport::jobQueue() const {
    // Asked now, as the spooler will ask: the printer may have gone since it was chosen.
    std::optional<QString> name = m_spooler.destination(m_printer);
    if (name)
        return *name;
    if (m_printer.isEmpty())
        throw ReportError(QStringLiteral("No printer was chosen and there is no default printer."));
    throw ReportError(QStringLiteral("There is no printer named \"%1\".").arg(m_printer));
}

QString XlsReport::pdfPath() const {
    if (!m_outputFile.isEmpty() || m_outputFolder.isEmpty())
        return m_outputFile;
    QString name = QFileInfo(m_file).fileName();
    if (name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        name.chop(4);
    return QDir(m_outputFolder).filePath(name + QLatin1String(".pdf"));
}

std::unique_ptr<ReportJob> XlsReport::newJob() const {
    // No sheet prints nothing and needs neither a workbook nor a printer.
    if (m_sheets.isEmpty())
        return std::make_unique<ReportJob>(m_codePages, m_spooler, source(), m_sheets, QString(),
                                           QString(), m_shapers);
    if (m_file.isEmpty())
        throw ReportError(QStringLiteral("No workbook was given."));
    const QString pdf = pdfPath();
    return std::make_unique<ReportJob>(m_codePages, m_spooler, source(), m_sheets,
                                       pdf.isEmpty() ? jobQueue() : QString(), pdf, m_shapers);
}

std::unique_ptr<IReportJob> XlsReport::TakeJob() {
    return newJob();
}

void XlsReport::Print() {
    m_printedPages = 0;
    const std::unique_ptr<ReportJob> job = newJob();
    job->Render({});
    job->Submit();
    m_printedPages = job->pageCount();
}

} // namespace report
