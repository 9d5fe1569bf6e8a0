#pragma once

#include "PathResult.h"
#include "PrintProgress.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

namespace print {

// One call of the print command (the presence test or a print path) on a thread of its own,
// while the user-interface thread goes on serving its events. A new thread for every call:
// the application server that the call creates, uses and quits lives and ends on it (the
// server is told to end when the thread that started it ends). The call reaches the
// user-interface thread only through progress(): its signals, and the request to stop that
// the call honours between two workbooks. What the call does inside, on how many threads, is
// its own affair.
class PrintRun : public QObject {
    Q_OBJECT
public:
    using Call = std::function<PathResult(PrintProgress&)>;

    explicit PrintRun(Call call, QObject* parent = nullptr);
    // Runs the call on a new thread; connect to ended() first. Whatever the call uses is
    // handed over to that thread until ended().
    void start();
    // Asks the call to stop and waits until its thread has ended: at once after ended(), else
    // once the current workbook is finished, never the rest of the list. Before ended() only for
    // when events can no longer be served.
    ~PrintRun() override;
    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;

    PrintProgress& progress() { return m_progress; }
    // How the call ended; read only after ended().
    const PathResult& result() const { return m_result; }

signals:
    // The call has returned and its thread has ended; emitted on this object's thread.
    void ended();

private:
    PrintProgress m_progress;
    // Written by the call's thread, read here only once that thread has finished.
    PathResult m_result;
    std::unique_ptr<QThread> m_thread;
};

} // namespace print
