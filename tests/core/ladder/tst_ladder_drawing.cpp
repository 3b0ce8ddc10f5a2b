// The drawn ladder: every line and rung on its pixels of the persistent image, and nothing else.
#include "ladder/surface.h"
#include "units.h"
#include "ladder/rungs.h"
#include "support/fake_sources.h"

#include <QSet>
#include <QTest>

namespace {

constexpr int kLineTop = 720;

using PixelSet = QSet<QPair<int, int>>;

// The pixels a ladder must cover, worked out from its twips: line c at y = 720 + 360·c from
// x = 1400 to 7000, the rung of row r at x = 1600 + 200·r between two lines; ends included.
PixelSet expectedPixels(const LadderGrid &grid, int manCount)
{
    PixelSet pixels;
    const int left = twipsToPixels(1400);
    const int right = twipsToPixels(7000);
    for (int c = 1; c <= manCount; ++c) {
        const int y = twipsToPixels(kLineTop + 360 * c);
        for (int x = left; x <= right; ++x)
            pixels.insert({x, y});
        if (c == manCount)
            continue;
        const int yBelow = twipsToPixels(kLineTop + 360 * (c + 1));
        for (int r = 1; r < LadderGrid::Rows; ++r) {
            if (grid.at(c, r) != 1)
                continue;
            const int x = twipsToPixels(1600 + 200 * r);
            for (int yy = y; yy <= yBelow; ++yy)
                pixels.insert({x, yy});
        }
    }
    return pixels;
}

bool isOpaqueBlack(QRgb pixel)
{
    return pixel == qRgba(0, 0, 0, 255);
}

// Places the rungs of `manCount` participants at `density` from a generator seeded with `seed`
// and draws that ladder on `surface` in its current pen; the grid drawn.
LadderGrid drawnLadder(Surface &surface, int manCount, float density = 0.0f, unsigned seed = 1)
{
    LadderGrid grid;
    TestRandom random(seed);
    ladder::placeRungs(grid, manCount, density, random);
    ladder::drawLadder(surface, grid, manCount, kLineTop);
    return grid;
}

} // namespace

class TestLadderDrawing : public QObject
{
    Q_OBJECT

private slots:
    void pixelsOfKnownLadder();
    void everyPixel_data();
    void everyPixel();
    void sharpOnHighDensityScreen();
    void survivesGrowing();
    void clearErasesEverything();
    void clearKeepsSizeAndDensity();
};

// Two participants with every allowed rung: lines at y = 1080 and 1440 twips, rungs at rows 2, 4, 6.
void TestLadderDrawing::pixelsOfKnownLadder()
{
    Surface surface(QSize(640, 200));
    drawnLadder(surface, 2);
    const QImage &image = surface.image();

    QVERIFY(isOpaqueBlack(image.pixel(93, 72)));
    QVERIFY(isOpaqueBlack(image.pixel(467, 72)));
    QCOMPARE(qAlpha(image.pixel(92, 72)), 0);
    QCOMPARE(qAlpha(image.pixel(468, 72)), 0);
    QVERIFY(isOpaqueBlack(image.pixel(300, 96)));
    QCOMPARE(qAlpha(image.pixel(300, 71)), 0);
    QCOMPARE(qAlpha(image.pixel(300, 73)), 0);
    QCOMPARE(qAlpha(image.pixel(300, 97)), 0);
    for (int x : {133, 160, 187}) {
        QVERIFY(isOpaqueBlack(image.pixel(x, 84)));
        QCOMPARE(qAlpha(image.pixel(x - 1, 84)), 0);
        QCOMPARE(qAlpha(image.pixel(x + 1, 84)), 0);
    }
    // Row 1 belongs to the other parity and row 8 to no candidate.
    QCOMPARE(qAlpha(image.pixel(twipsToPixels(1800), 84)), 0);
    QCOMPARE(qAlpha(image.pixel(twipsToPixels(3200), 84)), 0);
}

void TestLadderDrawing::everyPixel_data()
{
    QTest::addColumn<int>("manCount");
    QTest::addColumn<float>("density");
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("2, full") << 2 << 0.0f << 1u;
    QTest::newRow("20, full") << 20 << 0.0f << 1u;
    QTest::newRow("21, full") << 21 << 0.0f << 1u;
    QTest::newRow("37, full") << 37 << 0.0f << 1u;
    QTest::newRow("7, random") << 7 << 2.2f << 11u;
    QTest::newRow("37, random") << 37 << 3.0f << 12u;
}

// Every pixel of the image is black where a line or rung lies and transparent elsewhere.
void TestLadderDrawing::everyPixel()
{
    QFETCH(int, manCount);
    QFETCH(float, density);
    QFETCH(unsigned, seed);
    Surface surface(QSize(twipsToPixels(9585), twipsToPixels(14700)));
    surface.setForeColor(0x000000);
    surface.setDrawWidth(1);
    const LadderGrid grid = drawnLadder(surface, manCount, density, seed);

    const PixelSet expected = expectedPixels(grid, manCount);
    const QImage &image = surface.image();
    int wrong = 0;
    QString first;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool ok = expected.contains({x, y}) ? isOpaqueBlack(pixel) : qAlpha(pixel) == 0;
            if (!ok && wrong++ == 0)
                first = QStringLiteral("(%1, %2) = %3").arg(x).arg(y).arg(pixel, 8, 16, QLatin1Char('0'));
        }
    }
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 wrong pixels, first %2").arg(wrong).arg(first)));
}

// At twice the pixel density every line is two device pixels wide and still only black or clear.
void TestLadderDrawing::sharpOnHighDensityScreen()
{
    Surface single(QSize(640, 600), 1.0);
    Surface dense(QSize(640, 600), 2.0);
    const LadderGrid grid = drawnLadder(single, 10, 2.0f, 5);
    ladder::drawLadder(dense, grid, 10, kLineTop);

    const auto countBlack = [](const QImage &image) {
        int black = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (isOpaqueBlack(pixel))
                    ++black;
                else if (qAlpha(pixel) != 0)
                    return -1;
            }
        return black;
    };
    QCOMPARE(dense.image().size(), QSize(1280, 1200));
    const int singleBlack = countBlack(single.image());
    QVERIFY(singleBlack > 0);
    QCOMPARE(countBlack(dense.image()), 4 * singleBlack);
    for (const auto &pixel : expectedPixels(grid, 10))
        QVERIFY(isOpaqueBlack(dense.image().pixel(2 * pixel.first, 2 * pixel.second)));
}

// Growing the window keeps what is already drawn.
void TestLadderDrawing::survivesGrowing()
{
    Surface surface(QSize(640, 140));
    drawnLadder(surface, 2);
    const QImage before = surface.image().copy();
    surface.ensureSize(QSize(640, 980), 1.0);
    QCOMPARE(surface.image().size(), QSize(640, 980));
    QCOMPARE(surface.image().copy(0, 0, 640, 140), before);
    surface.ensureSize(QSize(300, 100), 1.0);
    QCOMPARE(surface.image().size(), QSize(640, 980));
    QCOMPARE(surface.image().copy(0, 0, 640, 140), before);
}

// Clearing leaves no pixel of a drawn ladder.
void TestLadderDrawing::clearErasesEverything()
{
    Surface surface(QSize(640, 300));
    drawnLadder(surface, 5);
    QImage blank(surface.image().size(), surface.image().format());
    blank.fill(Qt::transparent);
    QVERIFY(surface.image() != blank);
    surface.clear();
    QCOMPARE(surface.image(), blank);
}

// A cleared high-density surface keeps its size and density and takes new drawing.
void TestLadderDrawing::clearKeepsSizeAndDensity()
{
    Surface surface(QSize(320, 100), 2.0);
    surface.line(0, 300, 3000, 300);
    surface.clear();
    QCOMPARE(surface.image().size(), QSize(640, 200));
    QCOMPARE(surface.image().devicePixelRatio(), 2.0);
    QCOMPARE(surface.image().pixel(100, 40), 0u);
    surface.line(0, 600, 3000, 600);
    QCOMPARE(surface.image().pixelColor(100, 80), QColor(Qt::black));
    QCOMPARE(surface.image().pixelColor(100, 40).alpha(), 0);
}

QTEST_MAIN(TestLadderDrawing)
#include "tst_ladder_drawing.moc"
