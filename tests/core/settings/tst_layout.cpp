// The line numbers of the settings file against the table of group slots.
#include "settings/layout.h"

#include <QtTest>

using namespace settings;

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void groupSlots_data();
    void groupSlots();
    void slotsFillTheFileWithoutOverlap();
    void outOfRangeStops();
};

void TestLayout::groupSlots_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("winners");
    QTest::addColumn<int>("memo");
    QTest::addColumn<int>("firstName");
    QTest::addColumn<int>("lastName");
    QTest::newRow("1") << 1 << 1 << 14 << 61 << 62 << 98;
    QTest::newRow("2") << 2 << 2 << 15 << 99 << 100 << 136;
    QTest::newRow("3") << 3 << 3 << 16 << 137 << 138 << 174;
    QTest::newRow("4") << 4 << 4 << 17 << 175 << 176 << 212;
    QTest::newRow("5") << 5 << 5 << 18 << 213 << 214 << 250;
    QTest::newRow("6") << 6 << 6 << 19 << 251 << 252 << 288;
    QTest::newRow("7") << 7 << 7 << 20 << 289 << 290 << 326;
}

void TestLayout::groupSlots()
{
    QFETCH(int, group);
    QFETCH(int, count);
    QFETCH(int, winners);
    QFETCH(int, memo);
    QFETCH(int, firstName);
    QFETCH(int, lastName);
    QCOMPARE(participantCountLine(group), count);
    QCOMPARE(winnerCountLine(group), winners);
    QCOMPARE(memoLine(group), memo);
    QCOMPARE(nameLine(group, 0), firstName);
    QCOMPARE(nameLine(group, 36), lastName);
}

// Every line has at most one meaning, and only 8, 13 and 58..60 have none.
void TestLayout::slotsFillTheFileWithoutOverlap()
{
    QList<int> uses(kLineCount + 1, 0);
    for (int line : {kWindowLeftLine, kWindowTopLine, kGroupLine, kModeLine})
        ++uses[line];
    for (int i = 0; i < kBoxCount; ++i)
        ++uses[storedPrizeLine(i)];
    for (int g = 1; g <= kGroupCount; ++g) {
        ++uses[participantCountLine(g)];
        ++uses[winnerCountLine(g)];
        ++uses[memoLine(g)];
        for (int i = 0; i < kBoxCount; ++i)
            ++uses[nameLine(g, i)];
    }
    for (int line = 1; line <= kLineCount; ++line) {
        const bool spare = line == 8 || line == kSpareWinnerLine || (line >= 58 && line <= 60);
        QCOMPARE(uses[line], spare ? 0 : 1);
    }
    QCOMPARE(storedPrizeLine(0), 21);
    QCOMPARE(storedPrizeLine(36), 57);
}

void TestLayout::outOfRangeStops()
{
    QVERIFY(!isGroup(0));
    QVERIFY(!isGroup(8));
    QVERIFY_THROWS_EXCEPTION(StateError, memoLine(0));
    QVERIFY_THROWS_EXCEPTION(StateError, participantCountLine(8));
    QVERIFY_THROWS_EXCEPTION(StateError, winnerCountLine(-1));
    QVERIFY_THROWS_EXCEPTION(StateError, nameLine(1, 37));
    QVERIFY_THROWS_EXCEPTION(StateError, nameLine(1, -1));
    QVERIFY_THROWS_EXCEPTION(StateError, storedPrizeLine(37));
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
