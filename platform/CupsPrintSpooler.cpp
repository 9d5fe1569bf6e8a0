#include "CupsPrintSpooler.h"

#include "CupsPasswordRefusal.h"
#include "PrintSpoolError.h"

#include <QFile>

#include <cups/cups.h>

namespace platform {

namespace {

constexpr qint64 kChunkBytes = qint64{64} * 1024;

// The destinations libcups lists, lpoptions applied, as long as this object lives.
class Destinations {
public:
    Destinations()
        : m_count(list(&m_dests))
        // No destination at all is an answer too; anything else is a failure to ask.
        , m_asked(m_count > 0 || cupsLastError() <= IPP_STATUS_OK_CONFLICTING ||
                  cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {}
    ~Destinations() { cupsFreeDests(m_count, m_dests); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    // The destination named "queue" or "queue/instance", or the default one for the empty
    // name; null when there is none.
    const cups_dest_t* find(const QString& name) const {
        if (name.isEmpty())
            return cupsGetDest(nullptr, nullptr, m_count, m_dests);
        const QByteArray queue = name.section(QLatin1Char('/'), 0, 0).toUtf8();
        const QByteArray instance = name.section(QLatin1Char('/'), 1).toUtf8();
        const cups_dest_t* dest =
            cupsGetDest(queue.constData(), instance.isEmpty() ? nullptr : instance.constData(),
                        m_count, m_dests);
        return dest != nullptr && nameOf(*dest) == name ? dest : nullptr;
    }

    // Whether the print system answered; when not, libcups' last error says why.
    bool asked() const { return m_asked; }

    static QString nameOf(const cups_dest_t& dest) {
        QString name = QString::fromUtf8(dest.name);
        if (dest.instance != nullptr)
            name += QLatin1Char('/') + QString::fromUtf8(dest.instance);
        return name;
    }

private:
    // Every use of libcups here begins with the list, on whatever thread: a password request
    // is refused on it from then on.
    static int list(cups_dest_t** dests) {
        refuseCupsPasswordPrompts();
        return cupsGetDests2(CUPS_HTTP_DEFAULT, dests);
    }

    cups_dest_t* m_dests = nullptr;
    int m_count;
    bool m_asked;
};

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

std::optional<QString> CupsPrintSpooler::destination(const QString& name) const {
    const Destinations destinations;
    const cups_dest_t* dest = destinations.find(name);
    return dest != nullptr ? std::optional(Destinations::nameOf(*dest)) : std::nullopt;
}

int CupsPrintSpooler::submitPdf(const QString& queue, const QString& title,
                                const QString& pdfPath) {
    QFile document(pdfPath);
    if (!document.open(QIODevice::ReadOnly))
        throw PrintSpoolError(
            QStringLiteral("Cannot read \"%1\": %2").arg(pdfPath, document.errorString()));
    const Destinations destinations;
    if (!destinations.asked())
        throw refusal(QStringLiteral("The print system could not be asked for the printer"), queue);
    const cups_dest_t* dest = destinations.find(queue);
    if (dest == nullptr)
        throw PrintSpoolError(QStringLiteral("There is no printer named \"%1\".").arg(queue));
    // An instance shares its queue with the printer it belongs to; its options, and the
    // queue's own lpoptions defaults, travel with the job as lp sends them.
    const QByteArray destination(dest->name);
    const QByteArray jobTitle = title.toUtf8();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, destination.constData(), jobTitle.constData(),
                                  dest->num_options, dest->options);
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
