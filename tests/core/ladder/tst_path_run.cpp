// A path that runs: the part drawn as a function of the time since it started, over speeds and
// routes with few and many turns, and the rungs it has gone along.
#include "ladder/path_run.h"
#include "ladder/rungs.h"
#include "ladder/surface.h"

#include <QLineF>
#include <QTest>

namespace {

using Rungs = QList<QPoint>; // (gap c, row r): a rung between line c and line c+1
constexpr int kLineTop = 720;
constexpr int kLines = 4;

ladder::PathRoute routeOver(const Rungs &rungs)
{
    LadderGrid grid;
    for (const QPoint &rung : rungs) {
        grid.at(rung.x(), rung.y()) = 1;
        grid.at(rung.x() + 1, rung.y()) = 2;
    }
    return ladder::followRoute(grid, 0, kLines);
}

// A zigzag down and up the first gap, one turn after another.
Rungs manyTurns()
{
    Rungs rungs;
    for (int row = 1; row <= 27; row += 2)
        rungs << QPoint(1, row);
    return rungs;
}

// Moments of a run, by how they stand to its duration.
enum class Moment { BeforeStart, Start, OneIn, Half, OneShort, Whole, OnePast };

int32_t at(Moment moment, int duration)
{
    switch (moment) {
    case Moment::BeforeStart: return -1;
    case Moment::Start: return 0;
    case Moment::OneIn: return 1;
    case Moment::Half: return duration / 2;
    case Moment::OneShort: return duration - 1;
    case Moment::Whole: return duration;
    case Moment::OnePast: return duration + 1;
    }
    return 0;
}

// Whether `cut` is `whole` up to a corner, then at most one point on the line after it.
bool isPrefix(const std::vector<QPointF> &cut, const std::vector<QPointF> &whole)
{
    if (cut.empty() || cut.size() > whole.size())
        return false;
    for (size_t i = 0; i + 1 < cut.size(); ++i) {
        if (cut[i] != whole[i])
            return false;
    }
    const size_t last = cut.size() - 1;
    if (last == 0 || cut[last] == whole[last])
        return cut.front() == whole.front();
    const QLineF along(whole[last - 1], whole[last]);
    const QLineF part(whole[last - 1], cut[last]);
    return qFuzzyCompare(part.angle() + 1, along.angle() + 1) && part.length() < along.length();
}

} // namespace

Q_DECLARE_METATYPE(ladder::RunSpeed)
Q_DECLARE_METATYPE(Moment)

class PathRunTest : public QObject
{
    Q_OBJECT

private slots:
    // Rows: a speed, a route and a moment. The part drawn is the route cut at a length that grows
    // steadily with the time, the same share of every route at the same moment: nothing before
    // the start, the whole route from the speed's duration on.
    void drawnPart_data()
    {
        QTest::addColumn<ladder::RunSpeed>("speed");
        QTest::addColumn<Rungs>("rungs");
        QTest::addColumn<Moment>("moment");
        const std::pair<const char *, ladder::RunSpeed> speeds[] = {
            {"slow", ladder::RunSpeed::Slow}, {"normal", ladder::RunSpeed::Normal}, {"fast", ladder::RunSpeed::Fast}};
        const std::pair<const char *, Rungs> routes[] = {
            {"straight", {}}, {"one turn", {{1, 27}}}, {"many turns", manyTurns()}};
        const std::pair<const char *, Moment> moments[] = {
            {"before the start", Moment::BeforeStart}, {"at the start", Moment::Start},
            {"one ms in", Moment::OneIn}, {"half way", Moment::Half}, {"one ms short", Moment::OneShort},
            {"at the duration", Moment::Whole}, {"one ms past", Moment::OnePast}};
        for (const auto &[speedName, speed] : speeds)
            for (const auto &[routeName, rungs] : routes)
                for (const auto &[momentName, moment] : moments)
                    QTest::addRow("%s, %s, %s", speedName, routeName, momentName) << speed << rungs << moment;
    }

    void drawnPart()
    {
        QFETCH(ladder::RunSpeed, speed);
        QFETCH(Rungs, rungs);
        QFETCH(Moment, moment);
        const std::vector<QPointF> whole = ladder::routePoints(routeOver(rungs), kLineTop);
        const double total = ladder::routeLength(whole);
        const int duration = ladder::runDuration(speed);
        const int32_t elapsed = at(moment, duration);

        const double length = ladder::runLength(total, elapsed, duration);
        const std::vector<QPointF> drawn = ladder::cutRoute(whole, length);
        QVERIFY(isPrefix(drawn, whole));
        QVERIFY(qAbs(ladder::routeLength(drawn) - length) < 1e-6);
        switch (moment) {
        case Moment::BeforeStart:
        case Moment::Start:
            QCOMPARE(drawn.size(), size_t(1));
            break;
        case Moment::OneIn:
        case Moment::Half:
        case Moment::OneShort:
            // A steady speed: the share of the route is the share of the time.
            QVERIFY(qAbs(length / total - double(elapsed) / duration) < 1e-9);
            QVERIFY(length < total);
            break;
        case Moment::Whole:
        case Moment::OnePast:
            QCOMPARE(drawn, whole);
            break;
        }
    }

    // Each speed takes twice as long as the next faster one, whatever the route.
    void speedsInOrder()
    {
        QCOMPARE(ladder::runDuration(ladder::RunSpeed::Slow), 2 * ladder::runDuration(ladder::RunSpeed::Normal));
        QCOMPARE(ladder::runDuration(ladder::RunSpeed::Normal), 2 * ladder::runDuration(ladder::RunSpeed::Fast));
        QVERIFY(ladder::runDuration(ladder::RunSpeed::Fast) > 0);
    }

    // Rows: a rung at a row, and a length along the route about the end of that rung. A rung
    // counts once the pen has gone the whole way along it.
    void rungsCrossed_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("beyondRungEnd");
        QTest::addColumn<int>("crossed");
        for (int row : {1, 27}) {
            QTest::addRow("row %d, one twip short", row) << row << -1 << 0;
            QTest::addRow("row %d, at its end", row) << row << 0 << 1;
            QTest::addRow("row %d, one twip on", row) << row << 1 << 1;
        }
    }

    void rungsCrossed()
    {
        QFETCH(int, row);
        QFETCH(int, beyondRungEnd);
        QFETCH(int, crossed);
        const std::vector<QPointF> points = ladder::routePoints(routeOver({{1, row}}), kLineTop);
        // Along the line to the rung's column, then down the rung.
        const double rungEnd = ladder::rungX(row) - ladder::kLineLeft + ladder::kLineSpacing;
        QCOMPARE(ladder::rungsCrossed(points, rungEnd + beyondRungEnd), crossed);
    }

    // Rows: routes. The corners drawn one line after another look exactly as the path drawn at
    // once, so the path that has run is the path the instant trace draws.
    void pointsDrawAsThePath_data()
    {
        QTest::addColumn<Rungs>("rungs");
        QTest::newRow("straight") << Rungs{};
        QTest::newRow("down at the first row") << Rungs{{1, 1}};
        QTest::newRow("down at the last row") << Rungs{{1, 27}};
        QTest::newRow("many turns") << manyTurns();
    }

    void pointsDrawAsThePath()
    {
        QFETCH(Rungs, rungs);
        const ladder::PathRoute route = routeOver(rungs);
        Surface atOnce(QSize(640, 400));
        Surface byPoints(QSize(640, 400));
        for (Surface *surface : {&atOnce, &byPoints}) {
            surface->setForeColor(0x0000FF);
            surface->setDrawWidth(5);
        }
        ladder::drawPath(atOnce, route, kLineTop);
        const std::vector<QPointF> points = ladder::routePoints(route, kLineTop);
        for (size_t i = 1; i < points.size(); ++i)
            byPoints.line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
        QCOMPARE(byPoints.image(), atOnce.image());
        QCOMPARE(points.back(), QPointF(atOnce.currentX(), atOnce.currentY()));
    }
};

QTEST_MAIN(PathRunTest)
#include "tst_path_run.moc"
