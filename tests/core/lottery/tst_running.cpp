// A path that runs, as rules: its result written only at its arrival (or when skipped), the locks
// while it runs, the automatic run waiting for each arrival, the rungs told once each, and which
// arrivals are wins. Time is the lottery's tick source, set by the test.
#include "lottery/lottery.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

#include <limits>

namespace {

constexpr int kParticipants = 5;
constexpr int kWinners = 2;

Entries boxes()
{
    Entries entries;
    for (int i = 0; i < kParticipants; ++i) {
        entries.names[i] = QStringLiteral("N%1").arg(i);
        entries.prizes[i] = QStringLiteral("P%1").arg(i);
    }
    return entries;
}

// A lottery after standby, with its clock where the test puts it.
struct Running
{
    FixedTicks *clock = nullptr;
    Lottery lottery;

    explicit Running(int mode = modes::kWinnerMode, int winners = kWinners, int32_t start = 0)
        : lottery(sources(start))
    {
        lottery.start(setupLines(counts(kParticipants, winners, mode)));
        lottery.standby(boxes(), 0, 0, unsaved);
    }
    LotterySources sources(int32_t start)
    {
        auto ticks = std::make_unique<FixedTicks>(start);
        clock = ticks.get();
        return LotterySources{std::make_unique<TestRandom>(5), std::move(ticks)};
    }
    int duration() const { return ladder::runDuration(ladder::RunSpeed::Normal); }
    std::optional<TraceStep> start(int index) { return lottery.startPath(index, ladder::RunSpeed::Normal); }
};

int rungsOf(const ladder::PathRoute &route)
{
    return int(std::count_if(route.cells.begin(), route.cells.end(), [](int16_t cell) { return cell != 0; }));
}

// One entry point by letter, with its ordinary arguments; whether it did anything.
bool act(Lottery &lottery, QChar action)
{
    switch (action.unicode()) {
    case u's': {
        const Standby done = lottery.standby(boxes(), 0, 0, unsaved);
        return done.refusal || done.ladder.made || done.saved;
    }
    case u'+': return lottery.addParticipant().has_value();
    case u'-': return lottery.removeParticipant().has_value();
    case u'w': return lottery.addWinner().has_value();
    case u'W': return lottery.removeWinner().has_value();
    case u'm': return lottery.makeLadder().drawing.has_value();
    case u'o': return lottery.changeMode(boxes().prizes).look.has_value();
    case u'p': return lottery.toggleStoredPrizes().has_value();
    case u'g': return lottery.changeGroup(1, boxes(), unsaved).has_value();
    case u'v': return lottery.paste(BoxColumn::Prizes, 0, {QStringLiteral("X")}, boxes()).has_value();
    case u't': return lottery.trace(0).has_value();
    case u'r': return lottery.startPath(0, ladder::RunSpeed::Fast).has_value();
    case u'a': lottery.startAutoRun(); return lottery.autoRunTick().step.has_value();
    case u'A': lottery.startAutoRun(); return lottery.autoRunStartPath(ladder::RunSpeed::Fast).step.has_value();
    }
    return false;
}

} // namespace

class TestRunning : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the tick the path starts at, and the time at the frame about the path's duration.
    // Until the lottery is told the path arrived, nothing is written behind its prize and the
    // phase is Running; the frame says it arrived from the duration on. Told before (a path
    // skipped), the result is written whole all the same.
    void resultAtArrival_data()
    {
        QTest::addColumn<int32_t>("startTick");
        QTest::addColumn<int>("fromDuration");
        for (int32_t start : {0, std::numeric_limits<int32_t>::max() - 5}) {
            const char *where = start == 0 ? "from 0" : "across the tick count's wrap";
            QTest::addRow("%s, one ms short", where) << start << -1;
            QTest::addRow("%s, at the duration", where) << start << 0;
            QTest::addRow("%s, one ms past", where) << start << 1;
        }
    }

    void resultAtArrival()
    {
        QFETCH(int32_t, startTick);
        QFETCH(int, fromDuration);
        Running run(modes::kWinnerMode, kWinners, startTick);
        const RowResults before = run.lottery.results();
        const std::optional<TraceStep> step = run.start(2);
        QVERIFY(step);
        QCOMPARE(run.lottery.phase(), LotteryPhase::Running);
        QCOMPARE(run.lottery.runningParticipant(), std::optional<int>(2));

        run.clock->value = int32_t(uint32_t(startTick) + uint32_t(run.duration() + fromDuration));
        const std::optional<RunningFrame> frame = run.lottery.runningFrame();
        QVERIFY(frame);
        QCOMPARE(frame->arrived, fromDuration >= 0);
        QCOMPARE(frame->participant, 2);
        QCOMPARE(run.lottery.results()[step->prizeRow].text, before[step->prizeRow].text);
        QCOMPARE(run.lottery.phase(), LotteryPhase::Running);

        const std::optional<TraceStep> arrived = run.lottery.arrive();
        QVERIFY(arrived);
        QCOMPARE(arrived->prizeRow, step->prizeRow);
        QCOMPARE(run.lottery.results()[step->prizeRow].text, step->resultText);
        QVERIFY(step->resultText.endsWith(QStringLiteral("N2")));
        QCOMPARE(run.lottery.phase(), LotteryPhase::Ready);
        QVERIFY(!run.lottery.runningFrame());
        QVERIFY(!run.lottery.arrive());
    }

    // Rows: an entry point (letters as in act()). While a path runs it does nothing and the path
    // runs on; once the path has arrived it acts again.
    void locks_data()
    {
        QTest::addColumn<QChar>("action");
        const std::pair<const char *, char> rows[] = {
            {"standby", 's'}, {"one participant more", '+'}, {"one participant fewer", '-'},
            {"one winner more", 'w'}, {"one winner fewer", 'W'}, {"a new ladder", 'm'},
            {"the next mode", 'o'}, {"the stored prizes", 'p'}, {"a group change", 'g'},
            {"a paste", 'v'}, {"an instant trace", 't'}, {"another path started", 'r'},
            {"a tick of the automatic run", 'a'}, {"a tick of the automatic run with the show", 'A'}};
        for (const auto &[name, letter] : rows)
            QTest::newRow(name) << QChar(letter);
    }

    void locks()
    {
        QFETCH(QChar, action);
        Running run;
        QVERIFY(run.start(1));
        const int participants = run.lottery.participantCount();
        const int winners = run.lottery.winners();
        const int16_t mode = run.lottery.drawMode();
        const settings::SetupLines lines = run.lottery.settingsLines();

        QVERIFY(!act(run.lottery, action));
        QCOMPARE(run.lottery.phase(), LotteryPhase::Running);
        QCOMPARE(run.lottery.runningParticipant(), std::optional<int>(1));
        QCOMPARE(run.lottery.participantCount(), participants);
        QCOMPARE(run.lottery.winners(), winners);
        QCOMPARE(run.lottery.drawMode(), mode);
        QCOMPARE(run.lottery.settingsLines(), lines);

        QVERIFY(run.lottery.arrive());
        QVERIFY(act(run.lottery, action));
    }

    // The automatic run starts one path at a time: a tick while one runs neither starts another
    // nor moves on; the last arrival finishes the lottery.
    void autoRunWaitsForEachArrival()
    {
        Running run;
        QVERIFY(run.lottery.startAutoRun());
        QList<int> started;
        int waited = 0;
        for (int tick = 0; tick < 4 * kParticipants && run.lottery.phase() != LotteryPhase::Finished; ++tick) {
            if (run.lottery.phase() == LotteryPhase::Running) {
                const AutoTick idle = run.lottery.autoRunStartPath(ladder::RunSpeed::Normal);
                QVERIFY(!idle.step);
                QVERIFY(!idle.last);
                ++waited;
                run.lottery.arrive();
                continue;
            }
            const AutoTick next = run.lottery.autoRunStartPath(ladder::RunSpeed::Normal);
            QVERIFY(next.step);
            QCOMPARE(next.last, started.size() == kParticipants - 1);
            started << next.step->participant;
        }
        QCOMPARE(started, (QList<int>{0, 1, 2, 3, 4}));
        QCOMPARE(waited, kParticipants);
        QCOMPARE(run.lottery.phase(), LotteryPhase::Finished);
    }

    // Frames at any ticks tell each rung of the route once, in all; a frame at the same tick tells
    // none again.
    void rungsToldOnce()
    {
        for (int participant = 0; participant < kParticipants; ++participant) {
            Running run;
            const std::optional<TraceStep> step = run.start(participant);
            QVERIFY(step);
            int told = 0;
            for (int share : {0, 1, 1, 2, 3}) {
                run.clock->value = run.duration() * share / 3;
                told += run.lottery.runningFrame()->rungsCrossed;
            }
            QCOMPARE(run.lottery.runningFrame()->rungsCrossed, 0);
            QCOMPARE(told, rungsOf(step->route));
        }
    }

    // Rows: a mode and a winner count. An arrival is a win in winner mode where the path reached
    // あたり, never in the other modes.
    void wins_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("winners");
        QTest::addColumn<int>("wins");
        QTest::newRow("winner mode, the fewest winners") << int(modes::kWinnerMode) << 1 << 1;
        QTest::newRow("winner mode, the most winners") << int(modes::kWinnerMode) << kParticipants - 1 << kParticipants - 1;
        QTest::newRow("lottery mode") << int(modes::kLotteryMode) << 1 << 0;
        QTest::newRow("number mode") << int(modes::kNumberMode) << 1 << 0;
    }

    void wins()
    {
        QFETCH(int, mode);
        QFETCH(int, winners);
        QFETCH(int, wins);
        Running run(mode, winners);
        int won = 0;
        for (int i = 0; i < kParticipants; ++i) {
            QVERIFY(run.start(i));
            const std::optional<TraceStep> arrived = run.lottery.arrive();
            QVERIFY(arrived);
            QCOMPARE(arrived->win, arrived->reached == QStringLiteral("あたり"));
            won += arrived->win;
            QCOMPARE(arrived->allTraced, i == kParticipants - 1);
        }
        QCOMPARE(won, wins);
    }
};

QTEST_GUILESS_MAIN(TestRunning)
#include "tst_running.moc"
