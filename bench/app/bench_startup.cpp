// Times start-up: from starting the process to the main window's first expose, with an empty
// list. Each run is a fresh process (this program, started with --child), so loading, Qt's
// start-up and the window's construction all count.
//
// usage: bench_startup [runs]   (default 15)

#include "app/PrintSystem.h"
#include "app/SystemServices.h"
#include "app/basMain.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

qint64 nowMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// Prints the time of the main window's first expose and ends the process.
class ExposeWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched->isWindowType() && !m_seen) {
            m_seen = true;
            std::printf("%lld\n", static_cast<long long>(nowMicroseconds()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }

private:
    bool m_seen = false;
};

int runChild(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ExposeWatch watch;
    application.installEventFilter(&watch);
    const char* noArguments[] = {"tessaly"};
    SystemServices system(1, noArguments, QString::fromLocal8Bit(argv[2]));
    PrintSystem printing;
    if (!basMain::Main(system.services(), printing.services()))
        return 1;
    const int status = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);

    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    QTemporaryDir lockDir;
    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        const qint64 started = nowMicroseconds();
        child.start(QString::fromLocal8Bit(argv[0]),
                    {QStringLiteral("--child"), lockDir.filePath(QStringLiteral("bench.lock"))});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "start-up run %d failed\n", run);
            return 1;
        }
        const qint64 exposed = child.readAllStandardOutput().trimmed().toLongLong();
        milliseconds.push_back(static_cast<double>(exposed - started) / 1000.0);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("start-up to first shown main window: median %.1f ms, min %.1f ms, max %.1f ms "
                "over %d runs\n",
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back(),
                runs);
    return 0;
}
