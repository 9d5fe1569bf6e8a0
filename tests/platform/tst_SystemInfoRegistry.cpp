#include "platform/SystemInfoRegistry.h"

#include "fakes/TempTree.h"

#include <QTest>

namespace {

void makeExecutable(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
}

const QByteArray kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

} // namespace

class tst_SystemInfoRegistry : public QObject {
    Q_OBJECT
private slots:
    void init() { m_savedPath = qgetenv("PATH"); }
    void cleanup() { qputenv("PATH", m_savedPath); }

    void answersTheFirstToolOnPath() {
        TempTree tree;
        makeExecutable(tree.path("a/kinfocenter"));
        makeExecutable(tree.path("b/gnome-system-monitor"));
        makeExecutable(tree.path("b/kinfocenter"));
        qputenv("PATH", QFile::encodeName(tree.path("a")) + ':' + QFile::encodeName(tree.path("b")));

        platform::SystemInfoRegistry registry;
        platform::IRegistry::Key key = 0;
        QCOMPARE(registry.RegOpenKeyEx(platform::IRegistry::HKEY_LOCAL_MACHINE,
                                       "software\\microsoft\\shared tools\\msinfo", 0,
                                       platform::IRegistry::KEY_READ, key),
                 platform::IRegistry::ERROR_SUCCESS);
        char buffer[1024];
        quint32 size = sizeof buffer;
        quint32 type = 0;
        QCOMPARE(registry.RegQueryValueEx(key, "PATH", type, buffer, size),
                 platform::IRegistry::ERROR_SUCCESS);
        QCOMPARE(type, platform::IRegistry::REG_SZ);
        const QByteArray expected = QFile::encodeName(tree.path("a/kinfocenter"));
        QCOMPARE(size, static_cast<quint32>(expected.size() + 1));
        QCOMPARE(QByteArray(buffer), expected);

        quint32 small = 4;
        QCOMPARE(registry.RegQueryValueEx(key, "PATH", type, buffer, small),
                 platform::IRegistry::ERROR_MORE_DATA);
        QCOMPARE(small, size);
        QCOMPARE(registry.RegCloseKey(key), platform::IRegistry::ERROR_SUCCESS);
        QCOMPARE(registry.RegCloseKey(key), platform::IRegistry::ERROR_INVALID_HANDLE);
    }

    void noToolMeansNoValue() {
        TempTree tree;
        qputenv("PATH", QFile::encodeName(tree.path()));
        platform::SystemInfoRegistry registry;
        platform::IRegistry::Key key = 0;
        QCOMPARE(registry.RegOpenKeyEx(platform::IRegistry::HKEY_LOCAL_MACHINE, kKey, 0,
                                       platform::IRegistry::KEY_READ, key),
                 platform::IRegistry::ERROR_SUCCESS);
        char buffer[64];
        quint32 size = sizeof buffer;
        quint32 type = 0;
        QCOMPARE(registry.RegQueryValueEx(key, "PATH", type, buffer, size),
                 platform::IRegistry::ERROR_FILE_NOT_FOUND);
        QCOMPARE(registry.RegQueryValueEx(key, "OTHER", type, buffer, size),
                 platform::IRegistry::ERROR_FILE_NOT_FOUND);
        registry.RegCloseKey(key);
    }

    void everythingElseIsMissingOrReadOnly() {
        platform::SystemInfoRegistry registry;
        platform::IRegistry::Key key = 0;
        QCOMPARE(registry.RegOpenKeyEx(platform::IRegistry::HKEY_LOCAL_MACHINE,
                                       "SOFTWARE\\Microsoft\\Shared Tools Location", 0,
                                       platform::IRegistry::KEY_READ, key),
                 platform::IRegistry::ERROR_FILE_NOT_FOUND);
        QCOMPARE(registry.RegOpenKeyEx(0x80000001, kKey, 0, platform::IRegistry::KEY_READ, key),
                 platform::IRegistry::ERROR_FILE_NOT_FOUND);
        QCOMPARE(registry.RegOpenKeyEx(platform::IRegistry::HKEY_LOCAL_MACHINE, kKey, 0, 0x2003F,
                                       key),
                 platform::IRegistry::ERROR_ACCESS_DENIED);
    }

private:
    QByteArray m_savedPath;
};

QTEST_APPLESS_MAIN(tst_SystemInfoRegistry)
#include "tst_SystemInfoRegistry.moc"
