// A path that runs, as rules: its result written only at arrival, the locks while it runs, and the
// rungs told once each. Time is the lottery's tick source, set by the test.
#include "lottery/lottery.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

#include <limits>
#include <string_view>

namespace {

constexpr int kParticipants = 5;
const int kRun = ladder::runDuration(ladder::RunSpeed::Normal);

Entries boxes()
{
    Entries entries;
    for (int i = 0; i < kParticipants; ++i) {
        entries.names[i] = QStringLiteral("N%1").arg(i);
        entries.prizes[i] = QStringLiteral("P%1").arg(i);
    }
    return entries;
}

// A lottery in winner mode after standby, with its clock where the test puts it.
struct Running
{
    FixedTicks *clock = nullptr;
    Lottery lottery;

    explicit Running(int32_t start = 0)
        : lottery(sources(start))
    {
        lottery.start(setupLines(counts(kParticipants, 2, modes::kWinnerMode)));
        lottery.standby(boxes(), 0, 0, unsaved);
    }
    LotterySources sources(int32_t start)
    {
        auto ticks = std::make_unique<FixedTicks>(start);
        clock = ticks.get();
        return LotterySources{std::make_unique<TestRandom>(5), std::move(ticks)};
    }
    std::optional<TraceStep> start(int index) { return lottery.startPath(index, ladder::RunSpeed::Normal); }
};

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
    // Rows: the start tick (also across the tick count's wrap) and a frame one ms about the duration.
    void resultAtArrival_data()
    {
        QTest::addColumn<int32_t>("startTick");
        QTest::addColumn<int>("fromDuration");
        for (int32_t start : {0, std::numeric_limits<int32_t>::max() - 5})
            for (int offset : {-1, 0, 1})
                QTest::addRow("from %d, %+d ms", start, offset) << start << offset;
    }

    // The frame tells the arrival from the duration on; the result is written only by arrive().
    void resultAtArrival()
    {
        QFETCH(int32_t, startTick);
        QFETCH(int, fromDuration);
        Running run(startTick);
        const RowResults before = run.lottery.results();
        const std::optional<TraceStep> step = run.start(2);
        QVERIFY(step);
        run.clock->value = int32_t(uint32_t(startTick) + uint32_t(kRun + fromDuration));
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
        QVERIFY(!run.lottery.runningFrame() && !run.lottery.arrive());
    }

    // Rows: an entry point (letters as in act()); refused while a path runs, acting once it arrived.
    void locks_data()
    {
        QTest::addColumn<QChar>("action");
        for (char letter : std::string_view("s+-wWmopgvtraA"))
            QTest::addRow("%c", letter) << QChar(letter);
    }

    void locks()
    {
        QFETCH(QChar, action);
        Running run;
        QVERIFY(run.start(1));
        const settings::SetupLines lines = run.lottery.settingsLines();
        const auto state = [&] {
            return QList<int>{run.lottery.participantCount(), run.lottery.winners(), run.lottery.drawMode()};
        };
        const QList<int> before = state();
        QVERIFY(!act(run.lottery, action));
        QCOMPARE(run.lottery.runningParticipant(), std::optional<int>(1));
        QCOMPARE(state(), before);
        QCOMPARE(run.lottery.settingsLines(), lines);
        QVERIFY(run.lottery.arrive());
        QVERIFY(act(run.lottery, action));
    }

    // Frames at any ticks tell each rung of the route once in all; a frame at the same tick, none.
    void rungsToldOnce()
    {
        for (int participant = 0; participant < kParticipants; ++participant) {
            Running run;
            const std::optional<TraceStep> step = run.start(participant);
            QVERIFY(step);
            int told = 0;
            for (int share : {0, 1, 1, 2, 3}) {
                run.clock->value = kRun * share / 3;
                told += run.lottery.runningFrame()->rungsCrossed;
            }
            QCOMPARE(run.lottery.runningFrame()->rungsCrossed, 0);
            QCOMPARE(told, int(std::count_if(step->route.cells.begin(), step->route.cells.end(),
                                             [](int16_t cell) { return cell != 0; })));
        }
    }
};

QTEST_GUILESS_MAIN(TestRunning)
#include "tst_running.moc"
