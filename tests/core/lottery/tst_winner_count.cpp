// The winner count buttons as rules: the count each gives back, and none at its limits, where
// nothing changes.
#include "lottery/lottery.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

class TestWinnerCount : public QObject
{
    Q_OBJECT

private slots:
    // Rows: participants, winners, the button (+1 or -1), and the count it gives (-1: none).
    void winnerButtons_data()
    {
        QTest::addColumn<int>("participants");
        QTest::addColumn<int>("winners");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("given");
        QTest::newRow("one more, two below the participants") << 5 << 3 << 1 << 4;
        QTest::newRow("one more, one below the participants") << 5 << 4 << 1 << -1;
        QTest::newRow("one fewer, from two") << 5 << 2 << -1 << 1;
        QTest::newRow("one fewer, from one") << 5 << 1 << -1 << -1;
    }

    void winnerButtons()
    {
        QFETCH(int, participants);
        QFETCH(int, winners);
        QFETCH(int, step);
        QFETCH(int, given);
        Lottery lottery(LotterySources{std::make_unique<TestRandom>(3), std::make_unique<FixedTicks>()});
        lottery.start(setupLines(counts(participants, winners, modes::kWinnerMode)));
        QCOMPARE(lottery.winners(), winners);
        const std::optional<int16_t> count = step > 0 ? lottery.addWinner() : lottery.removeWinner();
        QCOMPARE(count.value_or(-1), given);
        QCOMPARE(lottery.winners(), given < 0 ? winners : given);
    }
};

QTEST_GUILESS_MAIN(TestWinnerCount)
#include "tst_winner_count.moc"
