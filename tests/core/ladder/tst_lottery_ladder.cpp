// Making a ladder and tracing it as rules: the winner-count guard, the draws a ladder takes, the
// first ladder of a run, the routes and result texts of a traced lottery and the automatic run.
#include "lottery/lottery.h"
#include "ladder/rungs.h"
#include "settings/layout.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QSet>
#include <QTest>

#include <algorithm>


namespace {

const QString kTooManyWinners = QStringLiteral("あたり数を減らして下さい、") + QChar(0x0D)
    + QStringLiteral("上限は人数より１少ない数です。");
const QString kColon = QStringLiteral(" \uFF1A");

// A seeded lottery, started.
struct Run
{
    QueuedRandom *random;
    FixedTicks *ticks;
    Lottery lottery;
    Startup startup;

    explicit Run(const Lines &lines, int32_t tickValue = 0, unsigned seed = 1)
        : random(new QueuedRandom(seed))
        , ticks(new FixedTicks(tickValue))
        , lottery(LotterySources{std::unique_ptr<RandomSource>(random), std::unique_ptr<TickSource>(ticks)})
        , startup(lottery.start(setupLines(lines)))
    {
    }
};

Entries entries(int count, const QString &name = QStringLiteral("N%1"),
                const QString &prize = QStringLiteral("P%1"))
{
    Entries boxes;
    for (int i = 0; i < count; ++i) {
        boxes.names[i] = name.arg(i);
        boxes.prizes[i] = prize.arg(i);
    }
    return boxes;
}

// Standby; the refusal of its new ladder, if any (standby goes on without it).
std::optional<QString> standby(Lottery &lottery, const Entries &boxes)
{
    const Standby done = lottery.standby(boxes, 0, 0, unsaved);
    if (done.refusal)
        return QStringLiteral("standby refused");
    if (done.ladder.made == done.ladder.refusal.has_value())
        return QStringLiteral("ladder both made and refused, or neither");
    return done.ladder.refusal;
}

bool sameGrid(const LadderGrid &a, const LadderGrid &b)
{
    for (int c = 0; c < LadderGrid::Columns; ++c)
        for (int r = 0; r < LadderGrid::Rows; ++r)
            if (a.at(c, r) != b.at(c, r))
                return false;
    return true;
}

// The line each starting line ends on, found by letting every rung, row by row, swap the two
// participants standing on its lines.
QList<int> endLines(const LadderGrid &grid, int count)
{
    QList<int> standing(count + 1);
    for (int line = 1; line <= count; ++line)
        standing[line] = line;
    for (int row = 1; row < LadderGrid::Rows; ++row)
        for (int gap = 1; gap < count; ++gap)
            if (grid.at(gap, row) == 1)
                std::swap(standing[gap], standing[gap + 1]);
    QList<int> ends(count + 1);
    for (int line = 1; line <= count; ++line)
        ends[standing[line]] = line;
    return ends;
}

} // namespace

class TestLotteryLadder : public QObject
{
    Q_OBJECT

private slots:
    void winnerGuardAtStandby_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("man");
        QTest::addColumn<int>("atari");
        QTest::addColumn<bool>("refused");
        QTest::newRow("winner mode, as many winners") << 0 << 5 << 5 << true;
        QTest::newRow("winner mode, more winners") << 0 << 5 << 9 << true;
        QTest::newRow("winner mode, 2 of 2") << 0 << 2 << 2 << true;
        QTest::newRow("winner mode, 37 of 37") << 0 << 37 << 37 << true;
        QTest::newRow("winner mode, one fewer") << 0 << 5 << 4 << false;
        QTest::newRow("winner mode, no winners") << 0 << 2 << 0 << false;
        QTest::newRow("lottery mode, as many winners") << 1 << 5 << 5 << false;
        QTest::newRow("lottery mode, more winners") << 1 << 3 << 30 << false;
        QTest::newRow("number mode, as many winners") << 2 << 37 << 37 << false;
    }

    // The ladder standby makes: refused in winner mode with too many winners, drawing nothing
    // and keeping the old grid; else the warm-up (3 at 1003 ms) and one draw per candidate.
    // Standby is given exactly the draws of its shuffle, that ladder and a placement on distinct
    // rows.
    void winnerGuardAtStandby()
    {
        QFETCH(int, mode);
        QFETCH(int, man);
        QFETCH(int, atari);
        QFETCH(bool, refused);
        Run run(counts(man, atari, mode), 1003);
        const LadderGrid before = run.lottery.state().ladder;
        QList<float> draws(mode == modes::kLotteryMode ? man - 1 : 0, 0.5f);
        draws += QList<float>(refused ? 0 : 3 + (man - 1) * ladder::candidateRows(man), 0.25f);
        const int placed = mode == modes::kWinnerMode ? std::clamp(atari, 0, man)
            : mode == modes::kNumberMode             ? man
                                                     : 0;
        for (int row = 0; row < placed; ++row)
            draws << (float(row) + 0.5f) / float(man);

        Standby done;
        QVERIFY(run.random->takes(draws, [&] { done = run.lottery.standby(entries(man), 0, 0, unsaved); }));
        QVERIFY(!done.refusal);
        QCOMPARE(done.ladder.refusal.value_or(QString()), refused ? kTooManyWinners : QString());
        QCOMPARE(done.ladder.made, !refused);
        QVERIFY(!refused || sameGrid(run.lottery.state().ladder, before));
        // What the window draws comes with a ladder made, and is that ladder.
        QCOMPARE(done.ladder.drawing.has_value(), !refused);
        QVERIFY(refused || (sameGrid(done.ladder.drawing->grid, run.lottery.state().ladder)
                            && done.ladder.drawing->participants == man));
    }

    void warmUpThenOneDrawPerCandidate_data()
    {
        QTest::addColumn<int>("man");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("warmUp");
        QTest::newRow("5 participants, 123456 ms") << 5 << 123456 << 456;
        QTest::newRow("20 participants, 999 ms") << 20 << 999 << 999;
        QTest::newRow("21 participants, multiple of 1000") << 21 << 7000 << 0;
        QTest::newRow("37 participants, negative ticks") << 37 << -123456 << 0;
        QTest::newRow("37 participants, 1 ms") << 37 << 1 << 1;
    }

    // The warm-up count is all the tick count adds: the same count gives the same ladder,
    // another gives another. The generator is never reseeded, so the next ladder differs again.
    void warmUpThenOneDrawPerCandidate()
    {
        QFETCH(int, man);
        QFETCH(int, ticks);
        QFETCH(int, warmUp);
        const auto drawsForLadder = [](Run &run, int32_t tickValue) {
            run.ticks->value = tickValue;
            const long long before = run.random->draws;
            return run.lottery.makeLadder().made ? run.random->draws - before : -1LL;
        };
        Run run(counts(man, 1, 1)), sameCount(counts(man, 1, 1)), otherCount(counts(man, 1, 1));
        const long long candidates = (long long)(man - 1) * ladder::candidateRows(man);
        const int other = (warmUp + 1) % 1000;
        QCOMPARE(drawsForLadder(run, ticks), warmUp + candidates);
        QCOMPARE(drawsForLadder(sameCount, warmUp), warmUp + candidates);
        QCOMPARE(drawsForLadder(otherCount, other), other + candidates);
        QVERIFY(sameGrid(run.lottery.state().ladder, sameCount.lottery.state().ladder));
        QVERIFY(!sameGrid(run.lottery.state().ladder, otherCount.lottery.state().ladder));

        const LadderGrid first = run.lottery.state().ladder;
        QCOMPARE(drawsForLadder(run, ticks), warmUp + candidates);
        QVERIFY(!sameGrid(run.lottery.state().ladder, first));
    }

    // Two participants after ten: no rung of the longer ladder is left below line 2.
    void newLadderClearsTheLongerOne()
    {
        Run run(counts(10, 1, 1));
        QCOMPARE(run.lottery.state().ladder.at(9, 2), 1);
        while (const std::optional<Layout> layout = run.lottery.removeParticipant()) {
            QVERIFY(layout->ladder.made && !layout->ladder.refusal);
            QCOMPARE(layout->participants, run.lottery.state().man_count);
        }
        QCOMPARE(run.lottery.state().man_count, int16_t(2));
        for (int c = 3; c < LadderGrid::Columns; ++c)
            for (int r = 0; r < LadderGrid::Rows; ++r)
                QCOMPARE(run.lottery.state().ladder.at(c, r), int16_t(0));
    }

    void fewerParticipantsLowerTheWinnersFirst_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("man");
        QTest::addColumn<int>("atari");
        QTest::addColumn<int>("atariAfter");
        QTest::addColumn<bool>("made");
        QTest::newRow("winner mode, winners reach the new count") << 0 << 5 << 4 << 3 << true;
        QTest::newRow("winner mode, winners below it") << 0 << 5 << 3 << 3 << true;
        QTest::newRow("winner mode, still too many") << 0 << 5 << 9 << 8 << false;
        QTest::newRow("winner mode, 2 of 3") << 0 << 3 << 3 << 2 << false;
        QTest::newRow("lottery mode, winners follow too") << 1 << 37 << 36 << 35 << true;
    }

    // One participant fewer lowers a winner count that reaches the new count by one, before the
    // new ladder is made, so that the winner guard sees the lowered count.
    void fewerParticipantsLowerTheWinnersFirst()
    {
        QFETCH(int, mode);
        QFETCH(int, man);
        QFETCH(int, atari);
        QFETCH(int, atariAfter);
        QFETCH(bool, made);
        Run run(counts(man, atari, mode));
        const LadderGrid before = run.lottery.state().ladder;
        const std::optional<Layout> layout = run.lottery.removeParticipant();
        QVERIFY(layout);
        QCOMPARE(layout->participants, int16_t(man - 1));
        QCOMPARE(run.lottery.state().atari_count, int16_t(atariAfter));
        QCOMPARE(layout->ladder.made, made);
        QCOMPARE(layout->ladder.refusal.value_or(QString()), made ? QString() : kTooManyWinners);
        // A refused ladder keeps the one shown, cut to the lines left.
        LadderGrid kept = before;
        if (!made)
            ladder::cutToLines(kept, man - 1);
        QCOMPARE(sameGrid(run.lottery.state().ladder, made ? before : kept), !made);
        QCOMPARE(layout->ladder.keptCut, !made);
    }

    void firstLadderOfARun_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::newRow("no settings file") << Lines{};
        QTest::newRow("participant line 38") << Lines{{1, u"38"_qs}, {14, u"1"_qs}};
        QTest::newRow("participant line 1") << Lines{{1, u"1"_qs}, {14, u"1"_qs}};
        QTest::newRow("participant line not a number") << Lines{{1, u"zwei"_qs}, {14, u"1"_qs}};
    }

    // Two participants and a ladder made before any density is chosen, so every row the parity
    // rule allows (2, 4 and 6) has its rung; a tick count of 2500 warms up with 500 draws.
    void firstLadderOfARun()
    {
        QFETCH(Lines, lines);
        Run run(lines, 2500);
        const LotteryState &st = run.lottery.state();
        QCOMPARE(st.man_count, 2);
        QCOMPARE(st.atari_count, 1);
        QCOMPARE(st.line_top, 720);
        QVERIFY(run.startup.layout && run.startup.layout->ladder.made);
        QList<int> rows;
        for (int r = 1; r < LadderGrid::Rows; ++r)
            if (st.ladder.at(1, r) == 1)
                rows << r;
        QCOMPARE(rows, (QList<int>{2, 4, 6}));
        // Warm-up, one draw per candidate, then the density of the first mode change.
        QCOMPARE(run.random->draws, 500LL + 5 + 1);
    }

    void tracesEveryoneOnce_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("prize");
        for (int count = 2; count <= 37; ++count)
            QTest::addRow("lottery mode, %d participants", count) << 1 << count << u"N%1"_qs << u"P%1"_qs;
        QTest::newRow("winner mode") << 0 << 6 << u"N%1"_qs << u"P%1"_qs;
        QTest::newRow("number mode") << 2 << 6 << u"N%1"_qs << u"P%1"_qs;
        QTest::newRow("longer than the typing limit") << 1 << 4 << u"ＡＢＣＤＥＦＧＨＩＪＫ%1"_qs
                                                      << u"１２３４５６７８９０１%1"_qs;
    }

    // Nothing is traced before standby. Then each participant's path ends where the rungs lead
    // and adds " ：name" to that row's result, once: every row is reached once, a second trace or
    // a row without a participant does nothing, and only the last trace finds everyone traced.
    void tracesEveryoneOnce()
    {
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(QString, name);
        QFETCH(QString, prize);
        Run run(counts(count, 1, mode), 0, unsigned(count));
        Lottery &lottery = run.lottery;
        QVERIFY(!lottery.trace(0));
        QVERIFY(!lottery.startAutoRun());
        QVERIFY(!standby(lottery, entries(count, name, prize)));
        const QList<int> ends = endLines(lottery.state().ladder, count);
        const RowResults before = lottery.results();

        for (int i = 0; i < count; ++i) {
            const std::optional<TraceStep> step = lottery.trace(i);
            QVERIFY(step);
            QCOMPARE(step->route.startLine, i + 1);
            QCOMPARE(step->route.finalLine, ends[i + 1]);
            QCOMPARE(step->prizeRow, ends[i + 1] - 1);
            QCOMPARE(step->color, tableColor(kColorTable, i));
            QCOMPARE(step->resultText, before[step->prizeRow].text + kColon + name.arg(i));
            QCOMPARE(lottery.results()[step->prizeRow].text, step->resultText);
            QCOMPARE(lottery.state().ladder.at(i + 1, 0), int16_t(1));
            QCOMPARE(step->allTraced, i == count - 1);
            QCOMPARE(lottery.state().all_traced, int16_t(i == count - 1));
            QVERIFY(!lottery.trace(i));
        }
        QVERIFY(!lottery.trace(count));
        for (int row = 0; row < kBoxCount; ++row)
            QCOMPARE(lottery.results()[row].text.count(kColon), row < count ? 1 : 0);
    }

    void keptLadderIsCutToTheParticipants_data()
    {
        QTest::addColumn<int>("man");
        QTest::addColumn<int>("atari");
        QTest::addColumn<int>("fewer");
        QTest::newRow("5 with 9 winners, one fewer") << 5 << 9 << 1;
        QTest::newRow("5 with 7 winners, one fewer") << 5 << 7 << 1;
        QTest::newRow("37 with 40 winners, down to 2") << 37 << 40 << 35;
    }

    // An edited file's counts: more winners than participants, then fewer participants. Each new
    // ladder is refused, so the one of start-up stays, cut to the lines left: standby completes
    // on it and every participant's path ends on one of their rows, so the lottery finishes.
    void keptLadderIsCutToTheParticipants()
    {
        QFETCH(int, man);
        QFETCH(int, atari);
        QFETCH(int, fewer);
        Run run(counts(man, atari, 0), 0, unsigned(man + atari));
        Lottery &lottery = run.lottery;
        for (int k = 0; k < fewer; ++k) {
            const std::optional<Layout> layout = lottery.removeParticipant();
            QVERIFY(layout && !layout->ladder.made && layout->ladder.keptCut);
            // The kept ladder is drawn again, on the lines left.
            QVERIFY(layout->ladder.drawing);
            QCOMPARE(layout->ladder.drawing->participants, man - k - 1);
        }
        const int count = man - fewer;
        QCOMPARE(standby(lottery, entries(count)).value_or(QString()), kTooManyWinners);
        QSet<int> rows;
        for (int i = 0; i < count; ++i) {
            const std::optional<TraceStep> step = lottery.trace(i);
            QVERIFY(step);
            QVERIFY(step->prizeRow >= 0 && step->prizeRow < count);
            rows.insert(step->prizeRow);
        }
        QCOMPARE(rows.size(), count);
        QVERIFY(lottery.allTraced());
    }

    void automaticRun_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("clickAfterTick"); // a click on a name after this many ticks
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("runs");
        QTest::addColumn<QList<int>>("tracedByTick"); // -1: the tick traces nobody
        QTest::newRow("whole run") << 3 << -1 << 0 << 1 << QList<int>{0, 1, 2};
        QTest::newRow("click ahead ends the run") << 3 << 1 << 2 << 1 << QList<int>{0, -1};
        QTest::newRow("click back goes on from there") << 4 << 2 << 0 << 1 << QList<int>{0, 1, -1, -1, 2, 3};
        QTest::newRow("run started again") << 3 << -1 << 0 << 2 << QList<int>{0, 1, 2, -1, -1, -1};
    }

    // Each tick traces participant trace_index and moves on; the tick of the last participant
    // ends the run with trace_index at the participant count. A click sets the index.
    void automaticRun()
    {
        QFETCH(int, count);
        QFETCH(int, clickAfterTick);
        QFETCH(int, clicked);
        QFETCH(int, runs);
        QFETCH(QList<int>, tracedByTick);
        Run run(counts(count, 1, 1));
        Lottery &lottery = run.lottery;
        QVERIFY(!standby(lottery, entries(count)));

        QList<int> traced;
        for (int r = 0; r < runs; ++r) {
            QVERIFY(lottery.startAutoRun());
            QCOMPARE(lottery.state().trace_index, 0);
            for (bool last = false; !last && traced.size() < 50;) {
                const int index = lottery.state().trace_index;
                const AutoTick tick = lottery.autoRunTick();
                last = tick.last;
                traced << (tick.step ? index : -1);
                QVERIFY(!tick.step || tick.step->route.startLine == index + 1);
                QCOMPARE(lottery.state().trace_index, index + 1);
                if (traced.size() == clickAfterTick)
                    lottery.trace(clicked);
            }
            QCOMPARE(lottery.state().trace_index, count);
        }
        QCOMPARE(traced, tracedByTick);
    }
};

QTEST_GUILESS_MAIN(TestLotteryLadder)
#include "tst_lottery_ladder.moc"
