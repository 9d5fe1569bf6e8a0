#pragma once

#include <QObject>
#include <QString>

#include <atomic>

namespace print {

// Where a print run is, told by the thread that prints to the user-interface thread, and the
// user's request to stop, told the other way. The object lives on the user-interface thread;
// handingOver() and abortRequested() may be called from any thread.
class PrintProgress : public QObject {
    Q_OBJECT
public:
    explicit PrintProgress(QObject* parent = nullptr);

    // The ticked workbook n of total, with the full path file, is being handed over.
    void handingOver(qsizetype n, qsizetype total, const QString& file);

    // Asks the run to stop once the workbook being printed is done.
    void requestAbort() { m_abort = true; }
    bool abortRequested() const { return m_abort; }

signals:
    // Delivered on the thread the object lives on.
    void workbookStarted(qsizetype n, qsizetype total, const QString& file);

private:
    std::atomic<bool> m_abort{false};
};

} // namespace print
