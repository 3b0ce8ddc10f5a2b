// The Lottery state: 16-bit narrowing, checked grid and string arrays, the colour table.
#include "base/state.h"

#include <QTest>

#include <functional>

class TestState : public QObject
{
    Q_OBJECT

private slots:
    void to16_data();
    void to16();
    void freshStateIsZero();
    void gridBounds_data();
    void gridBounds();
    void gridCellsAreDistinct();
    void colorTable_data();
    void colorTable();
    void colorTableRepeatsTwentyOneColours();
    void colorIndexOutsideTable_data();
    void colorIndexOutsideTable();
    void stringArrays_data();
    void stringArrays();
    void stepEndingOnStateErrorIsLogged_data();
    void stepEndingOnStateErrorIsLogged();
};

void TestState::to16_data()
{
    QTest::addColumn<long long>("value");
    QTest::addColumn<bool>("fits");
    QTest::newRow("0") << 0LL << true;
    QTest::newRow("37 + 1") << 38LL << true;
    QTest::newRow("largest") << 32767LL << true;
    QTest::newRow("smallest") << -32768LL << true;
    QTest::newRow("one past largest") << 32768LL << false;
    QTest::newRow("one past smallest") << -32769LL << false;
    QTest::newRow("65535 does not wrap") << 65535LL << false;
    QTest::newRow("far out") << (1LL << 40) << false;
}

void TestState::to16()
{
    QFETCH(long long, value);
    QFETCH(bool, fits);
    if (fits)
        QCOMPARE(::to16(value), int16_t(value));
    else
        QVERIFY_THROWS_EXCEPTION(StateError, ::to16(value));
}

void TestState::freshStateIsZero()
{
    const LotteryState st;
    QCOMPARE(st.man_count, 0);
    QCOMPARE(st.atari_count, 0);
    QCOMPARE(st.draw_mode, 0);
    QCOMPARE(st.rung_density, 0.0f);
    QCOMPARE(st.ready_flag, 0);
    QCOMPARE(st.all_traced, 0);
    QCOMPARE(st.line_top, 0);
    QCOMPARE(st.group_no, 0);
    QVERIFY(st.color_table.isEmpty());
    for (int c = 0; c < 41; ++c)
        for (int r = 0; r < 45; ++r)
            QCOMPARE(st.ladder.at(c, r), 0);
    QCOMPARE(st.setup_lines.size(), size_t(331));
    QCOMPARE(st.saved_prizes.size(), size_t(38));
}

void TestState::gridBounds_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("inside");
    QTest::newRow("first cell") << 0 << 0 << true;
    QTest::newRow("last cell") << 40 << 44 << true;
    QTest::newRow("last column, row 0") << 40 << 0 << true;
    QTest::newRow("column 41") << 41 << 0 << false;
    QTest::newRow("row 45") << 0 << 45 << false;
    QTest::newRow("column -1") << -1 << 10 << false;
    QTest::newRow("row -1") << 10 << -1 << false;
    QTest::newRow("column 41 of the last row") << 41 << 44 << false;
}

void TestState::gridBounds()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(bool, inside);
    LadderGrid grid;
    const LadderGrid &constGrid = grid;
    if (inside) {
        grid.at(column, row) = 7;
        QCOMPARE(constGrid.at(column, row), 7);
    } else {
        QVERIFY_THROWS_EXCEPTION(StateError, grid.at(column, row) = 7);
        QVERIFY_THROWS_EXCEPTION(StateError, constGrid.at(column, row));
    }
}

void TestState::gridCellsAreDistinct()
{
    LadderGrid grid;
    int value = 0;
    for (int r = 0; r < 45; ++r)
        for (int c = 0; c < 41; ++c)
            grid.at(c, r) = int16_t(++value);
    value = 0;
    for (int r = 0; r < 45; ++r)
        for (int c = 0; c < 41; ++c)
            QCOMPARE(grid.at(c, r), int16_t(++value));
}

void TestState::colorTable_data()
{
    QTest::addColumn<int>("participant");
    QTest::addColumn<uint>("color");
    QTest::newRow("participant 0") << 0 << 0x8080FFu;
    QTest::newRow("participant 7 is red") << 7 << 0x0000FFu;
    QTest::newRow("participant 13 is blue") << 13 << 0xFF0000u;
    QTest::newRow("participant 20") << 20 << 0xFFC0C0u;
    QTest::newRow("participant 21 starts again") << 21 << 0x8080FFu;
    QTest::newRow("participant 36") << 36 << 0xC0FFFFu;
    QTest::newRow("last entry") << 41 << 0xFFC0C0u;
}

void TestState::colorTable()
{
    QFETCH(int, participant);
    QFETCH(uint, color);
    QCOMPARE(tableColor(kColorTable, participant), color);
}

void TestState::colorTableRepeatsTwentyOneColours()
{
    const uint32_t sequence[21] = {0x8080FF, 0x80FFFF, 0xFFFF80, 0xFF80FF, 0x80C0FF, 0x80FF80, 0xFF8080,
                                   0x0000FF, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0x0080FF, 0x80FF80, 0xFF0000,
                                   0xC0C0FF, 0xC0FFFF, 0xFFFFC0, 0xFFC0FF, 0xC0E0FF, 0xC0FFC0, 0xFFC0C0};
    QCOMPARE(kColorTable.size(), 252);
    QCOMPARE(kColorTable, kColorTable.toLower());
    for (int i = 0; i < 42; ++i)
        QCOMPARE(tableColor(kColorTable, i), sequence[i % 21]);
}

void TestState::colorIndexOutsideTable_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("index");
    QTest::newRow("index 42") << kColorTable << 42;
    QTest::newRow("index -1") << kColorTable << -1;
    QTest::newRow("empty table") << QString() << 0;
    QTest::newRow("short last entry") << QStringLiteral("8080ff80ff") << 1;
    QTest::newRow("not hexadecimal") << QStringLiteral("80g0ff") << 0;
}

void TestState::colorIndexOutsideTable()
{
    QFETCH(QString, table);
    QFETCH(int, index);
    QVERIFY_THROWS_EXCEPTION(StateError, tableColor(table, index));
}

void TestState::stringArrays_data()
{
    QTest::addColumn<bool>("setupLines");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("inside");
    QTest::newRow("setup line 0") << true << 0 << true;
    QTest::newRow("setup line 330") << true << 330 << true;
    QTest::newRow("setup line 331") << true << 331 << false;
    QTest::newRow("setup line -1") << true << -1 << false;
    QTest::newRow("saved prize 37") << false << 37 << true;
    QTest::newRow("saved prize 38") << false << 38 << false;
    QTest::newRow("saved prize -1") << false << -1 << false;
}

void TestState::stringArrays()
{
    QFETCH(bool, setupLines);
    QFETCH(int, index);
    QFETCH(bool, inside);
    LotteryState st;
    auto element = [&]() -> QString & { return setupLines ? st.setupLine(index) : st.savedPrize(index); };
    if (inside) {
        element() = QStringLiteral("賞品");
        QCOMPARE(setupLines ? st.setup_lines[index] : st.saved_prizes[index], QStringLiteral("賞品"));
    } else {
        QVERIFY_THROWS_EXCEPTION(StateError, element());
    }
}

namespace {

// What the program logs while a test runs: "category: message" per line.
QStringList logged;

void recordMessage(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    logged << QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
}

} // namespace

void TestState::stepEndingOnStateErrorIsLogged_data()
{
    QTest::addColumn<std::function<void()>>("fault");
    QTest::addColumn<bool>("completes");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("no fault") << std::function<void()>([] {}) << true << QStringList();
    QTest::newRow("16-bit range") << std::function<void()>([] { ::to16(40000); }) << false
                                  << QStringList{"amidakuji.state: step ended: 16-bit range exceeded"};
    QTest::newRow("grid") << std::function<void()>([] { LadderGrid().at(LadderGrid::Columns, 0); }) << false
                          << QStringList{"amidakuji.state: step ended: ladder index out of range"};
}

// A step ends at its fault: what came before stays done, what follows is not done, the reason is
// logged under the program's category, and the next step runs.
void TestState::stepEndingOnStateErrorIsLogged()
{
    QFETCH(std::function<void()>, fault);
    QFETCH(bool, completes);
    QFETCH(QStringList, log);
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    int done = 0;
    const bool completed = endingOnStateError([&] {
        done = 1;
        fault();
        done = 2;
    });
    bool nextRan = false;
    endingOnStateError([&] { nextRan = true; });
    qInstallMessageHandler(previous);

    QCOMPARE(completed, completes);
    QCOMPARE(done, completes ? 2 : 1);
    QVERIFY(nextRan);
    QCOMPARE(logged, log);
}

QTEST_GUILESS_MAIN(TestState)
#include "tst_state.moc"
