#include "platform/QtMousePointer.h"
#include "ui/CHourglass.h"

#include "fakes/FakeMousePointer.h"

#include <QGuiApplication>
#include <QTest>

#include <optional>

using Shape = platform::IMousePointer::Shape;
using Shapes = std::vector<Shape>;

class tst_CHourglass : public QObject {
    Q_OBJECT
private slots:
    void untouchedObjectRestoresOnceAtDestruction() {
        FakeMousePointer pointer;
        {
            const CHourglass hourglass(pointer);
            QVERIFY(!hourglass.Value());
            QVERIFY(pointer.settings.empty());
        }
        QCOMPARE(pointer.settings, Shapes({Shape::Default}));
    }

    void everyAssignmentSetsThePointerOnce() {
        FakeMousePointer pointer;
        CHourglass hourglass(pointer);
        hourglass.setValue(true);
        QVERIFY(hourglass.Value());
        hourglass.setValue(true);
        hourglass.setValue(false);
        hourglass.setValue(false);
        QVERIFY(!hourglass.Value());
        QCOMPARE(pointer.settings,
                 Shapes({Shape::Wait, Shape::Wait, Shape::Default, Shape::Default}));
    }

    void firstDestructionRestoresWhileAnotherIsOn() {
        FakeMousePointer pointer;
        std::optional<CHourglass> first(std::in_place, pointer);
        CHourglass second(pointer);
        first->setValue(true);
        second.setValue(true);
        first.reset();
        QVERIFY(second.Value());
        QCOMPARE(pointer.current(), Shape::Default);
    }

    void failureIsIgnoredAndValueKept() {
        FakeMousePointer pointer;
        pointer.fails = true;
        {
            CHourglass hourglass(pointer);
            hourglass.setValue(true);
            QVERIFY(hourglass.Value());
        }
        QCOMPARE(pointer.settings, Shapes({Shape::Wait, Shape::Default}));
    }

    // Qt's override cursor is a stack; the pointer is one setting on top of it.
    void qtPointerIsOneSetting() {
        platform::QtMousePointer pointer;
        QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
        QGuiApplication::setOverrideCursor(QCursor(Qt::IBeamCursor));
        {
            CHourglass hourglass(pointer);
            hourglass.setValue(true);
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            hourglass.setValue(true);
            QGuiApplication::restoreOverrideCursor();
            // Replacing the top kept the level below: the wait pointer never stacked.
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
            hourglass.setValue(true);
            // Another part of the program sets its own pointer before destruction.
            QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        pointer.setPointer(Shape::Wait);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        pointer.setPointer(Shape::Default);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(tst_CHourglass)
#include "tst_CHourglass.moc"
