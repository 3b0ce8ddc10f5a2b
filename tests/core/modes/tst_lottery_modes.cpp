// The draw modes and standby as rules: the entry checks, the hidden results per row (the prize
// shuffle, the winner and number placements), the stored prize list, the lines standby saves,
// and what a mode change keeps and draws.
#include "lottery/lottery.h"
#include "ladder/rungs.h"
#include "modes/mode_cycle.h"
#include "settings/layout.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

#include <random>

using namespace settings;

namespace {

constexpr int kWinner = modes::kWinnerMode;
constexpr int kLottery = modes::kLotteryMode;
constexpr int kNumber = modes::kNumberMode;
const QString kNamesMissing = QStringLiteral("名前を全部に入れて下さい");
const QString kPrizesMissing = QStringLiteral("くじ内容を全部に入れて下さい");
const QString kWin = QStringLiteral("あたり");

struct Run
{
    QueuedRandom *random;
    std::unique_ptr<Lottery> lottery;
};

// Started with a generator that can be given its draws, and a tick count of 0 (no warm-up).
Run startUp(const Lines &lines)
{
    auto random = std::make_unique<QueuedRandom>();
    QueuedRandom *queued = random.get();
    Run run{queued, std::make_unique<Lottery>(LotterySources{std::move(random), std::make_unique<FixedTicks>()})};
    run.lottery->start(setupLines(lines));
    return run;
}

// What the boxes hold: names in the participants' rows and, in lottery mode, prizes P0.. there
// and H.. in the hidden rows.
Entries entries(int count, int mode, const QString &text = QString())
{
    Entries boxes;
    for (int i = 0; i < kBoxCount; ++i) {
        if (i < count)
            boxes.names[i] = text.isNull() ? QStringLiteral("N%1").arg(i) : text;
        if (mode == kLottery)
            boxes.prizes[i] = i >= count ? QStringLiteral("H%1").arg(i)
                : text.isNull()          ? QStringLiteral("P%1").arg(i)
                                         : text;
    }
    return boxes;
}

QStringList texts(const RowResults &results)
{
    QStringList out;
    for (const RowResult &result : results)
        out << result.text;
    return out;
}

} // namespace

class TestLotteryModes : public QObject
{
    Q_OBJECT

private slots:
    void checks_data();
    void checks();
    void hiddenResults_data();
    void hiddenResults();
    void storedPrizeList_data();
    void storedPrizeList();
    void standbyLines_data();
    void standbyLines();
    void modeChangesKeepPrizesAndDrawDensity();
};

// Rows: mode and count, the name and prize box left empty (-1: none), the text of the filled
// boxes, the message (none: standby goes on).
void TestLotteryModes::checks_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("emptyName");
    QTest::addColumn<int>("emptyPrize");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString none;
    QTest::newRow("winner, first name") << kWinner << 3 << 0 << -1 << "x" << kNamesMissing;
    QTest::newRow("number, last of 37 names") << kNumber << 37 << 36 << -1 << "x" << kNamesMissing;
    QTest::newRow("lottery, name before prize") << kLottery << 5 << 3 << 1 << "x" << kNamesMissing;
    QTest::newRow("lottery, last prize") << kLottery << 5 << -1 << 4 << "x" << kPrizesMissing;
    QTest::newRow("lottery, first prize of 2") << kLottery << 2 << -1 << 0 << "x" << kPrizesMissing;
    // Blanks count as filled; rows past the count and prize boxes outside lottery mode are
    // not examined.
    QTest::newRow("winner, blank names") << kWinner << 4 << -1 << -1 << " " << none;
    QTest::newRow("lottery, blank names and prizes") << kLottery << 3 << -1 << -1 << " " << none;
    QTest::newRow("lottery, 2 of 37 rows") << kLottery << 2 << 2 << 2 << "x" << none;
    QTest::newRow("number, 36 of 37 rows") << kNumber << 36 << 36 << -1 << "x" << none;
}

// A refusal changes nothing: no line (the shown prize list included), no draw, no result.
void TestLotteryModes::checks()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(int, emptyName);
    QFETCH(int, emptyPrize);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Lines lines = counts(count, 1, mode);
    for (int i = 0; i < kBoxCount; ++i)
        lines[storedPrizeLine(i)] = QStringLiteral("S%1").arg(i);
    Run run = startUp(lines);
    Lottery &lottery = *run.lottery;
    if (mode == kLottery)
        QVERIFY(lottery.toggleStoredPrizes());
    Entries boxes = entries(count, mode, text);
    if (emptyName >= 0)
        boxes.names[emptyName].clear();
    if (emptyPrize >= 0)
        boxes.prizes[emptyPrize].clear();
    const SetupLines before = lottery.settingsLines();
    const long long draws = run.random->draws;

    const Standby done = lottery.standby(boxes, 0, 0, unsaved);
    QCOMPARE(done.refusal.value_or(QString()), message);

    if (message.isEmpty())
        return;
    QVERIFY(!done.ladder.made && !done.ladder.refusal);
    QVERIFY(lottery.settingsLines() == before);
    QCOMPARE(run.random->draws, draws);
    QCOMPARE(texts(lottery.results()), QStringList(kBoxCount, QString()));
    QCOMPARE(lottery.state().ready_flag, 0);
}

// Rows: mode, count and winner count (from the file, as an edited file may hold them), the draws
// of the shuffle and of the placement, the results of the participants' rows.
void TestLotteryModes::hiddenResults_data()
{
    using Draws = QList<float>;
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("winners");
    QTest::addColumn<Draws>("shuffle");
    QTest::addColumn<Draws>("placement");
    QTest::addColumn<QStringList>("results");
    const QString no;
    const Draws none;
    // A row index is Int(r * count); a row drawn again is drawn anew.
    QTest::newRow("winner 1 of 2") << kWinner << 2 << 1 << none << Draws{0.7f} << QStringList{no, kWin};
    QTest::newRow("winner 2 of 3, a row drawn twice")
        << kWinner << 3 << 2 << none << Draws{0.5f, 0.5f, 0.1f} << QStringList{kWin, kWin, no};
    QTest::newRow("winner 4 of 5")
        << kWinner << 5 << 4 << none << Draws{0.1f, 0.3f, 0.5f, 0.7f} << QStringList{kWin, kWin, kWin, kWin, no};
    QTest::newRow("winner 3 of 3, ladder refused")
        << kWinner << 3 << 3 << none << Draws{0.0f, 0.4f, 0.0f, 0.9f} << QStringList{kWin, kWin, kWin};
    QTest::newRow("winner 9 of 3 marks every row")
        << kWinner << 3 << 9 << none << Draws{0.9f, 0.5f, 0.1f} << QStringList{kWin, kWin, kWin};
    QTest::newRow("winner 32767 of 2") << kWinner << 2 << 32767 << none << Draws{0.9f, 0.1f} << QStringList{kWin, kWin};
    QTest::newRow("winner 0 of 4 marks none") << kWinner << 4 << 0 << none << none << QStringList(4, no);
    QTest::newRow("winner -3 of 5 marks none") << kWinner << 5 << -3 << none << none << QStringList(5, no);
    QTest::newRow("number 2") << kNumber << 2 << 1 << none << Draws{0.2f, 0.6f} << QStringList{"1", "2"};
    QTest::newRow("number 3, a row drawn twice")
        << kNumber << 3 << 1 << none << Draws{0.9f, 0.9f, 0.0f, 0.5f} << QStringList{"2", "3", "1"};
    Draws fromLastRow;
    QStringList reversed;
    for (int row = 36; row >= 0; --row) {
        fromLastRow << (float(row) + 0.5f) / 37;
        reversed.prepend(QString::number(37 - row));
    }
    QTest::newRow("number 37 from the last row") << kNumber << 37 << 1 << none << fromLastRow << reversed;
    // Rows i = count-1 .. 1 in turn take the text of a row Int(r * (i + 1)).
    QTest::newRow("lottery 2 exchanged") << kLottery << 2 << 1 << Draws{0.3f} << none << QStringList{"P1", "P0"};
    QTest::newRow("lottery 2 kept") << kLottery << 2 << 1 << Draws{0.7f} << none << QStringList{"P0", "P1"};
    QTest::newRow("lottery 4")
        << kLottery << 4 << 1 << Draws{0.1f, 0.9f, 0.4f} << none << QStringList{"P1", "P3", "P2", "P0"};
    QStringList rotated;
    for (int row = 0; row < 37; ++row)
        rotated << QStringLiteral("P%1").arg((row + 1) % 37);
    QTest::newRow("lottery 37, each row takes row 0") << kLottery << 37 << 1 << Draws(36, 0.0f) << none << rotated;
}

// The shuffle draws before the ladder and the placement after it: standby is given the shuffle's
// draws, one draw per rung candidate (none when the winner guard refuses the ladder), then the
// placement's. Rows past the count keep their prize texts (lottery mode) or stay empty;
// "あたり" alone is red.
void TestLotteryModes::hiddenResults()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(int, winners);
    QFETCH(QList<float>, shuffle);
    QFETCH(QList<float>, placement);
    QFETCH(QStringList, results);
    Run run = startUp(counts(count, winners, mode));
    Lottery &lottery = *run.lottery;
    QCOMPARE(int(lottery.state().atari_count), winners);
    const Entries boxes = entries(count, mode);

    const bool refused = mode == kWinner && winners >= count;
    // 0.999 would keep every prize in place and mark or number the last row: a shuffle or a
    // placement that took a rung's draw would give other results.
    const QList<float> rungs(refused ? 0 : (count - 1) * ladder::candidateRows(count), 0.999f);

    Standby done;
    QVERIFY(run.random->takes(shuffle + rungs + placement, [&] { done = lottery.standby(boxes, 0, 0, unsaved); }));
    QVERIFY(!done.refusal);
    QCOMPARE(done.ladder.made, !refused);

    for (int row = 0; row < kBoxCount; ++row) {
        const RowResult &result = lottery.results()[row];
        QCOMPARE(result.text, row < count ? results[row] : boxes.prizes[row]);
        QCOMPARE(result.color, result.text == kWin ? 0x0000FFu : 0x000000u);
    }
    QCOMPARE(lottery.state().ready_flag, 1);
}

// Rows: clicks on the stored-list toggle, the mode standby runs in, whether lines 21..57 then
// receive the prize boxes' texts.
void TestLotteryModes::storedPrizeList_data()
{
    QTest::addColumn<int>("toggles");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stored");
    QTest::newRow("list shown") << 1 << kLottery << true;
    QTest::newRow("list never shown") << 0 << kLottery << false;
    QTest::newRow("list shown and hidden again") << 2 << kLottery << false;
    QTest::newRow("list shown, then winner mode") << 1 << kWinner << false;
    QTest::newRow("list shown, then number mode") << 1 << kNumber << false;
}

// The list keeps all 37 boxes in the order typed, while the participants' prizes are mixed.
void TestLotteryModes::storedPrizeList()
{
    QFETCH(int, toggles);
    QFETCH(int, mode);
    QFETCH(bool, stored);
    Lines lines = counts(5, 1, kLottery);
    for (int i = 0; i < kBoxCount; ++i)
        lines[storedPrizeLine(i)] = QStringLiteral("S%1").arg(i);
    Run run = startUp(lines);
    Lottery &lottery = *run.lottery;
    for (int i = 0; i < toggles; ++i)
        lottery.toggleStoredPrizes();
    for (int i = 0; i < 3 && lottery.state().draw_mode != mode; ++i)
        lottery.changeMode(entries(5, lottery.state().draw_mode).prizes);
    const Entries boxes = entries(5, mode);

    QVERIFY(!lottery.standby(boxes, 0, 0, unsaved).refusal);

    for (int i = 0; i < kBoxCount; ++i)
        QCOMPARE(lottery.settingsLines()[storedPrizeLine(i)], stored ? boxes.prizes[i] : lines[storedPrizeLine(i)]);
    if (mode == kLottery)
        QVERIFY(texts(lottery.results()).mid(0, 5) != QStringList(boxes.prizes.begin(), boxes.prizes.begin() + 5));
}

// Rows: the group and mode line read, mode changes after start-up, the window's left and top
// edge, and the lines standby writes besides the group's memo and names.
void TestLotteryModes::standbyLines_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("modeLine");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QPoint>("window");
    QTest::addColumn<Lines>("written");
    QTest::newRow("winner, group 1")
        << 1 << "-1" << 0 << QPoint(2400, 1515) << Lines{{1, "4"}, {14, "2"}, {9, "2400"}, {10, "1515"}, {11, "0"}, {12, "-1"}};
    QTest::newRow("lottery, group 7")
        << 7 << "0" << 0 << QPoint(0, 0) << Lines{{7, "10"}, {20, "2"}, {9, "0"}, {10, "0"}, {11, "6"}, {12, "0"}};
    QTest::newRow("number, group 2")
        << 2 << "1" << 0 << QPoint(15, 30) << Lines{{2, "5"}, {15, "2"}, {9, "15"}, {10, "30"}, {11, "1"}, {12, "1"}};
    QTest::newRow("winner after number mode, group 5")
        << 5 << "1" << 1 << QPoint(-300, 45) << Lines{{5, "8"}, {18, "2"}, {9, "-300"}, {10, "45"}, {11, "4"}, {12, "-1"}};
    QTest::newRow("lottery after a whole cycle, group 3")
        << 3 << "0" << 3 << QPoint(1230, 600) << Lines{{3, "6"}, {16, "2"}, {9, "1230"}, {10, "600"}, {11, "2"}, {12, "0"}};
}

// The counts as they stand (one participant and one winner added to the file's), the current
// group's memo and all 37 names; every other line stays as read.
void TestLotteryModes::standbyLines()
{
    QFETCH(int, group);
    QFETCH(QString, modeLine);
    QFETCH(int, changes);
    QFETCH(QPoint, window);
    QFETCH(Lines, written);
    Lines lines;
    for (int k = 1; k <= kLineCount; ++k)
        lines[k] = QStringLiteral("L%1").arg(k);
    for (int g = 1; g <= kGroupCount; ++g) {
        lines[participantCountLine(g)] = QString::number(g + 2);
        lines[winnerCountLine(g)] = QStringLiteral("1");
    }
    lines[kSpareWinnerLine] = QStringLiteral("3");
    lines[kGroupLine] = QString::number(group - 1);
    lines[kModeLine] = modeLine;
    Run run = startUp(lines);
    Lottery &lottery = *run.lottery;
    QVERIFY(lottery.addParticipant() && lottery.addWinner());
    for (int i = 0; i < changes; ++i)
        lottery.changeMode({});
    Entries boxes = entries(group + 3, lottery.state().draw_mode);
    for (int i = 0; i < kBoxCount; ++i)
        boxes.names[i] = QStringLiteral("名%1").arg(i);
    boxes.memo = QStringLiteral("メモ");

    QVERIFY(!lottery.standby(boxes, window.x(), window.y(), unsaved).refusal);

    Lines expected = lines;
    for (auto it = written.begin(); it != written.end(); ++it)
        expected[it.key()] = it.value();
    expected[memoLine(group)] = boxes.memo;
    for (int i = 0; i < kBoxCount; ++i)
        expected[nameLine(group, i)] = boxes.names[i];
    for (int k = 1; k <= kLineCount; ++k)
        QCOMPARE(lottery.settingsLines()[k], expected[k]);
}

// Leaving lottery mode keeps all 37 prize texts, hidden rows too, and entering it gives them
// back; winner mode neither keeps nor gives any. Every change takes one draw for the density.
void TestLotteryModes::modeChangesKeepPrizesAndDrawDensity()
{
    Run run = startUp(counts(5, 1, kLottery));
    Lottery &lottery = *run.lottery;
    BoxTexts typed, later, none;
    for (int i = 0; i < kBoxCount; ++i) {
        typed[i] = QStringLiteral("賞品%1").arg(i);
        later[i] = QStringLiteral("景品%1").arg(i);
    }
    const struct
    {
        BoxTexts boxes;
        float r;
        int mode;
        BoxTexts prizes;
    } steps[] = {{typed, 0.0f, kNumber, none}, {none, 0.5f, kWinner, none}, {none, 0.25f, kLottery, typed},
                 {later, 0.75f, kNumber, none}, {typed, 0.999f, kWinner, none}, {none, 0.1f, kLottery, later}};
    for (const auto &step : steps) {
        ModeChange change;
        QVERIFY(run.random->takes({step.r}, [&] { change = lottery.changeMode(step.boxes); }));
        QCOMPARE(lottery.state().rung_density, modes::rungDensity(step.r));
        QCOMPARE(int(change.mode), step.mode);
        QVERIFY(change.look);
        QVERIFY(change.prizes == step.prizes);
    }
}

QTEST_GUILESS_MAIN(TestLotteryModes)
#include "tst_lottery_modes.moc"
