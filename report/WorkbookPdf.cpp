#include "WorkbookPdf.h"

#include "FontMapper.h"
#include "ReportError.h"
#include "ReportRenderer.h"
#include "TextShaper.h"

#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include "PageSink.h"
#include "PdfPages.h"

#include <QFileInfo>
#include <QPageLayout>

#include <optional>

namespace report {

namespace {

std::shared_ptr<const xls::Workbook> readWorkbook(const xls::ICodePages& codePages,
                                                  const WorkbookSource& source) {
    if (source.read)
        return source.read;
    try {
        return std::make_shared<const xls::Workbook>(
            xls::WorkbookReader(codePages).readFile(source.file));
    } catch (const xls::ReadError& error) {
        throw ReportError(error.message());
    }
}

// The visible ones of the named sheets, in the order named; a name the workbook does not
// have is an error, hidden or not.
QList<const xls::Sheet*> visibleSheets(const xls::Workbook& workbook, const QStringList& names) {
    QList<const xls::Sheet*> sheets;
    for (const QString& name : names) {
        const xls::Sheet* found = nullptr;
        for (const xls::Sheet& sheet : workbook.sheets()) {
            if (sheet.name() == name) {
                found = &sheet;
                break;
            }
        }
        if (found == nullptr)
            throw ReportError(QStringLiteral("The workbook has no sheet named \"%1\".").arg(name));
        if (found->visibility() == xls::SheetVisibility::Visible)
            sheets.append(found);
    }
    return sheets;
}

// Pages in our own PDF file, each on its paper's whole size.
class PdfSink : public PageSink {
public:
    explicit PdfSink(PdfPages& pages)
        : m_pages(pages) {}
    QPaintDevice& device() override { return m_pages; }
    bool startPage(const QPageLayout& paper, bool first) override {
        m_pages.setPageSize(paper.fullRect(QPageLayout::Point).size());
        return first || m_pages.newPage();
    }

private:
    PdfPages& m_pages;
};

} // namespace

int writeWorkbookPdf(const xls::ICodePages& codePages, const WorkbookSource& source,
                     const QStringList& sheetNames, const QString& pdfPath,
                     const RenderControl& control, const TextShaper* shaper) {
    const std::shared_ptr<const xls::Workbook> read = readWorkbook(codePages, source);
    const xls::Workbook& workbook = *read;
    const QList<const xls::Sheet*> sheets = visibleSheets(workbook, sheetNames);
    const QFileInfo file(source.file);
    const FontMapper fonts;
    std::optional<TextShaper> own;
    const TextShaper& shaping = shaper != nullptr ? *shaper : own.emplace();
    const ReportRenderer renderer(workbook, file.absoluteFilePath(), fonts, shaping);
    // A PDF writer, not a PDF printer: it leaves the print system alone.
    PdfPages pages(pdfPath, file.fileName(), shaping);
    PdfSink sink(pages);
    try {
        return renderer.render(sink, sheets, QDateTime::currentDateTime(), control);
    } catch (const RenderStopped&) {
        throw;
    } catch (const ReportError&) {
        throw ReportError(QStringLiteral("Cannot write \"%1\".").arg(pdfPath));
    }
}

} // namespace report
