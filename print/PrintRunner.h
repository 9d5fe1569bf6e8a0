#pragma once

#include <QEventLoop>
#include <QMetaObject>

#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace print {

// Runs the calls of a print run on a thread of their own while the user-interface thread goes
// on serving its events, so that the windows repaint throughout. A new thread for every call:
// the application server that the work creates, uses and quits lives and ends on it (the
// server is told to end when the thread that started it ends).
class PrintRunner {
public:
    // Runs work on a new thread and returns its result once it has ended, serving the calling
    // thread's events meanwhile. An exception raised by work is raised again here.
    template <typename Work> static auto run(Work work) -> decltype(work()) {
        using Result = decltype(work());
        std::optional<Result> result;
        std::exception_ptr failure;
        QEventLoop loop;
        std::thread worker([&] {
            try {
                result.emplace(work());
            } catch (...) {
                failure = std::current_exception();
            }
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        worker.join();
        if (failure)
            std::rethrow_exception(failure);
        return std::move(*result);
    }
};

} // namespace print
