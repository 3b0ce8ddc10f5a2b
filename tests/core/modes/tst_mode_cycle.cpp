// The draw-mode step and the rung factor, without a window.
#include "modes/mode_cycle.h"

#include <QTest>

#include <cmath>

class TestModeCycle : public QObject
{
    Q_OBJECT

private slots:
    void nextMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("next");
        QTest::newRow("stored winner -1") << -1 << 0;
        QTest::newRow("winner") << 0 << 1;
        QTest::newRow("lottery") << 1 << 2;
        QTest::newRow("number wraps") << 2 << 0;
        QTest::newRow("no mode 3") << 3 << 4;
        QTest::newRow("lowest 16-bit") << -32768 << -32767;
        QTest::newRow("highest 16-bit stays") << 32767 << 32767;
    }

    void nextMode()
    {
        QFETCH(int, mode);
        QFETCH(int, next);
        QCOMPARE(int(modes::nextDrawMode(int16_t(mode))), next);
    }

    void lookOnlyForModes()
    {
        QVERIFY(modes::modeLook(0) && modes::modeLook(1) && modes::modeLook(2));
        QVERIFY(!modes::modeLook(-1));
        QVERIFY(!modes::modeLook(3));
    }

    void rungDensity_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<float>("density");
        QTest::newRow("zero") << 0.0f << 1.6f;
        QTest::newRow("half") << 0.5f << 2.35f;
        QTest::newRow("largest below one") << std::nextafter(1.0f, 0.0f) << 3.1f;
    }

    // Single precision: the largest draw rounds to the float nearest 3.1, which lies below 3.1.
    void rungDensity()
    {
        QFETCH(float, r);
        QFETCH(float, density);
        const float value = modes::rungDensity(r);
        QCOMPARE(value, density);
        QVERIFY(double(value) >= 1.6);
        QVERIFY(double(value) < 3.1);
    }
};

QTEST_GUILESS_MAIN(TestModeCycle)
#include "tst_mode_cycle.moc"
