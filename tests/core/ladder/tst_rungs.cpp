// Rung placement: the parity rule, the candidate rows, the draws each step takes and the
// resulting rung frequencies.
#include "ladder/rungs.h"
#include "support/fake_sources.h"

#include <QTest>

#include <climits>
#include <cmath>

using namespace ladder;

namespace {

constexpr int Unchecked = -1;

// The value ladder(c, r) must hold when every candidate places its rung.
int16_t fullLadderCell(int column, int row, int manCount)
{
    const int lastRow = std::min(manCount + 3, 24) + 1;
    if (row < 1 || row > lastRow)
        return 0;
    if (column >= 1 && column < manCount && (column + row) % 2 == 1)
        return 1;
    if (column > 1 && column <= manCount && (column - 1 + row) % 2 == 1)
        return 2;
    return 0;
}

} // namespace

class TestRungs : public QObject
{
    Q_OBJECT

private slots:
    void parityRule_data();
    void parityRule();
    void everyRowKeepsParity();
    void candidateRows_data();
    void candidateRows();
    void warmUpDraws_data();
    void warmUpDraws();
    void clearGridKeepsOuterCells();
    void lowDensityFillsEveryAllowedRow_data();
    void lowDensityFillsEveryAllowedRow();
    void singlePrecisionProduct_data();
    void singlePrecisionProduct();
    void scriptedPlacement();
    void rungFrequency_data();
    void rungFrequency();
};

void TestRungs::parityRule_data()
{
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("candidate");
    QTest::addColumn<int>("row");
    QTest::newRow("gap 1, candidate 1 moves down") << 1 << 1 << 2;
    QTest::newRow("gap 1, candidate 2 stays") << 1 << 2 << 2;
    QTest::newRow("gap 1, candidate 5 reaches row 6") << 1 << 5 << 6;
    QTest::newRow("gap 2, candidate 1 stays") << 2 << 1 << 1;
    QTest::newRow("gap 2, candidate 2 moves down") << 2 << 2 << 3;
    QTest::newRow("gap 36, candidate 24 reaches row 25") << 36 << 24 << 25;
    QTest::newRow("gap 35, candidate 24 stays") << 35 << 24 << 24;
    QTest::newRow("gap 19, candidate 23 reaches row 24") << 19 << 23 << 24;
}

void TestRungs::parityRule()
{
    QFETCH(int, gap);
    QFETCH(int, candidate);
    QFETCH(int, row);
    QCOMPARE(rungRow(gap, candidate), row);
}

void TestRungs::everyRowKeepsParity()
{
    for (int c = 1; c <= 36; ++c) {
        for (int j = 1; j <= 24; ++j) {
            const int r = rungRow(c, j);
            QVERIFY2((c + r) % 2 == 1, qPrintable(QStringLiteral("gap %1 candidate %2").arg(c).arg(j)));
            QVERIFY(r == j || r == j + 1);
        }
    }
}

void TestRungs::candidateRows_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<float>("density");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("lastRungRow");
    QTest::newRow("2 participants") << 2 << 0.0f << 5 << 6;
    QTest::newRow("20 participants") << 20 << 0.0f << 23 << 24;
    QTest::newRow("21 participants") << 21 << 0.0f << 24 << 25;
    QTest::newRow("37 participants") << 37 << 0.0f << 24 << 25;
    QTest::newRow("2 participants, random") << 2 << 2.0f << 5 << Unchecked;
    QTest::newRow("37 participants, random") << 37 << 2.5f << 24 << Unchecked;
}

// The row count, the last row a full ladder uses, and one draw per candidate, rung or not.
void TestRungs::candidateRows()
{
    QFETCH(int, manCount);
    QFETCH(float, density);
    QFETCH(int, rows);
    QFETCH(int, lastRungRow);
    QCOMPARE(ladder::candidateRows(manCount), rows);

    LadderGrid grid;
    TestRandom random(7);
    placeRungs(grid, manCount, density, random);
    QCOMPARE(random.draws, (long long)(manCount - 1) * rows);
    int highest = 0;
    for (int c = 1; c <= manCount; ++c)
        for (int r = 1; r < LadderGrid::Rows; ++r)
            if (grid.at(c, r) != 0)
                highest = std::max(highest, r);
    if (lastRungRow != Unchecked)
        QCOMPARE(highest, lastRungRow);
    QVERIFY(highest <= rows + 1);
}

void TestRungs::warmUpDraws_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("draws");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("999") << 999 << 999;
    QTest::newRow("1000") << 1000 << 0;
    QTest::newRow("1001") << 1001 << 1;
    QTest::newRow("123456") << 123456 << 456;
    QTest::newRow("5000000") << 5000000 << 0;
    QTest::newRow("largest tick count") << INT_MAX << 647;
    QTest::newRow("-1") << -1 << 0;
    QTest::newRow("-123456") << -123456 << 0;
    QTest::newRow("-2000") << -2000 << 0;
    QTest::newRow("smallest tick count") << INT_MIN << 0;
}

void TestRungs::warmUpDraws()
{
    QFETCH(int, ticks);
    QFETCH(int, draws);
    TestRandom random;
    QCOMPARE(warmUp(random, ticks), draws);
    QCOMPARE(random.draws, (long long)draws);
}

void TestRungs::clearGridKeepsOuterCells()
{
    LadderGrid grid;
    for (int c = 0; c < LadderGrid::Columns; ++c)
        for (int r = 0; r < LadderGrid::Rows; ++r)
            grid.at(c, r) = 9;
    clearGrid(grid);
    for (int c = 0; c < LadderGrid::Columns; ++c) {
        for (int r = 0; r < LadderGrid::Rows; ++r) {
            const bool cleared = c >= 1 && c <= 37 && r <= 43;
            QCOMPARE(grid.at(c, r), int16_t(cleared ? 0 : 9));
        }
    }
}

void TestRungs::lowDensityFillsEveryAllowedRow_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<float>("density");
    for (int count : {2, 3, 20, 21, 37}) {
        for (float density : {0.0f, 0.5f, 1.0f}) {
            QTest::addRow("%d participants, density %g", count, double(density)) << count << density;
        }
    }
}

void TestRungs::lowDensityFillsEveryAllowedRow()
{
    QFETCH(int, manCount);
    QFETCH(float, density);
    LadderGrid grid;
    // Values just below 1 are the hardest case for density 1.
    TestRandom random(3, std::vector<float>(40, std::nextafter(1.0f, 0.0f)));
    placeRungs(grid, manCount, density, random);
    for (int c = 0; c < LadderGrid::Columns; ++c)
        for (int r = 0; r < LadderGrid::Rows; ++r)
            QCOMPARE(grid.at(c, r), fullLadderCell(c, r, manCount));
}

void TestRungs::singlePrecisionProduct_data()
{
    QTest::addColumn<float>("u");
    QTest::addColumn<float>("density");
    QTest::addColumn<bool>("placed");
    QTest::newRow("clearly below") << 0.1f << 2.0f << true;
    QTest::newRow("exactly 1 is not below") << 0.5f << 2.0f << false;
    QTest::newRow("just below half") << std::nextafter(0.5f, 0.0f) << 2.0f << true;
    // The exact product is 0.999999994, but in single precision it rounds to 1.
    QTest::newRow("rounds up to 1") << 0x1.3ffffep-1f << 0x1.99999cp+0f << false;
    QTest::newRow("one step lower stays below") << 0x1.3ffffcp-1f << 0x1.99999cp+0f << true;
}

void TestRungs::singlePrecisionProduct()
{
    QFETCH(float, u);
    QFETCH(float, density);
    QFETCH(bool, placed);
    LadderGrid grid;
    TestRandom random(1, {u, 0.99f, 0.99f, 0.99f, 0.99f});
    placeRungs(grid, 2, density, random);
    QCOMPARE(grid.at(1, 2), int16_t(placed ? 1 : 0));
    QCOMPARE(grid.at(2, 2), int16_t(placed ? 2 : 0));
}

// Candidates in order: gap 1 first, then gap 2; a row reached twice is simply set again.
void TestRungs::scriptedPlacement()
{
    LadderGrid grid;
    // Gap 1 (rows 2, 2, 4, 4, 6, 6), then gap 2 (rows 1, 3, 3, 5, 5, 7).
    TestRandom random(1, {0.1f, 0.2f, 0.9f, 0.9f, 0.9f, 0.3f,
                          0.4f, 0.9f, 0.9f, 0.9f, 0.1f, 0.9f});
    placeRungs(grid, 3, 2.0f, random);
    QCOMPARE(random.draws, 12LL);
    QList<QPair<int, int>> rungs;
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r < LadderGrid::Rows; ++r)
            if (grid.at(c, r) == 1) {
                rungs.append({c, r});
                QCOMPARE(grid.at(c + 1, r), 2);
            }
    const QList<QPair<int, int>> expected{{1, 2}, {1, 6}, {2, 1}, {2, 5}};
    QCOMPARE(rungs, expected);
}

void TestRungs::rungFrequency_data()
{
    QTest::addColumn<float>("density");
    QTest::newRow("1.6") << 1.6f;
    QTest::newRow("2.0") << 2.0f;
    QTest::newRow("2.5") << 2.5f;
    QTest::newRow("3.09") << 3.09f;
}

// Over many ladders, an inner row gets a rung with probability 1 - (1 - p)^2 and the edge
// rows (row 1, row R + 1) with p. The cells are independent draws, so the bound is a
// number of binomial standard errors.
void TestRungs::rungFrequency()
{
    QFETCH(float, density);
    const int manCount = 37;
    const int rows = ladder::candidateRows(manCount);
    const int ladders = 1000;
    const double p = 1.0 / density;

    long long innerCells = 0, innerRungs = 0, edgeCells = 0, edgeRungs = 0;
    TestRandom random(2024);
    for (int n = 0; n < ladders; ++n) {
        LadderGrid grid;
        placeRungs(grid, manCount, density, random);
        for (int c = 1; c < manCount; ++c) {
            for (int r = 1; r <= rows + 1; ++r) {
                if ((c + r) % 2 == 0) {
                    QVERIFY(grid.at(c, r) != 1);
                    continue;
                }
                const bool edge = r == 1 || r == rows + 1;
                (edge ? edgeCells : innerCells) += 1;
                (edge ? edgeRungs : innerRungs) += grid.at(c, r) == 1;
            }
        }
    }

    const auto check = [](const char *what, long long hits, long long cells, double expected) {
        const double observed = double(hits) / double(cells);
        const double bound = 4.5 * std::sqrt(expected * (1 - expected) / double(cells));
        QVERIFY2(std::abs(observed - expected) <= bound,
                 qPrintable(QStringLiteral("%1: observed %2, expected %3 within %4 over %5 cells")
                                .arg(what).arg(observed).arg(expected).arg(bound).arg(cells)));
    };
    check("inner rows", innerRungs, innerCells, 1 - (1 - p) * (1 - p));
    check("edge rows", edgeRungs, edgeCells, p);
    QVERIFY(innerCells > 400000);
    QVERIFY(edgeCells > 30000);
}

QTEST_GUILESS_MAIN(TestRungs)
#include "tst_rungs.moc"
