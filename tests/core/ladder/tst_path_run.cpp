// A path that runs: the part drawn as a function of the time since it started, and the rungs passed.
#include "ladder/path_run.h"
#include "ladder/rungs.h"

#include <QLineF>
#include <QTest>

namespace {

using Rungs = QList<QPoint>; // (gap c, row r): a rung between line c and line c+1
constexpr int kLineTop = 720;

ladder::PathRoute routeOver(const Rungs &rungs)
{
    LadderGrid grid;
    for (const QPoint &rung : rungs) {
        grid.at(rung.x(), rung.y()) = 1;
        grid.at(rung.x() + 1, rung.y()) = 2;
    }
    return ladder::followRoute(grid, 0, 4);
}

// Whether `cut` is `whole` up to a corner, then at most one point on the line after it.
bool isPrefix(const std::vector<QPointF> &cut, const std::vector<QPointF> &whole)
{
    if (cut.empty() || cut.size() > whole.size() || !std::equal(cut.begin(), cut.end() - 1, whole.begin()))
        return false;
    const size_t last = cut.size() - 1;
    if (last == 0)
        return cut[0] == whole[0];
    const double before = QLineF(whole[last - 1], cut[last]).length(), after = QLineF(cut[last], whole[last]).length();
    return qAbs(before + after - QLineF(whole[last - 1], whole[last]).length()) < 1e-9;
}

} // namespace

Q_DECLARE_METATYPE(ladder::RunSpeed)

class PathRunTest : public QObject
{
    Q_OBJECT

private slots:
    // Rows: a speed, a route, and a time one ms about its start or its duration.
    void drawnPart_data()
    {
        QTest::addColumn<ladder::RunSpeed>("speed");
        QTest::addColumn<Rungs>("rungs");
        QTest::addColumn<bool>("aboutTheEnd");
        QTest::addColumn<int>("offset");
        Rungs zigzag; // down and up the first gap, one turn after another
        for (int row = 1; row <= 27; row += 2)
            zigzag << QPoint(1, row);
        const std::pair<const char *, ladder::RunSpeed> speeds[] = {
            {"slow", ladder::RunSpeed::Slow}, {"normal", ladder::RunSpeed::Normal}, {"fast", ladder::RunSpeed::Fast}};
        const std::pair<const char *, Rungs> routes[] = {{"straight", {}}, {"one turn", {{1, 27}}}, {"many turns", zigzag}};
        for (const auto &[speedName, speed] : speeds)
            for (const auto &[routeName, rungs] : routes)
                for (bool end : {false, true})
                    for (int offset : {-1, 0, 1})
                        QTest::addRow("%s, %s, %s %+d ms", speedName, routeName, end ? "duration" : "start", offset)
                            << speed << rungs << end << offset;
    }

    // Always a prefix; nothing before the start, the share of the time as the share of the route,
    // the whole route from the duration on.
    void drawnPart()
    {
        QFETCH(ladder::RunSpeed, speed);
        QFETCH(Rungs, rungs);
        QFETCH(bool, aboutTheEnd);
        QFETCH(int, offset);
        const std::vector<QPointF> whole = ladder::routePoints(routeOver(rungs), kLineTop);
        const double total = ladder::routeLength(whole);
        const int duration = ladder::runDuration(speed);
        const int32_t elapsed = (aboutTheEnd ? duration : 0) + offset;

        const double length = ladder::runLength(total, elapsed, duration);
        const std::vector<QPointF> drawn = ladder::cutRoute(whole, length);
        QVERIFY(isPrefix(drawn, whole));
        QVERIFY(qAbs(ladder::routeLength(drawn) - length) < 1e-6);
        if (elapsed <= 0)
            QCOMPARE(drawn.size(), size_t(1));
        else if (elapsed < duration)
            QVERIFY(qAbs(length / total - double(elapsed) / duration) < 1e-9 && length < total);
        else
            QCOMPARE(drawn, whole);
    }

    // Each speed takes twice as long as the next faster one.
    void speedsInOrder()
    {
        QCOMPARE(ladder::runDuration(ladder::RunSpeed::Slow), 2 * ladder::runDuration(ladder::RunSpeed::Normal));
        QCOMPARE(ladder::runDuration(ladder::RunSpeed::Normal), 2 * ladder::runDuration(ladder::RunSpeed::Fast));
        QVERIFY(ladder::runDuration(ladder::RunSpeed::Fast) > 0);
    }

    // Rows: a rung's row and a length about the rung's end; it counts once the pen went all along it.
    void rungsCrossed_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("beyondRungEnd");
        for (int row : {1, 27})
            for (int beyond : {-1, 0, 1})
                QTest::addRow("row %d, %+d twip", row, beyond) << row << beyond;
    }

    void rungsCrossed()
    {
        QFETCH(int, row);
        QFETCH(int, beyondRungEnd);
        const std::vector<QPointF> points = ladder::routePoints(routeOver({{1, row}}), kLineTop);
        // Along the line to the rung's column, then down the rung.
        const double rungEnd = ladder::rungX(row) - ladder::kLineLeft + ladder::kLineSpacing;
        QCOMPARE(ladder::rungsCrossed(points, rungEnd + beyondRungEnd), beyondRungEnd >= 0 ? 1 : 0);
    }
};

QTEST_MAIN(PathRunTest)
#include "tst_path_run.moc"
