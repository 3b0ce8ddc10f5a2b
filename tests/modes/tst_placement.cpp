#include "modes/placement.h"
#include "support/fake_seams.h"

#include <QSet>
#include <QTest>

#include <algorithm>

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void shuffleKeepsTheTexts_data();
    void shuffleKeepsTheTexts();
    void shuffleExchangesDrawnRows();
    void winnerRows_data();
    void winnerRows();
    void rowNumbers_data();
    void rowNumbers();
};

static QStringList prizeTexts()
{
    QStringList texts;
    for (int i = 0; i < 37; ++i)
        texts << QStringLiteral("景品%1").arg(i);
    return texts;
}

void TestPlacement::shuffleKeepsTheTexts_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("2") << 2 << 1u;
    QTest::newRow("5") << 5 << 2u;
    QTest::newRow("36") << 36 << 3u;
    QTest::newRow("37") << 37 << 4u;
}

void TestPlacement::shuffleKeepsTheTexts()
{
    QFETCH(int, manCount);
    QFETCH(unsigned, seed);
    TestRandom random(seed);
    const QStringList before = prizeTexts();
    QStringList after = before;
    placement::shufflePrizes(after, manCount, random);

    QCOMPARE(random.draws, 2LL * (manCount + 40));
    QStringList mixedBefore = before.mid(0, manCount), mixedAfter = after.mid(0, manCount);
    std::sort(mixedBefore.begin(), mixedBefore.end());
    std::sort(mixedAfter.begin(), mixedAfter.end());
    QCOMPARE(mixedAfter, mixedBefore);
    QCOMPARE(after.mid(manCount), before.mid(manCount));
    if (manCount > 2)
        QVERIFY(after.mid(0, manCount) != before.mid(0, manCount));
}

void TestPlacement::shuffleExchangesDrawnRows()
{
    // Rows are Int(r * 3): first exchange 0 and 2, then draws of the same row leave things be.
    std::vector<float> script{0.1f, 0.9f};
    script.resize(2 * 43, 0.5f);
    TestRandom random(1, script);
    QStringList texts{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    placement::shufflePrizes(texts, 3, random);
    QCOMPARE(texts, (QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("D")}));
    QCOMPARE(random.draws, 86LL);
}

void TestPlacement::winnerRows_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<int>("atariCount");
    QTest::addColumn<int>("expected");
    QTest::newRow("one of two") << 2 << 1 << 1;
    QTest::newRow("all but one of 37") << 37 << 36 << 36;
    QTest::newRow("three of ten") << 10 << 3 << 3;
    QTest::newRow("as many as participants") << 5 << 5 << 5;
    QTest::newRow("more than participants") << 5 << 9 << 5;
    QTest::newRow("none") << 5 << 0 << 0;
    QTest::newRow("negative") << 5 << -3 << 0;
}

void TestPlacement::winnerRows()
{
    QFETCH(int, manCount);
    QFETCH(int, atariCount);
    QFETCH(int, expected);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        TestRandom random(seed);
        const QList<int> rows = placement::drawWinnerRows(manCount, atariCount, random);
        QCOMPARE(rows.size(), expected);
        QCOMPARE(QSet<int>(rows.begin(), rows.end()).size(), expected);
        for (int row : rows)
            QVERIFY(row >= 0 && row < manCount);
    }
}

void TestPlacement::rowNumbers_data()
{
    QTest::addColumn<int>("manCount");
    QTest::newRow("2") << 2;
    QTest::newRow("7") << 7;
    QTest::newRow("37") << 37;
}

void TestPlacement::rowNumbers()
{
    QFETCH(int, manCount);
    TestRandom random(11);
    QList<int> numbers = placement::drawRowNumbers(manCount, random);
    QCOMPARE(numbers.size(), manCount);
    QVERIFY(random.draws >= manCount);
    std::sort(numbers.begin(), numbers.end());
    for (int i = 0; i < manCount; ++i)
        QCOMPARE(numbers[i], i + 1);
}

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
