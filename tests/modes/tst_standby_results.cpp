// What standby hides behind the prize boxes in each mode, and the stored prize list it keeps.
// The expected results come from replaying the same seeded generator: standby must take its
// draws in the described order (shuffle, one ladder, placement) and no others.
#include "standby_form.h"
#include "settings/settings_file.h"

#include <QSet>
#include <QTest>

#include <algorithm>

namespace {

const QString kWin = QStringLiteral("あたり");
const QString kTooManyWinners = QStringLiteral("あたり数を減らして下さい、\r上限は人数より１少ない数です。");

// The generator as standby finds it: seeded alike and past the draws already taken.
TestRandom replayFrom(unsigned seed, long long draws)
{
    TestRandom random(seed);
    for (long long i = 0; i < draws; ++i)
        random.next();
    return random;
}

// The draws of one ladder: the warm-up (ticks mod 1000) and one per candidate rung.
long long ladderDraws(int count, int ticks)
{
    return ticks % 1000 + (count - 1) * qMin(count + 3, 24);
}

QStringList prizeTexts(const Form1 &form)
{
    QStringList texts;
    for (const QLineEdit *box : form.ans)
        texts << box->text();
    return texts;
}

QColor textColor(const QLineEdit *box)
{
    return box->palette().color(QPalette::Text);
}

// A first-run-like file for winner mode with the given count lines of group 1.
QByteArray winnerFile(int count, const QByteArray &winners)
{
    QList<QByteArray> lines(326);
    for (int g = 1; g <= 7; ++g) {
        lines[g - 1] = "2";
        lines[13 + g - 1] = "1";
    }
    lines[0] = QByteArray::number(count);
    lines[13] = winners;
    lines[11] = "-1";
    for (int i = 0; i < count; ++i)
        lines[62 + i - 1] = "N" + QByteArray::number(i);
    return fileOf(lines);
}

} // namespace

class TestStandbyResults : public QObject
{
    Q_OBJECT

private slots:
    void winnerSlots_data();
    void winnerSlots();
    void winnerCountsFromAnEditedFile_data();
    void winnerCountsFromAnEditedFile();
    void numbers_data();
    void numbers();
    void lotteryShuffle_data();
    void lotteryShuffle();
    void storedPrizeList_data();
    void storedPrizeList();
};

// Rows: participants, winners (set with the buttons), seed.
void TestStandbyResults::winnerSlots_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("winners");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("1 of 2") << 2 << 1 << 1u;
    QTest::newRow("2 of 5") << 5 << 2 << 2u;
    QTest::newRow("4 of 5") << 5 << 4 << 3u;
    QTest::newRow("1 of 37") << 37 << 1 << 4u;
    QTest::newRow("36 of 37") << 37 << 36 << 5u;
}

void TestStandbyResults::winnerSlots()
{
    QFETCH(int, count);
    QFETCH(int, winners);
    QFETCH(unsigned, seed);
    StandbyForm f(seed);
    QVERIFY(f.prepare(kWinnerMode, count, winners));
    f.ts.ticks->value = 1234;
    const long long before = f.ts.random->draws;

    f.form.cmd_standby->click();

    TestRandom replay = replayFrom(seed, before + ladderDraws(count, 1234));
    QSet<int> expected;
    long long placementDraws = 0;
    for (; expected.size() != winners; ++placementDraws)
        expected.insert(randomIndex(replay, count));
    QCOMPARE(f.ts.random->draws - before, ladderDraws(count, 1234) + placementDraws);

    QCOMPARE(f.ts.messenger->shown, QStringList());
    QCOMPARE(prizeTexts(f.form).count(kWin), winners);
    for (int row = 0; row < Form1::BoxCount; ++row) {
        const bool win = expected.contains(row);
        QCOMPARE(f.form.ans[row]->text(), win ? kWin : QString());
        QCOMPARE(textColor(f.form.ans[row]), win ? QColor(Qt::red) : QColor(Qt::black));
    }
}

// Rows: participants and the winner line of a hand-edited file; whether every row or none is
// marked, and whether the ladder refused with its warning (then it keeps the entry ladder).
void TestStandbyResults::winnerCountsFromAnEditedFile_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("winners");
    QTest::addColumn<bool>("everyRow");
    QTest::addColumn<bool>("refused");
    QTest::newRow("as many as participants") << 4 << QByteArray("4") << true << true;
    QTest::newRow("37 of 37") << 37 << QByteArray("37") << true << true;
    QTest::newRow("more than participants") << 3 << QByteArray("9") << true << true;
    QTest::newRow("32767") << 2 << QByteArray("32767") << true << true;
    QTest::newRow("none") << 4 << QByteArray("0") << false << false;
    QTest::newRow("below zero") << 5 << QByteArray("-3") << false << false;
}

void TestStandbyResults::winnerCountsFromAnEditedFile()
{
    QFETCH(int, count);
    QFETCH(QByteArray, winners);
    QFETCH(bool, everyRow);
    QFETCH(bool, refused);
    const unsigned seed = 11;
    StandbyForm f(seed);
    QVERIFY(f.load(winnerFile(count, winners)));
    QCOMPARE(int(f.form.st.draw_mode), kWinnerMode);
    QCOMPARE(int(f.form.st.man_count), count);
    QCOMPARE(QByteArray::number(f.form.st.atari_count), winners);
    QCOMPARE(f.ts.messenger->shown, QStringList());
    f.ts.ticks->value = 5;
    const LadderGrid entryLadder = f.form.st.ladder;
    const long long before = f.ts.random->draws;

    f.form.cmd_standby->click();

    QCOMPARE(f.ts.messenger->shown, refused ? QStringList{kTooManyWinners} : QStringList());
    QCOMPARE(f.form.st.ready_flag, int16_t(1));
    QVERIFY(!f.form.cmd_standby->isEnabled());
    QCOMPARE(prizeTexts(f.form).count(kWin), everyRow ? count : 0);
    for (int row = 0; row < Form1::BoxCount; ++row)
        QCOMPARE(f.form.ans[row]->text().isEmpty(), !everyRow || row >= count);
    if (refused) {
        for (int c = 0; c < LadderGrid::Columns; ++c)
            for (int r = 0; r < LadderGrid::Rows; ++r)
                QCOMPARE(f.form.st.ladder.at(c, r), entryLadder.at(c, r));
    }
    // Marking every row takes draws until the last unmarked row comes up; none takes no draw.
    TestRandom replay = replayFrom(seed, before + (refused ? 0 : ladderDraws(count, 5)));
    QSet<int> marked;
    long long placementDraws = 0;
    for (; everyRow && marked.size() != count; ++placementDraws)
        marked.insert(randomIndex(replay, count));
    QCOMPARE(f.ts.random->draws - before, (refused ? 0 : ladderDraws(count, 5)) + placementDraws);
    QVERIFY(f.fileExists());
}

void TestStandbyResults::numbers_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("2") << 2 << 1u;
    QTest::newRow("5") << 5 << 7u;
    QTest::newRow("37") << 37 << 3u;
}

// Rows 0..count-1 hold 1..count, each once, placed in turn on random unfilled rows.
void TestStandbyResults::numbers()
{
    QFETCH(int, count);
    QFETCH(unsigned, seed);
    StandbyForm f(seed);
    QVERIFY(f.prepare(kNumberMode, count));
    f.ts.ticks->value = 42;
    const long long before = f.ts.random->draws;

    f.form.cmd_standby->click();

    QStringList shown;
    for (int row = 0; row < count; ++row) {
        shown << f.form.ans[row]->text();
        QCOMPARE(textColor(f.form.ans[row]), QColor(Qt::black));
    }
    for (int row = count; row < Form1::BoxCount; ++row)
        QCOMPARE(f.form.ans[row]->text(), QString());
    QStringList sorted = shown;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    for (int k = 1; k <= count; ++k)
        QCOMPARE(sorted[k - 1], QString::number(k));

    TestRandom replay = replayFrom(seed, before + ladderDraws(count, 42));
    QList<int> expected(count, 0);
    long long placementDraws = 0;
    for (int k = 1; k <= count; ++placementDraws) {
        const int row = randomIndex(replay, count);
        if (expected[row] == 0)
            expected[row] = k++;
    }
    for (int row = 0; row < count; ++row)
        QCOMPARE(shown[row], QString::number(expected[row]));
    QCOMPARE(f.ts.random->draws - before, ladderDraws(count, 42) + placementDraws);
}

void TestStandbyResults::lotteryShuffle_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("2") << 2 << 1u;
    QTest::newRow("5") << 5 << 2u;
    QTest::newRow("37") << 37 << 3u;
}

// The typed prizes are mixed among the shown rows by count + 40 exchanges of two drawn rows;
// the boxes past the count keep their texts.
void TestStandbyResults::lotteryShuffle()
{
    QFETCH(int, count);
    QFETCH(unsigned, seed);
    StandbyForm f(seed);
    QVERIFY(f.prepare(kLotteryMode, count));
    for (int i = count; i < Form1::BoxCount; ++i)
        f.form.ans[i]->setText(QStringLiteral("H%1").arg(i));
    const QStringList typed = prizeTexts(f.form);
    const long long before = f.ts.random->draws;

    f.form.cmd_standby->click();

    const QStringList after = prizeTexts(f.form);
    QCOMPARE(after.mid(count), typed.mid(count));
    QStringList mixed = after.mid(0, count), original = typed.mid(0, count);
    std::sort(mixed.begin(), mixed.end());
    std::sort(original.begin(), original.end());
    QCOMPARE(mixed, original);

    TestRandom replay = replayFrom(seed, before);
    QStringList expected = typed;
    for (int repetition = 0; repetition < count + 40; ++repetition) {
        const int a = randomIndex(replay, count);
        const int b = randomIndex(replay, count);
        expected.swapItemsAt(a, b);
    }
    QCOMPARE(after, expected);
    if (count > 2)
        QVERIFY(after != typed);
    for (const QLineEdit *box : f.form.ans)
        QCOMPARE(textColor(box), QColor(Qt::black));
}

// Rows: what is done before standby; whether lines 21..57 then receive the prize boxes' texts.
void TestStandbyResults::storedPrizeList_data()
{
    QTest::addColumn<int>("changeClicks");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stored");
    QTest::newRow("list shown") << 1 << kLotteryMode << true;
    QTest::newRow("list never shown") << 0 << kLotteryMode << false;
    QTest::newRow("list shown and hidden again") << 2 << kLotteryMode << false;
    QTest::newRow("list shown, then winner mode") << 1 << kWinnerMode << false;
    QTest::newRow("list shown, then number mode") << 1 << kNumberMode << false;
}

void TestStandbyResults::storedPrizeList()
{
    QFETCH(int, changeClicks);
    QFETCH(int, mode);
    QFETCH(bool, stored);
    QList<QByteArray> lines(326);
    lines[0] = "5";
    lines[11] = "0";
    for (int i = 0; i < 37; ++i)
        lines[21 + i - 1] = "S" + QByteArray::number(i);
    StandbyForm f(2);
    QVERIFY(f.load(fileOf(lines)));
    for (int i = 0; i < changeClicks; ++i)
        f.form.cmd_change->click();
    QVERIFY(f.toMode(mode));
    f.fillEntries();
    if (f.form.st.draw_mode == kLotteryMode)
        f.form.ans[20]->setText(QStringLiteral("景品20"));
    const QStringList typed = prizeTexts(f.form);

    f.form.cmd_standby->click();

    QCOMPARE(f.ts.messenger->shown, QStringList());
    settings::SetupLines back;
    settings::readSettingsFile(f.path(), back);
    for (int i = 0; i < 37; ++i) {
        const QString expected = stored ? typed[i] : QStringLiteral("S%1").arg(i);
        QCOMPARE(f.form.st.setup_lines[21 + i], expected);
        QCOMPARE(back[21 + i], expected);
    }
    // The list keeps the order typed, while the boxes were mixed.
    if (stored) {
        QCOMPARE(typed[0], QStringLiteral("P0"));
        QVERIFY(prizeTexts(f.form).mid(0, 5) != typed.mid(0, 5));
    }
}

QTEST_MAIN(TestStandbyResults)
#include "tst_standby_results.moc"
