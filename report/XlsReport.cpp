#include "XlsReport.h"

#include "FontMapper.h"
#include "ReportError.h"
#include "ReportRenderer.h"

#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace report {

XlsReport::XlsReport(const xls::ICodePages& codePages)
    : m_codePages(codePages) {}

void XlsReport::setFile(const QString& strFileName) {
    m_file = strFileName;
    // A new workbook is a new job: it prints on the default printer unless one is chosen for it.
    m_printer.clear();
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
    // Qt would print on the default printer when the name is not known.
    if (!QPrinterInfo::availablePrinterNames().contains(strPrinterName))
        throw ReportError(QStringLiteral("There is no printer named \"%1\".").arg(strPrinterName));
    m_printer = strPrinterName;
    intStatus = 0;
}

void XlsReport::Print() {
    m_printedPages = 0;
    if (m_sheets.isEmpty())
        return;
    if (m_file.isEmpty())
        throw ReportError(QStringLiteral("No workbook was given."));
    xls::Workbook workbook;
    try {
        workbook = xls::WorkbookReader(m_codePages).readFile(m_file);
    } catch (const xls::ReadError& error) {
        throw ReportError(error.message());
    }

    QList<const xls::Sheet*> sheets;
    for (const QString& name : std::as_const(m_sheets)) {
        const xls::Sheet* found = nullptr;
        for (const xls::Sheet& sheet : workbook.sheets()) {
            if (sheet.name() == name) {
                found = &sheet;
                break;
            }
        }
        if (found == nullptr)
            throw ReportError(QStringLiteral("The workbook has no sheet named \"%1\".").arg(name));
        sheets.append(found);
    }

    const FontMapper fonts;
    const ReportRenderer renderer(workbook, QFileInfo(m_file).absoluteFilePath(), fonts);
    const QString title = QFileInfo(m_file).fileName();
    const QDateTime now = QDateTime::currentDateTime();
    if (!m_outputFile.isEmpty()) {
        // A PDF writer, not a PDF printer: it leaves the print system alone.
        QPdfWriter writer(m_outputFile);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tessaly"));
        try {
            m_printedPages = renderer.render(writer, sheets, now);
        } catch (const ReportError&) {
            throw ReportError(QStringLiteral("Cannot write \"%1\".").arg(m_outputFile));
        }
        return;
    }
    const QString name = m_printer.isEmpty() ? QPrinterInfo::defaultPrinterName() : m_printer;
    if (name.isEmpty())
        throw ReportError(QStringLiteral("No printer was chosen and there is no default printer."));
    // The printer may have gone since it was chosen.
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        throw ReportError(QStringLiteral("There is no printer named \"%1\".").arg(name));
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("Tessaly"));
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
    m_printedPages = renderer.render(printer, sheets, now);
}

} // namespace report
