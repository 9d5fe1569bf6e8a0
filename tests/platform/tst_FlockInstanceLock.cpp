#include "platform/FlockInstanceLock.h"

#include "fakes/LockHolder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class tst_FlockInstanceLock : public QObject {
    Q_OBJECT
private slots:
    void firstCopyIsAlone() {
        QTemporaryDir dir;
        platform::FlockInstanceLock lock(dir.filePath("tessaly.lock"));
        QVERIFY(!lock.prevInstance());
    }

    void secondCopyInTheSameProcessSeesTheFirst() {
        QTemporaryDir dir;
        platform::FlockInstanceLock first(dir.filePath("tessaly.lock"));
        platform::FlockInstanceLock second(dir.filePath("tessaly.lock"));
        QVERIFY(!first.prevInstance());
        QVERIFY(second.prevInstance());
    }

    void lockHeldByAnotherProcess() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tessaly.lock");
        QProcess holder;
        QVERIFY(holdLockElsewhere(holder, path));
        {
            platform::FlockInstanceLock lock(path);
            QVERIFY(lock.prevInstance());
        }
        // A copy killed outright leaves no lock behind.
        ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(10000));
        platform::FlockInstanceLock after(path);
        QVERIFY(!after.prevInstance());
    }

    void releasedWhenTheObjectEnds() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tessaly.lock");
        { platform::FlockInstanceLock first(path); }
        platform::FlockInstanceLock next(path);
        QVERIFY(!next.prevInstance());
    }

    void unusableLockFileDoesNotBlockTheStart() {
        platform::FlockInstanceLock lock(QStringLiteral("/nonexistent-folder-of-tessaly/x.lock"));
        QVERIFY(!lock.prevInstance());
    }

    void defaultPathIsPerUser() {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", "/run/user/4242");
        QCOMPARE(platform::FlockInstanceLock::defaultLockPath(),
                 QStringLiteral("/run/user/4242/tessaly.lock"));
        qunsetenv("XDG_RUNTIME_DIR");
        QVERIFY(platform::FlockInstanceLock::defaultLockPath().endsWith(
            QStringLiteral("tessaly-%1.lock").arg(::getuid())));
        if (!saved.isEmpty())
            qputenv("XDG_RUNTIME_DIR", saved);
    }
};

QTEST_GUILESS_MAIN(tst_FlockInstanceLock)
#include "tst_FlockInstanceLock.moc"
