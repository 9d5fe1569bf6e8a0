#include "filelist/colFileName.h"

#include <QTest>

#include <stdexcept>

namespace {

QStringList textsOf(const colFileName& list) {
    QStringList texts;
    for (const auto& entry : list)
        texts.append(entry->FileName());
    return texts;
}

colFileName threeEntries() {
    colFileName list;
    list.Add(QStringLiteral("a"));
    list.Add(QStringLiteral("b"));
    list.Add(QStringLiteral("c"));
    return list;
}

} // namespace

class tst_colFileName : public QObject {
    Q_OBJECT
private slots:
    void addKeepsEmptyTextsAndDuplicatesInOrder() {
        colFileName list;
        list.Add(QString());
        list.Add(QStringLiteral(" x "));
        list.Add(QStringLiteral(" x "));
        QCOMPARE(list.Count(), 3);
        QCOMPARE(textsOf(list),
                 (QStringList{QString(), QStringLiteral(" x "), QStringLiteral(" x ")}));
    }

    void addAtPosition_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("before");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("before 2") << 2 << true << QStringList{"a", "new", "b", "c"};
        QTest::newRow("after 2") << 2 << false << QStringList{"a", "b", "new", "c"};
        QTest::newRow("after 3, the last") << 3 << false << QStringList{"a", "b", "c", "new"};
        QTest::newRow("before 1, the first") << 1 << true << QStringList{"new", "a", "b", "c"};
    }
    void addAtPosition() {
        QFETCH(int, index);
        QFETCH(bool, before);
        QFETCH(QStringList, expected);
        colFileName list = threeEntries();
        const auto added = list.Add(QStringLiteral("new"), index, before);
        QCOMPARE(textsOf(list), expected);
        QCOMPARE(list.Item(static_cast<qint32>(expected.indexOf("new")) + 1), added);
    }

    void addAtMissingPositionRaisesAndAddsNothing() {
        colFileName list = threeEntries();
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list.Add(QStringLiteral("x"), 4, false));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, list.Add(QStringLiteral("x"), -1, true));
        QCOMPARE(list.Count(), 3);
    }

    void entriesAreSharedNotCopied() {
        colFileName list;
        const auto added = list.Add(QStringLiteral("before"));
        added->setFileName(QStringLiteral("after"));
        QCOMPARE(list.Item(1)->FileName(), QStringLiteral("after"));
        QCOMPARE(list.Item(1), added);
    }

    void entryOutlivesItsRemoval() {
        colFileName list;
        const auto held = list.Add(QStringLiteral("kept"));
        QVERIFY(list.Remove(1));
        QCOMPARE(list.Count(), 0);
        QCOMPARE(held->FileName(), QStringLiteral("kept"));
    }

    void removeOutOfRangeChangesNothing() {
        colFileName list = threeEntries();
        QVERIFY(!list.Remove(0));
        QVERIFY(!list.Remove(-1));
        QVERIFY(!list.Remove(4));
        QCOMPARE(textsOf(list), (QStringList{"a", "b", "c"}));
    }

    void removeMovesLaterEntriesUp() {
        colFileName list = threeEntries();
        QVERIFY(list.Remove(2));
        QCOMPARE(list.Item(2)->FileName(), QStringLiteral("c"));
        QCOMPARE(textsOf(list), (QStringList{"a", "c"}));
        colFileName single;
        single.Add(QStringLiteral("only"));
        QVERIFY(single.Remove(1));
        QCOMPARE(single.Count(), 0);
    }

    void itemOutOfRangeIsNull() {
        colFileName list = threeEntries();
        QVERIFY(list.Item(0) == nullptr);
        QVERIFY(list.Item(4) == nullptr);
        QCOMPARE(list.Item(3)->FileName(), QStringLiteral("c"));
    }

    void clear() {
        colFileName empty;
        empty.Clear();
        QCOMPARE(empty.Count(), 0);
        colFileName list = threeEntries();
        list.Clear();
        QCOMPARE(list.Count(), 0);
        QVERIFY(list.begin() == list.end());
    }

    void iterationAfterRemovalsVisitsTheRestInOrder() {
        colFileName list;
        for (const char* text : {"1", "2", "3", "4", "5"})
            list.Add(QLatin1String(text));
        QVERIFY(list.Remove(1));
        QVERIFY(list.Remove(3)); // "4", now third
        QCOMPARE(textsOf(list), (QStringList{"2", "3", "5"}));
    }
};

QTEST_APPLESS_MAIN(tst_colFileName)
#include "tst_colFileName.moc"
