#include "modes/placement.h"
#include "support/fake_sources.h"

#include <QMap>
#include <QSet>
#include <QTest>

#include <algorithm>

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void shuffleKeepsTheTexts_data();
    void shuffleKeepsTheTexts();
    void shuffleTakesRowsFromTheDraws();
    void shuffleGivesEveryOrderEquallyOften_data();
    void shuffleGivesEveryOrderEquallyOften();
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

    QCOMPARE(random.draws, manCount - 1LL);
    QStringList mixedBefore = before.mid(0, manCount), mixedAfter = after.mid(0, manCount);
    std::sort(mixedBefore.begin(), mixedBefore.end());
    std::sort(mixedAfter.begin(), mixedAfter.end());
    QCOMPARE(mixedAfter, mixedBefore);
    QCOMPARE(after.mid(manCount), before.mid(manCount));
    if (manCount > 2)
        QVERIFY(after.mid(0, manCount) != before.mid(0, manCount));
}

void TestPlacement::shuffleTakesRowsFromTheDraws()
{
    // Row 2 takes row Int(0.1 * 3) = 0, then row 1 takes row Int(0.1 * 2) = 0; D is past the count.
    TestRandom random(1, {0.1f, 0.1f});
    QStringList texts{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};
    placement::shufflePrizes(texts, 3, random);
    QCOMPARE(texts, (QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("D")}));
    QCOMPARE(random.draws, 2LL);
}

void TestPlacement::shuffleGivesEveryOrderEquallyOften_data()
{
    QTest::addColumn<int>("manCount");
    QTest::newRow("3 rows") << 3;
    QTest::newRow("4 rows") << 4;
}

// Exact, not statistical: the shuffle is fed every sequence of draws in which each draw takes
// one of the 12 values (k + 0.5) / 12. An index among m rows, m dividing 12, comes from 12 / m of
// them, so every combination of indices is fed equally often and every order must come out the
// same number of times.
void TestPlacement::shuffleGivesEveryOrderEquallyOften()
{
    QFETCH(int, manCount);
    constexpr int kValues = 12;
    const QStringList texts = QStringList{"A", "B", "C", "D", "E"}.mid(0, manCount + 1);
    TestRandom probe;
    QStringList probed = texts;
    placement::shufflePrizes(probed, manCount, probe);
    const int draws = int(probe.draws);
    QVERIFY2(draws <= 5, qPrintable(QStringLiteral("%1 draws are too many to feed every sequence").arg(draws)));

    QMap<QString, int> orders;
    std::vector<int> digits(draws, 0);
    long long sequences = 0;
    for (bool more = true; more; ++sequences) {
        std::vector<float> script;
        for (int digit : digits)
            script.push_back((float(digit) + 0.5f) / kValues);
        TestRandom random(1, script);
        QStringList shuffled = texts;
        placement::shufflePrizes(shuffled, manCount, random);
        QCOMPARE(random.draws, (long long)draws);
        QCOMPARE(shuffled.last(), texts.last());
        ++orders[shuffled.mid(0, manCount).join(QString())];
        // The next sequence, counting in base 12.
        more = false;
        for (int &digit : digits) {
            digit = (digit + 1) % kValues;
            if (digit != 0) {
                more = true;
                break;
            }
        }
    }
    int orderCount = 1;
    for (int k = 2; k <= manCount; ++k)
        orderCount *= k;
    QCOMPARE(orders.size(), orderCount);
    for (auto it = orders.begin(); it != orders.end(); ++it)
        QVERIFY2(it.value() == sequences / orderCount, qPrintable(QStringLiteral("%1 came %2 times of %3")
                                                                   .arg(it.key()).arg(it.value()).arg(sequences)));
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
