#include "PrintRun.h"

namespace print {

PrintRun::PrintRun(Call call, QObject* parent)
    : QObject(parent) {
    m_thread.reset(
        QThread::create([this, call = std::move(call)] { m_result = call(m_progress); }));
    // finished is emitted on the ending thread; the receiver's thread gets it queued, after the
    // result has been written.
    connect(m_thread.get(), &QThread::finished, this, &PrintRun::ended);
}

void PrintRun::start() {
    m_thread->start();
}

PrintRun::~PrintRun() {
    m_progress.requestAbort();
    m_thread->wait();
}

} // namespace print
