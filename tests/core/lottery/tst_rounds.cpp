// Prize draws in rounds as rules: who goes on, the winner count there, what standby saves in a
// round (the group keeps its whole list), the round in the result's first line, and what ends a
// round.
#include "lottery/lottery.h"
#include "settings/layout.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

using namespace settings;

namespace {

const QString kMemo = QStringLiteral("忘年会");

std::unique_ptr<Lottery> startUp(int mode, int participants, int winners)
{
    auto lottery = std::make_unique<Lottery>(LotterySources{std::make_unique<TestRandom>(7), std::make_unique<FixedTicks>()});
    lottery->start(setupLines(counts(participants, winners, mode)));
    return lottery;
}

Entries boxes(const QStringList &names)
{
    Entries entries;
    for (int i = 0; i < names.size(); ++i) {
        entries.names[i] = names[i];
        entries.prizes[i] = QStringLiteral("P%1").arg(i);
    }
    entries.memo = kMemo;
    return entries;
}

QStringList shown(const GroupTexts &group)
{
    return QStringList(group.names.begin(), group.names.end());
}

// Group 1's participant count and its 37 names, as stored or as given.
QStringList groupList(const SetupLines &lines)
{
    QStringList list{lines[participantCountLine(1)]};
    for (int i = 0; i < kBoxCount; ++i)
        list << lines[nameLine(1, i)];
    return list;
}
QStringList groupList(const QStringList &names)
{
    return QStringList{QString::number(names.size())} + names + QStringList(kBoxCount - names.size(), QString());
}

// Every path traced; the names whose path reached a prize box with nothing behind it at standby.
QStringList traceAll(Lottery &lottery, const Entries &entries)
{
    const RowResults hidden = lottery.results();
    QStringList missed;
    for (int i = 0; i < lottery.state().man_count; ++i) {
        if (const std::optional<TraceStep> step = lottery.trace(i); step && hidden[step->prizeRow].text.isEmpty())
            missed << entries.names[i];
    }
    return missed;
}

QStringList names(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("N%1").arg(i);
    return list;
}

} // namespace

class TestRounds : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the mode, the participant and winner counts of each round (the first from the
    // file), and whether a further round is possible after the last.
    void rounds_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("participants");
        QTest::addColumn<QList<int>>("winners");
        QTest::addColumn<bool>("further");
        const int winner = modes::kWinnerMode;
        QTest::newRow("3 of 37 win, three rounds") << winner << QList{37, 34, 31} << QList{3, 3, 3} << true;
        QTest::newRow("5 of 37 win: 32 go on, winners 5") << winner << QList{37, 32} << QList{5, 5} << true;
        QTest::newRow("2 of 4 win: 2 go on, winners lowered to 1") << winner << QList{4, 2} << QList{2, 1} << false;
        QTest::newRow("35 of 37 win: 2 go on, winners lowered to 1") << winner << QList{37, 2} << QList{35, 1} << false;
        QTest::newRow("3 of 4 win: 1 left, no round") << winner << QList{4} << QList{3} << false;
        QTest::newRow("1 of 2 wins: no round") << winner << QList{2} << QList{1} << false;
        QTest::newRow("no winner in the file: all 4 go on, winners 1") << winner << QList{4, 4} << QList{0, 1} << true;
        QTest::newRow("number mode: no round") << int(modes::kNumberMode) << QList{5} << QList{1} << false;
        QTest::newRow("lottery mode: no round") << int(modes::kLotteryMode) << QList{5} << QList{1} << false;
    }

    void rounds()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, participants);
        QFETCH(QList<int>, winners);
        QFETCH(bool, further);
        auto lottery = startUp(mode, participants[0], winners[0]);
        Entries entries = boxes(names(participants[0]));
        const QStringList whole = groupList(names(participants[0]));
        for (int round = 1;; ++round) {
            QCOMPARE(lottery->round(), round);
            QCOMPARE(int(lottery->state().man_count), participants[round - 1]);
            QCOMPARE(int(lottery->state().atari_count), winners[round - 1]);
            QVERIFY(!lottery->standby(entries, 0, 0, unsaved).refusal);
            // Standby stores the memo and the winner count; the group's list stays the first round's.
            QCOMPARE(groupList(lottery->settingsLines()), whole);
            QCOMPARE(lottery->settingsLines()[winnerCountLine(1)], QString::number(winners[round - 1]));
            QCOMPARE(lottery->settingsLines()[memoLine(1)], kMemo);
            QVERIFY(!lottery->roundPossible());
            const QStringList missed = traceAll(*lottery, entries);
            QCOMPARE(lottery->resultSummary(QStringLiteral("2026/12/07 13:44:05")).section(QLatin1Char('\n'), 0, 0),
                     kMemo + (round == 1 ? QStringLiteral(" ") : QStringLiteral(" 第%1回 ").arg(round)) + "2026/12/07 13:44:05");
            const bool last = round == participants.size();
            QCOMPARE(lottery->roundPossible(), !last || further);
            if (last)
                break;
            // Those who did not win go on, in name-box order.
            const std::optional<Startup> opening = lottery->nextRound();
            QVERIFY(opening && opening->layout);
            QCOMPARE(shown(opening->group), groupList(missed).mid(1));
            QCOMPARE(int(opening->layout->participants), missed.size());
            QCOMPARE(opening->group.memo, kMemo);
            entries = boxes(missed);
        }
        if (!further) {
            const QStringList summary = lottery->resultSummary(QString()).split(QLatin1Char('\n'));
            QVERIFY(!lottery->nextRound());
            QCOMPARE(lottery->resultSummary(QString()).split(QLatin1Char('\n')), summary);
        }
        // The next lottery goes back to the whole list, with the winner count stored last.
        const Startup next = lottery->nextLottery();
        QCOMPARE(lottery->round(), 1);
        QCOMPARE(shown(next.group), whole.mid(1));
        QCOMPARE(int(lottery->state().man_count), participants[0]);
        QCOMPARE(int(lottery->state().atari_count), winners.last());
    }

    // Rows: what is done in round 2's entry phase, the round standby then runs in, and the list
    // the group then holds. No save, failed or not, ever holds less than a whole list.
    void roundEnds_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("round");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("names edited: not stored") << "edit" << 2 << names(6);
        QTest::newRow("group change there and back") << "group" << 1 << names(6);
        QTest::newRow("group change not saved") << "unsaved group" << 2 << names(6);
        QTest::newRow("a list taken in is a whole list") << "take" << 1 << QStringList{"A", "B", "C"};
    }

    void roundEnds()
    {
        QFETCH(QString, action);
        QFETCH(int, round);
        QFETCH(QStringList, list);
        auto lottery = startUp(modes::kWinnerMode, 6, 2);
        QVERIFY(!lottery->standby(boxes(names(6)), 0, 0, unsaved).refusal);
        Entries entries = boxes(traceAll(*lottery, boxes(names(6))));
        QVERIFY(lottery->nextRound());
        entries.names[0] = QStringLiteral("X");
        QList<SetupLines> saves;
        const auto save = [&](const SetupLines &lines) {
            saves << lines;
            return action != QStringLiteral("unsaved group");
        };
        if (action.endsWith(QStringLiteral("group"))) {
            const std::optional<GroupEntered> there = lottery->changeGroup(+1, entries, save);
            QCOMPARE(bool(there), action == QStringLiteral("group"));
            if (there)
                entries.names = lottery->changeGroup(-1, boxes({}), save).value().group.names;
        }
        if (action == QStringLiteral("take"))
            entries.names = lottery->takeNames(list).value().names;

        QCOMPARE(lottery->round(), round);
        QVERIFY(!lottery->standby(entries, 0, 0, unsaved).refusal);
        QCOMPARE(groupList(lottery->settingsLines()), groupList(list));
        for (const SetupLines &lines : saves)
            QCOMPARE(groupList(lines), groupList(names(6)));
    }
};

QTEST_GUILESS_MAIN(TestRounds)
#include "tst_rounds.moc"
