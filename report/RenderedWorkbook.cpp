#include "RenderedWorkbook.h"

#include "ReportError.h"
#include "WorkbookPdf.h"

#include "platform/IPrintSpooler.h"
#include "platform/PrintSpoolError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace report {

namespace {

const QString kDocumentName = QStringLiteral("document.pdf");

} // namespace

RenderedWorkbook::RenderedWorkbook(const xls::ICodePages& codePages, const WorkbookSource& source,
                                   const QStringList& sheetNames, const RenderControl& control,
                                   const TextShaper* shaper)
    : m_folder(QDir::tempPath() + QStringLiteral("/tessaly-print-XXXXXX"))
    , m_title(QFileInfo(source.file).fileName()) {
    if (!m_folder.isValid())
        throw ReportError(
            QStringLiteral("No temporary folder for printing: %1").arg(m_folder.errorString()));
    m_pageCount = writeWorkbookPdf(codePages, source, sheetNames, m_folder.filePath(kDocumentName),
                                   control, shaper);
}

void RenderedWorkbook::submit(platform::IPrintSpooler& spooler, const QString& queue) const {
    if (m_pageCount == 0)
        return;
    try {
        spooler.submitPdf(queue, m_title, m_folder.filePath(kDocumentName));
    } catch (const platform::PrintSpoolError& error) {
        throw ReportError(error.message());
    }
}

void RenderedWorkbook::saveAs(const QString& path) const {
    if (m_pageCount == 0)
        return;
    // Copied rather than moved: the new file gets the permissions new files get, not the
    // private folder's. In pieces, since a long sheet's document can be large.
    constexpr qint64 kPiece = 1 << 20;
    QFile document(m_folder.filePath(kDocumentName));
    QFile out(path);
    bool written =
        document.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    while (written && !document.atEnd()) {
        const QByteArray piece = document.read(kPiece);
        written = !piece.isEmpty() && out.write(piece) == piece.size();
    }
    if (!written || !out.flush())
        throw ReportError(QStringLiteral("Cannot write \"%1\".").arg(path));
}

} // namespace report
