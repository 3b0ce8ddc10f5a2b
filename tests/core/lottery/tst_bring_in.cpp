// A list brought in and taken back: the names, the participant count and the winner count as
// they were before the last list, until standby or a group change.
#include "lottery/lottery.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

namespace {

std::unique_ptr<Lottery> startUp(int participants, int winners)
{
    auto lottery = std::make_unique<Lottery>(LotterySources{std::make_unique<TestRandom>(3), std::make_unique<FixedTicks>()});
    lottery->start(setupLines(counts(participants, winners, 0)));
    return lottery;
}

Entries boxes(int count)
{
    Entries entries;
    for (int i = 0; i < count; ++i) {
        entries.names[i] = QStringLiteral("N%1").arg(i);
        entries.prizes[i] = QStringLiteral("P%1").arg(i);
    }
    return entries;
}

QStringList names(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("L%1").arg(i);
    return list;
}

} // namespace

class TestBringIn : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the counts before, the lists brought in one after another; after 元に戻す, the
    // counts of before the last list.
    void restore_data()
    {
        QTest::addColumn<int>("participants");
        QTest::addColumn<int>("winners");
        QTest::addColumn<QList<int>>("lists");
        QTest::addColumn<int>("participantsAfter");
        QTest::addColumn<int>("winnersAfter");
        QTest::newRow("a short list lowered the winners") << 10 << 3 << QList<int>{2} << 10 << 3;
        QTest::newRow("winners as many as the list") << 5 << 3 << QList<int>{3} << 5 << 3;
        QTest::newRow("a longer list") << 2 << 1 << QList<int>{37} << 2 << 1;
        QTest::newRow("the last of two lists") << 10 << 3 << QList<int>{2, 5} << 2 << 1;
    }

    void restore()
    {
        QFETCH(int, participants);
        QFETCH(int, winners);
        QFETCH(QList<int>, lists);
        QFETCH(int, participantsAfter);
        QFETCH(int, winnersAfter);
        const std::unique_ptr<Lottery> lottery = startUp(participants, winners);
        QVERIFY(!lottery->canRestoreEntries());
        Entries shown = boxes(participants);
        Entries beforeLast;
        for (int count : lists) {
            beforeLast = shown;
            lottery->rememberEntries(shown);
            const std::optional<NamesTaken> taken = lottery->takeNames(names(count));
            QVERIFY(taken);
            shown.names = taken->names;
        }
        QVERIFY(lottery->canRestoreEntries());
        const std::optional<EntriesRestored> restored = lottery->restoreEntries();
        QVERIFY(restored);
        QCOMPARE(restored->names, beforeLast.names);
        QCOMPARE(restored->prizes, beforeLast.prizes);
        QCOMPARE(restored->layout.participants, participantsAfter);
        QCOMPARE(lottery->state().man_count, participantsAfter);
        QCOMPARE(lottery->state().atari_count, winnersAfter);
        QVERIFY(restored->layout.ladder.made);
        // Once only.
        QVERIFY(!lottery->canRestoreEntries());
        QVERIFY(!lottery->restoreEntries());
    }

    // Standby and a group change end what 元に戻す can put back.
    void endedBy_data()
    {
        QTest::addColumn<bool>("standby");
        QTest::newRow("standby") << true;
        QTest::newRow("group change") << false;
    }

    void endedBy()
    {
        QFETCH(bool, standby);
        const std::unique_ptr<Lottery> lottery = startUp(5, 1);
        lottery->rememberEntries(boxes(5));
        QVERIFY(lottery->takeNames(names(3)));
        if (standby)
            QVERIFY(!lottery->standby(boxes(3), 0, 0, unsaved).refusal);
        else
            QVERIFY(lottery->changeGroup(1, boxes(3), [](const settings::SetupLines &) { return true; }));
        QVERIFY(!lottery->canRestoreEntries());
        QVERIFY(!lottery->restoreEntries());
        QCOMPARE(lottery->state().ready_flag, standby ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestBringIn)
#include "tst_bring_in.moc"
