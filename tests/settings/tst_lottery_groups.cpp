// Start-up and the seven groups as rules: which group opens with which counts and mode, the lines
// start-up repairs, the window edges, and what a group change stores and loads.
#include "app/lottery.h"
#include "settings/full_file.h"
#include "settings/layout.h"
#include "support/fake_seams.h"
#include "support/lottery_start.h"

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
};

namespace {

// A lottery opened the way the window opens it.
std::unique_ptr<Lottery> startUp(const Lines &lines, Opening *opening = nullptr)
{
    auto lottery = std::make_unique<Lottery>(std::make_unique<TestRandom>(), std::make_unique<FixedTicks>());
    const Opening opened = startAsTheWindowDoes(*lottery, lines);
    if (opening)
        *opening = opened;
    return lottery;
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
    Opening opening;
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
    for (int i = 0; i < kNamesPerGroup; ++i)
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
    Opening opening;
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

    lottery->stepGroup(step);
    lottery->storeLeftGroup(boxes);
    GroupTexts entered;
    if (saved)
        entered = lottery->enterGroup();
    else
        lottery->stayInGroup();

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
    for (int i = 0; i < kNamesPerGroup; ++i)
        expected[nameLine(left, i)] = boxes.names[i];
    for (int k = 1; k <= kLineCount; ++k)
        QCOMPARE(lottery->settingsLines()[k], expected[k]);
    if (!saved)
        return;
    QCOMPARE(entered.memo, before[memoLine(group)]);
    for (int i = 0; i < kNamesPerGroup; ++i)
        QCOMPARE(entered.names[i], before[nameLine(group, i)]);
}

QTEST_GUILESS_MAIN(TestLotteryGroups)
#include "tst_lottery_groups.moc"
