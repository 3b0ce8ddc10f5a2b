#include "fairness_stats.h"
#include "lottery_runs.h"
#include "support/fake_sources.h"

#include <QTest>

#include <cmath>
#include <numbers>
#include <numeric>

using namespace fairness;

class TestFairness : public QObject
{
    Q_OBJECT

private slots:
    void gammaQ_data();
    void gammaQ();
    void chiSquarePValue_data();
    void chiSquarePValue();
    void expectedMaxAbsNormal();
    void handTables_data();
    void handTables();
    void keptResultsPerLottery();
    void tableRefusesResultsNotHandedOutOnce();
    void drawsInTheProgramsOrder_data();
    void drawsInTheProgramsOrder();
    void drawCountOfOneLottery_data();
    void drawCountOfOneLottery();
    void fiveParticipantsWithinNoise_data();
    void fiveParticipantsWithinNoise();
    void ladderAloneFavoursTheOwnRow();
    void onlyTheSeedTellsRunsApart();
};

static bool closeTo(double actual, double expected, double relative)
{
    return std::abs(actual - expected) <= relative * std::abs(expected);
}

void TestFairness::gammaQ_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("a=1 is exp(-x), series") << 1.0 << 0.5 << std::exp(-0.5);
    QTest::newRow("a=1 is exp(-x), fraction") << 1.0 << 7.0 << std::exp(-7.0);
    QTest::newRow("a=1/2 is erfc(sqrt x)") << 0.5 << 2.0 << std::erfc(std::sqrt(2.0));
    QTest::newRow("a=3: e^-x (1 + x + x²/2)") << 3.0 << 2.5 << std::exp(-2.5) * (1 + 2.5 + 2.5 * 2.5 / 2);
    QTest::newRow("far tail") << 0.5 << 50.0 << std::erfc(std::sqrt(50.0));
    QTest::newRow("x = 0") << 4.0 << 0.0 << 1.0;
}

void TestFairness::gammaQ()
{
    QFETCH(double, a);
    QFETCH(double, x);
    QFETCH(double, expected);
    const double q = regularizedGammaQ(a, x);
    QVERIFY2(closeTo(q, expected, 1e-10), qPrintable(QString::number(q, 'g', 17)));
}

void TestFairness::chiSquarePValue_data()
{
    // Quantiles from the usual chi-square tables.
    QTest::addColumn<double>("statistic");
    QTest::addColumn<int>("df");
    QTest::addColumn<double>("expected");
    QTest::newRow("df 1, 5 %") << 3.841459 << 1 << 0.05;
    QTest::newRow("df 10, 5 %") << 18.307038 << 10 << 0.05;
    QTest::newRow("df 10, 95 %") << 3.940299 << 10 << 0.95;
    QTest::newRow("df 16, 1 %") << 31.999927 << 16 << 0.01;
    QTest::newRow("df 100, 5 %") << 124.342113 << 100 << 0.05;
    QTest::newRow("df 1000, 5 %") << 1074.679449 << 1000 << 0.05;
    // Even degrees of freedom have the closed form e^-x Σ_{i<df/2} x^i / i! with x = statistic / 2.
    QTest::newRow("df 1296, upper tail") << 1400.0 << 1296 << 0.022559449898678106;
}

void TestFairness::chiSquarePValue()
{
    QFETCH(double, statistic);
    QFETCH(int, df);
    QFETCH(double, expected);
    const double p = fairness::chiSquarePValue(statistic, df);
    QVERIFY2(closeTo(p, expected, 1e-6), qPrintable(QString::number(p, 'g', 10)));
}

void TestFairness::expectedMaxAbsNormal()
{
    QVERIFY(closeTo(fairness::expectedMaxAbsNormal(1), std::sqrt(2 / std::numbers::pi), 1e-9));
    // The larger of two: a radius of mean sqrt(pi/2) times the larger of cos and sin.
    QVERIFY(closeTo(fairness::expectedMaxAbsNormal(2), 2 / std::sqrt(std::numbers::pi), 1e-9));
    const double many = fairness::expectedMaxAbsNormal(1296);
    QVERIFY2(many > 3.3 && many < 3.6, qPrintable(QString::number(many)));
}

void TestFairness::handTables_data()
{
    QTest::addColumn<QList<int>>("multiplicity");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("lotteries");
    QTest::addColumn<double>("deviation");
    QTest::addColumn<double>("chiSquare");
    QTest::addColumn<int>("df");
    QTest::addColumn<double>("cellNoise");
    // Two participants swap results in 40 of 100 lotteries: Pearson 4·10²/50 = 8, halved.
    QTest::newRow("two, 60:40") << QList<int>{1, 1} << QList<int>{60, 40, 40, 60} << 100 << 0.2 << 4.0 << 1
                                << 0.1;
    // One winner among four: wins 40, 20, 20, 20 against 25 each. Pearson 12 + 4, times 3/4.
    QTest::newRow("one winner of four") << QList<int>{1, 3} << QList<int>{40, 60, 20, 80, 20, 80, 20, 80} << 100
                                        << 0.6 << 12.0 << 3 << std::sqrt(0.03);
    QTest::newRow("three, exactly even") << QList<int>{1, 1, 1}
                                         << QList<int>{10, 10, 10, 10, 10, 10, 10, 10, 10} << 30 << 0.0 << 0.0
                                         << 4 << std::sqrt(2.0 / 30);
}

void TestFairness::handTables()
{
    QFETCH(QList<int>, multiplicity);
    QFETCH(QList<int>, counts);
    QFETCH(int, lotteries);
    QFETCH(double, deviation);
    QFETCH(double, chiSquare);
    QFETCH(int, df);
    QFETCH(double, cellNoise);
    const int n = int(std::accumulate(multiplicity.begin(), multiplicity.end(), 0));
    CountTable table(n, std::vector<int>(multiplicity.begin(), multiplicity.end()));
    for (int k = 0; k < counts.size(); ++k)
        table.cells[k] = counts[k];
    table.lotteries = lotteries;

    const Summary s = summarize(table);
    QVERIFY(closeTo(s.maxDeviation, deviation, 1e-12) || deviation == s.maxDeviation);
    QVERIFY(closeTo(s.chiSquare, chiSquare, 1e-12) || chiSquare == s.chiSquare);
    QCOMPARE(s.degreesOfFreedom, df);
    QVERIFY(closeTo(s.cellNoise, cellNoise, 1e-12));
    QVERIFY(closeTo(s.pValue, fairness::chiSquarePValue(chiSquare, df), 1e-12));
    QVERIFY(closeTo(s.maxNoise, cellNoise * fairness::expectedMaxAbsNormal(df), 1e-12));
}

void TestFairness::keptResultsPerLottery()
{
    // Three participants who always keep their own result: three kept per lottery, two too many.
    CountTable table(3, {1, 1, 1});
    for (int i = 0; i < 3; ++i)
        table.at(i, i) = 10;
    table.lotteries = 10;
    const Summary s = summarize(table);
    QVERIFY(s.hasOwnRow);
    QCOMPARE(s.ownRowDeviation, 2.0);
    QVERIFY(closeTo(s.ownRowNoise, 1 / std::sqrt(10.0), 1e-12));
    QVERIFY(!withinNoise(s));
    QVERIFY(s.pValue < 1e-3);

    QVERIFY(!summarize(CountTable(4, {1, 3})).hasOwnRow);
}

void TestFairness::tableRefusesResultsNotHandedOutOnce()
{
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CountTable(4, {1, 2}));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CountTable(1, {1}));
}

void TestFairness::drawsInTheProgramsOrder_data()
{
    // Three participants, no warm-up. Draws: start-up's first ladder (2 gaps x 6 candidates) and
    // the rung factor of its mode change; at standby in lottery mode the shuffle (rows 2 and 1),
    // the new ladder, then in winner and number mode the rows.
    QTest::addColumn<int>("draw");
    QTest::addColumn<std::vector<float>>("script");
    QTest::addColumn<std::vector<int>>("results");
    const std::vector<float> noRungs(12, 0.99f);
    const std::vector<float> opening(12, 0.5f);
    // Row 2 takes row 0 and row 1 stays: P2, P1, P0.
    const std::vector<float> shuffle{0.1f, 0.9f};
    auto join = [](std::initializer_list<std::vector<float>> parts) {
        std::vector<float> all;
        for (const auto &p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    QTest::newRow("ladder alone, no rungs") << int(Draw::LadderAlone) << join({opening, {0.5f}, shuffle, noRungs})
                                            << std::vector<int>{0, 1, 2};
    QTest::newRow("lottery: shuffle before the ladder")
        << int(Draw::Lottery) << join({opening, {0.5f}, shuffle, noRungs}) << std::vector<int>{2, 1, 0};
    QTest::newRow("number: rows filled after the ladder")
        << int(Draw::Number) << join({opening, {0.5f}, noRungs, {0.9f, 0.1f, 0.5f}}) << std::vector<int>{1, 2, 0};
    QTest::newRow("winner: row 1 after the ladder") << int(Draw::Winner) << join({opening, {0.5f}, noRungs, {0.5f}})
                                                    << std::vector<int>{1, 0, 1};
    // One rung between lines 1 and 2 in row 2 (candidate 1 of gap 1): the first two trade.
    std::vector<float> firstRung = noRungs;
    firstRung[0] = 0.1f;
    QTest::newRow("ladder alone, first two trade")
        << int(Draw::LadderAlone) << join({opening, {0.5f}, shuffle, firstRung}) << std::vector<int>{1, 0, 2};
    QTest::newRow("lottery: ladder after the shuffle")
        << int(Draw::Lottery) << join({opening, {0.5f}, shuffle, firstRung}) << std::vector<int>{1, 2, 0};
}

void TestFairness::drawsInTheProgramsOrder()
{
    QFETCH(int, draw);
    QFETCH(std::vector<float>, script);
    QFETCH(std::vector<int>, results);
    TestRandom random(1, script);
    FixedTickCount ticks(0);
    const RunPlan plan{Draw(draw), 3, 1, 1};
    QCOMPARE(runOneLottery(plan, random, ticks), results);
    QCOMPARE(random.draws, (long long)script.size());
}

void TestFairness::drawCountOfOneLottery_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<int>("participants");
    QTest::addColumn<int>("tickCount");
    QTest::addColumn<long long>("draws");
    // Two ladders (start-up's and standby's), each a warm-up (ticks mod 1000) and
    // (n - 1)·min(n + 3, 24) candidates; the rung factor; in lottery mode (and so for the ladder
    // alone) n - 1 shuffle draws.
    QTest::newRow("ladder 2") << int(Draw::LadderAlone) << 2 << 1007 << (2 * (7LL + 1 * 5) + 1 + 1);
    QTest::newRow("ladder 37, negative ticks") << int(Draw::LadderAlone) << 37 << -5 << (2 * 36LL * 24 + 1 + 36);
    QTest::newRow("lottery 5") << int(Draw::Lottery) << 5 << 12345 << (2 * (345LL + 4 * 8) + 1 + 4);
    QTest::newRow("lottery 37") << int(Draw::Lottery) << 37 << 0 << (2 * 36LL * 24 + 1 + 36);
}

void TestFairness::drawCountOfOneLottery()
{
    QFETCH(int, draw);
    QFETCH(int, participants);
    QFETCH(int, tickCount);
    QFETCH(long long, draws);
    TestRandom random(7);
    FixedTickCount ticks(tickCount);
    runOneLottery(RunPlan{Draw(draw), participants, 1, 1}, random, ticks);
    QCOMPARE(random.draws, draws);
}

void TestFairness::fiveParticipantsWithinNoise_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<int>("atari");
    QTest::newRow("winner, 1 of 5") << int(Draw::Winner) << 1;
    QTest::newRow("winner, 2 of 5") << int(Draw::Winner) << 2;
    QTest::newRow("lottery") << int(Draw::Lottery) << 0;
    QTest::newRow("number") << int(Draw::Number) << 0;
}

void TestFairness::fiveParticipantsWithinNoise()
{
    QFETCH(int, draw);
    QFETCH(int, atari);
    TwisterRandom random(20240601u);
    FixedTickCount ticks(12345);
    const Summary s = summarize(runLotteries(RunPlan{Draw(draw), 5, atari, 50000}, random, ticks));
    const QString figures = QStringLiteral("deviation %1, noise %2, p %3")
                                .arg(s.maxDeviation).arg(s.maxNoise).arg(s.pValue);
    QVERIFY2(withinNoise(s), qPrintable(figures));
    QVERIFY2(s.pValue > 1e-3, qPrintable(figures));
    QCOMPARE(s.lotteries, 50000LL);
}

void TestFairness::ladderAloneFavoursTheOwnRow()
{
    TwisterRandom random(20240601u);
    FixedTickCount ticks(12345);
    const Summary s = summarize(runLotteries(RunPlan{Draw::LadderAlone, 37, 0, 4000}, random, ticks));
    const QString figures = QStringLiteral("deviation %1, noise %2, own row %3")
                                .arg(s.maxDeviation).arg(s.maxNoise).arg(s.ownRowDeviation);
    QVERIFY2(!withinNoise(s), qPrintable(figures));
    // About 2.5 times chance of ending on one's own row.
    QVERIFY2(s.ownRowDeviation > 1.2 && s.ownRowDeviation < 1.9, qPrintable(figures));
    QVERIFY(s.pValue < 1e-9);
}

// A run from a seed repeats every lottery; the next seed gives other lotteries.
void TestFairness::onlyTheSeedTellsRunsApart()
{
    for (const std::optional<int32_t> ticks : {std::optional<int32_t>(12345), std::optional<int32_t>()}) {
        const SeedCheck check = checkSeeds(RunPlan{Draw::Lottery, 10, 1, 200}, 5489u, ticks);
        QCOMPARE(check.lotteries, 200LL);
        QCOMPARE(check.alikeSameSeed, 200LL);
        QVERIFY2(check.alikeNextSeed <= 2, qPrintable(QString::number(check.alikeNextSeed)));
    }
}

QTEST_GUILESS_MAIN(TestFairness)
#include "tst_fairness.moc"
