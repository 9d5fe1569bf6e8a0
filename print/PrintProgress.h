#pragma once

#include <QObject>
#include <QString>

#include <stop_token>

namespace print {

// Where a print run is, told by the thread that prints to the user-interface thread, and the
// user's request to stop, told the other way. The object lives on the user-interface thread;
// handingOver(), paintingPage(), abortRequested() and stopToken() may be called from any
// thread.
class PrintProgress : public QObject {
    Q_OBJECT
public:
    explicit PrintProgress(QObject* parent = nullptr);

    // The ticked workbook n of total, with the full path file, is being handed over.
    void handingOver(qsizetype n, qsizetype total, const QString& file);

    // Page page of ticked workbook n is being painted.
    void paintingPage(qsizetype n, int page);

    // Asks the run to stop: before the next workbook, and before the next page of a workbook
    // being painted.
    void requestAbort() { m_abort.request_stop(); }
    bool abortRequested() const { return m_abort.stop_requested(); }
    // The same request, for work that looks at it on threads of its own.
    std::stop_token stopToken() const { return m_abort.get_token(); }

signals:
    // Emitted on the printing thread: receivers on the user-interface thread get it queued.
    void workbookStarted(qsizetype n, qsizetype total, const QString& file);
    // Emitted on a painting thread, as pages of a workbook are begun.
    void pageStarted(qsizetype n, int page);

private:
    std::stop_source m_abort;
};

} // namespace print
