// Termination signals, sent from any thread, reach the handler on the user-interface thread, and
// the earlier handling of each signal comes back when the object goes.

#include "platform/SignalEndRequests.h"

#include <QTest>
#include <QThread>

#include <csignal>
#include <thread>
#include <unistd.h>

class tst_SignalEndRequests : public QObject {
    Q_OBJECT
private slots:
    void signalsBecomeRequests_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalsBecomeRequests() {
        QFETCH(int, signal);
        struct sigaction before {};
        ::sigaction(signal, nullptr, &before);
        {
            platform::SignalEndRequests requests;
            int count = 0;
            QThread* servedOn = nullptr;
            requests.setHandler([&] {
                ++count;
                servedOn = QThread::currentThread();
            });
            std::thread([signal] { ::kill(::getpid(), signal); }).join();
            QTRY_COMPARE_WITH_TIMEOUT(count, 1, 30000);
            QCOMPARE(servedOn, QThread::currentThread());
        }
        struct sigaction after {};
        ::sigaction(signal, nullptr, &after);
        QVERIFY(after.sa_handler == before.sa_handler);
    }
};

QTEST_MAIN(tst_SignalEndRequests)
#include "tst_SignalEndRequests.moc"
