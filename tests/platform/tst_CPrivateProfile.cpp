#include "platform/CPrivateProfile.h"
#include "platform/IniProfileFile.h"

#include "fakes/TempTree.h"

#include <QTest>

#include <stdexcept>

namespace {

void writeAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

// A profile file whose every call fails on the way.
struct BrokenProfileFile : platform::IProfileFile {
    qint32 GetPrivateProfileInt(const QByteArray&, const QByteArray&, qint32,
                                const QByteArray&) override {
        throw std::runtime_error("broken");
    }
    quint32 GetPrivateProfileString(const QByteArray&, const QByteArray&, const QByteArray&, char*,
                                    quint32, const QByteArray&) override {
        throw std::runtime_error("broken");
    }
    int WritePrivateProfileString(const QByteArray&, const QByteArray&, const QByteArray&,
                                  const QByteArray&) override {
        throw std::runtime_error("broken");
    }
};

} // namespace

class tst_CPrivateProfile : public QObject {
    Q_OBJECT
private slots:
    void readsValues() {
        TempTree tree;
        const QString file = tree.path("帳票 tessaly.INI");
        writeAll(file, "[Registry]\r\nCOMPANY=有限会社Halvorn\r\nNAME=\r\nCOUNT=12x\r\n"
                       "WORD=twelve\r\n");
        platform::IniProfileFile ini;
        CPrivateProfile profile(ini);
        QCOMPARE(profile.GetValueString(file, "Registry", "COMPANY"),
                 QStringLiteral("有限会社Halvorn"));
        QCOMPARE(profile.GetValueString(file, "Registry", "NAME"), QString());
        QCOMPARE(profile.GetValueString(file, "Registry", "MISSING"), QString());
        QCOMPARE(profile.GetValueLong(file, "Registry", "COUNT"), 12);
        QCOMPARE(profile.GetValueLong(file, "Registry", "WORD"), 0);
        QCOMPARE(profile.GetValueLong(file, "Registry", "MISSING"), 0);
    }

    void missingFile() {
        TempTree tree;
        platform::IniProfileFile ini;
        CPrivateProfile profile(ini);
        QCOMPARE(profile.GetValueString(tree.path("none.INI"), "Registry", "COMPANY"), QString());
        QCOMPARE(profile.GetValueLong(tree.path("none.INI"), "Registry", "COMPANY"), 0);
    }

    // At most 127 bytes arrive, cut before a character that would not fit whole.
    void longValues() {
        TempTree tree;
        const QString file = tree.path("a.INI");
        const QString japanese(60, QChar(0x5E33)); // 180 bytes
        writeAll(file,
                 "[S]\nascii=" + QByteArray(300, 'z') + "\njapanese=" + japanese.toUtf8() + "\n");
        platform::IniProfileFile ini;
        CPrivateProfile profile(ini);
        QCOMPARE(profile.GetValueString(file, "S", "ascii"), QString(127, u'z'));
        QCOMPARE(profile.GetValueString(file, "S", "japanese"), japanese.left(42));
    }

    void writes() {
        TempTree tree;
        const QString file = tree.path("new.INI");
        platform::IniProfileFile ini;
        CPrivateProfile profile(ini);
        QVERIFY(profile.SetValueString(file, "Registry", "NAME", QStringLiteral("山田 太郎")));
        QCOMPARE(profile.GetValueString(file, "registry", "name"), QStringLiteral("山田 太郎"));
        QVERIFY(!profile.SetValueString(tree.path("missing/x.INI"), "S", "K", "V"));
    }

    void failuresNeverReachTheCaller() {
        BrokenProfileFile broken;
        CPrivateProfile profile(broken);
        QCOMPARE(profile.GetValueLong("x", "S", "K"), 0);
        QCOMPARE(profile.GetValueString("x", "S", "K"), QString());
        QVERIFY(!profile.SetValueString("x", "S", "K", "V"));
    }
};

QTEST_APPLESS_MAIN(tst_CPrivateProfile)
#include "tst_CPrivateProfile.moc"
