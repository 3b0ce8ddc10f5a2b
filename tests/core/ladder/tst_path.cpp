// Path following on hand-made grids, pen widths, result texts and the all-traced test.
#include "ladder/surface.h"
#include "units.h"
#include "ladder/path.h"
#include "ladder/rungs.h"

#include <QTest>

using Rungs = QList<QPoint>; // (gap c, row r): a rung between line c and line c+1

static LadderGrid gridWith(const Rungs &rungs)
{
    LadderGrid grid;
    for (const QPoint &rung : rungs) {
        grid.at(rung.x(), rung.y()) = 1;
        grid.at(rung.x() + 1, rung.y()) = 2;
    }
    return grid;
}

class PathTest : public QObject
{
    Q_OBJECT

private slots:
    void followsRungs_data();
    void followsRungs();
    void refusesPathsOffTheLadder_data();
    void refusesPathsOffTheLadder();
    void drawnPathCoversItsRungsAndEndsAt7000();
    void penWidthByBand_data();
    void penWidthByBand();
    void resultText_data();
    void resultText();
    void allTraced();
};

void PathTest::followsRungs_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<Rungs>("rungs");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("finalLine");

    QTest::newRow("no rungs: straight on") << 3 << Rungs{} << 1 << 2;
    QTest::newRow("down a rung") << 3 << Rungs{{1, 2}} << 0 << 2;
    QTest::newRow("up the same rung, not back") << 3 << Rungs{{1, 2}} << 1 << 1;
    QTest::newRow("down twice") << 3 << Rungs{{1, 2}, {2, 3}} << 0 << 3;
    QTest::newRow("up from the last line") << 3 << Rungs{{1, 2}, {2, 3}} << 2 << 2;
    QTest::newRow("up then nothing") << 3 << Rungs{{1, 2}, {2, 3}} << 1 << 1;
    QTest::newRow("down and back up later") << 2 << Rungs{{1, 2}, {1, 4}} << 0 << 1;
    QTest::newRow("row 27 is the last followed") << 2 << Rungs{{1, 27}} << 0 << 2;
    QTest::newRow("row 28 lies past the end") << 2 << Rungs{{1, 28}} << 0 << 1;
    QTest::newRow("37 lines, bottom line up") << 37 << Rungs{{36, 25}} << 36 << 36;
}

void PathTest::followsRungs()
{
    QFETCH(int, manCount);
    QFETCH(Rungs, rungs);
    QFETCH(int, index);
    QFETCH(int, finalLine);

    const ladder::PathRoute route = ladder::followRoute(gridWith(rungs), index, manCount);
    QCOMPARE(route.startLine, index + 1);
    QCOMPARE(route.finalLine, finalLine);
}

void PathTest::refusesPathsOffTheLadder_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<QList<QPoint>>("cells"); // (line, row) set to the value in z
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("index");

    QTest::newRow("up from line 1") << 3 << QList<QPoint>{{1, 3}} << 2 << 0;
    QTest::newRow("down from the last line") << 3 << QList<QPoint>{{3, 5}} << 1 << 2;
    QTest::newRow("no line for the index") << 3 << QList<QPoint>{} << 0 << 3;
    QTest::newRow("negative index") << 3 << QList<QPoint>{} << 0 << -1;
}

void PathTest::refusesPathsOffTheLadder()
{
    QFETCH(int, manCount);
    QFETCH(QList<QPoint>, cells);
    QFETCH(int, value);
    QFETCH(int, index);

    LadderGrid grid;
    for (const QPoint &cell : cells)
        grid.at(cell.x(), cell.y()) = int16_t(value);
    QVERIFY_THROWS_EXCEPTION(StateError, ladder::followRoute(grid, index, manCount));
}

static QColor pixelAt(const QImage &image, double xTwips, double yTwips)
{
    const qreal dpr = image.devicePixelRatio();
    return image.pixelColor(int(twipsToPixels(xTwips) * dpr), int(twipsToPixels(yTwips) * dpr));
}

void PathTest::drawnPathCoversItsRungsAndEndsAt7000()
{
    const int lineTop = 720;
    const LadderGrid grid = gridWith({{1, 2}, {2, 5}, {2, 9}});
    Surface surface(QSize(640, 400));
    surface.setForeColor(0x000000);
    ladder::drawLadder(surface, grid, 3, lineTop);

    const QColor red(Qt::red);
    surface.setForeColor(0x0000FF);
    surface.setDrawWidth(1);
    ladder::drawPath(surface, ladder::followRoute(grid, 0, 3), lineTop);

    // Line 1 to row 2, down to line 2, down at row 5 to line 3, up at row 9 to line 2.
    QCOMPARE(surface.currentX(), 7000.0);
    QCOMPARE(surface.currentY(), 720.0 + 360 * 2);
    const QImage &image = surface.image();
    QCOMPARE(pixelAt(image, 1500, 1080), red);
    QCOMPARE(pixelAt(image, 2000, 1260), red);
    QCOMPARE(pixelAt(image, 2600, 1440 + 180), red);
    QCOMPARE(pixelAt(image, 3400, 1800 - 180), red);
    QCOMPARE(pixelAt(image, 6990, 1440), red);
    // The rest of the ladder stays black: line 1 after the first rung, line 3 after row 9.
    QCOMPARE(pixelAt(image, 2500, 1080), QColor(Qt::black));
    QCOMPARE(pixelAt(image, 4000, 1800), QColor(Qt::black));
    QCOMPARE(pixelAt(image, 7060, 1440).alpha(), 0);
}

void PathTest::penWidthByBand_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("width");

    const int bands[][3] = {{0, 6, 3}, {7, 13, 1}, {14, 20, 5}, {21, 27, 3}, {28, 34, 1}, {35, 41, 5}};
    for (const auto &band : bands) {
        QTest::addRow("%d", band[0]) << band[0] << band[2];
        QTest::addRow("%d", band[1]) << band[1] << band[2];
    }
    QTest::newRow("-1 leaves it") << -1 << 0;
    QTest::newRow("42 leaves it") << 42 << 0;
}

void PathTest::penWidthByBand()
{
    QFETCH(int, index);
    QFETCH(int, width);
    QCOMPARE(ladder::pathPenWidth(index), width);
}

void PathTest::resultText_data()
{
    QTest::addColumn<QString>("prize");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");

    QTest::newRow("prize and name") << u"あたり"_qs << u"A"_qs << u"あたり ：A"_qs;
    QTest::newRow("empty prize box") << QString() << u"A"_qs << u" ：A"_qs;
    QTest::newRow("empty name") << u"3"_qs << QString() << u"3 ："_qs;
}

void PathTest::resultText()
{
    QFETCH(QString, prize);
    QFETCH(QString, name);
    QFETCH(QString, result);

    const QString text = ladder::resultText(prize, name);
    QCOMPARE(text, result);
    QCOMPARE(text.at(prize.size() + 1).unicode(), char16_t(0xFF1A));
}

void PathTest::allTraced()
{
    LadderGrid grid;
    for (int line = 1; line <= 4; ++line)
        grid.at(line, 0) = 1;
    QVERIFY(ladder::allTraced(grid, 4));
    QVERIFY(!ladder::allTraced(grid, 5));
    grid.at(3, 0) = 0;
    QVERIFY(!ladder::allTraced(grid, 4));
    QVERIFY(ladder::allTraced(grid, 2));
}

QTEST_MAIN(PathTest)
#include "tst_path.moc"
