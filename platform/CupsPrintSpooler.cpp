#include "CupsPrintSpooler.h"

#include "PrintSpoolError.h"

#include <QFile>

#include <cups/cups.h>

namespace platform {

namespace {

constexpr qint64 kChunkBytes = qint64{64} * 1024;

// Why the last call of libcups on this thread failed, as the print system put it.
PrintSpoolError refusal(const QString& what, const QString& queue) {
    return PrintSpoolError(QStringLiteral("%1 on \"%2\": %3")
                               .arg(what, queue, QString::fromUtf8(cupsLastErrorString())));
}

// Sends the document of a created job, as its only and last document.
void sendDocument(const QByteArray& destination, int job, const QByteArray& title, QFile& document,
                  const QString& queue) {
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, destination.constData(), job, title.constData(),
                          CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        throw refusal(QStringLiteral("The print system did not take the document"), queue);
    while (!document.atEnd()) {
        const QByteArray chunk = document.read(kChunkBytes);
        if (chunk.isEmpty())
            throw PrintSpoolError(QStringLiteral("Cannot read \"%1\": %2")
                                      .arg(document.fileName(), document.errorString()));
        if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(),
                                 static_cast<size_t>(chunk.size())) != HTTP_STATUS_CONTINUE)
            throw refusal(QStringLiteral("The document could not be sent"), queue);
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, destination.constData()) > IPP_STATUS_OK_CONFLICTING)
        throw refusal(QStringLiteral("The print system did not accept the document"), queue);
}

} // namespace

int CupsPrintSpooler::submitPdf(const QString& queue, const QString& title,
                                const QString& pdfPath) {
    QFile document(pdfPath);
    if (!document.open(QIODevice::ReadOnly))
        throw PrintSpoolError(
            QStringLiteral("Cannot read \"%1\": %2").arg(pdfPath, document.errorString()));
    // An instance shares its queue with the printer it belongs to.
    const QByteArray destination = queue.section(QLatin1Char('/'), 0, 0).toUtf8();
    const QByteArray jobTitle = title.toUtf8();
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, destination.constData(), jobTitle.constData(), 0, nullptr);
    if (job <= 0)
        throw refusal(QStringLiteral("The print system refused the job"), queue);
    try {
        sendDocument(destination, job, jobTitle, document, queue);
    } catch (const PrintSpoolError&) {
        // A job left open would print nothing or something partial; the error is what counts.
        cupsCancelJob2(CUPS_HTTP_DEFAULT, destination.constData(), job, 0);
        throw;
    }
    return job;
}

} // namespace platform
