#include "ui/frmPrint.h"

#include "fakes/FakePrintServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

struct DialogFixture {
    FakePrinterDirectory printers;
    std::unique_ptr<frmPrint> dialog;

    explicit DialogFixture(const QStringList& names = {QStringLiteral("A"), QStringLiteral("B"),
                                                       QStringLiteral("C")},
                           std::optional<QString> defaultName = QStringLiteral("B")) {
        printers.names = names;
        printers.defaultName = std::move(defaultName);
        dialog = std::make_unique<frmPrint>(printers);
    }
    template <typename T> T* child(const char* name) const {
        return dialog->findChild<T*>(QLatin1String(name));
    }
    QStringList listed() const {
        QStringList names;
        const auto* box = child<QComboBox>("cboPrinter");
        for (int i = 0; i < box->count(); ++i)
            names.append(box->itemText(i));
        return names;
    }
    // Runs the dialog modally; act runs once it shows, and the dialog must be hidden after it.
    bool execWith(const std::function<void(frmPrint&)>& act) {
        bool hiddenAfter = false;
        QTimer::singleShot(0, dialog.get(), [this, act, &hiddenAfter] {
            act(*dialog);
            QCoreApplication::processEvents();
            hiddenAfter = !dialog->isVisible();
            if (!hiddenAfter)
                dialog->hide();
        });
        dialog->exec();
        return hiddenAfter;
    }
};

void sendKey(QWidget* target, Qt::Key key) {
    QTest::keyClick(target, key);
}

} // namespace

class tst_frmPrint : public QObject {
    Q_OBJECT
private slots:
    void windowAndControls() {
        const DialogFixture f;
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("連続印刷実行...."));
        QCOMPARE(f.dialog->size(), QSize(525, 161));
        QCOMPARE(f.dialog->minimumSize(), f.dialog->maximumSize());
        const Qt::WindowFlags flags = f.dialog->windowFlags();
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));

        const struct {
            const char* name;
            QString text;
            QRect geometry;
        } controls[] = {
            {"chkPrinter", QStringLiteral("出力プリンタを指定する"), QRect(16, 16, 185, 12)},
            {"chkVBReport",
             QStringLiteral("Excelがシステムにインストールされてなくても強制的に印刷する"),
             QRect(8, 0, 361, 12)},
            {"cmdOk", QStringLiteral("OK(&O)"), QRect(424, 16, 89, 25)},
            {"cmdCancel", QStringLiteral("ｷｬﾝｾﾙ(&C)"), QRect(424, 48, 89, 25)},
        };
        for (const auto& control : controls) {
            const auto* button = f.child<QAbstractButton>(control.name);
            QVERIFY2(button != nullptr, control.name);
            QCOMPARE(button->text(), control.text);
            QCOMPARE(button->geometry(), control.geometry);
        }
        QCOMPARE(f.child<QComboBox>("cboPrinter")->geometry(), QRect(120, 40, 289, 20));
        QCOMPARE(f.child<QLabel>("lblPrinter")->text(), QStringLiteral("出力ﾌﾟﾘﾝﾀ名"));
        QCOMPARE(f.child<QLabel>("lblPrinter")->geometry(), QRect(40, 43, 89, 17));
        QCOMPARE(f.child<QGroupBox>("Frame1")->geometry(), QRect(8, 80, 401, 65));
        QCOMPARE(f.child<QGroupBox>("Frame1")->title(), QString());
        const auto* caption = f.child<QLabel>("lblCaption");
        QCOMPARE(caption->parentWidget(), f.child<QGroupBox>("Frame1"));
        QCOMPARE(f.child<QCheckBox>("chkVBReport")->parentWidget(), caption->parentWidget());
        QCOMPARE(caption->text(),
                 QStringLiteral("印刷ｲﾒｰｼﾞを100%忠実に再現できない場合があります。また，仕様上，"
                                "グラフ等については出力できませんのでご了承下さい。"));
        QCOMPARE(caption->geometry(), QRect(24, 24, 361, 33));

        // Neither button is the default one.
        QVERIFY(!f.child<QPushButton>("cmdOk")->isDefault());
        QVERIFY(!f.child<QPushButton>("cmdOk")->autoDefault());
        QVERIFY(!f.child<QPushButton>("cmdCancel")->isDefault());
        QVERIFY(!f.child<QPushButton>("cmdCancel")->autoDefault());
    }

    void initialStatesAndTabOrder() {
        const DialogFixture f;
        QCOMPARE(f.dialog->Result(), QString());
        QCOMPARE(f.dialog->chkPrinterValue(), Qt::Unchecked);
        QCOMPARE(f.dialog->chkVBReportValue(), Qt::Checked);
        QVERIFY(!f.dialog->Discarded());

        QWidget* widget = f.child<QWidget>("chkPrinter");
        QStringList order;
        for (int i = 0; i < 5; ++i) {
            order.append(widget->objectName());
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus)
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order,
                 QStringList({"chkPrinter", "cboPrinter", "chkVBReport", "cmdOk", "cmdCancel"}));
    }

    void printersReversedWithTheDefaultSelected() {
        const DialogFixture f;
        QCOMPARE(f.listed(), QStringList({"C", "B", "A"}));
        QCOMPARE(f.dialog->cboPrinterText(), QStringLiteral("B"));
        QVERIFY(f.child<QComboBox>("cboPrinter")->isEnabled());
        QVERIFY(f.child<QCheckBox>("chkPrinter")->isEnabled());
    }

    void defaultMatchedExactly() {
        const DialogFixture unmatched({QStringLiteral("A"), QStringLiteral("B")},
                                      QStringLiteral("b"));
        QCOMPARE(unmatched.child<QComboBox>("cboPrinter")->currentIndex(), -1);
        QCOMPARE(unmatched.dialog->cboPrinterText(), QString());

        const DialogFixture noDefault({QStringLiteral("A"), QStringLiteral("B")}, std::nullopt);
        QCOMPARE(noDefault.dialog->cboPrinterText(), QStringLiteral("B"));
    }

    void noPrinterInstalled() {
        const DialogFixture f({}, std::nullopt);
        QCOMPARE(f.listed(), QStringList({"ﾌﾟﾘﾝﾀなし"}));
        QCOMPARE(f.dialog->cboPrinterText(), QStringLiteral("ﾌﾟﾘﾝﾀなし"));
        QVERIFY(!f.child<QComboBox>("cboPrinter")->isEnabled());
        QVERIFY(!f.child<QLabel>("lblPrinter")->isEnabled());
        QVERIFY(!f.child<QCheckBox>("chkPrinter")->isEnabled());
        QCOMPARE(f.dialog->chkPrinterValue(), Qt::Unchecked);
    }

    void tickingThePrinterBoxChangesNothingElse() {
        const DialogFixture f;
        f.child<QCheckBox>("chkPrinter")->click();
        QCOMPARE(f.dialog->chkPrinterValue(), Qt::Checked);
        QVERIFY(f.child<QComboBox>("cboPrinter")->isEnabled());
        QVERIFY(f.child<QLabel>("lblPrinter")->isEnabled());
        QCOMPARE(f.dialog->cboPrinterText(), QStringLiteral("B"));
    }

    void okAndCancelHideAndRecord() {
        DialogFixture f;
        QVERIFY(f.execWith([&](frmPrint&) { f.child<QPushButton>("cmdOk")->click(); }));
        QCOMPARE(f.dialog->Result(), QStringLiteral("Ok"));
        QVERIFY(!f.dialog->Discarded());
        QVERIFY(f.execWith([&](frmPrint&) { f.child<QPushButton>("cmdCancel")->click(); }));
        QCOMPARE(f.dialog->Result(), QStringLiteral("Cancel"));
        QVERIFY(!f.dialog->Discarded());
    }

    void escAndEnterAwayFromButtonsCloseNothing() {
        DialogFixture f;
        bool stayedOpen = false;
        QVERIFY(f.execWith([&](frmPrint& dialog) {
            f.child<QCheckBox>("chkPrinter")->setFocus();
            sendKey(&dialog, Qt::Key_Escape);
            sendKey(f.child<QCheckBox>("chkPrinter"), Qt::Key_Return);
            sendKey(f.child<QCheckBox>("chkPrinter"), Qt::Key_Enter);
            f.child<QComboBox>("cboPrinter")->setFocus();
            sendKey(f.child<QComboBox>("cboPrinter"), Qt::Key_Return);
            QCoreApplication::processEvents();
            stayedOpen = dialog.isVisible();
            // Enter on a button that has the focus presses it.
            f.child<QPushButton>("cmdCancel")->setFocus();
            sendKey(f.child<QPushButton>("cmdCancel"), Qt::Key_Return);
        }));
        QVERIFY(stayedOpen);
        QCOMPARE(f.dialog->Result(), QStringLiteral("Cancel"));
    }

    void titleBarCloseDiscards() {
        DialogFixture f;
        QVERIFY(f.execWith([&](frmPrint&) { f.child<QPushButton>("cmdOk")->click(); }));
        QVERIFY(f.execWith([](frmPrint& dialog) { dialog.close(); }));
        QVERIFY(f.dialog->Discarded());
        QCOMPARE(f.dialog->Result(), QString());
    }
};

QTEST_MAIN(tst_frmPrint)
#include "tst_frmPrint.moc"
