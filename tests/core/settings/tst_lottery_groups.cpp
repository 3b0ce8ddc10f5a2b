// Start-up and the seven groups as rules: which group opens with which counts and mode, the lines
// start-up repairs, the window edges, and what a group change stores and loads.
#include "lottery/lottery.h"
#include "support/full_file.h"
#include "settings/layout.h"
#include "support/fake_sources.h"
#include "support/setup_lines.h"

#include <QTest>

#include <cmath>

using namespace settings;

class TestLotteryGroups : public QObject
{
    Q_OBJECT

private slots:
    void opening_data();
    void opening();
    void windowEdges_data();
    void windowEdges();
    void groupChange_data();
    void groupChange();
    void startingAgain_data();
    void startingAgain();
};

namespace {

// A lottery started from the lines.
std::unique_ptr<Lottery> startUp(const Lines &lines, Startup *opening = nullptr)
{
    auto lottery = std::make_unique<Lottery>(
        LotterySources{std::make_unique<TestRandom>(), std::make_unique<FixedTicks>()});
    const Startup opened = lottery->start(setupLines(lines));
    if (opening)
        *opening = opened;
    return lottery;
}

// All that a lottery and its start show, as text, so that two lotteries compare in one go.
QStringList snapshot(const Lottery &lottery, const Startup &opening)
{
    const LotteryState &st = lottery.state();
    QStringList grid;
    for (int r = 0; r < LadderGrid::Rows; ++r)
        for (int c = 0; c < LadderGrid::Columns; ++c)
            grid << QString::number(st.ladder.at(c, r));
    QStringList results;
    for (const RowResult &result : lottery.results())
        results << result.text + QLatin1Char('/') + QString::number(result.color);
    const auto joined = [](const auto &texts) {
        return QStringList(texts.begin(), texts.end()).join(QLatin1Char('|'));
    };
    const auto edge = [](const std::optional<float> &e) { return e ? QString::number(*e) : u"none"_qs; };
    const std::optional<Layout> &layout = opening.layout;
    return {QStringLiteral("counts %1 %2 mode %3 density %4")
                .arg(st.man_count).arg(st.atari_count).arg(st.draw_mode).arg(st.rung_density),
            QStringLiteral("trace %1 ready %2 traced %3 top %4 shown %5 group %6 %7")
                .arg(st.trace_index).arg(st.ready_flag).arg(st.all_traced).arg(st.line_top)
                .arg(st.stored_prizes_shown).arg(st.group_no).arg(st.prev_group_no),
            st.color_table, grid.join(QString()), joined(st.saved_prizes), joined(st.setup_lines),
            results.join(QLatin1Char('|')), lottery.resultSummary(u"stamp"_qs),
            opening.group.memo, joined(opening.group.names), edge(opening.left), edge(opening.top),
            layout ? QStringLiteral("%1 %2 %3").arg(layout->participants).arg(layout->ladder.made)
                         .arg(layout->ladder.refusal.value_or(u"-"_qs))
                   : u"no layout"_qs,
            opening.mode ? QString::number(opening.mode->mode) + joined(opening.mode->prizes) : u"no mode"_qs};
}

} // namespace

void TestLotteryGroups::opening_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("participants");
    QTest::addColumn<int>("winners");
    QTest::addColumn<int>("mode");
    // The lines start-up changes; every other line stays as read.
    QTest::addColumn<Lines>("repaired");

    using namespace modes;
    Lines firstRunCounts;
    for (int g = 1; g <= kGroupCount; ++g) {
        firstRunCounts[participantCountLine(g)] = QStringLiteral("2");
        firstRunCounts[winnerCountLine(g)] = QStringLiteral("1");
    }
    const Lines full = fullFile();
    QTest::newRow("no file") << Lines() << 1 << 2 << 1 << int(kLotteryMode)
                             << with(firstRunCounts, {{9, "0"}, {10, "0"}, {13, "1"}});
    QTest::newRow("full file") << full << 1 << 5 << 2 << int(kLotteryMode) << Lines();
    QTest::newRow("line 1 below 2: first-run counts, names and memos kept")
        << with(fullFile(9, 4), {{1, "1"}, {kGroupLine, "3"}}) << 4 << 2 << 1 << int(kLotteryMode) << firstRunCounts;

    QTest::newRow("line 11 reads 6") << with(full, {{kGroupLine, "6"}}) << 7 << 5 << 2 << int(kLotteryMode) << Lines();
    QTest::newRow("line 11 begins with 2") << with(full, {{kGroupLine, "2abc"}}) << 3 << 5 << 2 << int(kLotteryMode) << Lines();
    QTest::newRow("line 11 rounds half to even") << with(full, {{kGroupLine, "2.5"}}) << 4 << 5 << 2 << int(kLotteryMode) << Lines();
    for (const char *bad : {"7", "-1", "99999", "-0.6"})
        QTest::addRow("line 11 %s opens group 1", bad) << with(full, {{kGroupLine, bad}}) << 1 << 5 << 2 << int(kLotteryMode) << Lines();

    // Each count is repaired on its own: a bad participant line gives 2, a bad winner line 1.
    Lines tenLines;
    for (int k = 1; k <= 10; ++k)
        tenLines[k] = full.value(k);
    QTest::newRow("10-line file") << tenLines << 1 << 5 << 1 << int(kLotteryMode) << Lines{{13, "1"}};
    for (const char *bad : {"", "abc", "1", "38", "2.5e10"}) {
        const Lines lines = with(full, {{1, "3"}, {kGroupLine, "1"}, {2, bad}});
        QTest::addRow("participants '%s' give 2", bad) << lines << 2 << 2 << 2 << int(kLotteryMode) << Lines();
    }
    QTest::newRow("participants 10, winners not a number")
        << with(full, {{1, "10"}, {14, "x"}}) << 1 << 10 << 1 << int(kLotteryMode) << Lines();
    QTest::newRow("participants not a number, winners 3")
        << with(full, {{1, "5"}, {kGroupLine, "1"}, {2, "x"}, {15, "3"}}) << 2 << 2 << 3 << int(kLotteryMode) << Lines();
    QTest::newRow("both counts not numbers")
        << with(full, {{1, "5"}, {kGroupLine, "1"}, {2, "x"}, {15, "x"}}) << 2 << 2 << 1 << int(kLotteryMode) << Lines();
    QTest::newRow("counts breaking the relation are kept") << fullFile(4, 6) << 1 << 4 << 6 << int(kLotteryMode) << Lines();
    QTest::newRow("participants rounded half to even")
        << with(full, {{1, " 4.5 "}}) << 1 << 4 << 2 << int(kLotteryMode) << Lines();

    // Line 12 holds the mode minus one; what is no mode opens lottery mode.
    const std::pair<const char *, int16_t> modeLines[] = {
        {"-1", kWinnerMode}, {"0", kLotteryMode}, {"1", kNumberMode}, {"2", kWinnerMode}, {"", kLotteryMode},
        {"x", kLotteryMode}, {"32767", kLotteryMode}, {"3", kLotteryMode}, {"-2", kLotteryMode}};
    for (const auto &[line, mode] : modeLines)
        QTest::addRow("line 12 '%s'", line) << with(full, {{kModeLine, line}}) << 1 << 5 << 2 << int(mode) << Lines();

    // Line 13 belongs to no group and is guarded against values below 1.
    for (const char *spare : {"", "0", "abc"})
        QTest::addRow("line 13 '%s' becomes 1", spare) << with(full, {{13, spare}}) << 1 << 5 << 2 << int(kLotteryMode) << Lines{{13, "1"}};
    QTest::newRow("line 13 '5' kept") << with(full, {{13, "5"}}) << 1 << 5 << 2 << int(kLotteryMode) << Lines();
}

void TestLotteryGroups::opening()
{
    QFETCH(Lines, lines);
    QFETCH(int, group);
    QFETCH(int, participants);
    QFETCH(int, winners);
    QFETCH(int, mode);
    QFETCH(Lines, repaired);
    Startup opening;
    const auto lottery = startUp(lines, &opening);
    const LotteryState &st = lottery->state();

    QCOMPARE(int(st.group_no), group);
    QCOMPARE(int(st.prev_group_no), 0);
    QCOMPARE(int(st.man_count), participants);
    QCOMPARE(int(st.atari_count), winners);
    QCOMPARE(int(st.draw_mode), mode);
    QCOMPARE(st.line_top, int16_t(720));
    QCOMPARE(st.color_table, kColorTable);
    QCOMPARE(opening.group.memo, lines.value(memoLine(group)));
    for (int i = 0; i < kBoxCount; ++i)
        QCOMPARE(opening.group.names[i], lines.value(nameLine(group, i)));
    for (int k = 1; k <= kLineCount; ++k)
        QCOMPARE(lottery->settingsLines()[k], repaired.value(k, lines.value(k)));
}

// Rows: the text of lines 9 and 10 alike, the edge in twips (NaN: it stays where it is) and the
// line after start-up.
void TestLotteryGroups::windowEdges_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("edge");
    QTest::addColumn<QString>("after");
    QTest::newRow("stored") << "1500" << 1500.0 << "1500";
    QTest::newRow("negative") << "-60" << 0.0 << "0";
    QTest::newRow("just negative") << "-1" << 0.0 << "0";
    QTest::newRow("not a number") << "x" << 0.0 << "0";
    QTest::newRow("empty") << "" << 0.0 << "0";
    QTest::newRow("beyond the screen") << "150000" << 150000.0 << "150000";
    QTest::newRow("fraction") << "0.5" << 0.5 << "0.5";
    QTest::newRow("too large for single precision") << "1e39" << double(NAN) << "1e39";
}

void TestLotteryGroups::windowEdges()
{
    QFETCH(QString, line);
    QFETCH(double, edge);
    QFETCH(QString, after);
    Startup opening;
    const auto lottery = startUp(with(fullFile(), {{kWindowLeftLine, line}, {kWindowTopLine, line}}), &opening);
    for (const std::optional<float> &opened : {opening.left, opening.top}) {
        QCOMPARE(opened.has_value(), !std::isnan(edge));
        if (opened)
            QCOMPARE(*opened, float(edge));
    }
    QCOMPARE(lottery->settingsLines()[kWindowLeftLine], after);
    QCOMPARE(lottery->settingsLines()[kWindowTopLine], after);
}

// Rows: the file, the step, whether the save succeeded, and the group with its counts afterwards.
void TestLotteryGroups::groupChange_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("participants");
    QTest::addColumn<int>("winners");

    // Group g holds g + 2 participants and g winners.
    Lines groups = fullFile();
    for (int g = 1; g <= kGroupCount; ++g) {
        groups[participantCountLine(g)] = QString::number(g + 2);
        groups[winnerCountLine(g)] = QString::number(g);
    }
    const auto from = [&](int g, const Lines &changes = {}) {
        return with(with(groups, {{kGroupLine, QString::number(g - 1)}}), changes);
    };
    QTest::newRow("1 up") << from(1) << 1 << true << 2 << 4 << 2;
    QTest::newRow("7 up wraps to 1") << from(7) << 1 << true << 1 << 3 << 1;
    QTest::newRow("1 down wraps to 7") << from(1) << -1 << true << 7 << 9 << 7;
    QTest::newRow("4 down") << from(4) << -1 << true << 3 << 5 << 3;
    // The counts as the buttons left them in group 4 (one more of each).
    QTest::newRow("failed save stays in the group") << from(4) << 1 << false << 4 << 7 << 5;
    QTest::newRow("group never entered since the first run") << Lines() << -1 << true << 7 << 2 << 1;
    QTest::newRow("participants not a number") << from(1, {{2, "x"}}) << 1 << true << 2 << 2 << 2;
    QTest::newRow("too many participants") << from(1, {{2, "40"}}) << 1 << true << 2 << 2 << 2;
    QTest::newRow("winners empty") << from(1, {{15, ""}}) << 1 << true << 2 << 4 << 1;
    QTest::newRow("both counts not numbers") << from(1, {{2, "x"}, {15, "y"}}) << 1 << true << 2 << 2 << 1;
    QTest::newRow("counts breaking the relation kept") << from(1, {{2, "4"}, {15, "6"}}) << 1 << true << 2 << 4 << 6;
}

void TestLotteryGroups::groupChange()
{
    QFETCH(Lines, lines);
    QFETCH(int, step);
    QFETCH(bool, saved);
    QFETCH(int, group);
    QFETCH(int, participants);
    QFETCH(int, winners);
    const auto lottery = startUp(lines);
    const int left = lottery->state().group_no;
    QVERIFY(lottery->addParticipant());
    QVERIFY(lottery->addWinner());
    const int16_t manCount = lottery->state().man_count;
    const int16_t atariCount = lottery->state().atari_count;
    Entries boxes;
    boxes.memo = QStringLiteral("残すメモ");
    for (int i = 0; i < kBoxCount; ++i)
        boxes.names[i] = QStringLiteral("新%1").arg(i);
    const SetupLines before = lottery->settingsLines();

    std::optional<SetupLines> written;
    const SaveLines save = [&](const SetupLines &lines) {
        written = lines;
        return saved;
    };
    const std::optional<GroupEntered> entered = lottery->changeGroup(step, boxes, save);

    QCOMPARE(entered.has_value(), saved);
    const LotteryState &st = lottery->state();
    QCOMPARE(int(st.group_no), group);
    QCOMPARE(int(st.prev_group_no), left);
    QCOMPARE(int(st.man_count), participants);
    QCOMPARE(int(st.atari_count), winners);
    // The group left holds the counts and the boxes; no other line changes (lines 9..12 neither).
    SetupLines expected = before;
    expected[participantCountLine(left)] = QString::number(manCount);
    expected[winnerCountLine(left)] = QString::number(atariCount);
    expected[memoLine(left)] = boxes.memo;
    for (int i = 0; i < kBoxCount; ++i)
        expected[nameLine(left, i)] = boxes.names[i];
    // The save is given these lines too, before the group is entered.
    QVERIFY(written);
    for (int k = 1; k <= kLineCount; ++k) {
        QCOMPARE(lottery->settingsLines()[k], expected[k]);
        QCOMPARE((*written)[k], expected[k]);
    }
    if (!saved)
        return;
    QCOMPARE(entered->group.memo, before[memoLine(group)]);
    for (int i = 0; i < kBoxCount; ++i)
        QCOMPARE(entered->group.names[i], before[nameLine(group, i)]);
    QCOMPARE(int(entered->layout.participants), participants);
    QVERIFY(entered->layout.ladder.made);
}

// Rows: the file, how the used lottery starts again (0: next lottery, 1: start from the file's
// lines, 2: start from a copy of the lines standby stored), and the paths traced before.
void TestLotteryGroups::startingAgain_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<int>("again");
    QTest::addColumn<int>("traced");
    const Lines winner = with(fullFile(6, 2), {{kGroupLine, "2"}, {kModeLine, "-1"}});
    const Lines number = with(fullFile(36, 1), {{kModeLine, "1"}, {kWindowLeftLine, "1e39"}});
    QTest::newRow("next lottery, lottery mode, all traced") << fullFile() << 0 << 5;
    QTest::newRow("next lottery, winner mode, group 3, one traced") << winner << 0 << 1;
    QTest::newRow("next lottery, first run, none traced") << Lines() << 0 << 0;
    QTest::newRow("file's lines, number mode, all traced") << number << 1 << 37;
    QTest::newRow("file's lines, first run") << Lines() << 1 << 2;
    QTest::newRow("stored lines, winner mode") << winner << 2 << 6;
}

// A lottery that went through standby, a group change, the stored prize list and some traces
// starts again as a new lottery would from the same lines at the same point of the generator:
// nothing of the lottery before is left, and the next standby fixes the same results.
void TestLotteryGroups::startingAgain()
{
    QFETCH(Lines, lines);
    QFETCH(int, again);
    QFETCH(int, traced);
    auto usedRandom = new TestRandom(7);
    // The same nonce and time for both, so that their commitments can be compared too.
    Lottery used(LotterySources{std::unique_ptr<RandomSource>(usedRandom), std::make_unique<FixedTicks>(321),
                                std::make_unique<SameNonce>(), std::make_unique<FixedClock>(QDateTime::fromSecsSinceEpoch(0))});
    used.start(setupLines(lines));
    Entries boxes;
    boxes.memo = QStringLiteral("前回");
    for (int i = 0; i < kBoxCount; ++i) {
        boxes.names[i] = QStringLiteral("名%1").arg(i);
        boxes.prizes[i] = QStringLiteral("賞%1").arg(i);
    }
    used.toggleStoredPrizes();
    QVERIFY(used.changeGroup(1, boxes, [](const SetupLines &) { return true; }));
    for (int i = 0; i < 3; ++i)
        used.changeMode(boxes.prizes);
    QVERIFY(used.addParticipant());
    QVERIFY(!used.standby(boxes, 300, 450, unsaved).refusal);
    for (int i = 0; i < traced; ++i)
        QVERIFY(used.trace(i));
    const SetupLines stored = used.settingsLines();
    const SetupLines startLines = again == 1 ? setupLines(lines) : stored;
    const long long drawn = usedRandom->draws;
    const Startup usedStart = again == 0 ? used.nextLottery() : used.start(startLines);

    auto freshRandom = new TestRandom(7);
    Lottery fresh(LotterySources{std::unique_ptr<RandomSource>(freshRandom), std::make_unique<FixedTicks>(321),
                                 std::make_unique<SameNonce>(), std::make_unique<FixedClock>(QDateTime::fromSecsSinceEpoch(0))});
    while (freshRandom->draws < drawn)
        freshRandom->next();
    const Startup freshStart = fresh.start(startLines);
    QCOMPARE(snapshot(used, usedStart), snapshot(fresh, freshStart));

    QVERIFY(!used.trace(0) && !fresh.trace(0));
    QVERIFY(!used.standby(boxes, 0, 0, unsaved).refusal && !fresh.standby(boxes, 0, 0, unsaved).refusal);
    QVERIFY(used.trace(0) && fresh.trace(0));
    QCOMPARE(snapshot(used, usedStart), snapshot(fresh, freshStart));
}

QTEST_GUILESS_MAIN(TestLotteryGroups)
#include "tst_lottery_groups.moc"
