#include "ui/Placement.h"
#include "ui/frmAbout.h"

#include "fakes/FakeServices.h"
#include "fakes/TempTree.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct AboutFixture : FakeServices {
    TempTree tree;
    AboutFixture() {
        version.folder = tree.path();
        version.baseName = QStringLiteral("tessaly");
    }
    void settings(const QByteArray& text) const {
        QFile file(tree.path("tessaly.INI"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // A box made and loaded as the About button makes it.
    std::unique_ptr<frmAbout> shownBox(const QString& usrCaption = {}) {
        auto box = std::make_unique<frmAbout>(services);
        if (!usrCaption.isEmpty())
            box->setUsrCaption(usrCaption);
        box->show();
        return box;
    }
    template <typename T> static T* child(frmAbout& box, const char* name) {
        return box.findChild<T*>(QLatin1String(name));
    }
    static QString owner(frmAbout& box) {
        return child<QPlainTextEdit>(box, "txtRegistry")->toPlainText();
    }
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT
private slots:
    void layoutAndTexts() {
        AboutFixture f;
        f.version.copyright = QStringLiteral("Copyright (C) 2005 有限会社Halvorn");
        auto box = f.shownBox();
        QCOMPARE(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box->size(), QSize(382, 237));
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!box->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.child<QLabel>(*box, "lblTitle")->text(), QStringLiteral("Tessaly"));
        QVERIFY(f.child<QLabel>(*box, "lblTitle")->font().bold());
        QCOMPARE(f.child<QLabel>(*box, "lblTitle")->font().pointSize(), 9);
        QCOMPARE(f.child<QLabel>(*box, "lblVersion")->text(),
                 QStringLiteral("Version 1.0.000(2005/02/24)"));
        QCOMPARE(f.child<QLabel>(*box, "lblCopyright")->text(), f.version.copyright);
        QCOMPARE(f.child<QLabel>(*box, "lblDisclaimer")->text(), QString());
        QCOMPARE(f.child<QLabel>(*box, "lblDescription")->text(), QString());
        QCOMPARE(f.child<QPushButton>(*box, "cmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(f.child<QPushButton>(*box, "cmdSysInfo")->text(),
                 QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
        QCOMPARE(f.child<QPushButton>(*box, "cmdOK")->geometry(), QRect(283, 175, 92, 23));
        QCOMPARE(f.child<QPushButton>(*box, "cmdSysInfo")->geometry(), QRect(284, 205, 92, 23));
        QCOMPARE(f.child<QPlainTextEdit>(*box, "txtRegistry")->geometry(), QRect(64, 104, 305, 49));
        QCOMPARE(f.child<QLabel>(*box, "picIcon")->geometry(), QRect(16, 16, 36, 36));
        QVERIFY(!f.child<QLabel>(*box, "picIcon")->pixmap().isNull());
        QVERIFY(!box->windowIcon().isNull());
    }

    void owner_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("owner");
        QTest::newRow("both") << QByteArray("[Registry]\nCOMPANY=有限会社Halvorn\nNAME=山田 太郎\n")
                              << QStringLiteral("有限会社Halvorn\n山田 太郎");
        QTest::newRow("company only")
            << QByteArray("[Registry]\nCOMPANY=Example\nNAME=\n") << QStringLiteral("Example");
        QTest::newRow("name only")
            << QByteArray("[registry]\nname=Taro\n") << QStringLiteral("\nTaro");
        QTest::newRow("neither") << QByteArray("[Other]\nCOMPANY=x\n") << QString();
    }
    void owner() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, owner);
        AboutFixture f;
        f.settings(settings);
        auto box = f.shownBox();
        QCOMPARE(AboutFixture::owner(*box), owner);
        QCOMPARE(f.child<QPlainTextEdit>(*box, "txtRegistry")->document()->blockCount(),
                 owner.contains(u'\n') ? 2 : 1);
    }

    void noSettingsFile() {
        AboutFixture f;
        auto box = f.shownBox();
        QCOMPARE(AboutFixture::owner(*box), QString());
        QCOMPARE(f.child<QLabel>(*box, "lblTitle")->text(), QStringLiteral("Tessaly"));
    }

    void versionLine_data() {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("line");
        QTest::newRow("0") << 0 << "Version 1.0.000(2005/02/24)";
        QTest::newRow("7") << 7 << "Version 1.0.007(2005/02/24)";
        QTest::newRow("1234") << 1234 << "Version 1.0.1234(2005/02/24)";
    }
    void versionLine() {
        QFETCH(int, revision);
        QFETCH(QString, line);
        AboutFixture f;
        f.version.revisionNumber = revision;
        auto box = f.shownBox();
        QCOMPARE(f.child<QLabel>(*box, "lblVersion")->text(), line);
    }

    void captionAddition() {
        AboutFixture f;
        QCOMPARE(f.shownBox(QStringLiteral("試用版"))->windowTitle(),
                 QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 試用版"));
        // Set after the box has loaded, it changes nothing.
        auto box = f.shownBox();
        box->setUsrCaption(QStringLiteral("late"));
        box->hide();
        box->show();
        QCOMPARE(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    }

    void centring() {
        QCOMPARE(centredPosition(QSize(300, 200), QSize(382, 237)), QPoint(0, 0));
        QCOMPARE(centredPosition(QSize(1024, 768), QSize(382, 237)), QPoint(321, 265));
        QCOMPARE(centredPosition(QSize(383, 238), QSize(382, 237)), QPoint(0, 0));
        AboutFixture f;
        auto box = f.shownBox();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(box->pos(), screen.topLeft() + centredPosition(screen.size(), box->size()));
    }

    void enterAndEscapeBothPressOk_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void enterAndEscapeBothPressOk() {
        QFETCH(int, key);
        AboutFixture f;
        frmAbout box(f.services);
        bool okPressed = false;
        connect(f.child<QPushButton>(box, "cmdOK"), &QPushButton::clicked,
                [&] { okPressed = true; });
        QTimer::singleShot(0, [&box, key] { QTest::keyClick(&box, Qt::Key(key)); });
        QTimer::singleShot(5000, &box, &QDialog::reject); // a way out should the key fail
        QCOMPARE(box.exec(), int(QDialog::Accepted));
        QVERIFY(okPressed);
    }

    void systemInfoFromTheToolsPath() {
        AboutFixture f;
        f.registry.setText(kToolKey, "PATH", "/usr/bin/kinfocenter");
        f.registry.setText(kFolderKey, "MSINFO", f.tree.path().toUtf8());
        frmAbout box(f.services);
        QTest::mouseClick(f.child<QPushButton>(box, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(f.launcher.started, QStringList{"/usr/bin/kinfocenter"});
        QVERIFY(f.messages.shown.empty());
        QCOMPARE(f.registry.openKeys, 0);
        // Read access is all it asks for.
        QCOMPARE(f.registry.accessAsked, QList<quint32>{platform::IRegistry::KEY_READ});
    }

    void systemInfoFromTheSharedToolsFolder() {
        AboutFixture f;
        f.tree.file("MSINFO32.EXE");
        f.registry.setText(kFolderKey, "MSINFO", f.tree.path().toUtf8());
        frmAbout box(f.services);
        box.StartSysInfo();
        QCOMPARE(f.launcher.started, QStringList{f.tree.path("MSINFO32.EXE")});
        QVERIFY(f.messages.shown.empty());
    }

    void systemInfoUnavailable_data() {
        QTest::addColumn<int>("situation");
        QTest::newRow("nothing registered") << 0;
        QTest::newRow("folder without the tool") << 1;
        QTest::newRow("tool registered but missing") << 2;
        QTest::newRow("value of no size") << 3;
        QTest::newRow("write access refused") << 4;
    }
    void systemInfoUnavailable() {
        QFETCH(int, situation);
        AboutFixture f;
        switch (situation) {
        case 1:
            f.registry.setText(kFolderKey, "MSINFO", f.tree.path().toUtf8());
            break;
        case 2:
            f.registry.setText(kToolKey, "PATH", f.tree.path("missing-tool").toUtf8());
            f.tree.file("MSINFO32.EXE");
            f.registry.setText(kFolderKey, "MSINFO", f.tree.path().toUtf8());
            f.launcher.fails = true;
            break;
        case 3:
            f.registry.keys[MemoryRegistry::folded(kToolKey)]["path"] = {
                platform::IRegistry::REG_SZ, {}};
            break;
        case 4:
            f.registry.refuseWriteAccess = true;
            break;
        default:
            break;
        }
        frmAbout box(f.services);
        box.StartSysInfo();
        QCOMPARE(f.messages.shown.size(), std::size_t{1});
        QCOMPARE(f.messages.shown[0].text, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
        QCOMPARE(f.messages.shown[0].icon, platform::MessageIcon::None);
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("Tessaly"));
        // A registered tool that fails to start is not tried again through the folder.
        QVERIFY(f.launcher.started.isEmpty());
        QCOMPARE(f.registry.openKeys, 0);
    }

    void readOnlyRegistryStillAnswers() {
        AboutFixture f;
        f.registry.refuseWriteAccess = true;
        f.registry.setText(kToolKey, "PATH", "/usr/bin/hardinfo");
        frmAbout box(f.services);
        box.StartSysInfo();
        QCOMPARE(f.launcher.started, QStringList{"/usr/bin/hardinfo"});
    }

    void keyValues() {
        AboutFixture f;
        f.registry.setText("K", "text", "値");
        f.registry.keys["k"]["unterminated"] = {platform::IRegistry::REG_SZ, "abc"};
        f.registry.keys["k"]["number"] = {platform::IRegistry::REG_DWORD,
                                          QByteArray("\x00\x01\x00\x00", 4)};
        f.registry.keys["k"]["binary"] = {3, QByteArray("\x01\x02", 2)};
        frmAbout box(f.services);
        const auto root = platform::IRegistry::HKEY_LOCAL_MACHINE;
        QString value = QStringLiteral("kept");
        QVERIFY(box.GetKeyValue(root, "K", "text", value));
        QCOMPARE(value, QStringLiteral("値"));
        QVERIFY(box.GetKeyValue(root, "K", "unterminated", value));
        QCOMPARE(value, QStringLiteral("abc"));
        QVERIFY(box.GetKeyValue(root, "K", "number", value));
        QCOMPARE(value, QStringLiteral("256"));
        value = QStringLiteral("as passed");
        QVERIFY(box.GetKeyValue(root, "K", "binary", value));
        QCOMPARE(value, QStringLiteral("as passed"));
        QVERIFY(!box.GetKeyValue(root, "K", "missing", value));
        QCOMPARE(value, QString());
        value = QStringLiteral("x");
        QVERIFY(!box.GetKeyValue(root, "Missing", "text", value));
        QCOMPARE(value, QString());
        QCOMPARE(f.registry.openKeys, 0);
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
